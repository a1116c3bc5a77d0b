// POSIX implementation of the operating-system services of kordelc.
#include "cli/platform.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
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

#ifdef _WIN32
ProcessResult RunProgram(const std::vector<std::string>&) { return {}; }
#else
ProcessResult RunProgram(const std::vector<std::string>& argv) {
    ProcessResult result;
    if (argv.empty()) return result;
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return result;
    fcntl(pipeFds[0], F_SETFD, FD_CLOEXEC);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);

    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int spawnError = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawnError != 0) {
        close(pipeFds[0]);
        return result;
    }

    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = read(pipeFds[0], buffer, sizeof buffer);
        if (got > 0) {
            result.output.append(buffer, static_cast<std::size_t>(got));
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
    close(pipeFds[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    // glibc's posix_spawnp reports a program it could not run as exit status 127 of the child.
    result.started = !(WIFEXITED(status) && WEXITSTATUS(status) == 127);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}
#endif

}  // namespace kordel::cli
