// The few operating-system services kordelc needs: terminals and running a program.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kordel::cli {

enum class StdStream { Out = 1, Err = 2 };

/// True when the standard stream is a terminal.
bool IsTerminal(StdStream stream);

/// The width of the terminal behind the stream in columns; COLUMNS or 80 when it cannot be asked.
std::size_t TerminalWidth(StdStream stream);

struct ProcessResult {
    bool started = false;   ///< false when the program could not be run (not found, not executable)
    int exitCode = -1;      ///< the exit status; -1 when it ended by a signal
    std::string output;     ///< everything it wrote to standard output
};

enum class ReadStatus { Ok, Missing, NotRegular, Unreadable };

/// Reads a whole regular file into `bytes`. The file is opened first and then checked, so a FIFO or a
/// folder is refused without blocking and without a race between the check and the read.
ReadStatus ReadRegularFile(const std::string& path, std::string& bytes);

/// Runs `argv[0]` (looked up in PATH) with exactly these arguments, no shell involved; its standard
/// input is empty and its standard error is discarded.
ProcessResult RunProgram(const std::vector<std::string>& argv);

}  // namespace kordel::cli
