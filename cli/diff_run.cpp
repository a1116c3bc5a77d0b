// Walks the two sorted file lists side by side and counts each file's change.
#include "cli/diff_run.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <thread>
#include <memory>
#include <optional>

#include "cli/languages.h"
#include "engine/dispatch.h"
#include "engine/line_categories.h"
#include "engine/path_split.h"
#include "platform/files.h"

namespace kordel::cli {
namespace {

using engine::BufferLines;
using engine::CountBuffer;
using engine::FileCounts;

// What one task (a pair or a one-sided file) gave.
struct Outcome {
    std::optional<DiffFile> file;
    std::vector<Skipped> skipped;
};

// A pair, or a file of one side (the other is null).
struct Task {
    const SideFile* before = nullptr;
    const SideFile* after = nullptr;
};

struct Counter {
    std::string language;
    std::unique_ptr<engine::LineClassifier> classifier;
};

std::optional<Counter> CounterFor(const std::string& ext, const engine::CountOptions& options,
                                  const engine::UserLanguageLookup* userLanguages) {
    if (const engine::BuiltinLanguage* builtin = engine::FindBuiltin(ext, options.dotf))
        return Counter{std::string(BuiltinLanguageName(ext, options.dotf)), builtin->make(options)};
    if (userLanguages)
        if (std::optional<engine::UserLanguageMatch> match = userLanguages->Find(ext, options))
            return Counter{std::move(match->name), std::move(match->classifier)};
    return std::nullopt;
}

// Counts one pair (or one side's file) at a time; one per worker thread, with its own repositories
// (libgit2 objects are not shared between threads) and line buffers.
class Differ {
public:
    Differ(const Side& oldSide, const Side& newSide, const engine::CountOptions& options,
           const engine::UserLanguageLookup* userLanguages, const ExtensionOf& extensionOf)
        : m_old(oldSide), m_new(newSide), m_options(options), m_userLanguages(userLanguages), m_extensionOf(extensionOf) {
        std::string error;
        if (oldSide.repository) m_oldRepository = Repository::Open(platform::PathFromText(oldSide.repository->GitFolder()), error);
        if (newSide.repository) m_newRepository = Repository::Open(platform::PathFromText(newSide.repository->GitFolder()), error);
    }

    // One side only: every line added or removed.
    void OneSide(const Side& side, const SideFile& file, Change change, Outcome& out) {
        std::optional<Counter> counter = Find(file.relative, out);
        SideBytes bytes;
        if (!counter || !Load(side, file, bytes, out)) return;
        DiffFile result{file.relative, counter->language, change, DiffCounts(m_options.cnoml)};
        result.counts.AddFile(CountBuffer(bytes.view(), *counter->classifier, false), change);
        out.file = std::move(result);
    }

    void Pair(const SideFile& before, const SideFile& after, Outcome& out) {
        std::optional<Counter> counter = Find(after.relative, out);
        if (!counter) return;
        DiffFile result{after.relative, counter->language, Change::Same, DiffCounts(m_options.cnoml)};
        SideBytes newBytes;
        if (before.blob && after.blob && *before.blob == *after.blob) {
            // The same blob: its lines are the same on both sides, whatever they are.
            if (!Load(m_new, after, newBytes, out)) return;
            result.counts.AddFile(CountBuffer(newBytes.view(), *counter->classifier, false), Change::Same);
            out.file = std::move(result);
            return;
        }
        SideBytes oldBytes;
        if (!Load(m_old, before, oldBytes, out) || !Load(m_new, after, newBytes, out)) return;
        if (oldBytes.view() == newBytes.view()) {
            result.counts.AddFile(CountBuffer(newBytes.view(), *counter->classifier, false), Change::Same);
            out.file = std::move(result);
            return;
        }
        CountBuffer(oldBytes.view(), *counter->classifier, false, &m_oldLines);
        const FileCounts newCounts = CountBuffer(newBytes.view(), *counter->classifier, false, &m_newLines);
        std::string error;
        if (m_oldLines.text == m_newLines.text) {
            // Other bytes, the same lines once read (CR LF against LF, bytes behind a Ctrl-Z).
            result.counts.AddFile(newCounts, Change::Same);
        } else if (!DiffLines(m_oldLines, m_newLines, result.counts, error)) {
            out.skipped.push_back({after.relative, "diff failed: " + error});
            return;
        }
        if (result.counts.HasChanges()) result.change = Change::Modified;
        out.file = std::move(result);
    }

private:
    std::optional<Counter> Find(const std::string& relative, Outcome& out) {
        std::optional<Counter> counter = CounterFor(m_extensionOf(relative), m_options, m_userLanguages);
        if (!counter) out.skipped.push_back({relative, "unknown extension"});
        return counter;
    }

