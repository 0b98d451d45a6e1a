#pragma once
// The glue spots of a footprint, a footprint override or a part. Lengths are inches.
#include <vector>

struct GlueSpot {
    double x = 0.0;
    double y = 0.0;
    double dia = 0.0;
};

/// `count` spots are valid. The first spot is held in the record itself: nearly every part has
/// one spot, and the listings print the first stored spot even after the spots are removed.
struct GlueSpots {
    GlueSpot first_spot;
    std::vector<GlueSpot> more;  // the spots from the second on
    int count = 0;

    /// Appends a spot at index `count`.
    void add(double x, double y, double dia) {
        if (count == 0) {
            first_spot = GlueSpot{x, y, dia};
        } else {
            more.resize(static_cast<size_t>(count - 1));
            more.push_back(GlueSpot{x, y, dia});
        }
        ++count;
    }
    /// Removes every spot; the first stored one's diameter becomes 0.
    void clear() {
        first_spot.dia = 0.0;
        for (GlueSpot& spot : more) spot.dia = 0.0;
        count = 0;
    }
    GlueSpot& operator[](size_t index) { return index == 0 ? first_spot : more[index - 1]; }
    const GlueSpot& operator[](size_t index) const { return index == 0 ? first_spot : more[index - 1]; }
    /// The first stored spot, zero when none was ever stored.
    const GlueSpot& first() const { return first_spot; }
};
