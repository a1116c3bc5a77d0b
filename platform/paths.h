// Path text: separators, joining and the key two spellings of one path share. UTF-8 in and out.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/os.h"

namespace kordel::platform {

/// True for a character that separates folders: '/', and '\' on Windows.
bool IsSeparator(char c);

/// The index of the last separator of `path`; npos when it has none.
std::size_t LastSeparator(std::string_view path);

/// `folder` and `name` joined with the system's separator (none added after one that is there).
std::string JoinPath(std::string_view folder, std::string_view name);

/// The path as compared with others: as it is where names are case-sensitive, its ASCII letters in
/// lower case where they are not.
std::string PathKey(std::string_view path, bool caseSensitive = kCaseSensitivePaths);

}  // namespace kordel::platform
