#include "driver/rotation.h"

int placement_rotation(const PartRecord& part, int centroid_angle, const Settings& settings) {
    bool bottom = is_bottom(part);
    int ccw = bottom ? settings.bottom_ccw : settings.top_ccw;
    int offset = bottom ? settings.bottom_rotation_offset : settings.top_rotation_offset;
    int factor = bottom ? settings.bottom_centroid_factor : settings.top_centroid_factor;
    // Wide arithmetic: absurd angles in a project file must not overflow.
    long long base = ccw != 0 ? 360LL - part.layout_angle : part.layout_angle;
    long long sum = base + offset + 1080 + static_cast<long long>(factor) * centroid_angle;
    return static_cast<int>(sum % 360);
}
