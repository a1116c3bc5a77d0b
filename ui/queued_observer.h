// Carries a worker's calls on a run or sort observer over to the interface thread, in order.
#pragma once

#include <QObject>

#include <chrono>
#include <condition_variable>
#include <deque>
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
/// the calls of a batch. A delivery stops after a few milliseconds and goes on at the next turn of the
/// event loop, so a batch of many thousand rows never holds the window still. Queued calls hold only
/// what outlives the loop that runs them.
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
        if (first) Schedule(m_pending, m_context);
    }

    /// Runs `f` on the interface thread after every call posted before it, waiting for its answer.
    /// It travels as one more call, so the calls before it keep their slices.
    bool Ask(const std::function<bool()>& f) {
        std::mutex mutex;
        std::condition_variable answered;
        bool done = false;
        bool answer = false;
        Post(Kind::Other, [&] {
            const bool a = f();
            std::lock_guard lock(mutex);
            answer = a;
            done = true;
            answered.notify_one();
        });
        std::unique_lock lock(mutex);
        answered.wait(lock, [&] { return done; });
        return answer;
    }

    /// Returns once every call posted so far has been made on the interface thread.
    void Flush() {
        Ask([] { return true; });
    }

private:
    struct Call {
        Kind kind;
        std::function<void()> run;
    };
    struct Pending : std::enable_shared_from_this<Pending> {
        std::mutex mutex;
        std::vector<Call> calls;  // posted by the worker
        std::deque<Call> ready;   // taken by the interface thread, not yet made
    };
    static constexpr auto kSlice = std::chrono::milliseconds(20);

    // Moves the posted calls behind those still to be made, leaving out replaced ones.
    static void Take(Pending& pending) {
        std::vector<Call> batch;
        {
            std::lock_guard lock(pending.mutex);
            batch.swap(pending.calls);
        }
        std::size_t last[3] = {batch.size(), batch.size(), batch.size()};
        for (std::size_t i = 0; i < batch.size(); ++i)
            if (batch[i].kind != Kind::Other) last[static_cast<int>(batch[i].kind)] = i;
        for (std::size_t i = 0; i < batch.size(); ++i)
            if (batch[i].kind == Kind::Other || last[static_cast<int>(batch[i].kind)] == i)
                pending.ready.push_back(std::move(batch[i]));
    }

    static void Schedule(const std::shared_ptr<Pending>& pending, QObject* context) {
        QMetaObject::invokeMethod(context, [pending, context] { Deliver(*pending, context); }, Qt::QueuedConnection);
    }

    static void Deliver(Pending& pending, QObject* context) {
        Take(pending);
        const auto end = std::chrono::steady_clock::now() + kSlice;
        std::size_t made = 0;
        while (!pending.ready.empty()) {
            // The clock is read every 64 calls: most calls take microseconds.
            if (++made % 64 == 0 && std::chrono::steady_clock::now() > end) break;
            Call call = std::move(pending.ready.front());
            pending.ready.pop_front();
            call.run();
        }
        // The rest after whatever else the event loop has to do; the queue keeps its order.
        if (!pending.ready.empty()) Schedule(pending.shared_from_this(), context);
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
    /// Waits until every report has reached the interface thread (before the window that carries them goes).
    void Flush() { m_calls.Flush(); }

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
    /// Waits until every swap has reached the interface thread.
    void Flush() { m_calls.Flush(); }

private:
    using Kind = BatchedCalls::Kind;
    BatchedCalls m_calls;
    engine::SortObserver& m_target;
    int m_lastPercent = -1;  // worker thread only
};

}  // namespace kordel::ui
