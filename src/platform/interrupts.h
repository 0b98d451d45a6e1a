#pragma once
// Removing unfinished output files when the run is interrupted.
#include <signal.h>

#include <string>

/// From now on SIGINT, SIGTERM and SIGHUP (unless they were ignored when the program started)
/// remove the files registered below and then end the process as the signal would have.
void remove_files_on_interrupt();

/// Registers a file for removal on interruption; returns its slot for keep_file_on_interrupt,
/// or -1 when no slot is free (the file is then simply not removed).
int remove_on_interrupt(const std::string& path);

/// Holds back the three signals while it lives (for the moment between creating a file and
/// registering it); a signal that arrives meanwhile is delivered when it ends.
class InterruptsHeld {
public:
    InterruptsHeld();
    ~InterruptsHeld();
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

private:
    sigset_t previous_;
};

/// Takes a registered file off the list (it was finished, or removed by the program).
void keep_on_interrupt(int slot);
