// The count run: each row in order, prompts through the observer, totals and the closing message.
#include "engine/count_run.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstdint>
#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "engine/dispatch.h"
#include "engine/file_counter.h"
#include "engine/language_resolver.h"
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

constexpr unsigned kDiskReadsPerJob = 8;
constexpr unsigned kMostThreads = 64;

// What counting a row's file gave, and the name of the language that counted it (empty for the
// built-in table, which names its languages by extension).
struct RowOutcome {
    FileOutcome file;
    std::string language;
};

// Counts the file of a row whose language its name did not tell, by its "#!" line.
RowOutcome CountByInterpreterLine(const std::string& path, const LanguageResolver& resolver,
                                  const CountOptions& options, const std::atomic<int>& canc,
                                  platform::RecentFolder& recent) {
    RowOutcome outcome;
    std::optional<ChosenLanguage> chosen;
    outcome.file = CountFile(
        path,
        [&](std::string_view firstBytes) -> LineClassifier* {
            chosen = resolver.ByInterpreterLine(firstBytes);
            return chosen ? chosen->classifier.get() : nullptr;
        },
        options.cnoml, canc, &recent);
    if (chosen) outcome.language = std::move(chosen->name);
    return outcome;
}

// Counts files ahead of the run on worker threads, at most a window of rows ahead of the consumer.
// Outcomes wait in a ring of one slot per row of the window, so the memory does not grow with the list.
// The run's own thread counts rows too while it waits for the next one, so `jobs` threads count in
// all, not one more than there are cores to run them. While files come from the disk (a quarter of
// the last 16 at least), each one read from it adds a worker, up to kDiskReadsPerJob times `jobs`
// threads, so that many reads are in flight while the disk is waited for. Once 16 files in a row came
// from the cache, the added workers wait again one by one: there, more threads than cores only take
// turns.
class ReadAhead {
public:
    ReadAhead(const RunFiles& files, const CountOptions& options, const LanguageResolver& resolver,
              std::atomic<int>& canc, unsigned jobs, platform::RecentFolder& runFolder)
        : m_files(files), m_options(options), m_resolver(resolver), m_canc(canc), m_runFolder(runFolder),
          m_window(jobs * 64),
          m_slots(m_window), m_baseWorkers(jobs - 1),
          m_maxWorkers(std::max(jobs, std::min(kDiskReadsPerJob * jobs, kMostThreads)) - 1) {
        // Under the lock: the first workers may already add others.
        std::lock_guard lock(m_mutex);
        m_wanted = m_active = m_baseWorkers;
        for (std::size_t i = 0; i < m_baseWorkers; ++i) m_workers.emplace_back([this] { Work(); });
    }
    ~ReadAhead() {
        {
            std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_workAllowed.notify_all();
        m_moreReaders.notify_all();
        for (std::thread& t : m_workers) t.join();
    }
    /// The outcome of row `r`, waiting for it; rows are taken in order.
    RowOutcome Take(std::size_t r);

private:
    struct Slot {
        std::size_t row = SIZE_MAX;
        RowOutcome outcome;
    };

    // The next row nobody has taken, if the window has room for it; under the lock.
    std::optional<std::size_t> Claim() {
        if (m_next >= m_files.size() || m_next >= m_consumed + m_window) return std::nullopt;
        return m_next++;
    }

    // Rows the run counts itself (user languages, unknown files) are left empty. `recent` is the
    // calling thread's own.
    RowOutcome Count(std::size_t r, platform::RecentFolder& recent) const;

    // A worker thread: counts the rows it claims until the run stops.
    void Work();

    // Stores row r's outcome, and sets the number of workers by where the last files came from.
    // Under the lock.
    void Store(std::size_t r, RowOutcome outcome);

    const RunFiles& m_files;
    const CountOptions& m_options;
    const LanguageResolver& m_resolver;
    std::atomic<int>& m_canc;
    platform::RecentFolder& m_runFolder;  // the run's thread's, also for the rows it counts in Take
    std::size_t m_window;
    std::vector<Slot> m_slots;
    std::size_t m_baseWorkers;
    std::size_t m_maxWorkers;
    std::size_t m_wanted = 0;  // workers that should be counting now
    std::size_t m_active = 0;  // workers counting, the others wait on m_moreReaders
    std::uint16_t m_recentDisk = 0;  // bit k: the file stored k files ago came from the disk
    std::size_t m_next = 0;
    std::size_t m_consumed = 0;
    std::size_t m_awaited = SIZE_MAX;  // the row the run sleeps for
    bool m_stop = false;
    std::mutex m_mutex;
    std::condition_variable m_workAllowed;   // workers wait for room in the window
    std::condition_variable m_outcomeReady;  // the run waits for the row it takes
    std::condition_variable m_moreReaders;   // added workers wait for files from the disk
    std::vector<std::thread> m_workers;
};

RowOutcome ReadAhead::Take(std::size_t r) {
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
            RowOutcome outcome = Count(*mine, m_runFolder);
            lock.lock();
            Store(*mine, std::move(outcome));
            continue;
        }
        m_awaited = r;
        m_outcomeReady.wait(lock);
        m_awaited = SIZE_MAX;
    }
    return std::move(slot.outcome);
}

