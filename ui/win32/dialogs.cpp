// The small dialogs: the busy notices, the project name questions, About, Find and Options.
#include "ui/win32/win32_desktop.h"

#include <optional>
#include <string>

#include "projects/project_list.h"
#include "ui/core/add_files.h"
#include "ui/core/main_logic.h"
#include "ui/core/messages.h"
#include "ui/core/options.h"
#include "ui/win32/dialog_state.h"
#include "ui/win32/language_dialogs.h"
#include "ui/win32/resource.h"
#include "ui/win32/text.h"

namespace kordel::win32 {
namespace {

using ui::Icon;

// The modeless notices: the close box ends them.
INT_PTR CALLBACK BusyProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        DestroyWindow(dialog);
        return TRUE;
    }
    return FALSE;
}

// "Would you like to specify a project name?": Yes and No end it; the close box does nothing.
INT_PTR CALLBACK NameQuestionProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDC_NAME_YES) EndDialog(dialog, IDYES);
    if (LOWORD(wParam) == IDC_NAME_NO) EndDialog(dialog, IDNO);
    return TRUE;
}

// "Enter the project name...": OK keeps the typed text; Cancel keeps nothing; the close box does nothing.
INT_PTR CALLBACK NameEntryProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            KeepDialogState<std::optional<std::string>>(dialog, lParam);
            SendDlgItemMessageW(dialog, IDC_NAME_EDIT, EM_LIMITTEXT, projects::kMaxProjectName, 0);
            SetFocus(GetDlgItem(dialog, IDC_NAME_EDIT));
            return FALSE;  // the focus is set
        case WM_COMMAND:
            if (LOWORD(wParam) == IDC_NAME_OK) {
                *DialogState<std::optional<std::string>>(dialog) = DlgText(dialog, IDC_NAME_EDIT);
                EndDialog(dialog, IDOK);
            } else if (LOWORD(wParam) == IDC_NAME_CANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return TRUE;
    }
    return FALSE;
}

// About: its OK ends it; the close box does nothing.
INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_ABOUT_OK) EndDialog(dialog, IDOK);
    return message == WM_COMMAND;
}

struct FindState {
    Win32Desktop& desktop;
    std::optional<ui::FindRequest> request;
};

INT_PTR CALLBACK FindProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG:
            KeepDialogState<FindState>(dialog, lParam);
            return TRUE;
        case WM_COMMAND: {
            auto* state = DialogState<FindState>(dialog);
            if (LOWORD(wParam) == IDC_FIND_OK) {
                const std::string text = DlgText(dialog, IDC_FIND_EDIT);
                if (text.empty()) {
                    state->desktop.Message(ui::msg::kEnterSearch, Icon::Stop);
                    return TRUE;
                }
                state->request = ui::FindRequest{text, IsDlgButtonChecked(dialog, IDC_FIND_CASE) == BST_CHECKED};
                EndDialog(dialog, IDOK);
            } else if (LOWORD(wParam) == IDC_FIND_CANCEL || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return TRUE;
        }
    }
    return FALSE;
}

// Options: every check box writes its setting when clicked; OK also stores the ".f" choice.
INT_PTR CALLBACK OptionsProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* logic = KeepDialogState<ui::MainWindowLogic>(dialog, lParam);
            SendDlgItemMessageW(dialog, IDC_OPT_DOTF, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Forth"));
            SendDlgItemMessageW(dialog, IDC_OPT_DOTF, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Fortran 77"));
            for (const ui::OptionBox& box : ui::OptionBoxes())
                CheckDlgButton(dialog, box.id, ui::IsChecked(logic->settings(), box) ? BST_CHECKED : BST_UNCHECKED);
            SendDlgItemMessageW(dialog, IDC_OPT_DOTF, CB_SETCURSEL, logic->settings().dotf == 0 ? 0 : 1, 0);
            return TRUE;
        }
        case WM_COMMAND: {
            auto* logic = DialogState<ui::MainWindowLogic>(dialog);
            const int id = LOWORD(wParam);
            if (id == IDC_OPT_OK) {
                const LRESULT index = SendDlgItemMessageW(dialog, IDC_OPT_DOTF, CB_GETCURSEL, 0, 0);
                logic->ChooseDotF(index == 1 ? 1 : 0);
                EndDialog(dialog, IDOK);
            } else if (id == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);  // the close box: the ".f" choice is not stored
            } else if (HIWORD(wParam) == BN_CLICKED) {
                for (const ui::OptionBox& box : ui::OptionBoxes())
                    if (box.id == id) logic->ClickOption(box, IsDlgButtonChecked(dialog, id) == BST_CHECKED);
            }
            return TRUE;
        }
    }
    return FALSE;
}
}  // namespace

void Win32Desktop::ShowBusy(std::string_view text) {
    if (m_busy) DestroyWindow(m_busy);
    m_busy = nullptr;
    if (text.empty()) return;
    const int id = text == ui::kAddingBusyText ? IDD_BUSY_ADDING : IDD_BUSY_SAVING;
    m_busy = CreateDialogParamW(m_instance, MAKEINTRESOURCEW(id), m_main, BusyProc, 0);
    if (!m_busy) return;
    ShowWindow(m_busy, SW_SHOWNORMAL);
    UpdateWindow(m_busy);
}

std::optional<std::string> Win32Desktop::AskProjectName() {
    if (DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_NAME_QUESTION), m_main, NameQuestionProc, 0) != IDYES)
        return std::nullopt;
    std::optional<std::string> name;
    DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_NAME_ENTRY), m_main, NameEntryProc, reinterpret_cast<LPARAM>(&name));
    return name;
}

std::optional<ui::FindRequest> Win32Desktop::AskFind() {
    FindState state{*this, std::nullopt};
    DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_FIND), m_main, FindProc, reinterpret_cast<LPARAM>(&state));
    return state.request;
}

void Win32Desktop::ShowOptions() {
    if (!m_logic) return;
    DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_OPTIONS), m_main, OptionsProc, reinterpret_cast<LPARAM>(m_logic));
}

void Win32Desktop::ShowAbout() {
    DialogBoxParamW(m_instance, MAKEINTRESOURCEW(IDD_ABOUT), m_main, AboutProc, 0);
}

void Win32Desktop::ShowLanguages(userlang::LanguageListEditor& editor) {
    ShowLanguageDialog(m_instance, m_main, editor, *this);
}

}  // namespace kordel::win32
