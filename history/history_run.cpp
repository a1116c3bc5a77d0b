// The history's pipeline: this thread compares trees and notes what each point adds and removes,
// counting threads read and count the blobs the memo lacks, and then the points are summed in order.
#include "history/history_run.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "sources/file_language.h"
#include "engine/known_languages.h"
#include "engine/language_resolver.h"
#include "engine/line_categories.h"
#include "engine/text_reader.h"

namespace kordel::history {
namespace {

// Points compared before their blobs are awaited and their totals handed on; fewer when many blobs wait.
constexpr std::size_t kPointsPerChunk = 256;
constexpr std::size_t kJobsPerChunk = 4096;

struct CountJob {
    MemoEntry* entry;       // a blob counted as the language its file's name calls for, or
    LineLanguage* line;     // one whose "#!" line tells its language
    vcs::BlobId blob;
    std::string extension;  // makes the counting thread's classifier for the entry's language
    engine::FileCounts counts;
    MemoEntry::State state = MemoEntry::State::Pending;
    std::string lineLanguage;  // the language the "#!" line named
};

// Counting threads, each with its own repository handle and classifiers; jobs are taken in order.
class BlobCounters {
public:
    BlobCounters(const HistoryInput& input, const std::string& gitFolder);
    ~BlobCounters();

    void Add(MemoEntry* entry, const std::string& extension) { Push({entry, nullptr, entry->blob, extension, {}, {}, {}}); }
    void AddByLine(LineLanguage* line, const vcs::BlobId& blob) { Push({nullptr, line, blob, {}, {}, {}, {}}); }

    /// Waits for every job added so far, hands each to `onDone` and forgets them.
    template <class F>
    void Finish(F&& onDone) {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [&] { return m_finished == m_jobs.size(); });
        for (CountJob& job : m_jobs) onDone(job);
        m_jobs.clear();
        m_taken = m_finished = 0;
    }

    std::size_t Pending() {
        std::lock_guard lock(m_mutex);
        return m_jobs.size();
    }

private:
    void Push(CountJob job) {
        {
            std::lock_guard lock(m_mutex);
            m_jobs.push_back(std::move(job));
        }
        m_work.notify_one();
    }

    // Reads the blob and counts it as its "#!" line says.
    void CountByLine(const vcs::RevisionReader* repository, CountJob& job) const;
    // A counting thread: takes the next job until the counters close.
    void Work(const std::string& gitFolder);

    const HistoryInput& m_input;
    const engine::LanguageResolver m_resolver;
    std::mutex m_mutex;
    std::condition_variable m_work, m_done;
    std::deque<CountJob> m_jobs;
    std::size_t m_taken = 0, m_finished = 0;
    bool m_closing = false;
    std::vector<std::thread> m_threads;
};

BlobCounters::BlobCounters(const HistoryInput& input, const std::string& gitFolder)
    : m_input(input), m_resolver(input.options, input.userLanguages) {
    const unsigned threads = std::max(1u, input.jobs);
    for (unsigned i = 0; i < threads; ++i) m_threads.emplace_back([this, gitFolder] { Work(gitFolder); });
}

BlobCounters::~BlobCounters() {
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
    }
    m_work.notify_all();
    for (std::thread& t : m_threads) t.join();
}

void BlobCounters::CountByLine(const vcs::RevisionReader* repository, CountJob& job) const {
    const vcs::BlobBytes bytes = repository ? repository->ReadBlob(job.blob) : vcs::BlobBytes();
    if (!bytes.ok()) {
        job.state = MemoEntry::State::Unreadable;
        return;
    }
    std::optional<engine::ChosenLanguage> chosen = m_resolver.ByInterpreterLine(bytes.view());
    if (!chosen) {
        job.state = MemoEntry::State::NoLanguage;
        return;
    }
    job.counts = engine::CountBuffer(bytes.view(), *chosen->classifier, m_input.options.cnoml);
    job.lineLanguage = std::move(chosen->name);
    job.state = MemoEntry::State::Counted;
}

