// A count's or a sort's reports, carried from the worker to the interface thread through a call queue.
#pragma once

#include "engine/count_run.h"
#include "engine/sort_order.h"
#include "ui/core/call_queue.h"

namespace kordel::ui {

/// An interface-side observer told at the end of each delivered slice of calls, so that it brings
/// its changes into view once per slice instead of once per call.
class SliceObserver {
public:
    virtual ~SliceObserver() = default;
    virtual void SliceDelivered() = 0;
};

/// A count run's reports for the interface thread. Questions block the worker until the interface
/// thread has the answer, after the updates queued before them.
class QueuedRunObserver final : public engine::RunObserver {
public:
    /// A target that is also a SliceObserver hears of the end of every slice.
    QueuedRunObserver(CallQueue& calls, engine::RunObserver& target);

    void SetStatus(const std::string& text) override;
    void WriteRow(std::size_t row, const std::vector<std::string>& cells) override;
    void WriteTotals(const engine::TotalsTexts& totals) override;
    void SetProgress(int percent) override;
    bool AskMissing(const std::string& message) override;
    bool AskOpenFailed(const std::string& message) override;
    bool AskUnknownExtension(const std::string& message) override;
    void Finished(const std::string& message, bool isError) override;
    void RowCounted(std::size_t row, const engine::FileCounts& counts, const std::string& userLanguage) override;

private:
    CallQueue& m_calls;
    engine::RunObserver& m_target;
};

/// A sort's reports for the interface thread: swaps in order, the status line and percent, which change
/// every pass, as their latest values.
class QueuedSortObserver final : public engine::SortObserver {
public:
    QueuedSortObserver(CallQueue& calls, engine::SortObserver& target) : m_calls(calls), m_target(target) {}

    void SetStatus(const std::string& text) override;
    void SetProgress(int percent) override;
    void SwapRows(std::size_t a, std::size_t b) override;

private:
    CallQueue& m_calls;
    engine::SortObserver& m_target;
    int m_lastPercent = -1;  // worker thread only
};

}  // namespace kordel::ui
