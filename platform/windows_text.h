// UTF-8 and UTF-16 conversion and long-path forms for the Windows sources of the platform layer.
#pragma once

#include <string>
#include <string_view>

namespace kordel::platform::windows {

/// UTF-8 to UTF-16.
std::wstring Widen(std::string_view text);

/// UTF-16 to UTF-8.
std::string Narrow(std::wstring_view text);

/// A full path for the wide calls: "/" turned into "\", made absolute, and given the "\\?\" prefix
/// when it is long, so that the 260-character limit does not apply.
std::wstring LongPath(std::string_view path, bool alwaysPrefixed = false);

}  // namespace kordel::platform::windows
