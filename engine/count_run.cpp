// The count run: each row in order, prompts through the observer, totals and the closing message.
#include "engine/count_run.h"

#include <chrono>
#include <cstdint>
#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "engine/dispatch.h"
#include "engine/file_counter.h"
#include "engine/path_split.h"
#include "platform/files.h"

namespace kordel::engine {

const char* const kCrashMessage =
    "Kordel has crashed and must close!  PLEASE e-mail Brevlane about this problem, stating as much "
    "information as possible.  Include what operating system you are running, how many files you were "
    "counting, and what you were doing to make it crash.  This helps us to create a better release in the "
    "future.  Thanks!";

std::string MissingMessage(const std::string& path) { return "\"" + path + "\" does not exist."; }

std::string OpenForReadingMessage(const std::string& path) {
    return "Could not open \"" + path +
           "\" for reading.  Make sure that all programs that may be using this file are closed.";
}

std::string UnknownExtensionMessage(const std::string& ext) {
    return "The extension " + ext +
           " is unknown and could not be found in the User Defined Language Database.  Please add this "
           "extension to the User Defined Language Database.";
}

std::string CompletedMessage(long long seconds) {
    return "Kordel completed in " + std::to_string(seconds) + (seconds == 1 ? " second." : " seconds.");
}

namespace {

// Counts files ahead of the run on worker threads, at most a window of rows ahead of the consumer.
// Outcomes wait in a ring of one slot per row of the window, so the memory does not grow with the list.
class ReadAhead {
public:
    ReadAhead(const RunFiles& files, const CountOptions& options, std::atomic<int>& canc, unsigned jobs)
        : m_files(files), m_options(options), m_canc(canc), m_window(jobs * 64), m_slots(m_window) {
        for (unsigned i = 0; i < jobs; ++i) m_workers.emplace_back([this] { Work(); });
    }
    ~ReadAhead() {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_workAllowed.notify_all();
        for (std::thread& t : m_workers) t.join();
    }
    /// The outcome of row `r`, waiting for it; rows are taken in order.
    FileOutcome Take(std::size_t r) {
        std::unique_lock lock(m_mutex);
        // Taking row r moves the window on: by one row, one more worker may go on; rows the run
        // counts itself (user languages) can move it further. Row r's slot is only reused for row
        // r + window, which no worker takes before the run has moved on to row r + 1.
        if (r > m_consumed) {
            r == m_consumed + 1 ? m_workAllowed.notify_one() : m_workAllowed.notify_all();
            m_consumed = r;
        }
        Slot& slot = m_slots[r % m_window];
        while (slot.row != r) {
            // Rather than sleep until a worker has counted row r, count a row that no worker has taken
            // yet: a sleep and its wake-up cost more than most files, and they came at nearly every row.
            if (const auto mine = Claim()) {
                lock.unlock();
                FileOutcome outcome = Count(*mine);
                lock.lock();
                m_slots[*mine % m_window] = {*mine, std::move(outcome)};
                continue;
            }
            m_awaited = r;
            m_outcomeReady.wait(lock);
            m_awaited = SIZE_MAX;
        }
        return slot.outcome;
    }

private:
    struct Slot {
        std::size_t row = SIZE_MAX;
        FileOutcome outcome;
    };

    // The next row nobody has taken, if the window has room for it; under the lock.
    std::optional<std::size_t> Claim() {
        if (m_next >= m_files.size() || m_next >= m_consumed + m_window) return std::nullopt;
        return m_next++;
    }

    // Rows the run counts itself (user languages) are left empty.
    FileOutcome Count(std::size_t r) const {
        FileOutcome outcome;
        if (const BuiltinLanguage* language = FindBuiltin(m_files.Extension(r), m_options.dotf)) {
            auto classifier = language->make(m_options);
            outcome = CountFile(platform::PathFromText(m_files.Path(r)), *classifier, m_options.cnoml, m_canc);
        }
        return outcome;
    }

    void Work() {
        for (;;) {
            std::size_t r;
            {
                std::unique_lock lock(m_mutex);
                std::optional<std::size_t> claimed;
                m_workAllowed.wait(lock, [&] { return m_stop || (claimed = Claim()).has_value(); });
                if (m_stop) return;
                r = *claimed;
            }
            FileOutcome outcome = Count(r);
            bool awaited = false;
            {
                std::lock_guard lock(m_mutex);
                m_slots[r % m_window] = {r, std::move(outcome)};
                awaited = m_awaited == r;
            }
            // The run is the only one waiting for outcomes, and only the one it waits for wakes it.
            if (awaited) m_outcomeReady.notify_one();
        }
    }

    const RunFiles& m_files;
    const CountOptions& m_options;
    std::atomic<int>& m_canc;
    std::size_t m_window;
    std::vector<Slot> m_slots;
    std::size_t m_next = 0;
    std::size_t m_consumed = 0;
    std::size_t m_awaited = SIZE_MAX;  // the row the run sleeps for
    bool m_stop = false;
    std::mutex m_mutex;
    std::condition_variable m_workAllowed;   // workers wait for room in the window
    std::condition_variable m_outcomeReady;  // the run waits for the row it takes
    std::vector<std::thread> m_workers;
};

// Where a run puts what each row gave: the observer always, the result's per-row vectors on request.
struct RowSink {
    RunObserver& observer;
    RunResult& result;
    bool keepRows;

