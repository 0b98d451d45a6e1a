#include "platform/standard_streams.h"

#ifdef _WIN32

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>

void prepare_standard_streams() {
    // In text mode a byte 0x1A would end a project piped in.
    _setmode(_fileno(stdin), _O_BINARY);
}

bool standard_input_is_terminal() {
    // Only a console has a console mode; the null device also counts as a character device.
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
}

ConsoleInProgramCodePage::ConsoleInProgramCodePage() {
    // Without a console there is nothing to set (a run whose output goes to files or pipes).
    const UINT console_code_page = GetConsoleOutputCP();
    if (console_code_page != 0 && console_code_page != GetACP() && SetConsoleOutputCP(GetACP()))
        console_code_page_ = console_code_page;
}

ConsoleInProgramCodePage::~ConsoleInProgramCodePage() {
    if (console_code_page_ != 0) SetConsoleOutputCP(console_code_page_);
}

#else

#include <fcntl.h>
#include <unistd.h>

void prepare_standard_streams() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) != -1) continue;
        // Opened the wrong way round on purpose: reading standard output or writing standard input
        // fails, like using a closed descriptor.
        int reserved = ::open("/dev/null", descriptor == 0 ? O_WRONLY : O_RDONLY);
        if (reserved >= 0 && reserved != descriptor) ::close(reserved);
    }
}

bool standard_input_is_terminal() { return ::isatty(STDIN_FILENO) == 1; }

// Terminals take the bytes as they are.
ConsoleInProgramCodePage::ConsoleInProgramCodePage() = default;
ConsoleInProgramCodePage::~ConsoleInProgramCodePage() = default;

#endif
