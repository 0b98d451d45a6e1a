#include "project/parts.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <numbers>
#include <string>
#include <system_error>
#include <vector>

#include "common/fatal.h"
#include "common/format.h"
#include "common/scan_text.h"
#include "project/scan.h"

namespace {

const std::string_view PART_KEY = "part: ";
const std::string_view SHAPE_KEY = "shape: \"";
const std::string_view VALUE_KEY = "value: \"";
const std::string_view POS_KEY = "pos: ";
constexpr size_t VALUE_ROOM = 128;

bool ends_parts_section(std::string_view line) {
    return starts_with_key(line, "[nets]") || starts_with_key(line, "[texts]") || starts_with_key(line, "[end]");
}

// Reads the part's position from its "pos: " line.
void read_position(PartRecord& part, std::string_view numbers) {
    double x = 0.0, y = 0.0;
    // Read as wide integers and wrapped to 32 bits: the same values an unsigned
    // conversion gives, without overflow on absurd numbers.
    long long side = 0, angle = 0, flag = 0;
    scan_text(numbers, "%lf %lf %lld %lld %lld", &x, &y, &side, &angle, &flag);
    part.side = static_cast<unsigned>(side);
    part.layout_angle = static_cast<int>(static_cast<unsigned>(angle));
    part.angle = part.layout_angle;
    part.pos_flag = static_cast<unsigned>(flag);
    part.x = finite_or_zero(x) * INCH_PER_NM;
    part.y = finite_or_zero(y) * INCH_PER_NM;
}

// Gives a positioned part its footprint's data, placement point and glue spots.
void attach_footprint(PartRecord& part, int index, const FootprintTable& footprints) {
    if (index < 0) throw FatalError(format_text("\n%s has unknown footprint: %s\n", part.ref_des.c_str(), part.shape.c_str()));
    const FootprintRecord& footprint = footprints.records[static_cast<size_t>(index)];
    part.footprint_index = index;
    part.technology = footprint.technology;
    part.centroid_angle = footprint.centroid_angle;
    part.pin_count = footprint.pin_count;
    part.pad_flags = footprint.pad_flags;
    part.excluded = footprint.excluded;

    // Until now the part's position is its origin in the layout.
    const double origin_x = part.x;
    const double origin_y = part.y;
    BoardPoint placement = footprint_to_board(origin_x, origin_y, part.layout_angle, part.side,
                                              footprint.centroid_x, footprint.centroid_y);
    part.x = placement.x;
    part.y = placement.y;
    part.glue = GlueSpots{};
    for (int i = 0; i < footprint.glue.count; ++i) {
        size_t spot = static_cast<size_t>(i);
        BoardPoint glue = footprint_to_board(origin_x, origin_y, part.layout_angle, part.side,
                                             footprint.glue[spot].x, footprint.glue[spot].y);
        part.glue.add(glue.x, glue.y, footprint.glue[spot].dia);
    }
}

using Hashes = std::vector<uint64_t, LargeAllocator<uint64_t>>;

// Attaches their footprints to `count` parts from `parts` on, whose footprint names have
// these hashes; `attached` counts the parts completed, also when an unknown footprint ends
// the work at its part. A large project's footprints are spread over far more memory than
// the caches hold, so each lookup waits for memory; taking the parts in groups lets those
// waits overlap: the index slots of the next group are fetched while this group's records
// arrive, and then the group is completed in file order.
void attach_in_groups(PartRecord* parts, const uint64_t* hashes, size_t count, const FootprintTable& footprints,
                      size_t& attached) {
    constexpr size_t GROUP = 32;
    for (size_t i = 0; i < std::min(count, GROUP); ++i) fetch_footprint_slot(footprints, hashes[i]);
    for (size_t start = 0; start < count; start += GROUP) {
        const size_t end = std::min(count, start + GROUP);
        for (size_t i = end; i < std::min(count, end + GROUP); ++i) fetch_footprint_slot(footprints, hashes[i]);
        for (size_t i = start; i < end; ++i) fetch_footprint_record(footprints, hashes[i]);
        for (size_t i = start; i < end; ++i) {
            attach_footprint(parts[i], find_footprint(footprints, parts[i].shape, hashes[i]), footprints);
            ++attached;
        }
    }
}

// The positioned parts whose footprints are still to be attached, in groups as they are
// read. Parts positioned before the footprint table is complete wait in a list of their own
// and are completed once it is, here or, handed over, by the footprint reader's thread.
class PendingParts {
public:
    /// Parts [0, complete()) of the table are complete or handed over.
    size_t complete() const { return complete_; }

