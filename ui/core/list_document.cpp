// The list document: rows, the project list's file and name, and whether it holds unsaved changes.
#include "ui/core/list_document.h"

#include "engine/path_split.h"
#include "ui/core/desktop.h"
#include "ui/core/messages.h"

namespace kordel::ui {

ListDocument::ListDocument(bool sps) : m_list(sps) {
    m_texts.title = std::string(kCaption) + " - " + m_state.pfn;
    m_texts.status0 = msg::kWelcome;
    m_texts.projectName = m_state.nameField;
}

void ListDocument::Changed() {
    m_texts.projectName = m_state.nameField;
    if (m_changed) m_changed();
}

void ListDocument::Refresh() { Changed(); }

void ListDocument::UpdateStatusBars() {
    m_texts.status0 = ItemCountText(m_list.RowCount());
    Changed();
}

void ListDocument::UpdateWindowName(projects::ListChanges changes) {
    m_texts.title = std::string(kCaption) + " - " + m_state.pfn;
    if (changes != projects::ListChanges::Saved) {
        m_texts.title += " *";
        m_state.uspl = projects::ListChanges::Unsaved;
    }
    Changed();
}

void ListDocument::SetProjectName(std::string name) {
    m_state.nameField = name.empty() ? std::string(msg::kUnspecified) : name;
    m_state.PN = std::move(name);
    Changed();
}

void ListDocument::ShowSelection(const std::vector<std::size_t>& selected) {
    m_texts.status1 = SelectionText(m_list, selected);
    Changed();
}

void ListDocument::SetTotals(const engine::TotalsTexts& totals) {
    m_texts.totals = totals;
    Changed();
}

ResultList::RemovedRows ListDocument::Reset() {
    m_state.pfn = msg::kUntitled;
    m_texts.totals = engine::TotalsTexts{};
    // The name of the previous list must not carry over into the next one saved.
    m_state.PN.clear();
    m_state.nameField = msg::kUnspecified;
    m_state.cy = false;
    ResultList::RemovedRows old = m_list.Clear();
    UpdateWindowName(projects::ListChanges::Saved);
    UpdateStatusBars();
    return old;
}

std::string ItemCountText(std::size_t rows) {
    if (rows == 1) return "1 item";
    return engine::CountText(static_cast<std::int64_t>(rows)) + " items";
}

std::string SelectionText(const ResultList& list, const std::vector<std::size_t>& selected) {
    if (selected.size() != 1 || selected.front() >= list.RowCount())
        return std::to_string(selected.size()) + " items selected";
    const engine::PathParts parts = engine::SplitPath(list.Path(selected.front()));
    return "Selected: " + parts.name + parts.extension;
}

}  // namespace kordel::ui
