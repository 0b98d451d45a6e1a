#pragma once
// The process's standard input, output and error.

/// Readies the standard streams before anything is read or written: no closed one is left for
/// a file the run opens to take its place (a null device that refuses to be written or read
/// stands in, so the run's writes there fail as on the closed stream), and standard input
/// delivers its bytes as they are (the readers drop a carriage return before a line feed).
void prepare_standard_streams();

/// True when standard input is an interactive terminal.
bool standard_input_is_terminal();

/// While it lives, the console shows the program's messages in the program's code page: UTF-8 on
/// Windows, whose consoles start in an older one, and nothing to change on POSIX. The console's
/// own code page comes back when it ends.
class ConsoleInProgramCodePage {
public:
    ConsoleInProgramCodePage();
    ~ConsoleInProgramCodePage();
    ConsoleInProgramCodePage(const ConsoleInProgramCodePage&) = delete;
    ConsoleInProgramCodePage& operator=(const ConsoleInProgramCodePage&) = delete;

private:
    [[maybe_unused]] unsigned console_code_page_ = 0;  // the console's own, to give back; 0: none changed
};
