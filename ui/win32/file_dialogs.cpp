// The common open and save dialogs, and the add dialog that takes many files at once.
#include "ui/win32/win32_desktop.h"

#include <cderr.h>
#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/win32/chosen_files.h"
#include "ui/win32/text.h"

namespace kordel::win32 {
namespace {

// "desc\0pattern\0...\0\0" for the common file dialogs.
std::wstring FilterText(const std::vector<std::pair<std::string, std::string>>& pairs) {
    std::wstring text;
    for (const auto& [description, pattern] : pairs) {
        text += Wide(description);
        text.push_back(L'\0');
        text += Wide(pattern);
        text.push_back(L'\0');
    }
    text.push_back(L'\0');
    return text;
}

std::optional<std::string> AskPath(HWND owner, std::string_view title, const ui::FileType& type, bool save) {
    const std::wstring filter = FilterText({{type.description, type.pattern}});
    const std::wstring caption = Wide(title);
    const std::wstring extension = Wide(type.defaultExtension);
    std::wstring buffer(save ? 2048 : 100000, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = caption.c_str();
    ofn.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | (save ? OFN_PATHMUSTEXIST : OFN_FILEMUSTEXIST);
    const BOOL chosen = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!chosen) return std::nullopt;
    return Utf8(buffer.c_str());
}

}  // namespace

std::optional<std::string> Win32Desktop::AskOpenPath(std::string_view title, const ui::FileType& type) {
    return AskPath(m_main, title, type, false);
}

std::optional<std::string> Win32Desktop::AskSavePath(std::string_view title, const ui::FileType& type) {
    return AskPath(m_main, title, type, true);
}

ui::AddChoice Win32Desktop::AskSourceFiles(std::string_view title, const std::vector<ui::FileFilter>& filters,
                                           int filter, const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const ui::FileFilter& f : filters) pairs.emplace_back(f.description, f.patterns);
    const std::wstring filterText = FilterText(pairs);
    const std::wstring caption = Wide(title);
    const std::wstring start = Wide(folder);
    std::wstring buffer(100000, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = m_main;
    ofn.lpstrFilter = filterText.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::clamp(filter, 1, static_cast<int>(filters.size())));
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrTitle = caption.c_str();
    ofn.lpstrInitialDir = start.empty() ? nullptr : start.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_ALLOWMULTISELECT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    ui::AddChoice choice;
    const BOOL chosen = GetOpenFileNameW(&ofn);
    choice.filter = static_cast<int>(ofn.nFilterIndex);
    if (!chosen) {
        if (CommDlgExtendedError() == FNERR_BUFFERTOOSMALL)
            Message("Too many files were chosen at once to add them.  Choose fewer files at a time.", ui::Icon::Stop);
        return choice;
    }
    for (const std::wstring& path : ChosenFiles(buffer)) choice.paths.push_back(Utf8(path));
    return choice;
}

}  // namespace kordel::win32
