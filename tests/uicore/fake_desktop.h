// A desktop that answers from a script and records what it was asked, for the command tests.
#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "ui/core/desktop.h"
#include "ui/core/queued_observers.h"

namespace test_support {

struct ShownMessage {
    std::string text;
    kordel::ui::Icon icon;
    kordel::ui::Buttons buttons;
};

// Passes everything on but fails when the first row is written, like a fault inside the worker.
class FaultyObserver final : public kordel::engine::RunObserver {
public:
    explicit FaultyObserver(kordel::engine::RunObserver& target) : m_target(target) {}
    void SetStatus(const std::string& text) override { m_target.SetStatus(text); }
    void WriteRow(std::size_t, const std::vector<std::string>&) override { throw std::runtime_error("fault"); }
    void WriteTotals(const kordel::engine::TotalsTexts& totals) override { m_target.WriteTotals(totals); }
    void SetProgress(int percent) override { m_target.SetProgress(percent); }
    bool AskMissing(const std::string& m) override { return m_target.AskMissing(m); }
    bool AskOpenFailed(const std::string& m) override { return m_target.AskOpenFailed(m); }
    bool AskUnknownExtension(const std::string& m) override { return m_target.AskUnknownExtension(m); }
    void Finished(const std::string& message, bool isError) override { m_target.Finished(message, isError); }

private:
    kordel::engine::RunObserver& m_target;
};

// Passes every call on at once, a delivered slice ending after each row, as when the window keeps up.
// With `cancelAfter` set, it holds the calls back until the worker is done, as when the worker counts
// far ahead of the window, and the user cancels once that many rows are shown.
class SlicedObserver final : public kordel::engine::RunObserver {
public:
    SlicedObserver(kordel::engine::RunObserver& target, std::atomic<int>& canc, int cancelAfter)
        : m_target(target), m_slices(dynamic_cast<kordel::ui::SliceObserver*>(&target)), m_canc(canc),
          m_cancelAfter(cancelAfter) {}
    void SetStatus(const std::string& text) override { Pass([=, this] { m_target.SetStatus(text); }); }
    void WriteRow(std::size_t row, const std::vector<std::string>& cells) override {
        Pass([=, this] {
            m_target.WriteRow(row, cells);
            if (++m_shown == m_cancelAfter) m_canc = 1;
            if (m_slices) m_slices->SliceDelivered();
        });
    }
    void RowCounted(std::size_t row, const kordel::engine::FileCounts& counts, const std::string& language) override {
        Pass([=, this] { m_target.RowCounted(row, counts, language); });
    }
    void WriteTotals(const kordel::engine::TotalsTexts& totals) override { Pass([=, this] { m_target.WriteTotals(totals); }); }
    void SetProgress(int percent) override { Pass([=, this] { m_target.SetProgress(percent); }); }
    bool AskMissing(const std::string& m) override { return m_target.AskMissing(m); }
    bool AskOpenFailed(const std::string& m) override { return m_target.AskOpenFailed(m); }
    bool AskUnknownExtension(const std::string& m) override { return m_target.AskUnknownExtension(m); }
    void Finished(const std::string& message, bool isError) override {
        Pass([=, this] { m_target.Finished(message, isError); });
        for (auto& call : m_held) call();
        m_held.clear();
    }

private:
    void Pass(std::function<void()> call) {
        if (m_cancelAfter >= 0) m_held.push_back(std::move(call));
        else call();
    }
    kordel::engine::RunObserver& m_target;
    kordel::ui::SliceObserver* m_slices;
    std::atomic<int>& m_canc;
    int m_cancelAfter;
    int m_shown = 0;
    std::vector<std::function<void()>> m_held;
};

class CancellingSortObserver final : public kordel::engine::SortObserver {
public:
    CancellingSortObserver(kordel::engine::SortObserver& target, std::atomic<int>& canc, int passes)
        : m_target(target), m_canc(canc), m_left(passes) {}
    void SetStatus(const std::string& text) override { m_target.SetStatus(text); }
    void SetProgress(int percent) override {
        if (--m_left == 0) m_canc = 1;
        m_target.SetProgress(percent);
    }
    void SwapRows(std::size_t a, std::size_t b) override { m_target.SwapRows(a, b); }

private:
    kordel::engine::SortObserver& m_target;
    std::atomic<int>& m_canc;
    int m_left;
};

class FakeDesktop : public kordel::ui::Desktop {
public:
    kordel::ui::Answer Message(std::string_view text, kordel::ui::Icon icon, kordel::ui::Buttons buttons) override {
        if (std::this_thread::get_id() != m_interfaceThread) ++messagesOffInterface;
        if (m_aside) ++messagesWhileAside;
        messages.push_back({std::string(text), icon, buttons});
        if (answers.empty()) return buttons == kordel::ui::Buttons::Ok ? kordel::ui::Answer::Ok : kordel::ui::Answer::Cancel;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void RunWithProgress(bool sorting, std::atomic<int>& canc, const std::function<void(kordel::engine::RunObserver&)>& work,
                         kordel::engine::RunObserver& uiObserver) override {
        progressRuns.push_back(sorting);
        if (duringWork) duringWork();
        if (cancelBeforeRun) canc = 1;
        if (faultInWorker) {
            FaultyObserver faulty{uiObserver};
            work(faulty);
            return;
        }
        SlicedObserver sliced(uiObserver, canc, cancelAfterShownRows);
        work(sliced);
    }
    void RunSortWithProgress(std::atomic<int>& canc, const std::function<void(kordel::engine::SortObserver&)>& work,
                             kordel::engine::SortObserver& uiObserver) override {
        progressRuns.push_back(true);
        if (duringWork) duringWork();
        if (cancelAfterPasses >= 0) {
            // Cancels once the given number of passes has been made.
            CancellingSortObserver observer{uiObserver, canc, cancelAfterPasses};
            work(observer);
            return;
        }
        work(uiObserver);
    }
    void SetProgressDetail(const std::string& text) override { details.push_back(text); }
    void SetProgressPercent(int percent) override { percents.push_back(percent); }
    kordel::ui::VersionReply FetchVersionFile(const std::string& url) override {
        fetchedUrls.push_back(url);
        using Status = kordel::ui::VersionReply::Status;
        if (versionCancelled) return {Status::Cancelled, {}};
        return versionReply ? kordel::ui::VersionReply{Status::Received, *versionReply} : kordel::ui::VersionReply{};
    }
    void OpenDocument(const std::string& path) override { opened.push_back(path); }
    void OpenUrl(const std::string& url) override { urls.push_back(url); }
    std::optional<std::string> AskOpenPath(std::string_view title, const kordel::ui::FileType& type) override {
        dialogs.push_back(std::string(title) + "|" + type.pattern);
        return Next(openPaths);
    }
    std::optional<std::string> AskSavePath(std::string_view title, const kordel::ui::FileType& type) override {
        dialogs.push_back(std::string(title) + "|" + type.pattern);
        return Next(savePaths);
    }
    kordel::ui::AddChoice AskSourceFiles(std::string_view title, const std::vector<kordel::ui::FileFilter>& filters,
                                         int filter, const std::string& folder) override {
        dialogs.push_back(std::string(title));
        addFilters = filters;
        addShownFilter = filter;
        addShownFolder = folder;
        return addChoice;
    }
    void ShowBusy(std::string_view text) override { busy.emplace_back(text); }
    // With asideOnWorker, work run aside runs on a thread of its own while this one serves the calls it
    // hands back, as the real desktops do.
    void RunAside(const std::function<void()>& work) override {
        if (duringWork) duringWork();
        if (!asideOnWorker) return work();
        ++asideRuns;
        m_aside = true;
        std::exception_ptr failure;
        bool finished = false;
        std::thread worker([&] {
            try {
                work();
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard lock(m_mutex);
            finished = true;
            m_wake.notify_all();
        });
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [&] { return finished || m_handed; });
            if (!m_handed) break;
            const std::function<void()>* call = m_handed;
            lock.unlock();
            (*call)();
            lock.lock();
            m_handed = nullptr;
            m_wake.notify_all();
        }
        lock.unlock();
        worker.join();
        m_aside = false;
        if (failure) std::rethrow_exception(failure);
    }
    void RunOnInterface(const std::function<void()>& call) override {
        if (std::this_thread::get_id() == m_interfaceThread) return call();
        std::unique_lock lock(m_mutex);
        m_handed = &call;
        m_wake.notify_all();
        m_wake.wait(lock, [&] { return m_handed == nullptr; });
    }
    std::optional<std::string> AskProjectName() override {
        ++nameQuestions;
        return typedName;
    }
    std::optional<kordel::ui::FindRequest> AskFind() override {
        ++findDialogs;
        return findRequest;
    }
    void ShowOptions() override { ++optionsShown; }
    void ShowAbout() override { ++aboutShown; }
    void ShowLanguages(kordel::userlang::LanguageListEditor& editor) override {
        languageRows = editor.rows().size();
        if (onLanguages) onLanguages(editor);
    }
    std::filesystem::path ProgramFolder() override { return programFolder; }

