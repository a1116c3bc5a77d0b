#include "ui/win32/ui_queue.h"

#include <future>

namespace kordel::win32 {

void UiQueue::Post(Kind kind, std::function<void()> run) {
    bool first = false;
    {
        std::lock_guard lock(m_mutex);
        first = m_calls.empty();
        m_calls.push_back({kind, std::move(run)});
    }
    // A batch that already has calls has its message posted; it will take this one too.
    if (first) PostMessageW(m_target, kDeliverCalls, 0, 0);
}

bool UiQueue::Ask(const std::function<bool()>& f) {
    std::promise<bool> answer;
    std::future<bool> result = answer.get_future();
    Post(Kind::Other, [&] { answer.set_value(f()); });
    return result.get();
}

void UiQueue::Deliver() {
    std::vector<Call> batch;
    {
        std::lock_guard lock(m_mutex);
        batch.swap(m_calls);
    }
    std::size_t last[3] = {batch.size(), batch.size(), batch.size()};
    for (std::size_t i = 0; i < batch.size(); ++i)
        if (batch[i].kind != Kind::Other) last[static_cast<int>(batch[i].kind)] = i;
    for (std::size_t i = 0; i < batch.size(); ++i)
        if (batch[i].kind == Kind::Other || last[static_cast<int>(batch[i].kind)] == i) batch[i].run();
}

using Kind = UiQueue::Kind;

void QueuedRunObserver::SetStatus(const std::string& text) {
    m_queue.Post(Kind::Status, [t = &m_target, text] { t->SetStatus(text); });
}
void QueuedRunObserver::WriteRow(std::size_t row, const std::vector<std::string>& cells) {
    m_queue.Post(Kind::Other, [t = &m_target, row, cells] { t->WriteRow(row, cells); });
}
void QueuedRunObserver::WriteTotals(const engine::TotalsTexts& totals) {
    m_queue.Post(Kind::Totals, [t = &m_target, totals] { t->WriteTotals(totals); });
}
void QueuedRunObserver::SetProgress(int percent) {
    m_queue.Post(Kind::Progress, [t = &m_target, percent] { t->SetProgress(percent); });
}
bool QueuedRunObserver::AskMissing(const std::string& m) { return m_queue.Ask([&] { return m_target.AskMissing(m); }); }
bool QueuedRunObserver::AskOpenFailed(const std::string& m) {
    return m_queue.Ask([&] { return m_target.AskOpenFailed(m); });
}
bool QueuedRunObserver::AskUnknownExtension(const std::string& m) {
    return m_queue.Ask([&] { return m_target.AskUnknownExtension(m); });
}
void QueuedRunObserver::Finished(const std::string& message, bool isError) {
    m_queue.Post(Kind::Other, [t = &m_target, message, isError] { t->Finished(message, isError); });
}

void QueuedSortObserver::SetStatus(const std::string& text) {
    m_queue.Post(Kind::Status, [t = &m_target, text] { t->SetStatus(text); });
}
void QueuedSortObserver::SetProgress(int percent) {
    if (percent == m_lastPercent) return;
    m_lastPercent = percent;
    m_queue.Post(Kind::Progress, [t = &m_target, percent] { t->SetProgress(percent); });
}
void QueuedSortObserver::SwapRows(std::size_t a, std::size_t b) {
    m_queue.Post(Kind::Other, [t = &m_target, a, b] { t->SwapRows(a, b); });
}

}  // namespace kordel::win32
