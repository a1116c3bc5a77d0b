// Text values in the Windows registry; POSIX has no registry and finds nothing there.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kordel::platform {

enum class RegistryRoot { CurrentUser, LocalMachine };

/// Which view of the registry a 64-bit program reads: its own, or the one 32-bit programs see.
enum class RegistryView { Native, Wow64_64, Wow64_32 };

/// The string value `name` of `key` (an empty name is the key's default value); nothing when the
/// key or value is missing or not text.
std::optional<std::string> ReadRegistryText(RegistryRoot root, std::string_view key, std::string_view name,
                                            RegistryView view = RegistryView::Native);

/// Stores `value` as the string value `name` of `key`, creating the key; false on failure.
bool WriteRegistryText(RegistryRoot root, std::string_view key, std::string_view name, std::string_view value);

}  // namespace kordel::platform
