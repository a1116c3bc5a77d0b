// The Sort commands: the list ordered by one column under the progress window.
#include "ui/core/main_logic.h"

#include "ui/core/messages.h"
#include "ui/core/result_cells.h"

namespace kordel::ui {
namespace {

// Applies a sort's swaps to the list and its progress to the progress window.
class ListSortObserver final : public engine::SortObserver {
public:
    ListSortObserver(ResultList& list, Desktop& desktop) : m_list(list), m_desktop(desktop) {}
    void SetStatus(const std::string& text) override { m_desktop.SetProgressDetail(text); }
    void SetProgress(int percent) override { m_desktop.SetProgressPercent(percent); }
    void SwapRows(std::size_t a, std::size_t b) override { m_list.SwapRows(a, b); }

private:
    ResultList& m_list;
    Desktop& m_desktop;
};

// The list column a sort command orders by, for both column layouts; 0 for a refused one.
std::size_t SortColumn(int command, bool sps) {
    switch (command) {
        case cmd::kSortCode: return 1;
        case cmd::kSortComment: return sps ? 3 : 2;
        case cmd::kSortMixed: return sps ? 5 : 3;
        case cmd::kSortBlank: return sps ? 7 : 4;
        case cmd::kSortTotal: return sps ? 9 : 5;
        case cmd::kSortCodePercent: return sps ? 2 : 0;
        case cmd::kSortCommentPercent: return sps ? 4 : 0;
        case cmd::kSortMixedPercent: return sps ? 6 : 0;
        case cmd::kSortBlankPercent: return sps ? 8 : 0;
        default: return 0;
    }
}

}  // namespace

void MainWindowLogic::Sort(int command) {
    const bool sps = list().percentColumns();
    const std::size_t column = SortColumn(command, sps);
    const bool ascending = m_settings.asce;
    ListSortObserver observer(list(), m_desktop);
    engine::SortOutcome outcome;
    const ResultList& rows = list();
    WorkMark working(m_working);
    m_desktop.RunSortWithProgress(
        m_canc,
        [&](engine::SortObserver& worker) {
            // The keys are read on the worker too: the list does not change until the swaps come back.
            std::vector<std::uint64_t> keys(rows.RowCount());
            for (std::size_t row = 0; row < keys.size(); ++row) keys[row] = SortKeyOf(rows, row, column);
            outcome = engine::SortResults(std::move(keys), ascending, m_canc, worker);
        },
        observer);
    working.End();
    if (outcome.cancelled) {
        m_canc = 0;
        m_desktop.Message(msg::kSortCanceled, Icon::Stop);
    }
}

}  // namespace kordel::ui
