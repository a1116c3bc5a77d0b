// The few operating-system services kordelc needs: its terminals and its arguments.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kordel::cli {

enum class StdStream { Out = 1, Err = 2 };

/// True when the standard stream is a terminal.
bool IsTerminal(StdStream stream);

/// The width of the terminal behind the stream in columns; COLUMNS or 80 when it cannot be asked.
std::size_t TerminalWidth(StdStream stream);

/// Writes UTF-8 text to the terminal behind the stream as the terminal takes it; false on failure.
bool WriteToTerminal(StdStream stream, std::string_view text);

/// The program's arguments as UTF-8, on every system.
std::vector<std::string> CommandLineArguments(int argc, char** argv);

}  // namespace kordel::cli
