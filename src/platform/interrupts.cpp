#include "platform/interrupts.h"

#include <signal.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

namespace {

// What the signal handler reads. A signal can arrive at any moment, so this is the one place
// of the program with state of its own: a few fixed slots, filled while the signals are held back.
constexpr int SLOTS = 4;
constexpr size_t PATH_ROOM = 4096;
char slot_paths[SLOTS][PATH_ROOM];
volatile std::sig_atomic_t slot_used[SLOTS];

extern "C" void remove_and_end(int signal_number) {
    for (int slot = 0; slot < SLOTS; ++slot)
        if (slot_used[slot] != 0) ::unlink(slot_paths[slot]);
    ::signal(signal_number, SIG_DFL);
    ::raise(signal_number);
}

sigset_t interrupt_signals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&signals, signal_number);
    return signals;
}

}  // namespace

void remove_files_on_interrupt() {
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current {};
        if (::sigaction(signal_number, nullptr, &current) != 0 || current.sa_handler == SIG_IGN) continue;
        struct sigaction action {};
        action.sa_handler = remove_and_end;
        action.sa_mask = interrupt_signals();
        ::sigaction(signal_number, &action, nullptr);
    }
}

InterruptsHeld::InterruptsHeld() {
    sigset_t held = interrupt_signals();
    ::sigprocmask(SIG_BLOCK, &held, &previous_);
}

InterruptsHeld::~InterruptsHeld() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }

int remove_on_interrupt(const std::string& path) {
    if (path.size() >= PATH_ROOM) return -1;
    // No handler runs while the slot is filled.
    InterruptsHeld held;
    for (int slot = 0; slot < SLOTS; ++slot) {
        if (slot_used[slot] != 0) continue;
        std::memcpy(slot_paths[slot], path.c_str(), path.size() + 1);
        slot_used[slot] = 1;
        return slot;
    }
    return -1;
}

void keep_on_interrupt(int slot) {
    if (slot >= 0 && slot < SLOTS) slot_used[slot] = 0;
}
