// The main window's state and commands, apart from any window: the GUI shows what this holds and
// forwards every command number here.
#pragma once

#include <atomic>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "projects/project_list.h"
#include "reports/report.h"
#include "ui/core/commands.h"
#include "ui/core/desktop.h"
#include "ui/core/desktop_questions.h"
#include "ui/core/find.h"
#include "ui/core/list_document.h"
#include "ui/core/options.h"
#include "ui/core/settings_store.h"
#include "userlang/db_location.h"

namespace kordel::ui {

struct ContextItem {
    int command;
    std::string text;
    bool isDefault = false;
    bool separatorBefore = false;
};

/// The window side of the logic: told when to redraw its texts and what to do to the list view.
/// The view owns the selection; the logic asks it.
class MainView {
public:
    virtual ~MainView() = default;
    virtual void TextsChanged() = 0;
    virtual void ScrollTo(std::size_t row) = 0;
    /// Asks the window to close through its normal closing sequence.
    virtual void CloseWindow() = 0;
    /// Ends the program at once, without the save-changes prompt.
    virtual void QuitNow() = 0;
    virtual void SortDirectionChanged() = 0;
    /// The Count Other Known Languages setting changed (or is shown for the first time).
    virtual void KnownLanguagesChanged() {}
    /// The selected rows, in ascending order.
    virtual std::vector<std::size_t> SelectedRows() const = 0;
    /// Selects and focuses `row` alone and scrolls it into view.
    virtual void SelectOnly(std::size_t row) = 0;
    /// Shows the context menu at the pointer: the command chosen, or 0 when it was dismissed.
    virtual int ChooseFromMenu(const std::vector<ContextItem>& items) = 0;
};

class MainWindowLogic {
public:
    MainWindowLogic(SettingsStore& store, Desktop& desktop);

    void SetView(MainView* view) { m_view = view; }

    ListDocument& document() { return m_doc; }
    ResultList& list() { return m_doc.list(); }
    const ResultList& list() const { return m_doc.list(); }
    Settings& settings() { return m_settings; }
    SettingsStore& store() { return m_store; }
    const WindowTexts& texts() const { return m_doc.texts(); }
    projects::ListChanges uspl() const { return m_doc.state().uspl; }
    bool cy() const { return m_doc.state().cy; }
    const std::string& pfn() const { return m_doc.state().pfn; }
    const std::string& PN() const { return m_doc.state().PN; }
    const std::string& pn() const { return m_pn; }
    const engine::RunTotals& totals() const { return m_totals; }
    std::atomic<int>& canc() { return m_canc; }
    /// The user language database the count, the add dialog and the language dialog use.
    void SetLanguageDatabase(const std::filesystem::path& db) { m_languageDb = {db, db}; }
    /// The clock the text report takes its date from.
    void SetClock(const reports::Clock& clock) { m_clock = &clock; }
    /// How many read-ahead threads a count may use (1: the worker alone).
    void SetJobs(unsigned jobs) { m_jobs = jobs; }

    /// Every command of the window with its preconditions, in one table.
    static const std::vector<CommandRow>& Commands();
    /// Runs one command number: checks its preconditions, then runs it; unknown numbers do nothing.
    /// While work runs (a count, a sort, a step aside) every command is ignored: the messages that
    /// still arrive then (a double-click or context menu posted earlier) must not start another.
    void Dispatch(int command);
    /// True while a count, a sort or a step aside runs.
    bool working() const { return m_working > 0; }
    /// The context menu for the current selection (empty: no menu).
    std::vector<ContextItem> ContextMenu() const;

    /// The list's selection changed: refresh the selection part of the status bar.
    void SelectionChanged();
    /// A check box of the Options dialog was clicked.
    void ClickOption(const OptionBox& box, bool checked);
    void ChooseDotF(int index);

    /// The close box or Exit: true when the window may close. While work runs it may not, and
    /// nothing is asked: the progress window has the only way out.
    bool QueryClose();

    /// Adds paths to the list at their places, skipping those already there; marks the list changed.
    void AddPaths(const std::vector<std::string>& paths);
    /// Files and folders dropped on the list: a folder adds its files of known languages, recursively.
    /// A drop while work runs is ignored.
    void DropPaths(const std::vector<std::string>& paths);
    /// Opens a project list file (the Open command after its dialog).
    void OpenList(const std::string& path);
    /// The Open command for a list named on the command line or handed over by a second start:
    /// the save-changes prompt, then the list. False, and nothing done, while work runs: the caller
    /// hands the list over again later.
    bool OpenNamed(const std::string& path);
    /// Re-opens the list saved last, when that option is on; may start a count.
    void StartUp();

    // Helpers the other commands share.
    void UpdateStatusBars() { m_doc.UpdateStatusBars(); }
    void UpdateWindowName(projects::ListChanges changes) { m_doc.UpdateWindowName(changes); }
    void SetProjectName(std::string name) { m_doc.SetProjectName(std::move(name)); }

private:
    /// Marks work running until End or the end of its scope.
    class WorkMark {
    public:
        explicit WorkMark(int& working) : m_working(++working) {}
        ~WorkMark() { End(); }
        WorkMark(const WorkMark&) = delete;
        WorkMark& operator=(const WorkMark&) = delete;
        void End() {
            if (!m_ended) --m_working;
            m_ended = true;
        }

    private:
        int& m_working;
        bool m_ended = false;
    };

    bool Meets(Needs needs) const;
    /// Inserts paths at their places (repeats kept), finding the places aside.
    void PlaceRows(std::vector<std::string> paths);
    void FreeAside(ResultList::RemovedRows rows);
    /// Runs `step` (opening or saving a list) aside on a copy of the document's state, which it takes
    /// back at the end, with its questions asked on this thread.
    void ListStepAside(const std::function<void(projects::ListState&, projects::ListQuestions&)>& step);
    std::vector<std::size_t> Selection() const;
    void New();
    void Open();
    bool Save();
    bool SaveAs();
    bool SaveTo(const std::string& path);
    void Export(int command);
    void Add();
    void Count();
    void Languages();
    void Remove();
    void Find();
    void FindNext();
    void OpenSelected();
    void OpenFolder();
    void Manual();
    void ShowContextMenu();
    void CheckVersion();
    void SortDirection(bool ascending);
    void ToggleKnownLanguages();
    void Sort(int command);
    void Refuse(std::string_view message);
    projects::ListSettings ListSettingsNow() const;
    void StoreLastSaved(const projects::ListSettings& settings);

    SettingsStore& m_store;
    Desktop& m_desktop;
    MainView* m_view = nullptr;
    Settings m_settings;
    ListDocument m_doc;
    std::string m_pn;
    std::string m_addFolder;  // where the add dialog opens; kept until the program ends
    engine::RunTotals m_totals;
    std::atomic<int> m_canc{0};
    DesktopQuestions m_questions;
    userlang::DbPaths m_languageDb;
    const reports::Clock* m_clock = &reports::SystemClock();
    unsigned m_jobs = 1;
    int m_working = 0;  // nested work: a count at the end of opening a list
    Finder m_finder;
};

}  // namespace kordel::ui