void BlobCounters::Work(const std::string& gitFolder) {
    std::string error;
    const std::unique_ptr<vcs::RevisionReader> repository = vcs::RevisionReader::Open(gitFolder, error);
    std::map<std::uint16_t, std::unique_ptr<engine::LineClassifier>> classifiers;
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [&] { return m_taken < m_jobs.size() || m_closing; });
        if (m_taken == m_jobs.size()) return;
        CountJob& job = m_jobs[m_taken++];  // a deque's elements stay put as others are added
        if (job.line) {
            lock.unlock();
            CountByLine(repository.get(), job);
            lock.lock();
            if (++m_finished == m_jobs.size()) m_done.notify_all();
            continue;
        }
        const std::uint16_t language = job.entry->language;
        const vcs::BlobId blob = job.blob;
        std::unique_ptr<engine::LineClassifier>& classifier = classifiers[language];
        if (!classifier) {
            std::optional<sources::FileLanguage> made =
                sources::LanguageOf(job.extension, m_input.options, m_input.userLanguages);
            if (made) classifier = std::move(made->classifier);
        }
        lock.unlock();
        MemoEntry::State state = MemoEntry::State::NoLanguage;
        engine::FileCounts counts;
        if (classifier) {
            // Read piece by piece: a loose blob is never held whole, and a damaged one (which
            // libgit2 would inflate for ever) ends its read and is not counted.
            vcs::BlobStream stream;
            engine::TextModeReader reader;
            state = MemoEntry::State::Unreadable;
            if (repository && stream.Open(*repository, blob, reader)) {
                counts = engine::CountReader(reader, *classifier, m_input.options.cnoml);
                if (stream.Damaged()) counts = {};
                else state = MemoEntry::State::Counted;
            }
        }
        lock.lock();
        job.counts = counts;
        job.state = state;
        if (++m_finished == m_jobs.size()) m_done.notify_all();
    }
}

// A file entering (+1) or leaving (-1) a point: its blob's entry, or what its "#!" line made of it.
struct Delta {
    const MemoEntry* entry;
    const LineLanguage* line;
    int sign;
    bool silent;  // a file without an extension whose "#!" line names no language is left out quietly

    const MemoEntry* Counted() const {
        if (line) return line->state == MemoEntry::State::Counted ? line->counted : nullptr;
        return entry->state == MemoEntry::State::Counted ? entry : nullptr;
    }
    MemoEntry::State State() const { return line ? line->state : entry->state; }
};

void Apply(const BlobMemo& memo, const Delta& d, PointTotals& totals, HistoryStats& stats) {
    const MemoEntry* entry = d.Counted();
    if (!entry) {
        // Only files that enter count their blob's failure, so a file is reported once.
        if (d.sign < 0 || d.silent) return;
        if (d.State() == MemoEntry::State::Unreadable) ++stats.unreadable;
        if (d.State() == MemoEntry::State::NoLanguage) ++stats.noLanguage;
        return;
    }
    if (totals.size() <= entry->language) totals.resize(entry->language + 1u);
    LanguageTotal& t = totals[entry->language];
    const engine::FileCounts c = memo.Counts(*entry);
    t.files += d.sign;
    t.counts.ii += d.sign * c.ii;
    t.counts.inoc += d.sign * c.inoc;
    t.counts.inoml += d.sign * c.inoml;
    t.counts.inos += d.sign * c.inos;
    t.counts.nl3 += d.sign * c.nl3;
}

}  // namespace

int HistoryLanguages::IndexOf(const std::string& extension) {
    const auto it = m_byExtension.find(extension);
    if (it != m_byExtension.end()) return it->second;
    int index = -1;
    if (std::optional<sources::FileLanguage> language = sources::LanguageOf(extension, m_options, m_userLanguages)) {
        index = Intern(language->name, language->user);
        if (m_extensions[static_cast<std::size_t>(index)].empty()) m_extensions[static_cast<std::size_t>(index)] = extension;
    }
    m_byExtension.emplace(extension, index);
    return index;
}