    bool Load(const Side& side, const SideFile& file, SideBytes& bytes, Outcome& out) {
        std::string reason;
        const Repository* repository = &side == &m_old ? m_oldRepository.get() : m_newRepository.get();
        if (bytes.Load(side, file, reason, repository)) return true;
        out.skipped.push_back({file.path.empty() ? side.name + ":" + file.relative : file.path, reason});
        return false;
    }

    const Side& m_old;
    const Side& m_new;
    const engine::CountOptions& m_options;
    const engine::UserLanguageLookup* m_userLanguages;
    const ExtensionOf& m_extensionOf;
    std::unique_ptr<Repository> m_oldRepository;
    std::unique_ptr<Repository> m_newRepository;
    BufferLines m_oldLines;  // kept between files so that their storage is reused
    BufferLines m_newLines;
};

}  // namespace

void DiffSum::Add(const DiffFile& file) {
    ++files[static_cast<std::size_t>(file.change)];
    counts.Add(file.counts);
}

DiffReport DiffSides(const Side& oldSide, const Side& newSide, const engine::CountOptions& options,
                     const engine::UserLanguageLookup* userLanguages, const ExtensionOf& extensionOf,
                     Progress* progress, unsigned jobs) {
    const auto& olds = oldSide.files;
    const auto& news = newSide.files;
    std::vector<Task> tasks;
    if (oldSide.singleFile && newSide.singleFile && !olds.empty() && !news.empty()) {
        tasks.push_back({&olds.front(), &news.front()});
    } else {
        std::size_t i = 0, j = 0;
        while (i < olds.size() || j < news.size()) {
            if (j == news.size() || (i < olds.size() && olds[i].relative < news[j].relative))
                tasks.push_back({&olds[i++], nullptr});
            else if (i == olds.size() || news[j].relative < olds[i].relative)
                tasks.push_back({nullptr, &news[j++]});
            else
                tasks.push_back({&olds[i++], &news[j++]});
        }
    }

    std::vector<Outcome> outcomes(tasks.size());
    std::atomic<std::size_t> next{0};
    const auto work = [&] {
        Differ differ(oldSide, newSide, options, userLanguages, extensionOf);
        for (std::size_t t; (t = next.fetch_add(1)) < tasks.size();) {
            const Task& task = tasks[t];
            if (progress) progress->Counting(t, tasks.size(), (task.after ? task.after : task.before)->relative);
            if (!task.after) differ.OneSide(oldSide, *task.before, Change::Removed, outcomes[t]);
            else if (!task.before) differ.OneSide(newSide, *task.after, Change::Added, outcomes[t]);
            else differ.Pair(*task.before, *task.after, outcomes[t]);
        }
    };
    std::vector<std::thread> workers;
    for (unsigned w = 1; w < std::min<std::size_t>(std::max(jobs, 1u), tasks.size()); ++w) workers.emplace_back(work);
    work();
    for (std::thread& worker : workers) worker.join();

    DiffReport report;
    report.total.counts = DiffCounts(options.cnoml);
    std::map<std::string, DiffSum> byLanguage;
    for (Outcome& outcome : outcomes) {
        report.skipped.insert(report.skipped.end(), outcome.skipped.begin(), outcome.skipped.end());
        if (!outcome.file) continue;
        const DiffFile& file = *outcome.file;
        DiffSum& sum = byLanguage.try_emplace(file.language, DiffSum{file.language, {}, DiffCounts(options.cnoml)})
                           .first->second;
        sum.Add(file);
        report.total.Add(file);
        report.files.push_back(std::move(*outcome.file));
    }
    for (auto& [name, sum] : byLanguage) report.languages.push_back(std::move(sum));
    return report;
}

}  // namespace kordel::cli