    void Counted(std::size_t row, const FileCounts& counts, const std::string& userLanguage) {
        result.totals.Add(counts);
        observer.RowCounted(row, counts, userLanguage);
        if (!keepRows) return;
        result.counts[row] = counts;
        result.counted[row] = true;
        result.languages[row] = userLanguage;
    }
};

// Counts one row's file with its prompts; false when the user cancelled during the file.
// `classifier` is made on the first attempt that reads the file and reused on retries;
// with `readAhead` the first attempt takes the outcome a read-ahead worker counts. The status names
// the file before its outcome is waited for, so a large file shows while it is being read.
template <typename MakeClassifier>
bool CountRow(std::size_t row, std::size_t n, const std::string& path, const std::string& userLanguage,
              MakeClassifier makeClassifier, const CountOptions& options, std::atomic<int>& canc, RowSink& sink,
              ReadAhead* readAhead) {
    RunObserver& observer = sink.observer;
    std::unique_ptr<LineClassifier> classifier;
    for (;;) {
        if (canc.load() == 1) return false;
        observer.SetStatus("Counting source file " + std::to_string(row + 1) + " of " + std::to_string(n));
        FileOutcome outcome;
        if (readAhead) {
            outcome = readAhead->Take(row);
            readAhead = nullptr;
        } else {
            if (!classifier) classifier = makeClassifier();
            outcome = CountFile(platform::PathFromText(path), *classifier, options.cnoml, canc);
        }
        switch (outcome.status) {
            case FileStatus::Missing:
                if (observer.AskMissing(MissingMessage(path))) continue;
                return true;  // skipped: row unchanged, nothing added
            case FileStatus::OpenFailed:
            case FileStatus::NotRegular:
                if (observer.AskOpenFailed(OpenForReadingMessage(path))) continue;
                outcome.counts = {};
                [[fallthrough]];
            case FileStatus::Counted:
                observer.WriteRow(row, RowCellTexts(outcome.counts, options.sps));
                sink.Counted(row, outcome.counts, userLanguage);
                return true;
            case FileStatus::Cancelled:
                return false;
        }
    }
}

// A row whose extension the built-in table lacks: the user language that claims it counts the
// file, otherwise the user is asked. -1 when the user chose to stop the run, else 0, also when the
// count was cancelled inside the file (the run sees the cancel flag before the next row).
int HandleCustomFile(std::size_t row, std::size_t n, const std::string& path, const std::string& ext,
                     const UserLanguageLookup* userLanguages, const CountOptions& options, std::atomic<int>& canc,
                     RowSink& sink) {
    std::optional<UserLanguageMatch> match;
    if (userLanguages) match = userLanguages->Find(ext, options);
    if (!match) return sink.observer.AskUnknownExtension(UnknownExtensionMessage(ext)) ? 0 : -1;
    auto make = [&match]() { return std::move(match->classifier); };
    CountRow(row, n, path, match->name, make, options, canc, sink, nullptr);
    return 0;
}

// The paths of a vector, with their own extensions or the ones given beside them.
class VectorFiles final : public RunFiles {
public:
    VectorFiles(const std::vector<std::string>& paths, const std::vector<std::string>* extensions)
        : m_paths(paths), m_extensions(extensions) {}
    std::size_t size() const override { return m_paths.size(); }
    std::string Path(std::size_t row) const override { return m_paths[row]; }
    std::string Extension(std::size_t row) const override {
        return m_extensions ? (*m_extensions)[row] : std::string(PathExtension(m_paths[row]));
    }

private:
    const std::vector<std::string>& m_paths;
    const std::vector<std::string>* m_extensions;
};

}  // namespace

RunResult CountLineT(const std::vector<std::string>& paths, const CountOptions& options, std::atomic<int>& canc,
                     RunObserver& observer, unsigned jobs, const UserLanguageLookup* userLanguages,
                     const std::vector<std::string>* extensions) {
    return CountLineT(VectorFiles(paths, extensions), options, canc, observer, jobs, userLanguages, true);
}

RunResult CountLineT(const RunFiles& files, const CountOptions& options, std::atomic<int>& canc,
                     RunObserver& observer, unsigned jobs, const UserLanguageLookup* userLanguages, bool keepRows) {
    RunResult result;
    RowSink sink{observer, result, keepRows};
    const auto start = std::chrono::steady_clock::now();
    try {
        const std::size_t n = files.size();
        if (keepRows) {
            result.counts.assign(n, {});
            result.counted.assign(n, false);
            result.languages.assign(n, {});
        }
        const double step = n == 0 ? 0.0 : 100.0 / static_cast<double>(n);
        double progress = 0.0;
        bool cancelledInFile = false;
        std::optional<ReadAhead> readAhead;
        if (jobs > 1 && n > 1) readAhead.emplace(files, options, canc, jobs);
        static const std::string builtinLanguage;
        for (std::size_t r = 0; r < n; ++r) {
            if (canc.load() == 1) break;
            observer.StartRow(r);
            const std::string path = files.Path(r);
            const std::string ext = files.Extension(r);
            const BuiltinLanguage* language = FindBuiltin(ext, options.dotf);
            if (!language) {
                if (HandleCustomFile(r, n, path, ext, userLanguages, options, canc, sink) == -1) break;
            } else {
                auto make = [language, &options]() { return language->make(options); };
                cancelledInFile = !CountRow(r, n, path, builtinLanguage, make, options, canc, sink,
                                            readAhead ? &*readAhead : nullptr);
            }
            progress += step;
            observer.SetProgress(static_cast<int>(progress));
            if (cancelledInFile) break;
        }
        if (!cancelledInFile) observer.WriteTotals(MakeTotalsTexts(result.totals));
        result.cancelled = canc.load() == 1;
        if (result.cancelled) {
            observer.Finished(kCanceledMessage, false);
        } else {
            const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                std::chrono::steady_clock::now() - start).count();
            observer.Finished(CompletedMessage(ms / 1000), false);
        }
    } catch (const std::exception&) {
        result.crashed = true;
        observer.Finished(kCrashMessage, true);
    }
    return result;
}

}  // namespace kordel::engine
