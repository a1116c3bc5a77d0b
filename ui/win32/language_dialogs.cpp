// The User Defined Languages dialog and its add/edit form, as Windows dialogs.
#include "ui/win32/language_dialogs.h"

#include <commctrl.h>

#include <optional>

#include "common/file_messages.h"
#include "ui/win32/list_view.h"
#include "ui/win32/resource.h"
#include "ui/win32/text.h"
#include "platform/files.h"

namespace kordel::win32 {
namespace {

struct ListState {
    HINSTANCE instance;
    userlang::LanguageListEditor& editor;
    ui::Desktop& desktop;
};

struct FormState {
    ListState& list;
    std::optional<std::size_t> editIndex;
};

constexpr int kFormFields[7] = {IDC_UDF_NAME,  IDC_UDF_EXTENSIONS, IDC_UDF_OLCOP, IDC_UDF_OLFC,
                                IDC_UDF_MLBCOP, IDC_UDF_FCMLB,     IDC_UDF_MLECOP};

INT_PTR CALLBACK FormProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            auto* state = reinterpret_cast<FormState*>(lParam);
            for (int id : kFormFields) SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, userlang::kFieldLimit, 0);
            SetDlgItemTextW(dialog, IDC_UDF_OLFC, L"0");
            SetDlgItemTextW(dialog, IDC_UDF_FCMLB, L"0");
            const auto& rows = state->list.editor.rows();
            if (state->editIndex && *state->editIndex < rows.size()) {
                const auto cells = userlang::LanguageCells(rows[*state->editIndex]);
                for (int i = 0; i < 7; ++i) SetDlgText(dialog, kFormFields[i], cells[static_cast<std::size_t>(i)]);
            }
            return TRUE;
        }
        case WM_COMMAND: {
            auto* state = reinterpret_cast<FormState*>(GetWindowLongPtrW(dialog, DWLP_USER));
            if (LOWORD(wParam) == IDC_UDF_OK) {
                const userlang::LanguageForm form{DlgText(dialog, IDC_UDF_NAME),   DlgText(dialog, IDC_UDF_EXTENSIONS),
                                                  DlgText(dialog, IDC_UDF_OLCOP),  DlgText(dialog, IDC_UDF_OLFC),
                                                  DlgText(dialog, IDC_UDF_MLBCOP), DlgText(dialog, IDC_UDF_FCMLB),
                                                  DlgText(dialog, IDC_UDF_MLECOP)};
                const userlang::FormCheck check = state->list.editor.Store(form, state->editIndex);
                if (!check.language) {
                    state->list.desktop.Message(check.message, ui::Icon::Stop);
                    return TRUE;
                }
                EndDialog(dialog, IDOK);
            } else if (LOWORD(wParam) == IDC_UDF_CANCEL || LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
            }
            return TRUE;
        }
    }
    return FALSE;
}

void Refresh(HWND dialog, const userlang::LanguageListEditor& editor) {
    const HWND list = GetDlgItem(dialog, IDC_UD_LIST);
    ListView_DeleteAllItems(list);
    const auto& rows = editor.rows();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const auto cells = userlang::LanguageCells(rows[r]);
        for (int c = 0; c < 7; ++c) {
            std::wstring text = Wide(cells[static_cast<std::size_t>(c)]);
            if (c == 0) {
                LVITEMW item{};
                item.mask = LVIF_TEXT;
                item.iItem = static_cast<int>(r);
                item.pszText = text.data();
                ListView_InsertItem(list, &item);
            } else {
                ListView_SetItemText(list, static_cast<int>(r), c, text.data());
            }
        }
    }
    SendDlgItemMessageW(dialog, IDC_UD_STATUS, SB_SETTEXTW, 0,
                        reinterpret_cast<LPARAM>(Wide(userlang::LanguageCountText(rows.size())).c_str()));
}

std::optional<std::size_t> Selected(HWND dialog) {
    const int row = ListView_GetNextItem(GetDlgItem(dialog, IDC_UD_LIST), -1, LVNI_SELECTED);
    if (row < 0) return std::nullopt;
    return static_cast<std::size_t>(row);
}

INT_PTR CALLBACK ListProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            auto* state = reinterpret_cast<ListState*>(lParam);
            const HWND list = GetDlgItem(dialog, IDC_UD_LIST);
            PrepareListView(list);
            for (int c = 0; c < 7; ++c)
                AddColumn(list, c, userlang::kLanguageColumns[c].title, userlang::kLanguageColumns[c].width);
            Refresh(dialog, state->editor);
            return TRUE;
        }
        case WM_COMMAND: {
            auto* state = reinterpret_cast<ListState*>(GetWindowLongPtrW(dialog, DWLP_USER));
            switch (LOWORD(wParam)) {
                case IDC_UD_ADD: {
                    FormState form{*state, std::nullopt};
                    if (DialogBoxParamW(state->instance, MAKEINTRESOURCEW(IDD_LANGUAGE_FORM), dialog, FormProc,
                                        reinterpret_cast<LPARAM>(&form)) == IDOK)
                        Refresh(dialog, state->editor);
                    break;
                }
                case IDC_UD_EDIT: {
                    const auto row = Selected(dialog);
                    if (!row) {
                        state->desktop.Message(userlang::kSelectFirstMessage, ui::Icon::Stop);
                        break;
                    }
                    FormState form{*state, row};
                    if (DialogBoxParamW(state->instance, MAKEINTRESOURCEW(IDD_LANGUAGE_FORM), dialog, FormProc,
                                        reinterpret_cast<LPARAM>(&form)) == IDOK)
                        Refresh(dialog, state->editor);
                    break;
                }
                case IDC_UD_DELETE: {
                    const auto row = Selected(dialog);
                    if (!row) {
                        state->desktop.Message(userlang::kSelectFirstMessage, ui::Icon::Stop);
                        break;
                    }
                    state->editor.Delete(*row);
                    Refresh(dialog, state->editor);
                    break;
                }
                case IDC_UD_OK:
                    // A failed write keeps the old file and the dialog, so the edits are not lost.
                    if (!state->editor.Save()) {
                        state->desktop.Message(OpenForWritingMessage(platform::PathText(state->editor.path())),
                                               ui::Icon::Stop);
                        break;
                    }
                    EndDialog(dialog, IDOK);
                    break;
                default:
                    break;  // Escape does nothing
            }
            return TRUE;
        }
        case WM_CLOSE:
            // The close box leaves the file as it was.
            EndDialog(dialog, IDCANCEL);
            return TRUE;
    }
    return FALSE;
}

}  // namespace

void ShowLanguageDialog(HINSTANCE instance, HWND owner, userlang::LanguageListEditor& editor, ui::Desktop& desktop) {
    ListState state{instance, editor, desktop};
    DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_LANGUAGES), owner, ListProc, reinterpret_cast<LPARAM>(&state));
}

}  // namespace kordel::win32
