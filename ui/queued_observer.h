// Carries a worker's calls on a run observer over to the interface thread, in order.
#pragma once

#include <QObject>

#include "engine/count_run.h"

namespace kordel::ui {

/// Updates are queued; questions block the worker until the interface thread has the answer.
class QueuedObserver final : public engine::RunObserver {
public:
    QueuedObserver(QObject* uiContext, engine::RunObserver& target) : m_context(uiContext), m_target(target) {}

    void SetStatus(const std::string& text) override { Post([this, text] { m_target.SetStatus(text); }); }
    void WriteRow(std::size_t row, const std::vector<std::string>& cells) override {
        Post([this, row, cells] { m_target.WriteRow(row, cells); });
    }
    void WriteTotals(const engine::TotalsTexts& totals) override {
        Post([this, totals] { m_target.WriteTotals(totals); });
    }
    void SetProgress(int percent) override { Post([this, percent] { m_target.SetProgress(percent); }); }
    bool AskMissing(const std::string& m) override { return Ask([&] { return m_target.AskMissing(m); }); }
    bool AskOpenFailed(const std::string& m) override { return Ask([&] { return m_target.AskOpenFailed(m); }); }
    bool AskUnknownExtension(const std::string& m) override {
        return Ask([&] { return m_target.AskUnknownExtension(m); });
    }
    void Finished(const std::string& message, bool isError) override {
        Post([this, message, isError] { m_target.Finished(message, isError); });
    }

private:
    template <typename F>
    void Post(F&& f) {
        QMetaObject::invokeMethod(m_context, std::forward<F>(f), Qt::QueuedConnection);
    }
    template <typename F>
    bool Ask(F&& f) {
        bool answer = false;
        QMetaObject::invokeMethod(m_context, [&] { answer = f(); }, Qt::BlockingQueuedConnection);
        return answer;
    }

    QObject* m_context;
    engine::RunObserver& m_target;
};

}  // namespace kordel::ui
