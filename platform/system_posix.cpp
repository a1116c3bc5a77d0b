// POSIX process services: /proc for the program's folder, XDG folders, posix_spawn, the terminal.
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/system.h"

extern char** environ;

namespace kordel::platform {
namespace {

// An XDG base folder: the variable when it holds an absolute path, else the folder under $HOME.
std::optional<std::string> XdgFolder(const char* variable, const char* underHome) {
    if (const std::optional<std::string> value = Environment(variable); value && value->starts_with('/'))
        return value;
    const std::optional<std::string> home = Environment("HOME");
    if (!home || home->empty()) return std::nullopt;
    return *home + "/" + underHome;
}

// Runs argv with standard output to `outFd` (or /dev/null when it is negative); the pid, or -1.
pid_t Spawn(const std::vector<std::string>& argv, int outFd) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    if (outFd >= 0) {
        posix_spawn_file_actions_adddup2(&actions, outFd, 1);
        posix_spawn_file_actions_addclose(&actions, outFd);
    }
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t pid = 0;
    const int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return error == 0 ? pid : -1;
}

int Wait(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return status;
}

}  // namespace

std::string ProgramFolder() {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : self.parent_path().native();
}

std::string TempFolder() {
    if (const std::optional<std::string> dir = Environment("TMPDIR"); dir && dir->starts_with('/')) return *dir;
    return "/tmp";
}

std::optional<std::string> UserDataFolder() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }

std::optional<std::string> UserConfigFolder() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

bool IsWritableFolder(std::string_view folder) {
    if (folder.find('\0') != std::string_view::npos || GetPathInfo(folder).kind != PathKind::Folder) return false;
    return ::access(std::string(folder).c_str(), W_OK | X_OK) == 0;
}

std::optional<std::string> Environment(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    if (!value) return std::nullopt;
    return std::string(value);
}

LocalTime Now() {
    const std::time_t now = std::time(nullptr);
    std::tm tm{};
    ::localtime_r(&now, &tm);
    return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min};
}

int ProcessId() { return static_cast<int>(::getpid()); }

bool IsProcessRunning(int pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno != ESRCH); }

bool IsTerminal(StdStream stream) { return ::isatty(static_cast<int>(stream)) == 1; }

std::size_t TerminalColumns(StdStream stream) {
    winsize size{};
    if (::ioctl(static_cast<int>(stream), TIOCGWINSZ, &size) == 0) return size.ws_col;
    return 0;
}

bool WriteToTerminal(StdStream stream, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(static_cast<int>(stream), text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) { return std::vector<std::string>(argv, argv + argc); }

ProcessResult RunProgram(const std::vector<std::string>& argv) {
    ProcessResult result;
    if (argv.empty()) return result;
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) return result;
    const pid_t pid = Spawn(argv, pipeFds[1]);
    ::close(pipeFds[1]);
    if (pid < 0) {
        ::close(pipeFds[0]);
        return result;
    }
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
        if (got > 0) result.output.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR) break;
    }
    ::close(pipeFds[0]);
    const int status = Wait(pid);
    // glibc's posix_spawnp reports a program it could not run as exit status 127 of the child.
    result.started = !(WIFEXITED(status) && WEXITSTATUS(status) == 127);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool RunAndWait(std::string_view program, std::string_view arguments) {
    std::vector<std::string> argv{std::string(program)};
    bool quoted = false;
    bool inWord = false;
    for (char c : arguments) {
        if (c == '"') {
            quoted = !quoted;
            if (!inWord) argv.emplace_back();
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            inWord = false;
        } else {
            if (!inWord) argv.emplace_back();
            argv.back() += c;
            inWord = true;
        }
    }
    const pid_t pid = Spawn(argv, -1);
    if (pid < 0) return false;
    const int status = Wait(pid);
    return !(WIFEXITED(status) && WEXITSTATUS(status) == 127);
}

bool ShellOpen(std::string_view, bool) { return false; }

std::optional<std::string> ReadRegistryText(RegistryRoot, std::string_view, std::string_view, RegistryView) {
    return std::nullopt;
}

bool WriteRegistryText(RegistryRoot, std::string_view, std::string_view, std::string_view) { return false; }

}  // namespace kordel::platform
