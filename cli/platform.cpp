// POSIX implementation of the operating-system services of kordelc.
#include "cli/platform.h"

#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#else
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace kordel::cli {

bool IsTerminal(StdStream stream) {
#ifdef _WIN32
    return _isatty(static_cast<int>(stream)) != 0;
#else
    return isatty(static_cast<int>(stream)) == 1;
#endif
}

std::size_t TerminalWidth(StdStream stream) {
#ifndef _WIN32
    winsize size{};
    if (ioctl(static_cast<int>(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
#else
    (void)stream;
#endif
    if (const char* columns = std::getenv("COLUMNS")) {
        char* end = nullptr;
        const long value = std::strtol(columns, &end, 10);
        if (end != columns && *end == '\0' && value > 0 && value < 10000) return static_cast<std::size_t>(value);
    }
    return 80;
}

}  // namespace kordel::cli
