// The few operating-system services kordelc needs: its terminals.
#pragma once

#include <cstddef>

namespace kordel::cli {

enum class StdStream { Out = 1, Err = 2 };

/// True when the standard stream is a terminal.
bool IsTerminal(StdStream stream);

/// The width of the terminal behind the stream in columns; COLUMNS or 80 when it cannot be asked.
std::size_t TerminalWidth(StdStream stream);

}  // namespace kordel::cli