    template <typename T>
    static std::optional<T> Next(std::deque<std::optional<T>>& queue) {
        if (queue.empty()) return std::nullopt;
        auto value = queue.front();
        queue.pop_front();
        return value;
    }

    std::string LastMessage() const { return messages.empty() ? std::string() : messages.back().text; }

    std::deque<kordel::ui::Answer> answers;
    std::vector<ShownMessage> messages;
    bool asideOnWorker = false;
    /// Runs on the interface thread while a count, a sort or a step aside is under way, as the
    /// messages that arrive meanwhile do.
    std::function<void()> duringWork;
    int asideRuns = 0;             // work run on a worker
    int messagesOffInterface = 0;  // messages shown from another thread than the desktop's
    int messagesWhileAside = 0;    // messages that work run aside handed back
    std::vector<bool> progressRuns;
    bool cancelBeforeRun = false;
    bool faultInWorker = false;
    int cancelAfterPasses = -1;
    std::vector<std::string> details;
    std::vector<int> percents;
    int cancelAfterShownRows = -1;  ///< the worker counts ahead; Cancel once this many rows are shown
    std::optional<std::string> versionReply;
    bool versionCancelled = false;
    std::vector<std::string> fetchedUrls;
    std::vector<std::string> opened;
    std::vector<std::string> urls;
    std::optional<kordel::ui::FindRequest> findRequest;
    std::deque<std::optional<std::string>> openPaths;
    std::deque<std::optional<std::string>> savePaths;
    std::vector<std::string> dialogs;
    kordel::ui::AddChoice addChoice;
    std::vector<kordel::ui::FileFilter> addFilters;
    int addShownFilter = 0;
    std::string addShownFolder;
    std::vector<std::string> busy;
    std::optional<std::string> typedName;
    int nameQuestions = 0;
    int findDialogs = 0;
    int optionsShown = 0;
    int aboutShown = 0;
    std::size_t languageRows = 0;
    std::function<void(kordel::userlang::LanguageListEditor&)> onLanguages;
    std::filesystem::path programFolder = "/opt/kordel/bin";

private:
    std::thread::id m_interfaceThread = std::this_thread::get_id();
    std::mutex m_mutex;
    std::condition_variable m_wake;
    const std::function<void()>* m_handed = nullptr;  // a call the worker waits to see run
    bool m_aside = false;
};

}  // namespace test_support
