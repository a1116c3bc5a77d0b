// The list document of the main window: the rows, the project list's file and name, its change
// state and the texts the window shows around the list.
#pragma once

#include <functional>
#include <string>

#include "engine/number_text.h"
#include "projects/project_list.h"
#include "ui/core/result_list.h"

namespace kordel::ui {

/// What the window shows outside the list.
struct WindowTexts {
    std::string title;
    std::string status0;  ///< row count, or the welcome text at start
    std::string status1;  ///< selection
    std::string projectName;
    engine::TotalsTexts totals;
};

class ListDocument {
public:
    explicit ListDocument(bool sps);

    /// Called after any text of the window changed.
    void SetTextsChanged(std::function<void()> changed) { m_changed = std::move(changed); }

    ResultList& list() { return m_list; }
    const ResultList& list() const { return m_list; }
    projects::ListState& state() { return m_state; }
    const projects::ListState& state() const { return m_state; }
    const WindowTexts& texts() const { return m_texts; }

    /// "1 item" or "%s items" into status part 0.
    void UpdateStatusBars();
    /// Saved: the title of the saved list; otherwise the title marked " *" and the list unsaved.
    void UpdateWindowName(projects::ListChanges changes);
    /// The current project name (written on save) and the name field; empty shows "Unspecified".
    void SetProjectName(std::string name);
    /// Status part 1 for the given selection.
    void ShowSelection(const std::vector<std::size_t>& selected);
    void SetTotals(const engine::TotalsTexts& totals);
    /// Back to an empty untitled list (the New command after its prompt); the change state stays. The
    /// rows taken out are the caller's to destroy.
    ResultList::RemovedRows Reset();
    /// The window shows the state's name field again after opening or saving changed it.
    void Refresh();

private:
    void Changed();

    ResultList m_list;
    projects::ListState m_state;  // pfn, PN, the name field, uspl, cy
    WindowTexts m_texts;
    std::function<void()> m_changed;
};

/// "1 item" or "%s items" with thousands separators.
std::string ItemCountText(std::size_t rows);

/// "Selected: %s%s" (name and extension) for one selected row; "%d items selected" otherwise.
std::string SelectionText(const ResultList& list, const std::vector<std::size_t>& selected);

}  // namespace kordel::ui
