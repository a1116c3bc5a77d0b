// Which files must never be handed to the desktop's "open" action, because opening them runs them.
#pragma once

#include <string_view>

namespace kordel::ui {

enum class Shell { Windows, FreeDesktop };

/// Files that the desktop starts as programs when asked to open them (extension with dot, any case):
/// scripts and programs on Windows; launchers and what Wine or Java register elsewhere.
bool IsRunnableExtension(std::string_view extension, Shell shell);

}  // namespace kordel::ui
