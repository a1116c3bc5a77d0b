// The desktop's message boxes and the program's folder; its other services live beside it, one
// file per concern.
#include "ui/win32/win32_desktop.h"

#include "ui/core/messages.h"
#include "ui/win32/text.h"

namespace kordel::win32 {

using ui::Answer;
using ui::Buttons;
using ui::Icon;

HWND Win32Desktop::Owner() const {
    const HWND active = GetActiveWindow();
    return active ? active : m_main;
}

Answer Win32Desktop::Message(std::string_view text, Icon icon, Buttons buttons) {
    UINT flags = MB_TASKMODAL;
    switch (icon) {
        case Icon::Stop: flags |= MB_ICONSTOP; break;
        case Icon::Information: flags |= MB_ICONINFORMATION; break;
        case Icon::Warning: flags |= MB_ICONWARNING; break;
        case Icon::Question: flags |= MB_ICONQUESTION; break;
    }
    switch (buttons) {
        case Buttons::Ok: flags |= MB_OK; break;
        case Buttons::OkCancel: flags |= MB_OKCANCEL; break;
        case Buttons::YesNo: flags |= MB_YESNO; break;
        case Buttons::YesNoCancel: flags |= MB_YESNOCANCEL; break;
    }
    switch (MessageBoxW(Owner(), Wide(text).c_str(), Wide(ui::kCaption).c_str(), flags)) {
        case IDOK: return Answer::Ok;
        case IDYES: return Answer::Yes;
        case IDNO: return Answer::No;
        default: return Answer::Cancel;
    }
}

std::filesystem::path Win32Desktop::ProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return std::filesystem::path(path).parent_path();
}

}  // namespace kordel::win32
