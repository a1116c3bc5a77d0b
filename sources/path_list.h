// Reading a list of paths (--list): one path per line, from a file, a pipe or standard input.
#pragma once

#include <cstddef>
#include <istream>
#include <string>
#include <functional>

namespace kordel::sources {

/// The longest line a list may hold; a path is far shorter, so a longer line means the input is no list.
inline constexpr std::size_t kMaxListLine = 32 * 1024;

struct PathList {
    bool ok = true;
    std::string error;  ///< why the input is not taken, when !ok
};

/// Takes each path of a list as it is read (a CR before each line end dropped, empty lines
/// skipped), so that a list of millions is never held whole; false stops the reading.
using PathSink = std::function<bool(const std::string& path)>;

/// Reads a list from a stream; `name` names it in the error.
PathList ReadPathList(std::istream& in, const PathSink& onPath, const std::string& name = "standard input");

/// Opens `path` and reads it when the opened file is a regular file or a pipe; a folder or a device
/// is refused, as is any line longer than kMaxListLine.
PathList ReadPathListFile(const std::string& path, const PathSink& onPath);

}  // namespace kordel::sources
