#pragma once
#include <atomic>
#include <cstddef>
#include <memory>
#include <thread>

#include "common/text_lines.h"
#include "project/load_context.h"

/// Reads every part block of the "[parts]" section into `project.parts`, in file order,
/// with its footprint's data and its placement point and glue spots in board coordinates.
/// The reading runs in a thread of its own beside the footprint reader: the parts are read
/// meanwhile, their footprints attached once the footprint table is complete. The results
/// and errors are those of reading the footprints first and the parts after them.
class PartsReading {
public:
    /// Starts reading the parts of `text` into `project.parts`; both must outlive the object.
    PartsReading(const TextLines& text, Project& project);
    PartsReading(const PartsReading&) = delete;
    PartsReading& operator=(const PartsReading&) = delete;
    /// Without finish(), for a footprint reader that failed: stops the reading and empties
    /// the part table.
    ~PartsReading();

    /// Where the footprint reader reports its progress through the text (see read_footprints).
    std::atomic<size_t>& footprint_progress();
    /// The footprint table is complete and its reader is done with the text.
    void footprints_complete();
    /// Waits for the reading, attaches what is pending and returns the part count; throws the
    /// reading's error, keeping only the complete parts. Call after footprints_complete().
    int finish();

    struct Shared;

private:
    std::unique_ptr<Shared> shared_;
    std::thread thread_;
};

struct BoardPoint {
    double x, y;
};

/// Moves the footprint offset (dx, dy) to the board for a part at `origin` with this
/// layout angle (clockwise) and side (bit 0 set: bottom, mirrored in x).
BoardPoint footprint_to_board(double origin_x, double origin_y, int layout_angle, unsigned side, double dx, double dy);