void ReadAhead::Store(std::size_t r, RowOutcome outcome) {
    m_recentDisk = static_cast<std::uint16_t>(m_recentDisk << 1 | (outcome.file.waitedForDisk ? 1 : 0));
    const int fromDisk = std::popcount(m_recentDisk);
    if (outcome.file.waitedForDisk && fromDisk >= 4 && m_wanted < m_maxWorkers && !m_stop) {
        ++m_wanted;
        if (m_workers.size() < m_wanted) {
            ++m_active;
            m_workers.emplace_back([this] { Work(); });
        } else {
            m_moreReaders.notify_one();
        }
    } else if (fromDisk == 0 && m_wanted > m_baseWorkers) {
        --m_wanted;
    }
    // A worker may store a row the run counted itself (a user language's) after the run has
    // moved a whole window on: that late outcome must not take the slot from the later row.
    Slot& slot = m_slots[r % m_window];
    if (slot.row == SIZE_MAX || slot.row < r) slot = {r, std::move(outcome)};
}

RowOutcome ReadAhead::Count(std::size_t r, platform::RecentFolder& recent) const {
    RowOutcome outcome;
    const std::string path = m_files.Path(r);
    if (std::optional<ChosenLanguage> chosen = m_resolver.ByName(m_files.Name(r), m_files.Extension(r))) {
        if (chosen->source == LanguageSource::User) return outcome;
        outcome.file = CountFile(path, *chosen->classifier, m_options.cnoml, m_canc, &recent);
        outcome.language = std::move(chosen->name);
    } else if (m_resolver.ReadsInterpreterLines()) {
        outcome = CountByInterpreterLine(path, m_resolver, m_options, m_canc, recent);
    }
    return outcome;
}

void ReadAhead::Work() {
    platform::RecentFolder recent;
    for (;;) {
        std::size_t r;
        {
            std::unique_lock lock(m_mutex);
            if (m_active > m_wanted) {
                --m_active;
                m_moreReaders.wait(lock, [&] { return m_stop || m_active < m_wanted; });
                ++m_active;
            }
            std::optional<std::size_t> claimed;
            m_workAllowed.wait(lock, [&] { return m_stop || (claimed = Claim()).has_value(); });
            if (m_stop) return;
            r = *claimed;
        }
        RowOutcome outcome = Count(r, recent);
        bool awaited = false;
        {
            std::lock_guard lock(m_mutex);
            Store(r, std::move(outcome));
            awaited = m_awaited == r;
        }
        // The run is the only one waiting for outcomes, and only the one it waits for wakes it.
        if (awaited) m_outcomeReady.notify_one();
    }
}

// Where a run puts what each row gave: the observer always, the result's per-row vectors on request.
struct RowSink {
    RunObserver& observer;
    RunResult& result;
    bool keepRows;

    void Counted(std::size_t row, const FileCounts& counts, const std::string& language) {
        result.totals.Add(counts);
        observer.RowCounted(row, counts, language);
        if (!keepRows) return;
        result.counts[row] = counts;
        result.counted[row] = true;
        result.languages[row] = language;
    }
};

enum class RowEnd { Done, Cancelled, Unrecognised };

