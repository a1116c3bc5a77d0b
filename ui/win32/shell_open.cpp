// Files, folders and web addresses handed to the shell to be shown, never run.
#include "ui/win32/win32_desktop.h"

#include <shellapi.h>

#include "engine/path_split.h"
#include "ui/core/open_rules.h"
#include "ui/win32/text.h"

namespace kordel::win32 {

void Win32Desktop::OpenDocument(const std::string& path) {
    // Opening shows a file, never runs it: a folder is explored, a file that would run shows its folder.
    const std::wstring wide = Wide(path);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ShellExecuteW(nullptr, L"explore", wide.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    if (ui::IsRunnableExtension(engine::PathExtension(path), ui::Shell::Windows)) {
        const engine::PathParts parts = engine::SplitPath(path);
        ShellExecuteW(nullptr, L"explore", Wide(parts.drive + parts.folder).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return;
    }
    const engine::PathParts parts = engine::SplitPath(path);
    ShellExecuteW(nullptr, L"open", wide.c_str(), nullptr, Wide(parts.drive + parts.folder).c_str(), SW_SHOWNORMAL);
}

void Win32Desktop::OpenUrl(const std::string& url) {
    // Only web addresses reach the shell here.
    if (url.rfind("https://", 0) != 0 && url.rfind("http://", 0) != 0) return;
    ShellExecuteW(nullptr, L"open", Wide(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace kordel::win32