std::uint16_t HistoryLanguages::Intern(const std::string& name, bool user) {
    for (std::size_t i = 0; i < m_names.size(); ++i)
        if (m_names[i] == name && m_user[i] == user) return static_cast<std::uint16_t>(i);
    if (m_names.size() >= 0xFFFF) throw std::length_error("too many languages in one history");
    m_names.push_back(name);
    m_user.push_back(user);
    m_extensions.emplace_back();
    return static_cast<std::uint16_t>(m_names.size() - 1);
}

bool CountHistory(const HistoryInput& input, HistoryLanguages& languages, HistoryMemo& memo,
                  const OnPointTotals& onPoint, const HistoryProgress& onProgress, HistoryStats& stats,
                  std::string& error) {
    BlobCounters counters(input, input.repository.GitFolder());
    const engine::LanguageResolver resolver(input.options, input.userLanguages);
    PointTotals totals;
    std::vector<Delta> deltas;
    std::vector<std::size_t> pointEnds;
    std::vector<std::optional<std::span<const LanguageTotal>>> known;  // per point of the chunk, when known
    const vcs::BlobId* previous = nullptr;
    const auto onChange = [&](const std::string& relative, const vcs::BlobId& blob, int sign) {
        const int language = languages.IndexOf(engine::LookupName(relative, input.extensionOf(relative)));
        const bool noExtension = engine::HasNoExtension(std::string_view(relative).substr(relative.rfind('/') + 1));
        if (language >= 0) {
            bool added = false;
            MemoEntry& entry = memo.counts.Find(blob, static_cast<std::uint16_t>(language), added);
            if (added) counters.Add(&entry, languages.Extension(static_cast<std::size_t>(language)));
            deltas.push_back({&entry, nullptr, sign, false});
        } else if (resolver.ReadsInterpreterLines()) {
            // No table knows the name: the blob's "#!" line decides, as in a count of the revision, which
            // leaves the file out quietly when the line names no language.
            const auto [it, added] = memo.lines.try_emplace(blob);
            if (added) counters.AddByLine(&it->second, blob);
            deltas.push_back({nullptr, &it->second, sign, true});
        } else if (sign > 0 && !noExtension) {
            ++stats.noLanguage;
        }
    };
    for (std::size_t first = 0; first < input.points.size();) {
        std::size_t end = first;
        while (end < input.points.size() && end - first < kPointsPerChunk) {
            const vcs::HistoryCommit& point = input.points[end];
            const std::optional<std::span<const LanguageTotal>> knownTotals =
                input.knownPoints ? input.knownPoints->Find(point.id) : std::nullopt;
            if (!knownTotals &&
                !input.repository.CompareTrees(previous, point.tree, input.wanted, input.ignoreFiles, onChange, error))
                return false;
            previous = &point.tree;
            pointEnds.push_back(deltas.size());
            known.push_back(knownTotals);
            ++end;
            if (counters.Pending() >= kJobsPerChunk) break;
        }
        counters.Finish([&](CountJob& job) {
            if (job.line) {
                job.line->state = job.state;
                if (job.state != MemoEntry::State::Counted) return;
                bool added = false;
                MemoEntry& entry = memo.counts.Find(job.blob, languages.Intern(job.lineLanguage, false), added);
                if (entry.state != MemoEntry::State::Counted) {
                    memo.counts.Store(entry, job.counts);
                    ++stats.blobsCounted;
                }
                job.line->counted = &entry;
            } else if (job.state == MemoEntry::State::Counted) {
                memo.counts.Store(*job.entry, job.counts);
                ++stats.blobsCounted;
            } else {
                job.entry->state = job.state;
            }
        });
        std::size_t at = 0;
        for (std::size_t p = first; p < end; ++p) {
            if (const std::optional<std::span<const LanguageTotal>>& knownTotals = known[p - first]) {
                totals.assign(knownTotals->begin(), knownTotals->end());
            } else {
                for (const std::size_t stop = pointEnds[p - first]; at < stop; ++at)
                    Apply(memo.counts, deltas[at], totals, stats);
            }
            onPoint(p, totals);
        }
        deltas.clear();
        pointEnds.clear();
        known.clear();
        first = end;
        if (onProgress) onProgress(first);
    }
    return true;
}

}  // namespace kordel::history
