#pragma once
// The glue spots of a footprint, a footprint override or a part. Lengths are inches.
#include <vector>

struct GlueSpot {
    double x = 0.0;
    double y = 0.0;
    double dia = 0.0;
};

/// `count` spots are valid. The first stored spot keeps its position when the spots are
/// removed, because the listings print it even then.
struct GlueSpots {
    std::vector<GlueSpot> spots;
    int count = 0;

    /// Appends a spot at index `count`.
    void add(double x, double y, double dia) {
        spots.resize(static_cast<size_t>(count));
        spots.push_back(GlueSpot{x, y, dia});
        ++count;
    }
    /// Removes every spot; the first stored one's diameter becomes 0.
    void clear() {
        for (GlueSpot& spot : spots) spot.dia = 0.0;
        count = 0;
    }
    GlueSpot& operator[](size_t index) { return spots[index]; }
    const GlueSpot& operator[](size_t index) const { return spots[index]; }
    /// The first stored spot, zero when none was ever stored.
    GlueSpot first() const { return spots.empty() ? GlueSpot{} : spots.front(); }
};
