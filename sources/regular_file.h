// Reading a whole regular file that a run names, refusing FIFOs, folders and files past a size.
#pragma once

#include <cstdint>
#include <string>

namespace kordel::sources {

enum class ReadStatus { Ok, Missing, NotRegular, Unreadable, TooLarge };

/// Reads a whole regular file into `bytes`. The file is opened first and then checked, so a FIFO or a
/// folder is refused without blocking and without a race between the check and the read. With a
/// `maxSize` (not 0), a file larger than that when opened is TooLarge and not read.
ReadStatus ReadRegularFile(const std::string& path, std::string& bytes, std::uint64_t maxSize = 0);

}  // namespace kordel::sources
