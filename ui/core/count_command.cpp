// The Count command: a count run over the list's paths under the progress window.
#include <chrono>
#include <optional>

#include "engine/number_text.h"
#include "engine/path_split.h"
#include "ui/core/main_logic.h"
#include "ui/core/queued_observers.h"
#include "userlang/custom_counter.h"

namespace kordel::ui {
namespace {

// Applies what a count run reports to the list, the totals and the progress window; runs on the
// interface thread (the desktop forwards the worker's calls here). The list follows the newest row
// once per delivered slice, not once per row: scrolling a long list row by row held the end of a
// run back by minutes. After Cancel the rows the worker counted ahead and that are not shown yet are
// dropped, and the totals are those of the rows shown.
class ListCountObserver final : public engine::RunObserver, public SliceObserver {
public:
    ListCountObserver(ListDocument& doc, Desktop& desktop, MainView* view, bool scroll, const std::atomic<int>& canc)
        : m_doc(doc), m_desktop(desktop), m_view(view), m_scroll(scroll), m_canc(canc),
          m_started(std::chrono::steady_clock::now()) {}

    void SetStatus(const std::string& text) override { m_desktop.SetProgressDetail(text); }
    // The row's texts are not taken: the list keeps its counts, and the views format them.
    void WriteRow(std::size_t row, const std::vector<std::string>&) override {
        if (row >= m_doc.list().RowCount()) return;
        if (m_canc.load() == 1) {
            m_dropped = true;
            return;
        }
        m_written = row;
        m_follow = row;
    }
    void RowCounted(std::size_t row, const engine::FileCounts& counts, const std::string&) override {
        if (m_written != row) return;
        m_doc.list().SetCounts(row, counts);
        m_totals.Add(counts);
    }
    void WriteTotals(const engine::TotalsTexts& totals) override {
        m_doc.SetTotals(m_dropped ? engine::MakeTotalsTexts(m_totals) : totals);
    }
    void SetProgress(int percent) override { m_desktop.SetProgressPercent(percent); }
    bool AskMissing(const std::string& message) override { return Ask(message); }
    bool AskOpenFailed(const std::string& message) override { return Ask(message); }
    bool AskUnknownExtension(const std::string& message) override { return Ask(message); }
    void Finished(const std::string& message, bool isError) override {
        m_message = message;
        m_isError = isError;
        if (isError || message == engine::kCanceledMessage) return;
        // Cancelled while the last rows were on their way, or done: the time is taken now that the
        // last row is shown.
        if (m_dropped) {
            m_message = engine::kCanceledMessage;
            return;
        }
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - m_started).count();
        m_message = engine::CompletedMessage(ms / 1000);
    }
    void SliceDelivered() override {
        if (m_scroll && m_view && m_follow) m_view->ScrollTo(*m_follow);
        m_follow.reset();
    }

    const std::string& message() const { return m_message; }
    bool isError() const { return m_isError; }
    /// Rows counted by the worker were dropped after Cancel.
    bool dropped() const { return m_dropped; }
    /// The totals of the rows shown.
    const engine::RunTotals& totals() const { return m_totals; }

private:
    bool Ask(const std::string& message) {
        return m_desktop.Message(message, Icon::Stop, Buttons::OkCancel) == Answer::Ok;
    }

    ListDocument& m_doc;
    Desktop& m_desktop;
    MainView* m_view;
    bool m_scroll;
    const std::atomic<int>& m_canc;
    std::chrono::steady_clock::time_point m_started;
    std::optional<std::size_t> m_written;  // the row written last
    std::optional<std::size_t> m_follow;   // the row to bring into view at the end of the slice
    engine::RunTotals m_totals;
    bool m_dropped = false;
    std::string m_message;
    bool m_isError = false;
};

// The list's paths as the run reads them, without a copy: the worker reads the path cells while
// this thread writes only the count cells, and no row comes or goes under the progress window.
class ListFiles final : public engine::RunFiles {
public:
    explicit ListFiles(const ResultList& list) : m_list(list) {}
    std::size_t size() const override { return m_list.RowCount(); }
    std::string Path(std::size_t row) const override { return m_list.Path(row); }
    std::string Extension(std::size_t row) const override { return std::string(engine::PathExtension(m_list.Path(row))); }

private:
    const ResultList& m_list;
};

}  // namespace

void MainWindowLogic::Count() {
    m_canc = 0;
    m_pn = m_doc.state().nameField;
    const ListFiles files(list());
    const engine::CountOptions options = m_settings.countOptions();
    ListCountObserver observer(m_doc, m_desktop, m_view, !m_settings.dls, m_canc);
    engine::RunResult result;
    const unsigned jobs = m_jobs;
    const userlang::DatabaseLanguages userLanguages(m_languageDb.read);
    WorkMark working(m_working);
    m_desktop.RunWithProgress(
        false, m_canc,
        [&](engine::RunObserver& worker) {
            result = engine::CountLineT(files, options, m_canc, worker, jobs, &userLanguages, false);
        },
        observer);
    working.End();
    if (result.crashed) {
        m_desktop.Message(observer.message(), Icon::Stop);
        // Close through the save-changes prompt so that unsaved changes are not lost.
        if (m_view) m_view->CloseWindow();
        return;
    }
    m_totals = observer.dropped() ? observer.totals() : result.totals;
    m_doc.state().cy = true;
    if (!result.cancelled && !observer.dropped() && m_view && list().RowCount() > 0) m_view->ScrollTo(0);
    if (!observer.message().empty()) m_desktop.Message(observer.message(), Icon::Information);
    UpdateStatusBars();
}

}  // namespace kordel::ui
