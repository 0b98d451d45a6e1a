#include "common/second_thread.h"

#include <exception>
#include <system_error>
#include <thread>

void run_beside(const std::function<void()>& helper_work, const std::function<void()>& own_work) {
    std::exception_ptr helper_failure;
    std::thread helper;
    try {
        helper = std::thread([&helper_work, &helper_failure] {
            try {
                helper_work();
            } catch (...) {
                helper_failure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        own_work();  // no thread to be had: one after the other
        helper_work();
        return;
    }
    // The helper is joined however this thread's work ends.
    struct Joiner {
        std::thread& thread;
        ~Joiner() {
            if (thread.joinable()) thread.join();
        }
    } joiner{helper};
    own_work();
    helper.join();
    if (helper_failure != nullptr) std::rethrow_exception(helper_failure);
}
