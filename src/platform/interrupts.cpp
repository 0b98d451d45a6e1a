#include "platform/interrupts.h"

#include <csignal>
#include <cstring>

// What the interruption handler reads. An interruption can come at any moment, so this is the
// one place of the program with state of its own: a few fixed slots, filled while interruptions
// are held back.
namespace {

constexpr int SLOTS = 4;
constexpr size_t PATH_ROOM = 4096;
char slot_paths[SLOTS][PATH_ROOM];
volatile std::sig_atomic_t slot_used[SLOTS];

}  // namespace

#ifdef _WIN32

#include <io.h>
#include <windows.h>

namespace {

// The handlers run on a thread of their own: the lock keeps them off the slots while they change.
CRITICAL_SECTION slots_lock;
bool handling = false;

constexpr int CLOSED_CONSOLE = 1;  // counted as SIGHUP, the signal of a terminal that went away

[[noreturn]] void remove_and_end(int signal_number) {
    EnterCriticalSection(&slots_lock);
    for (int slot = 0; slot < SLOTS; ++slot)
        if (slot_used[slot] != 0) DeleteFileA(slot_paths[slot]);
    _exit(128 + signal_number);
}

extern "C" void signal_handler(int signal_number) { remove_and_end(signal_number); }

BOOL WINAPI console_event(DWORD event) {
    // Ctrl-C and Ctrl-Break reach the signal handler.
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return FALSE;
    remove_and_end(CLOSED_CONSOLE);
}

}  // namespace

void remove_files_on_interrupt() {
    InitializeCriticalSection(&slots_lock);
    handling = true;
    for (int signal_number : {SIGINT, SIGBREAK, SIGTERM}) std::signal(signal_number, signal_handler);
    SetConsoleCtrlHandler(console_event, TRUE);
}

InterruptsHeld::InterruptsHeld() {
    if (handling) EnterCriticalSection(&slots_lock);
}

InterruptsHeld::~InterruptsHeld() {
    if (handling) LeaveCriticalSection(&slots_lock);
}

#else

#include <signal.h>
#include <unistd.h>

namespace {

sigset_t held_previous;  // the signal mask InterruptsHeld put aside

constexpr int INTERRUPT_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t interrupt_signals() {
    sigset_t signals;
    sigemptyset(&signals);
    for (int signal_number : INTERRUPT_SIGNALS) sigaddset(&signals, signal_number);
    return signals;
}

extern "C" void remove_and_end(int signal_number) {
    for (int slot = 0; slot < SLOTS; ++slot)
        if (slot_used[slot] != 0) ::unlink(slot_paths[slot]);
    ::signal(signal_number, SIG_DFL);
    ::raise(signal_number);
}

}  // namespace

void remove_files_on_interrupt() {
    for (int signal_number : INTERRUPT_SIGNALS) {
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
    ::sigprocmask(SIG_BLOCK, &held, &held_previous);
}

InterruptsHeld::~InterruptsHeld() { ::sigprocmask(SIG_SETMASK, &held_previous, nullptr); }

#endif

int remove_on_interrupt(const std::string& path) {
    if (path.size() >= PATH_ROOM) return -1;
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
