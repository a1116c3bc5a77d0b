// POSIX implementation of the operating-system services of kordelc.
#include "cli/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace kordel::cli {

ReadStatus ReadRegularFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    if (path.find('\0') != std::string::npos) return ReadStatus::Missing;
#ifdef _WIN32
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return errno == ENOENT ? ReadStatus::Missing : ReadStatus::Unreadable;
    char chunk[65536];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) bytes.append(chunk, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    return failed ? ReadStatus::Unreadable : ReadStatus::Ok;
#else
    // O_NONBLOCK: opening a FIFO must not wait for a writer; it is refused by the check below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadStatus::NotRegular;
    }
    bytes.resize(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    ReadStatus status = ReadStatus::Ok;
    // As the counter does, the file is read up to the size it had when it was opened.
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) status = ReadStatus::Unreadable;
        if (got <= 0) break;
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    bytes.resize(done);
    return status;
#endif
}

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
