#pragma once
// Removing unfinished output files when the run is interrupted.
#include <string>

/// From now on an interruption (SIGINT, SIGTERM or SIGHUP, unless they were ignored when the
/// program started; on Windows also Ctrl-Break and closing the console) removes the files
/// registered below and ends the process as the signal would have, with status 128 + its number.
void remove_files_on_interrupt();

/// Registers a file for removal on interruption; returns its slot for keep_on_interrupt, or -1
/// when no slot is free (the file is then simply not removed). Call it while InterruptsHeld.
int remove_on_interrupt(const std::string& path);

/// Takes a registered file off the list (it was finished, or removed by the program).
void keep_on_interrupt(int slot);

/// Holds back interruptions while it lives (for the moment between creating a file and
/// registering it); one that arrives meanwhile takes effect when it ends. Not nested.
class InterruptsHeld {
public:
    InterruptsHeld();
    ~InterruptsHeld();
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;
};
