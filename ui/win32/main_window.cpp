// The Windows main window: its controls, menus and keys, each command handed to the shared logic.
#include "ui/win32/main_window.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <string>
#include <thread>

#include "ui/core/commands.h"
#include "ui/core/desktop.h"
#include "ui/core/messages.h"
#include "ui/core/result_cells.h"
#include "ui/win32/list_view.h"
#include "ui/win32/message_ids.h"
#include "ui/win32/resource.h"
#include "ui/win32/text.h"

namespace kordel::win32 {
namespace {

namespace cmd = ui::cmd;

// The toolbar's buttons: image, command and the label's string.
struct ToolButton {
    int image;
    int command;
};
constexpr ToolButton kToolButtons[] = {{0, cmd::kNew}, {1, cmd::kOpen}, {2, cmd::kSave}, {4, cmd::kAdd}};

std::wstring LoadText(HINSTANCE instance, int id) {
    const wchar_t* text = nullptr;
    const int length = LoadStringW(instance, static_cast<UINT>(id), reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

void StopOnUnexpectedError(const std::string& what) {
    static bool stopping = false;
    if (stopping) return;
    stopping = true;
    MessageBoxW(nullptr, Wide(ui::msg::UnexpectedError(what)).c_str(), Wide(ui::kCaption).c_str(),
                MB_OK | MB_ICONSTOP);
    PostQuitMessage(2);
}

void MoveControl(HWND window, int id, int x, int y) {
    SetWindowPos(GetDlgItem(window, id), nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The width the control's text takes in the control's font.
int TextWidth(HWND control) {
    const HDC dc = GetDC(control);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    const HGDIOBJ old = SelectObject(dc, font);
    const int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    GetWindowTextW(control, text.data(), length + 1);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), length, &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size.cx;
}

void SizeControl(HWND control, int width, int height) {
    SetWindowPos(control, nullptr, 0, 0, std::max(width, 0), std::max(height, 0),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance, ui::SettingsStore& store, std::string openAtStart)
    : m_instance(instance), m_openAtStart(std::move(openAtStart)) {
    m_desktop = std::make_unique<Win32Desktop>(instance);
    m_logic = std::make_unique<ui::MainWindowLogic>(store, *m_desktop);
    m_desktop->SetLogic(m_logic.get());
    m_logic->SetJobs(std::max(1u, std::thread::hardware_concurrency()));
    m_logic->list().SetListener(this);
    CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_MAIN), nullptr, Proc, reinterpret_cast<LPARAM>(this));
}

MainWindow::~MainWindow() {
    m_logic->list().SetListener(nullptr);
    m_logic->SetView(nullptr);
    if (m_window && IsWindow(m_window)) DestroyWindow(m_window);
    if (m_rowSpacer) ImageList_Destroy(m_rowSpacer);
    if (m_toolbarImages) ImageList_Destroy(m_toolbarImages);
}

INT_PTR CALLBACK MainWindow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // An exception must not cross the system's frames: it is shown here and ends the program with
    // exit status 2 through the message loop.
    try {
        if (message == WM_INITDIALOG) {
            auto* self = reinterpret_cast<MainWindow*>(lParam);
            SetWindowLongPtrW(window, DWLP_USER, lParam);
            self->Initialise(window);
            return TRUE;
        }
        auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(window, DWLP_USER));
        if (!self) return FALSE;
        return self->Handle(message, wParam, lParam);
    } catch (const std::exception& e) {
        StopOnUnexpectedError(e.what());
    } catch (...) {
        StopOnUnexpectedError({});
    }
    return FALSE;
}

void MainWindow::Initialise(HWND window) {
    m_window = window;
    m_desktop->SetMainWindow(window);
    m_logic->SetView(this);
    m_list = GetDlgItem(window, IDC_LIST);
    m_status = GetDlgItem(window, IDC_STATUS);
    m_rebar = GetDlgItem(window, IDC_REBAR);
    BuildToolbar();
    const HICON icon = LoadIconW(m_instance, MAKEINTRESOURCEW(IDI_KORDEL));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    PrepareListView(m_list);
    if (!m_logic->settings().slc) {
        // Every row as tall as this image list's images: the list is easier to read.
        m_rowSpacer = ImageList_Create(24, 24, ILC_COLOR32, 1, 1);
        if (!m_rowSpacer) {
            MessageBoxW(nullptr, L"Could not create the image list.", Wide(ui::kCaption).c_str(),
                        MB_OK | MB_ICONSTOP);
        } else if (ImageList_ReplaceIcon(m_rowSpacer, -1, LoadIconW(m_instance, MAKEINTRESOURCEW(IDI_ROW_SPACER))) < 0) {
            MessageBoxW(nullptr, L"Could not add an icon to the image list.", Wide(ui::kCaption).c_str(),
                        MB_OK | MB_ICONSTOP);
        } else {
            ListView_SetImageList(m_list, m_rowSpacer, LVSIL_SMALL);
        }
    }
    BuildColumns();
    ListView_SetColumnWidth(m_list, 0, GetSystemMetrics(SM_CXSCREEN) - 494);
    // The positions below suit the usual dialog font; a wider font moves the texts beside the labels.
    int labels = 0;
    for (int id : {IDC_CODE_LABEL, IDC_COMMENT_LABEL, IDC_MIXED_LABEL, IDC_BLANK_LABEL, IDC_LINES_LABEL}) {
        const HWND label = GetDlgItem(window, id);
        const int width = TextWidth(label) + 2;
        RECT r{};
        GetWindowRect(label, &r);
        SizeControl(label, width, r.bottom - r.top);
        labels = std::max(labels, width);
    }
    m_valueX = std::max(141, 17 + labels + 4);
    m_nameX = std::max(50, 7 + TextWidth(GetDlgItem(window, IDC_PROJECT_LABEL)) + 6);
    SortDirectionChanged();
    KnownLanguagesChanged();
    DragAcceptFiles(window, TRUE);
    TextsChanged();
    Layout();
    PostMessageW(window, kStartUp, 0, 0);
}

void MainWindow::BuildToolbar() {
    m_toolbar = CreateWindowExW(0, TOOLBARCLASSNAMEW, nullptr,
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TBSTYLE_FLAT | TBSTYLE_TRANSPARENT |
                                    TBSTYLE_LIST | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN,
                                0, 0, 0, 0, m_rebar, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_TOOLBAR)), m_instance,
                                nullptr);
    SendMessageW(m_toolbar, TB_SETPARENT, reinterpret_cast<WPARAM>(m_window), 0);
    SendMessageW(m_toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    m_toolbarImages = ImageList_LoadImageW(m_instance, MAKEINTRESOURCEW(IDB_TOOLBAR), 32, 0, RGB(255, 0, 255),
                                           IMAGE_BITMAP, LR_CREATEDIBSECTION);
    SendMessageW(m_toolbar, TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(m_toolbarImages));
    std::vector<std::wstring> labels;
    for (const ToolButton& b : kToolButtons) labels.push_back(LoadText(m_instance, b.command));
    std::vector<TBBUTTON> buttons;
    for (std::size_t i = 0; i < std::size(kToolButtons); ++i) {
        TBBUTTON button{};
        button.iBitmap = kToolButtons[i].image;
        button.idCommand = kToolButtons[i].command;
        button.fsState = TBSTATE_ENABLED;
        button.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
        button.iString = reinterpret_cast<INT_PTR>(labels[i].c_str());
        buttons.push_back(button);
    }
    SendMessageW(m_toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    SendMessageW(m_toolbar, TB_ADDBUTTONSW, buttons.size(), reinterpret_cast<LPARAM>(buttons.data()));
    SendMessageW(m_toolbar, TB_AUTOSIZE, 0, 0);
    SIZE size{};
    SendMessageW(m_toolbar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    REBARBANDINFOW band{};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | RBBIM_SIZE;
    band.fStyle = RBBS_FIXEDSIZE | RBBS_NOGRIPPER | RBBS_CHILDEDGE;
    band.hwndChild = m_toolbar;
    band.cxMinChild = static_cast<UINT>(size.cx);
    band.cyMinChild = static_cast<UINT>(size.cy);
    band.cx = static_cast<UINT>(size.cx);
    SendMessageW(m_rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
}

void MainWindow::BuildColumns() {
    const int pathWidth = m_columns > 0 ? ListView_GetColumnWidth(m_list, 0) : 0;
    for (std::size_t i = m_columns; i-- > 0;) ListView_DeleteColumn(m_list, static_cast<int>(i));
    const auto& columns = ui::ListColumns(m_logic->list().percentColumns());
    for (std::size_t i = 0; i < columns.size(); ++i)
        AddColumn(m_list, static_cast<int>(i), columns[i].title, columns[i].width);
    if (pathWidth > 0) ListView_SetColumnWidth(m_list, 0, pathWidth);
    m_columns = columns.size();
}

void MainWindow::Layout() {
    RECT outer{};
    GetWindowRect(m_window, &outer);
    const int w = outer.right - outer.left;
    const int h = outer.bottom - outer.top;
    SendMessageW(m_status, WM_SIZE, 0, 0);
    int parts[2] = {w / 2 + 200, w};
    SendMessageW(m_status, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
    SizeControl(m_list, w - 16, h - 308);
    SizeControl(m_rebar, w - 5, 40);
    MoveControl(m_window, IDC_COUNT, w - 138, h - 117);
    MoveControl(m_window, IDC_REMOVE, 152, h - 117);
    MoveControl(m_window, IDC_ADD, 11, h - 117);
    MoveControl(m_window, IDC_TOTALS_GROUP, 4, h - 236);
    MoveControl(m_window, IDC_PROJECT_LABEL, 7, h - 256);
    MoveControl(m_window, IDC_PROJECT_NAME, m_nameX, h - 256);
    const int rows[5][3] = {{IDC_CODE_LABEL, IDC_CODE_TOTAL, 218},
                            {IDC_COMMENT_LABEL, IDC_COMMENT_TOTAL, 200},
                            {IDC_MIXED_LABEL, IDC_MIXED_TOTAL, 182},
                            {IDC_BLANK_LABEL, IDC_BLANK_TOTAL, 164},
                            {IDC_LINES_LABEL, IDC_LINES_TOTAL, 147}};
    for (const auto& row : rows) {
        MoveControl(m_window, row[0], 17, h - row[2]);
        MoveControl(m_window, row[1], m_valueX, h - row[2] + (row[1] == IDC_LINES_TOTAL ? 1 : 0));
    }
    InvalidateRect(m_window, nullptr, TRUE);
}

INT_PTR MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
        case WM_WINDOWPOSCHANGED:
            if (m_window) Layout();
            return message == WM_SIZE;
        case WM_NOTIFY: {
            const LRESULT result = Notify(*reinterpret_cast<const NMHDR*>(lParam));
            SetWindowLongPtrW(m_window, DWLP_MSGRESULT, result);
            return TRUE;
        }
        case WM_COMMAND: {
            const int id = LOWORD(wParam);
            if (id == IDCANCEL) return TRUE;  // Escape does nothing
            // Menus, keys, buttons, the double-click and the context menu; nothing runs while work does.
            m_logic->Dispatch(id);
            return TRUE;
        }
        case WM_DROPFILES:
            DropFiles(reinterpret_cast<HDROP>(wParam));
            return TRUE;
        case kStartUp:
            if (m_openAtStart.empty()) m_logic->StartUp();
            else m_logic->OpenList(m_openAtStart);
            return TRUE;
        case WM_CLOSE:
            Close();
            return TRUE;
        case WM_DESTROY:
            PostQuitMessage(0);
            return TRUE;
    }
    return FALSE;
}

LRESULT MainWindow::Notify(const NMHDR& header) {
    if (header.code == TTN_GETDISPINFOW) {
        // The toolbar's tooltips say what its buttons' labels say.
        auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        info.hinst = m_instance;
        info.lpszText = MAKEINTRESOURCEW(header.idFrom);
        return 0;
    }
    if (header.hwndFrom != m_list) return 0;
    switch (header.code) {
        case LVN_GETDISPINFOW: {
            auto& item = const_cast<NMLVDISPINFOW&>(reinterpret_cast<const NMLVDISPINFOW&>(header)).item;
            const ui::ResultList& list = m_logic->list();
            const auto row = static_cast<std::size_t>(item.iItem);
            const auto column = static_cast<std::size_t>(item.iSubItem);
            if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0) {
                m_cellText = row < list.RowCount() && column < list.ColumnCount() ? Wide(ui::CellText(list, row, column))
                                                                                   : std::wstring();
                lstrcpynW(item.pszText, m_cellText.c_str(), item.cchTextMax);
            }
            if (item.mask & LVIF_IMAGE) item.iImage = 1;  // no picture: the image list only sets the height
            return 0;
        }
        case LVN_ITEMCHANGED:
        case LVN_ODSTATECHANGED:
            m_logic->SelectionChanged();
            return 0;
        case NM_DBLCLK:
            PostMessageW(m_window, WM_COMMAND, cmd::kDoubleClick, 0);
            return 0;
        case NM_RCLICK:
            PostMessageW(m_window, WM_COMMAND, cmd::kContextMenu, 0);
            return 0;
    }
    return 0;
}

int MainWindow::ChooseFromMenu(const std::vector<ui::ContextItem>& items) {
    const HMENU menu = CreatePopupMenu();
    for (const ui::ContextItem& item : items) {
        if (item.separatorBefore) AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(item.command), Wide(item.text).c_str());
        if (item.isDefault) SetMenuDefaultItem(menu, static_cast<UINT>(item.command), FALSE);
    }
    POINT at{};
    GetCursorPos(&at);
    SetForegroundWindow(m_window);
    const int chosen = TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, m_window, nullptr);
    PostMessageW(m_window, WM_NULL, 0, 0);
    DestroyMenu(menu);
    return chosen;
}