    /// True when parts wait for the footprint table.
    bool waiting() const { return !waiting_.empty(); }

    /// The waiting parts' hashes; from now on they count as complete here.
    Hashes hand_over_waiting() {
        complete_ += waiting_.size();
        return std::move(waiting_);
    }

    /// Notes the part at the end of the table, just positioned. With the footprint table
    /// complete (`footprints_ready`), the parts waiting are completed and then every full group.
    void add(PartTable& parts, const FootprintTable& footprints, bool footprints_ready) {
        uint64_t hash = footprint_hash(parts.back().shape);
        if (!footprints_ready) {
            waiting_.push_back(hash);
            return;
        }
        if (!waiting_.empty()) attach_waiting(parts, footprints);
        fetch_footprint_slot(footprints, hash);
        hashes_[count_++] = hash;
        if (count_ == hashes_.size()) finish_group(parts, footprints);
    }

    /// Completes every pending part; call only with the footprint table complete. An unknown
    /// footprint ends the reading at its part.
    void finish(PartTable& parts, const FootprintTable& footprints) {
        attach_waiting(parts, footprints);
        finish_group(parts, footprints);
    }

private:
    // The waiting parts come before the group in the table, so they are completed first.
    void attach_waiting(PartTable& parts, const FootprintTable& footprints) {
        Hashes waiting = std::move(waiting_);
        attach(parts, footprints, waiting.data(), waiting.size());
    }

    void finish_group(PartTable& parts, const FootprintTable& footprints) {
        size_t count = count_;
        count_ = 0;
        attach(parts, footprints, hashes_.data(), count);
    }

    // A part whose footprint is unknown ends the reading: nothing stays pending, so that a
    // later finish() completes nothing more.
    void attach(PartTable& parts, const FootprintTable& footprints, const uint64_t* hashes, size_t count) {
        try {
            attach_in_groups(parts.data() + complete_, hashes, count, footprints, complete_);
        } catch (...) {
            count_ = 0;
            Hashes().swap(waiting_);
            throw;
        }
    }

    std::array<uint64_t, 32> hashes_{};
    size_t count_ = 0;
    Hashes waiting_;
    size_t complete_ = 0;
};

// Room for every part the rest of the file could hold, so the table is not moved while it
// fills. Only the records in use are ever touched, so generous room costs address space only.
void reserve_parts(const TextLines& text, size_t section_start, PartTable& parts) {
    constexpr size_t SMALLEST_PART_BLOCK = 40;
    parts.reserve((text.data.size() - section_start) / SMALLEST_PART_BLOCK + 1);
}

}  // namespace

BoardPoint footprint_to_board(double origin_x, double origin_y, int layout_angle, unsigned side, double dx, double dy) {
    double mirrored_dx = (side & 1u) != 0 ? -dx : dx;
    int angle = layout_angle % 360;
    if (angle < 0) angle += 360;
    switch (angle) {
        case 0: return {origin_x + mirrored_dx, origin_y + dy};
        case 90: return {origin_x + dy, origin_y - mirrored_dx};
        case 180: return {origin_x - mirrored_dx, origin_y - dy};
        case 270: return {origin_x - dy, origin_y + mirrored_dx};
        default: break;
    }
    double radians = angle * std::numbers::pi / 180.0;
    double cosine = std::cos(radians);
    double sine = std::sin(radians);
    return {origin_x + mirrored_dx * cosine + dy * sine, origin_y - mirrored_dx * sine + dy * cosine};
}

