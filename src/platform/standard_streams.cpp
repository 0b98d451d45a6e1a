#include "platform/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

void reserve_standard_streams() {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (::fcntl(descriptor, F_GETFD) != -1) continue;
        // Opened the wrong way round on purpose: reading standard output or writing standard input
        // fails, like using a closed descriptor.
        int reserved = ::open("/dev/null", descriptor == 0 ? O_WRONLY : O_RDONLY);
        if (reserved >= 0 && reserved != descriptor) ::close(reserved);
    }
}

bool standard_input_is_terminal() { return ::isatty(STDIN_FILENO) == 1; }
