// The main window: a modeless dialog from its template with the result list, toolbar, totals and
// status bar; every command goes to the shared main window logic.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "ui/core/main_logic.h"
#include "ui/win32/win32_desktop.h"

namespace kordel::win32 {

class MainWindow final : public ui::MainView, public ui::ResultListListener {
public:
    /// Creates the window from its template (the logic loads the settings from `store`). Once shown it
    /// opens `openAtStart` when that names a project list, else re-opens the list saved last.
    MainWindow(HINSTANCE instance, ui::SettingsStore& store, std::string openAtStart = {});
    ~MainWindow() override;

    HWND handle() const { return m_window; }
    ui::MainWindowLogic& logic() { return *m_logic; }

    // The window side of the logic.
    void TextsChanged() override;
    void ScrollTo(std::size_t row) override;
    void CloseWindow() override;
    void QuitNow() override;
    void SortDirectionChanged() override;
    void KnownLanguagesChanged() override;
    std::vector<std::size_t> SelectedRows() const override;
    void SelectOnly(std::size_t row) override;
    int ChooseFromMenu(const std::vector<ui::ContextItem>& items) override;

    // The list's changes.
    void RowsInserted(std::size_t first, std::size_t count) override;
    void RowsRemoved(std::size_t first, std::size_t count) override;
    void CellsChanged(std::size_t row) override;
    void ListReset() override;

private:
    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Initialise(HWND window);
    void BuildToolbar();
    void BuildColumns();
    void Layout();
    void SyncRows();
    LRESULT Notify(const NMHDR& header);
    void DropFiles(HDROP drop);
    void Close();

    HINSTANCE m_instance;
    HWND m_window = nullptr;
    HWND m_list = nullptr;
    HWND m_status = nullptr;
    HWND m_rebar = nullptr;
    HWND m_toolbar = nullptr;
    HIMAGELIST m_rowSpacer = nullptr;
    HIMAGELIST m_toolbarImages = nullptr;
    std::unique_ptr<Win32Desktop> m_desktop;
    std::unique_ptr<ui::MainWindowLogic> m_logic;
    std::size_t m_columns = 0;
    int m_valueX = 141;  // where the totals stand
    int m_nameX = 50;    // where the project name stands
    std::wstring m_cellText;  // the text handed to the list for the cell it asked for last
    bool m_closing = false;
    std::string m_openAtStart;
};

}  // namespace kordel::win32