// What the reading thread and the footprint reader share. The part table and the pending
// parts belong to the reading thread until it ends, except the parts it hands over: those
// read before the footprint table was complete go to the footprint reader's thread, which
// attaches their footprints while this thread reads on. The two then work on different
// records of the table, which must therefore not move meanwhile: should it be full, this
// thread waits for the handed parts before it grows the table. The footprint table is read
// only after `footprints_ready`, which the footprint reader sets once the table is complete.
struct PartsReading::Shared {
    Shared(const TextLines& text_to_read, Project& project_to_fill) : text(text_to_read), project(project_to_fill) {}

    const TextLines& text;
    Project& project;
    std::atomic<bool> footprints_ready{false};
    std::atomic<size_t> footprint_progress{0};  // the footprint reader reads nothing before this
    std::atomic<bool> stop{false};
    PendingParts pending;
    std::exception_ptr failure;

    std::mutex mutex;
    std::condition_variable changed;
    bool handed_over = false;     // `handed` holds the hashes of parts [0, handed.size())
    Hashes handed;
    PartRecord* handed_parts = nullptr;  // the table's first record
    bool handed_done = false;     // the other thread is done with the handed parts
    bool reading_ended = false;   // the reading thread will hand nothing over any more
};

namespace {

// Gives the parts waiting for the footprint table to the footprint reader's thread.
void hand_over_waiting(PartsReading::Shared& shared) {
    Hashes handed = shared.pending.hand_over_waiting();
    std::lock_guard lock(shared.mutex);
    shared.handed_parts = shared.project.parts.data();
    shared.handed = std::move(handed);
    shared.handed_over = true;
    shared.changed.notify_all();
}

// Before the table grows past its room, the handed parts must be done with.
void wait_for_handed_parts(PartsReading::Shared& shared) {
    std::unique_lock lock(shared.mutex);
    shared.changed.wait(lock, [&shared] { return !shared.handed_over || shared.handed_done; });
}

// Reads the part blocks after the "[parts]" line up to the end of the section. The record
// of the open block is built in place at the end of the table. Footprints are attached as
// soon as the footprint table is complete; what is pending at the end is left to finish().
void read_part_blocks(PartsReading::Shared& shared, LineCursor& cursor) {
    PartTable& parts = shared.project.parts;
    const FootprintTable& footprints = shared.project.footprints;
    // Both readers read forward: the text behind both of them is given back as the table grows,
    // so that the table's new pages are the text's old ones; once the footprint reader is done,
    // that is all the text behind this one.
    constexpr size_t STEP = size_t{4} << 20;
    size_t checked = 0;
    bool in_block = false;
    for (;;) {
        if (cursor.at_end()) throw FatalError("\nPremature EOF reading Parts\n");
        if (cursor.position - checked >= STEP) {
            checked = cursor.position;
            if (shared.stop.load(std::memory_order_relaxed)) return;
            size_t unread = shared.footprints_ready.load(std::memory_order_acquire)
                                ? checked
                                : std::min(checked, shared.footprint_progress.load(std::memory_order_acquire));
            discard_text_before(shared.text, unread);
        }
        std::string_view line = cursor.next();
        if (starts_with_key(line, PART_KEY)) {
            // A block without its "pos: " line is closed by the next part.
            if (in_block) {
                parts.back() = PartRecord{};
            } else {
                if (parts.size() == parts.capacity()) wait_for_handed_parts(shared);
                parts.emplace_back();
            }
            parts.back().ref_des = without_newline(line.substr(PART_KEY.size()));
            in_block = true;
            continue;
        }
        if (!in_block) {
            if (ends_parts_section(line)) return;
            continue;
        }
        PartRecord& part = parts.back();
        if (starts_with_key(line, SHAPE_KEY)) {
            part.shape = quoted_value(line.substr(SHAPE_KEY.size()), false);
        } else if (starts_with_key(line, VALUE_KEY)) {
            std::string value = quoted_value(line.substr(VALUE_KEY.size()), false);
            if (value.size() > VALUE_ROOM) value.resize(VALUE_ROOM);
            part.value = std::move(value);
        } else if (starts_with_key(line, POS_KEY)) {
            read_position(part, line.substr(POS_KEY.size()));
            in_block = false;
            const bool ready = shared.footprints_ready.load(std::memory_order_acquire);
            if (ready && shared.pending.waiting()) hand_over_waiting(shared);
            shared.pending.add(parts, footprints, ready);
        }
    }
}

// The reading thread's work; its error is kept for finish().
void read_parts_section(PartsReading::Shared& shared) {
    try {
        LineCursor cursor{shared.text};
        if (!skip_past_line_starting_with(cursor, "[parts]")) throw FatalError("\nParts not found\n");
        reserve_parts(shared.text, cursor.position, shared.project.parts);
        read_part_blocks(shared, cursor);
    } catch (...) {
        shared.failure = std::current_exception();
    }
    std::lock_guard lock(shared.mutex);
    shared.reading_ended = true;
    shared.changed.notify_all();
}

// In the footprint reader's thread: completes the parts handed over, if any; an unknown
// footprint among them is kept in `failure`, with `attached` the parts before it.
void complete_handed_parts(PartsReading::Shared& shared, std::exception_ptr& failure, size_t& attached) {
    {
        std::unique_lock lock(shared.mutex);
        shared.changed.wait(lock, [&shared] { return shared.handed_over || shared.reading_ended; });
        if (!shared.handed_over) return;
    }
    try {
        attach_in_groups(shared.handed_parts, shared.handed.data(), shared.handed.size(), shared.project.footprints,
                         attached);
    } catch (...) {
        failure = std::current_exception();
        shared.stop.store(true, std::memory_order_relaxed);  // what follows is not wanted
    }
    std::lock_guard lock(shared.mutex);
    shared.handed_done = true;
    shared.changed.notify_all();
}

}  // namespace

