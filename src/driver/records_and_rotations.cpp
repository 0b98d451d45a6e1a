#include "driver/records_and_rotations.h"

int apply_info_record(const InfoTable& info, PartRecord& part) {
    int found = info.find(part.ref_des);
    if (found < 0) return -1;
    const InfoRecord& record = info.records[static_cast<size_t>(found)];
    part.info_text = record.text;
    part.excluded = record.excluded;
    if (record.glue_dia == 0.0) {
        part.glue.clear();
    } else if (record.glue_dia > 0.0) {
        for (int i = 0; i < part.glue.count; ++i) part.glue[static_cast<size_t>(i)].dia = record.glue_dia;
    }
    return found;
}

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

void apply_records_and_rotations(PartTable& parts, const InfoTable& info, const Settings& settings) {
    // Every part holds its footprint's centroid angle since it was read.
    for (PartRecord& part : parts) {
        apply_info_record(info, part);
        part.angle = placement_rotation(part, part.centroid_angle, settings);
    }
}
