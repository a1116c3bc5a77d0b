// Carries a worker's calls on a run observer over to the interface thread, in order.
#pragma once

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "engine/count_run.h"
#include "ui/core/sort_results.h"

namespace kordel::ui {

/// Updates are queued in order and delivered in batches: one wake-up of the interface thread carries
/// every call made since the last, so a run of many small files does not flood it. Within a batch only
/// the last status, totals and percent are applied, since nothing is painted between the calls of a
/// batch. Questions block the worker until the interface thread has the answer, after the updates
/// queued before them. Queued calls hold only the target, which outlives the progress window's loop.
class QueuedObserver final : public engine::RunObserver {
public:
    QueuedObserver(QObject* uiContext, engine::RunObserver& target) : m_context(uiContext), m_target(target) {}

    void SetStatus(const std::string& text) override {
        Post(Kind::Status, [t = &m_target, text] { t->SetStatus(text); });
    }
    void WriteRow(std::size_t row, const std::vector<std::string>& cells) override {
        Post(Kind::Other, [t = &m_target, row, cells] { t->WriteRow(row, cells); });
    }
    void WriteTotals(const engine::TotalsTexts& totals) override {
        Post(Kind::Totals, [t = &m_target, totals] { t->WriteTotals(totals); });
    }
    void SetProgress(int percent) override {
        Post(Kind::Progress, [t = &m_target, percent] { t->SetProgress(percent); });
    }
    bool AskMissing(const std::string& m) override { return Ask([&] { return m_target.AskMissing(m); }); }
    bool AskOpenFailed(const std::string& m) override { return Ask([&] { return m_target.AskOpenFailed(m); }); }
    bool AskUnknownExtension(const std::string& m) override {
        return Ask([&] { return m_target.AskUnknownExtension(m); });
    }
    void Finished(const std::string& message, bool isError) override {
        Post(Kind::Other, [t = &m_target, message, isError] { t->Finished(message, isError); });
    }

private:
    // Calls whose later value replaces the earlier one have a kind of their own.
    enum class Kind { Status, Totals, Progress, Other };
    struct Call {
        Kind kind;
        std::function<void()> run;
    };
    struct Pending {
        std::mutex mutex;
        std::vector<Call> calls;
    };

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

    template <typename F>
    bool Ask(F&& f) {
        bool answer = false;
        QMetaObject::invokeMethod(m_context, [&] { answer = f(); }, Qt::BlockingQueuedConnection);
        return answer;
    }

    QObject* m_context;
    engine::RunObserver& m_target;
    std::shared_ptr<Pending> m_pending = std::make_shared<Pending>();
};

/// A sort's reports for the interface thread. Swaps are queued in order; the status line, which
/// changes every pass, is coalesced so that a long sort does not flood the interface thread.
class QueuedSortObserver final : public SortObserver {
public:
    QueuedSortObserver(QObject* uiContext, SortObserver& target) : m_context(uiContext), m_target(target) {}

    void SetStatus(const std::string& text) override {
        {
            std::lock_guard lock(m_status->mutex);
            m_status->text = text;
        }
        if (m_status->pending.exchange(true)) return;
        QMetaObject::invokeMethod(
            m_context,
            [t = &m_target, status = m_status] {
                std::string latest;
                {
                    std::lock_guard lock(status->mutex);
                    latest = status->text;
                }
                status->pending = false;
                t->SetStatus(latest);
            },
            Qt::QueuedConnection);
    }
    void SetProgress(int percent) override {
        if (percent == m_lastPercent) return;
        m_lastPercent = percent;
        QMetaObject::invokeMethod(m_context, [t = &m_target, percent] { t->SetProgress(percent); },
                                  Qt::QueuedConnection);
    }
    void SwapRows(std::size_t a, std::size_t b) override {
        QMetaObject::invokeMethod(m_context, [t = &m_target, a, b] { t->SwapRows(a, b); }, Qt::QueuedConnection);
    }

private:
    QObject* m_context;
    SortObserver& m_target;
    struct Status {
        std::mutex mutex;
        std::string text;
        std::atomic<bool> pending{false};
    };
    std::shared_ptr<Status> m_status = std::make_shared<Status>();
    int m_lastPercent = -1;  // worker thread only
};

}  // namespace kordel::ui