void MainWindow::DropFiles(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        path.resize(DragQueryFileW(drop, i, path.data(), length + 1));
        paths.push_back(Utf8(path));
    }
    DragFinish(drop);
    if (!paths.empty()) m_logic->DropPaths(paths);  // ignored while work runs
}

void MainWindow::Close() {
    // While a worker runs the logic refuses to close; the progress window has the only way out.
    if (!m_closing && !m_logic->QueryClose()) return;
    DestroyWindow(m_window);
}

void MainWindow::TextsChanged() {
    const ui::WindowTexts& t = m_logic->texts();
    SetWindowTextW(m_window, Wide(t.title).c_str());
    SetDlgText(m_window, IDC_PROJECT_NAME, t.projectName);
    SetDlgText(m_window, IDC_CODE_TOTAL, t.totals.code);
    SetDlgText(m_window, IDC_COMMENT_TOTAL, t.totals.comment);
    SetDlgText(m_window, IDC_MIXED_TOTAL, t.totals.mixed);
    SetDlgText(m_window, IDC_BLANK_TOTAL, t.totals.blank);
    SetDlgText(m_window, IDC_LINES_TOTAL, t.totals.lines);
    SendMessageW(m_status, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(Wide(t.status0).c_str()));
    SendMessageW(m_status, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(Wide(t.status1).c_str()));
}