PartsReading::PartsReading(const TextLines& text, Project& project)
    : shared_(new Shared(text, project)) {
    try {
        thread_ = std::thread(read_parts_section, std::ref(*shared_));
    } catch (const std::system_error&) {
        // No thread to be had: finish() reads the parts after the footprints.
    }
}

PartsReading::~PartsReading() {
    if (!thread_.joinable()) return;
    // The footprints failed: the parts are not wanted, as if they had never been read.
    shared_->stop.store(true, std::memory_order_relaxed);
    thread_.join();
    shared_->project.parts.clear();
}

std::atomic<size_t>& PartsReading::footprint_progress() { return shared_->footprint_progress; }

void PartsReading::footprints_complete() { shared_->footprints_ready.store(true, std::memory_order_release); }

int PartsReading::finish() {
    std::exception_ptr handed_failure;
    size_t handed_attached = 0;
    if (thread_.joinable()) {
        complete_handed_parts(*shared_, handed_failure, handed_attached);
        thread_.join();
    } else {
        read_parts_section(*shared_);  // the footprints are complete: nothing is handed over
    }
    PartTable& parts = shared_->project.parts;
    // An error of a part's footprint comes before an error later in the file, and when the
    // reading stops with an error, the table keeps only the parts that were complete.
    if (handed_failure != nullptr) {
        parts.erase(parts.begin() + static_cast<long>(handed_attached), parts.end());
        std::rethrow_exception(handed_failure);
    }
    try {
        shared_->pending.finish(parts, shared_->project.footprints);
        if (shared_->failure != nullptr) std::rethrow_exception(shared_->failure);
    } catch (...) {
        parts.erase(parts.begin() + static_cast<long>(shared_->pending.complete()), parts.end());
        throw;
    }
    return shared_->project.part_count();
}
