// What the core may know about the system it was built for, as constants instead of #ifdefs.
#pragma once

namespace kordel::platform {

#ifdef _WIN32
inline constexpr bool kWindows = true;
#else
inline constexpr bool kWindows = false;
#endif

/// Whether two paths that differ only in letter case name different files.
inline constexpr bool kCaseSensitivePaths = !kWindows;

/// The line end of the system's text files.
inline constexpr const char* kTextLineEnd = kWindows ? "\r\n" : "\n";

}  // namespace kordel::platform
