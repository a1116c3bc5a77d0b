// Observers that forward a worker's reports to the interface thread through a call queue.
#include "ui/core/queued_observers.h"

namespace kordel::ui {

using Kind = CallQueue::Kind;

QueuedRunObserver::QueuedRunObserver(CallQueue& calls, engine::RunObserver& target) : m_calls(calls), m_target(target) {
    if (auto* slices = dynamic_cast<SliceObserver*>(&target)) m_calls.OnSliceEnd([slices] { slices->SliceDelivered(); });
}

void QueuedRunObserver::SetStatus(const std::string& text) {
    m_calls.Post(Kind::Status, [t = &m_target, text] { t->SetStatus(text); });
}
void QueuedRunObserver::WriteRow(std::size_t row, const std::vector<std::string>& cells) {
    m_calls.Post(Kind::Other, [t = &m_target, row, cells] { t->WriteRow(row, cells); });
}
void QueuedRunObserver::WriteTotals(const engine::TotalsTexts& totals) {
    m_calls.Post(Kind::Totals, [t = &m_target, totals] { t->WriteTotals(totals); });
}
void QueuedRunObserver::SetProgress(int percent) {
    m_calls.Post(Kind::Progress, [t = &m_target, percent] { t->SetProgress(percent); });
}
bool QueuedRunObserver::AskMissing(const std::string& m) { return m_calls.Ask([&] { return m_target.AskMissing(m); }); }
bool QueuedRunObserver::AskOpenFailed(const std::string& m) {
    return m_calls.Ask([&] { return m_target.AskOpenFailed(m); });
}
bool QueuedRunObserver::AskUnknownExtension(const std::string& m) {
    return m_calls.Ask([&] { return m_target.AskUnknownExtension(m); });
}
void QueuedRunObserver::Finished(const std::string& message, bool isError) {
    m_calls.Post(Kind::Other, [t = &m_target, message, isError] { t->Finished(message, isError); });
}

void QueuedRunObserver::RowCounted(std::size_t row, const engine::FileCounts& counts, const std::string& userLanguage) {
    m_calls.Post(Kind::Other, [t = &m_target, row, counts, userLanguage] { t->RowCounted(row, counts, userLanguage); });
}

void QueuedSortObserver::SetStatus(const std::string& text) {
    m_calls.Post(Kind::Status, [t = &m_target, text] { t->SetStatus(text); });
}
void QueuedSortObserver::SetProgress(int percent) {
    if (percent == m_lastPercent) return;
    m_lastPercent = percent;
    m_calls.Post(Kind::Progress, [t = &m_target, percent] { t->SetProgress(percent); });
}
void QueuedSortObserver::SwapRows(std::size_t a, std::size_t b) {
    m_calls.Post(Kind::Other, [t = &m_target, a, b] { t->SwapRows(a, b); });
}

}  // namespace kordel::ui
