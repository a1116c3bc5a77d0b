// The extensions that the desktop's open action refuses, because opening them runs them.
#include "ui/core/open_rules.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/ascii.h"

namespace kordel::ui {

bool IsRunnableExtension(std::string_view extension, Shell shell) {
    static constexpr std::array<std::string_view, 20> kWindows{
        ".bat", ".cmd", ".com", ".exe", ".vbs", ".vbe", ".js",  ".jse", ".wsf", ".wsh",
        ".ps1", ".msi", ".scr", ".pif", ".hta", ".lnk", ".cpl", ".jar", ".reg", ".application"};
    static constexpr std::array<std::string_view, 8> kFreeDesktop{".desktop", ".appimage", ".exe", ".msi",
                                                                  ".com",     ".bat",      ".cmd", ".jar"};
    const std::string lower = AsciiLowered(extension);
    if (shell == Shell::Windows) return std::find(kWindows.begin(), kWindows.end(), lower) != kWindows.end();
    return std::find(kFreeDesktop.begin(), kFreeDesktop.end(), lower) != kFreeDesktop.end();
}

}  // namespace kordel::ui
