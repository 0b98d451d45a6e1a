#include "common/parallel_blocks.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <streambuf>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// A stream buffer that appends to a string: a block is formatted into memory first.
class StringAppender : public std::streambuf {
public:
    explicit StringAppender(std::string& text) : text_(text) {}

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize count) override {
        text_.append(bytes, static_cast<size_t>(count));
        return count;
    }
    int_type overflow(int_type character) override {
        if (!traits_type::eq_int_type(character, traits_type::eof())) text_.push_back(traits_type::to_char_type(character));
        return traits_type::not_eof(character);
    }

private:
    std::string& text_;
};

void format_block(std::string& text, const BlockWriter& write_items, size_t begin, size_t end) {
    text.clear();
    StringAppender buffer(text);
    std::ostream out(&buffer);
    write_items(out, begin, end);
}

// The helper formats the odd blocks and hands them over; it keeps at most AHEAD blocks
// formatted and not yet written, so the memory held stays a few blocks whatever the count.
struct Handover {
    static constexpr size_t AHEAD = 2;

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::string> ready;  // formatted blocks by helper turn, empty until handed over
    std::vector<bool> done;
    std::vector<std::string> spare;  // written texts given back, for their memory
    size_t taken = 0;                // helper turns the caller has written
    bool stop = false;
    std::exception_ptr failure;
};

void help(Handover& handover, const BlockWriter& write_items, size_t count, size_t block_items) {
    size_t turns = handover.ready.size();
    for (size_t turn = 0; turn < turns; ++turn) {
        std::string text;
        {
            std::unique_lock lock(handover.mutex);
            handover.changed.wait(lock, [&] { return handover.stop || turn < handover.taken + Handover::AHEAD; });
            if (handover.stop) return;
            if (!handover.spare.empty()) {
                text = std::move(handover.spare.back());
                handover.spare.pop_back();
            }
        }
        size_t begin = (2 * turn + 1) * block_items;
        try {
            format_block(text, write_items, begin, std::min(count, begin + block_items));
        } catch (...) {
            std::lock_guard lock(handover.mutex);
            handover.failure = std::current_exception();
            handover.changed.notify_all();
            return;
        }
        std::lock_guard lock(handover.mutex);
        handover.ready[turn] = std::move(text);
        handover.done[turn] = true;
        handover.changed.notify_all();
    }
}

// Stops the helper and waits for it, however the caller leaves.
struct HelperThread {
    Handover& handover;
    std::thread thread;

    ~HelperThread() {
        if (!thread.joinable()) return;
        {
            std::lock_guard lock(handover.mutex);
            handover.stop = true;
        }
        handover.changed.notify_all();
        thread.join();
    }
};

}  // namespace

void write_in_parallel_blocks(std::ostream& out, size_t count, const BlockWriter& write_items, size_t block_items) {
    block_items = std::max<size_t>(block_items, 1);
    size_t blocks = (count + block_items - 1) / block_items;
    if (blocks < 2) {
        write_items(out, 0, count);
        return;
    }
    Handover handover;
    handover.ready.resize(blocks / 2);
    handover.done.resize(blocks / 2);
    HelperThread helper{handover, {}};
    try {
        helper.thread = std::thread(help, std::ref(handover), std::cref(write_items), count, block_items);
    } catch (const std::system_error&) {
        write_items(out, 0, count);  // no thread to be had: one thread writes it all
        return;
    }

    // The caller writes its own blocks straight to the stream and the helper's as they come.
    for (size_t block = 0; block < blocks; ++block) {
        if (block % 2 == 0) {
            size_t begin = block * block_items;
            write_items(out, begin, std::min(count, begin + block_items));
            continue;
        }
        size_t turn = block / 2;
        std::string text;
        {
            std::unique_lock lock(handover.mutex);
            handover.changed.wait(lock, [&] { return handover.done[turn] || handover.failure != nullptr; });
            if (!handover.done[turn]) std::rethrow_exception(handover.failure);
            text = std::move(handover.ready[turn]);
        }
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        std::lock_guard lock(handover.mutex);
        handover.spare.push_back(std::move(text));
        ++handover.taken;
        handover.changed.notify_all();
    }
}
