// Carries a worker's calls on a run or sort observer over to the interface thread, in order.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/count_run.h"
#include "engine/sort_order.h"

namespace kordel::ui {

/// Calls for the interface thread, queued in order and delivered in batches: one wake-up carries every
/// call made since the last, so a long run does not flood the interface thread. Within a batch only the
/// last call of each replaceable kind (status, totals, percent) is made, since nothing is painted between
/// the calls of a batch. Queued calls hold only what outlives the loop that runs them.
class BatchedCalls {
public:
    enum class Kind { Status, Totals, Progress, Other };

    explicit BatchedCalls(QObject* uiContext) : m_context(uiContext) {}

    void Post(Kind kind, std::function<void()> run) {
        bool first = false;
        {
            std::lock_guard lock(m_pending->mutex);
            first = m_pending->calls.empty();
            m_pending->calls.push_back({kind, std::move(run)});
        }
        // A batch that already has calls has its delivery posted; it will take this one too.
        if (first) QMetaObject::invokeMethod(m_context, [pending = m_pending] { Deliver(*pending); }, Qt::QueuedConnection);
    }

    /// Runs `f` on the interface thread after the calls posted before it, waiting for its answer.
    bool Ask(const std::function<bool()>& f) {
        bool answer = false;
        QMetaObject::invokeMethod(m_context, [&] { answer = f(); }, Qt::BlockingQueuedConnection);
        return answer;
    }

private:
    struct Call {
        Kind kind;
        std::function<void()> run;
    };
    struct Pending {
        std::mutex mutex;
        std::vector<Call> calls;
    };

    static void Deliver(Pending& pending) {
        std::vector<Call> batch;
        {
            std::lock_guard lock(pending.mutex);
            batch.swap(pending.calls);
        }
        std::size_t last[3] = {batch.size(), batch.size(), batch.size()};
        for (std::size_t i = 0; i < batch.size(); ++i)
            if (batch[i].kind != Kind::Other) last[static_cast<int>(batch[i].kind)] = i;
        for (std::size_t i = 0; i < batch.size(); ++i)
            if (batch[i].kind == Kind::Other || last[static_cast<int>(batch[i].kind)] == i) batch[i].run();
    }

    QObject* m_context;
    std::shared_ptr<Pending> m_pending = std::make_shared<Pending>();
};

/// A count run's reports for the interface thread. Questions block the worker until the interface
/// thread has the answer, after the updates queued before them.
class QueuedObserver final : public engine::RunObserver {
public:
    QueuedObserver(QObject* uiContext, engine::RunObserver& target) : m_calls(uiContext), m_target(target) {}

    void SetStatus(const std::string& text) override {
        m_calls.Post(Kind::Status, [t = &m_target, text] { t->SetStatus(text); });
    }
    void WriteRow(std::size_t row, const std::vector<std::string>& cells) override {
        m_calls.Post(Kind::Other, [t = &m_target, row, cells] { t->WriteRow(row, cells); });
    }
    void WriteTotals(const engine::TotalsTexts& totals) override {
        m_calls.Post(Kind::Totals, [t = &m_target, totals] { t->WriteTotals(totals); });
    }
    void SetProgress(int percent) override {
        m_calls.Post(Kind::Progress, [t = &m_target, percent] { t->SetProgress(percent); });
    }
    bool AskMissing(const std::string& m) override { return m_calls.Ask([&] { return m_target.AskMissing(m); }); }
    bool AskOpenFailed(const std::string& m) override {
        return m_calls.Ask([&] { return m_target.AskOpenFailed(m); });
    }
    bool AskUnknownExtension(const std::string& m) override {
        return m_calls.Ask([&] { return m_target.AskUnknownExtension(m); });
    }
    void Finished(const std::string& message, bool isError) override {
        m_calls.Post(Kind::Other, [t = &m_target, message, isError] { t->Finished(message, isError); });
    }

private:
    using Kind = BatchedCalls::Kind;
    BatchedCalls m_calls;
    engine::RunObserver& m_target;
};

/// A sort's reports for the interface thread: swaps in order, the status line and percent, which change
/// every pass, as their latest values.
class QueuedSortObserver final : public engine::SortObserver {
public:
    QueuedSortObserver(QObject* uiContext, engine::SortObserver& target) : m_calls(uiContext), m_target(target) {}

    void SetStatus(const std::string& text) override {
        m_calls.Post(Kind::Status, [t = &m_target, text] { t->SetStatus(text); });
    }
    void SetProgress(int percent) override {
        if (percent == m_lastPercent) return;
        m_lastPercent = percent;
        m_calls.Post(Kind::Progress, [t = &m_target, percent] { t->SetProgress(percent); });
    }
    void SwapRows(std::size_t a, std::size_t b) override {
        m_calls.Post(Kind::Other, [t = &m_target, a, b] { t->SwapRows(a, b); });
    }

private:
    using Kind = BatchedCalls::Kind;
    BatchedCalls m_calls;
    engine::SortObserver& m_target;
    int m_lastPercent = -1;  // worker thread only
};

}  // namespace kordel::ui
