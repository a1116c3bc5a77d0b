// Carries a worker's calls over to the interface thread, in order, through window messages.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/count_run.h"
#include "engine/sort_order.h"

namespace kordel::win32 {

/// The message a window receives when calls wait for it; its handler calls `UiQueue::Deliver`.
inline constexpr UINT kDeliverCalls = WM_APP + 1;

/// Calls for the interface thread, delivered in batches: one message carries every call made since
/// the last, so a long run does not flood the message queue. Within a batch only the last call of each
/// replaceable kind (status, totals, percent) is made, since nothing is painted between them.
class UiQueue {
public:
    enum class Kind { Status, Totals, Progress, Other };

    /// The window that delivers; set before the first call is posted.
    void SetTarget(HWND window) { m_target = window; }
    void Post(Kind kind, std::function<void()> run);
    /// Runs `f` on the interface thread after the calls posted before it and waits for its answer.
    bool Ask(const std::function<bool()>& f);
    /// Runs the waiting calls; interface thread only.
    void Deliver();

private:
    struct Call {
        Kind kind;
        std::function<void()> run;
    };
    std::mutex m_mutex;
    std::vector<Call> m_calls;
    HWND m_target = nullptr;
};

/// A count run's reports for the interface thread; questions wait for their answers.
class QueuedRunObserver final : public engine::RunObserver {
public:
    QueuedRunObserver(UiQueue& queue, engine::RunObserver& target) : m_queue(queue), m_target(target) {}
    void SetStatus(const std::string& text) override;
    void WriteRow(std::size_t row, const std::vector<std::string>& cells) override;
    void WriteTotals(const engine::TotalsTexts& totals) override;
    void SetProgress(int percent) override;
    bool AskMissing(const std::string& message) override;
    bool AskOpenFailed(const std::string& message) override;
    bool AskUnknownExtension(const std::string& message) override;
    void Finished(const std::string& message, bool isError) override;

private:
    UiQueue& m_queue;
    engine::RunObserver& m_target;
};

/// A sort's reports for the interface thread: the swaps in order, status and percent as their latest.
class QueuedSortObserver final : public engine::SortObserver {
public:
    QueuedSortObserver(UiQueue& queue, engine::SortObserver& target) : m_queue(queue), m_target(target) {}
    void SetStatus(const std::string& text) override;
    void SetProgress(int percent) override;
    void SwapRows(std::size_t a, std::size_t b) override;

private:
    UiQueue& m_queue;
    engine::SortObserver& m_target;
    int m_lastPercent = -1;  // worker thread only
};

}  // namespace kordel::win32
