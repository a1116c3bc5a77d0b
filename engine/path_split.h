// Splits a path into drive (or network prefix), folder, name and extension.
#pragma once

#include <string>
#include <string_view>

namespace kordel::engine {

struct PathParts {
    std::string drive;      ///< "C:\" or the network prefix "\\srv\share\"; empty for POSIX paths
    std::string folder;     ///< folder; ends with its separator except for network paths
    std::string name;       ///< file name without extension
    std::string extension;  ///< from the last "." of the whole path to its end, dot included
};

/// True when the path starts with two backslashes.
bool IsUncPath(std::string_view path);

/// Characters up to and including the fourth backslash; the whole length when there are fewer.
std::size_t UncDriveLength(std::string_view path);

/// Splits a drive-letter path ("C:\src\a.c").
PathParts SplitDrivePath(std::string_view path);

/// Splits a network path ("\\srv\share\dir\x.c").
PathParts SplitUncPath(std::string_view path);

/// Splits a POSIX path ("/src/a.c"): no drive, folder through the last "/".
PathParts SplitPosixPath(std::string_view path);

/// Chooses the splitter for a path of the running platform.
PathParts SplitPath(std::string_view path);

/// The extension of a path as the language dispatch takes it.
std::string_view PathExtension(std::string_view path);

}  // namespace kordel::engine
