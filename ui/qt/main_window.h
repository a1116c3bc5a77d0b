// The main window: menus, toolbar, the result list, the project totals and the status bar.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QMainWindow>

#include "ui/core/main_logic.h"
#include "ui/qt/qt_desktop.h"

class QAction;
class QLabel;
class QPushButton;
class QTableView;
class QTimer;

namespace kordel::qt {

class ResultModel;

class MainWindow final : public QMainWindow, public ui::MainView {
    Q_OBJECT
public:
    using DesktopFactory = std::function<std::unique_ptr<QtDesktop>(QWidget* owner)>;

    explicit MainWindow(ui::SettingsStore& store, const DesktopFactory& makeDesktop = {});
    ~MainWindow() override;

    ui::MainWindowLogic& logic() { return *m_logic; }
    QtDesktop& desktop() { return *m_desktop; }
    QTableView* table() const { return m_table; }
    QAction* action(int command) const;
    QLabel* totalLabel(int which) const { return m_totals[which]; }
    QLabel* projectLabel() const { return m_project; }
    QLabel* statusPart(int part) const { return part == 0 ? m_status0 : m_status1; }
    /// Opens a project list through the Open command once no dialog or worker is in the way
    /// (a list named on the command line or handed over by a second start); brings the window up.
    void OpenWhenIdle(const std::string& path);

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

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildMenus();
    void BuildToolbar();
    void BuildCentre();
    /// Screen width less 494 pixels, never below the column's own 250.
    int PathColumnWidth() const;
    void ApplyColumnWidths();
    void KeepSelectionAcrossReset();
    QAction* AddCommand(QMenu* menu, int command, const QString& text, const QKeySequence& key = {});

    std::unique_ptr<QtDesktop> m_desktop;
    std::unique_ptr<ui::MainWindowLogic> m_logic;
    ResultModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    QLabel* m_project = nullptr;
    QLabel* m_totals[5] = {};
    QLabel* m_status0 = nullptr;
    QLabel* m_status1 = nullptr;
    std::map<int, QAction*> m_actions;
    QTimer* m_scrollTimer = nullptr;
    QTimer* m_openTimer = nullptr;
    std::deque<std::string> m_toOpen;
    std::size_t m_scrollRow = 0;
    bool m_quitting = false;
    bool m_applyingWidths = false;
    struct ResetMemory {
        std::vector<std::size_t> selected;
        int rows = 0;
        int columns = 0;
    } m_beforeReset;
};

}  // namespace kordel::qt
