// The process and its surroundings: folders, local time, processes, the terminal.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kordel::platform {

/// The folder of the running program (UTF-8); empty when it cannot be found.
std::string ProgramFolder();

/// The folder for temporary files (UTF-8).
std::string TempFolder();

/// The folder of the user's application data, without the program's own sub-folder: the absolute
/// $XDG_DATA_HOME, else ~/.local/share on POSIX; %APPDATA% on Windows. Nothing without a home.
std::optional<std::string> UserDataFolder();

/// The folder of the user's configuration files: the absolute $XDG_CONFIG_HOME, else ~/.config
/// (POSIX); %APPDATA% on Windows. Nothing without a home.
std::optional<std::string> UserConfigFolder();

/// True when the caller may create files in `folder`.
bool IsWritableFolder(std::string_view folder);

/// The value of an environment variable (UTF-8).
std::optional<std::string> Environment(std::string_view name);

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
};

/// The current local date and time.
LocalTime Now();

/// The id of this process.
int ProcessId();

/// True when a process with this id runs (false only when it surely does not).
bool IsProcessRunning(int pid);

enum class StdStream { Out = 1, Err = 2 };

/// True when the standard stream is a terminal (a console on Windows).
bool IsTerminal(StdStream stream);

/// The width of the terminal behind the stream in columns; 0 when it cannot be asked.
std::size_t TerminalColumns(StdStream stream);

/// Writes UTF-8 text to the terminal behind the stream, as the terminal takes it (a Windows console
/// gets UTF-16, whatever its code page). False when it could not be written.
bool WriteToTerminal(StdStream stream, std::string_view text);

/// The program's arguments as UTF-8. Windows hands `argv` over in the ANSI code page, which holds
/// few of the world's letters, so they are read again from the wide command line there; POSIX
/// gives them as they are.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

struct ProcessResult {
    bool started = false;  ///< false when the program could not be run (not found, not executable)
    int exitCode = -1;     ///< the exit status; -1 when it ended by a signal
    std::string output;    ///< everything it wrote to standard output
};

/// Runs `argv[0]` (looked up in PATH) with exactly these arguments, no shell involved; its standard
/// input is empty and its standard error is discarded.
ProcessResult RunProgram(const std::vector<std::string>& argv);

/// Starts `program` with an argument text as written on a command line (Windows passes it on as it
/// is; POSIX splits it at blanks outside double quotes) and waits for its end. False when it could
/// not be started.
bool RunAndWait(std::string_view program, std::string_view arguments);

/// Opens a file or folder with the desktop's program for it (Windows: the shell's verb, "edit" for
/// programs and scripts). False where there is no such shell (POSIX: the desktop layer does it).
bool ShellOpen(std::string_view path, bool edit);

}  // namespace kordel::platform
