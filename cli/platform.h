// The few operating-system services kordelc needs: its terminals and reading a whole file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kordel::cli {

enum class StdStream { Out = 1, Err = 2 };

/// True when the standard stream is a terminal.
bool IsTerminal(StdStream stream);

/// The width of the terminal behind the stream in columns; COLUMNS or 80 when it cannot be asked.
std::size_t TerminalWidth(StdStream stream);

enum class ReadStatus { Ok, Missing, NotRegular, Unreadable, TooLarge };

/// Reads a whole regular file into `bytes`. The file is opened first and then checked, so a FIFO or a
/// folder is refused without blocking and without a race between the check and the read. With a
/// `maxSize` (not 0), a file larger than that when opened is TooLarge and not read.
ReadStatus ReadRegularFile(const std::string& path, std::string& bytes, std::uint64_t maxSize = 0);

}  // namespace kordel::cli