// Counts one row's file with its prompts. `attempt` counts the file once (a retry calls it again);
// with `readAhead` the first attempt takes the outcome a read-ahead worker counted. The status names
// the file before its outcome is waited for, so a large file shows while it is being read.
RowEnd CountRow(std::size_t row, std::size_t n, const std::string& path, const std::function<RowOutcome()>& attempt,
                const CountOptions& options, std::atomic<int>& canc, RowSink& sink, ReadAhead* readAhead) {
    RunObserver& observer = sink.observer;
    for (;;) {
        if (canc.load() == 1) return RowEnd::Cancelled;
        observer.SetStatus("Counting source file " + std::to_string(row + 1) + " of " + std::to_string(n));
        RowOutcome outcome;
        if (readAhead) {
            outcome = readAhead->Take(row);
            readAhead = nullptr;
        } else {
            outcome = attempt();
        }
        switch (outcome.file.status) {
            case FileStatus::Missing:
                if (observer.AskMissing(MissingMessage(path))) continue;
                return RowEnd::Done;  // skipped: row unchanged, nothing added
            case FileStatus::OpenFailed:
            case FileStatus::NotRegular:
                if (observer.AskOpenFailed(OpenForReadingMessage(path))) continue;
                outcome.file.counts = {};
                [[fallthrough]];
            case FileStatus::Counted:
                observer.WriteRow(row, RowCellTexts(outcome.file.counts, options.sps));
                sink.Counted(row, outcome.file.counts, outcome.language);
                return RowEnd::Done;
            case FileStatus::Cancelled: return RowEnd::Cancelled;
            case FileStatus::Unrecognised: return RowEnd::Unrecognised;
        }
    }
}

// A row that no table knows by its name: its "#!" line may name a language of the table; otherwise
// it is left out quietly when the list allows that, or the user is asked. -1 when the user chose to
// stop the run, else 0, also when the count was cancelled inside the file (the run sees the cancel
// flag before the next row).
int HandleCustomFile(std::size_t row, std::size_t n, const RunFiles& files, const std::string& ext,
                     const LanguageResolver& resolver, const CountOptions& options, std::atomic<int>& canc,
                     RowSink& sink, ReadAhead* readAhead, platform::RecentFolder& recent) {
    if (resolver.ReadsInterpreterLines()) {
        const std::string path = files.Path(row);
        const auto attempt = [&] { return CountByInterpreterLine(path, resolver, options, canc, recent); };
        if (CountRow(row, n, path, attempt, options, canc, sink, readAhead) != RowEnd::Unrecognised) return 0;
        if (files.MayLeaveOut(row)) {
            sink.observer.RowLeftOut(row);
            return 0;
        }
    }
    return sink.observer.AskUnknownExtension(UnknownExtensionMessage(ext)) ? 0 : -1;
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
        const LanguageResolver resolver(options, userLanguages);
        platform::RecentFolder recent;
        std::optional<ReadAhead> readAhead;
        if (jobs > 1 && n > 1) readAhead.emplace(files, options, resolver, canc, jobs, recent);
        for (std::size_t r = 0; r < n; ++r) {
            if (canc.load() == 1) break;
            observer.StartRow(r);
            const std::string path = files.Path(r);
            const std::string ext = files.Extension(r);
            ReadAhead* ahead = readAhead ? &*readAhead : nullptr;
            std::optional<ChosenLanguage> chosen = resolver.ByName(files.Name(r), ext);
            if (!chosen) {
                if (HandleCustomFile(r, n, files, ext, resolver, options, canc, sink, ahead, recent) == -1) break;
            } else {
                // A user language's row is counted here; the read-ahead leaves it alone.
                const bool user = chosen->source == LanguageSource::User;
                const auto attempt = [&] {
                    RowOutcome outcome;
                    outcome.file = CountFile(path, *chosen->classifier, options.cnoml, canc, &recent);
                    outcome.language = chosen->name;
                    return outcome;
                };
                const RowEnd end = CountRow(r, n, path, attempt, options, canc, sink, user ? nullptr : ahead);
                // A cancel inside a user language's file is seen before the next row.
                cancelledInFile = end == RowEnd::Cancelled && !user;
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