void MainWindow::ScrollTo(std::size_t row) { ListView_EnsureVisible(m_list, static_cast<int>(row), FALSE); }

void MainWindow::CloseWindow() { PostMessageW(m_window, WM_CLOSE, 0, 0); }

void MainWindow::QuitNow() {
    m_closing = true;
    DestroyWindow(m_window);
}

void MainWindow::KnownLanguagesChanged() {
    CheckMenuItem(GetMenu(m_window), cmd::kKnownLanguages,
                  MF_BYCOMMAND | (m_logic->settings().okl ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::SortDirectionChanged() {
    const bool ascending = m_logic->settings().asce;
    const HMENU menu = GetMenu(m_window);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    info.fState = ascending ? MFS_CHECKED : MFS_UNCHECKED;
    SetMenuItemInfoW(menu, cmd::kAscending, FALSE, &info);
    info.fState = ascending ? MFS_UNCHECKED : MFS_CHECKED;
    SetMenuItemInfoW(menu, cmd::kDescending, FALSE, &info);
}

std::vector<std::size_t> MainWindow::SelectedRows() const {
    std::vector<std::size_t> rows;
    for (int row = ListView_GetNextItem(m_list, -1, LVNI_SELECTED); row >= 0;
         row = ListView_GetNextItem(m_list, row, LVNI_SELECTED))
        rows.push_back(static_cast<std::size_t>(row));
    return rows;
}

void MainWindow::SelectOnly(std::size_t row) {
    ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    const int r = static_cast<int>(row);
    ListView_SetItemState(m_list, r, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_EnsureVisible(m_list, r, FALSE);
}

void MainWindow::SyncRows() {
    // The selection belongs to positions; when rows come or go it would land on other files.
    ListView_SetItemState(m_list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(m_list, static_cast<int>(m_logic->list().RowCount()), LVSICF_NOSCROLL);
    InvalidateRect(m_list, nullptr, FALSE);
}

void MainWindow::RowsInserted(std::size_t, std::size_t) { SyncRows(); }

void MainWindow::RowsRemoved(std::size_t, std::size_t) { SyncRows(); }

void MainWindow::CellsChanged(std::size_t row) {
    ListView_RedrawItems(m_list, static_cast<int>(row), static_cast<int>(row));
}

void MainWindow::ListReset() {
    if (m_logic->list().ColumnCount() != m_columns) BuildColumns();
    SyncRows();
}

}  // namespace kordel::win32
