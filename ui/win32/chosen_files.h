// The open-file dialog's answer for several files, taken apart; standard C++ only, so it is tested natively.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kordel::win32 {

/// The full paths in a multiple-choice answer: either one full path, or a folder followed by the
/// chosen names, each ended by a zero, the whole ended by a second zero. A folder that already ends in
/// a backslash (a drive's root, "C:\") gets none added.
std::vector<std::wstring> ChosenFiles(std::wstring_view answer);

}  // namespace kordel::win32
