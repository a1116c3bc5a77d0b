// Walks the two sorted file lists side by side and counts each file's change.
#include "diff/diff_run.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <thread>
#include <memory>
#include <optional>

#include "sources/languages.h"
#include "sources/rows.h"
#include "engine/dispatch.h"
#include "engine/language_resolver.h"
#include "engine/line_categories.h"
#include "engine/path_split.h"
#include "platform/files.h"

namespace kordel::diff {
namespace {

using engine::BufferLines;
using engine::FileCounts;

// What one task (a pair or a one-sided file) gave.
struct Outcome {
    std::optional<DiffFile> file;
    std::vector<sources::Skipped> skipped;
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

// Counts one pair (or one side's file) at a time; one per worker thread, with its own repositories
// (libgit2 objects are not shared between threads) and line buffers.
class Differ {
public:
    Differ(const Side& oldSide, const Side& newSide, const engine::CountOptions& options,
           const engine::UserLanguageLookup* userLanguages, const ExtensionOf& extensionOf);

    // One side only: every line added or removed.
    void OneSide(const Side& side, const SideFile& file, Change change, Outcome& out);

    // A pair is listed under its new file's language; each side is counted by its own language, so
    // two single files of different languages compare their lines by their own categories.
    void Pair(const SideFile& before, const SideFile& after, Outcome& out);

private:
    // The file's counter by its name; when no table knows the name, by the #! line of its bytes, which
    // are then loaded into `bytes` (`loaded`). A file found in a folder or a revision that names no
    // language there was taken for its #! line only and is left out without a word.
    std::optional<Counter> Find(const Side& side, const SideFile& file, Outcome& out, SideBytes& bytes, bool& loaded);

    bool Load(const Side& side, const SideFile& file, SideBytes& bytes, Outcome& out);

    bool Count(const Side& side, const SideFile& file, SideBytes& bytes, engine::LineClassifier& classifier,
               FileCounts& counts, BufferLines* lines, Outcome& out);

    static void Skip(const Side& side, const SideFile& file, const std::string& reason, Outcome& out);

    const Side& m_old;
    const Side& m_new;
    const engine::CountOptions& m_options;
    const engine::UserLanguageLookup* m_userLanguages;
    const ExtensionOf& m_extensionOf;
    std::unique_ptr<vcs::RevisionReader> m_oldRepository;
    std::unique_ptr<vcs::RevisionReader> m_newRepository;
    BufferLines m_oldLines;  // kept between files so that their storage is reused
    BufferLines m_newLines;
};

Differ::Differ(const Side& oldSide, const Side& newSide, const engine::CountOptions& options,
               const engine::UserLanguageLookup* userLanguages, const ExtensionOf& extensionOf)
    : m_old(oldSide), m_new(newSide), m_options(options), m_userLanguages(userLanguages), m_extensionOf(extensionOf) {
    std::string error;
    if (oldSide.repository)
        m_oldRepository = vcs::RevisionReader::Open(platform::PathFromText(oldSide.repository->GitFolder()), error);
    if (newSide.repository)
        m_newRepository = vcs::RevisionReader::Open(platform::PathFromText(newSide.repository->GitFolder()), error);
}

void Differ::OneSide(const Side& side, const SideFile& file, Change change, Outcome& out) {
    SideBytes bytes;
    bool loaded = false;
    std::optional<Counter> counter = Find(side, file, out, bytes, loaded);
    if (!counter || (!loaded && !Load(side, file, bytes, out))) return;
    DiffFile result{file.relative, counter->language, change, DiffCounts(m_options.cnoml), {}};
    FileCounts counts;
    if (!Count(side, file, bytes, *counter->classifier, counts, nullptr, out)) return;
    result.counts.AddFile(counts, change);
    out.file = std::move(result);
}

void Differ::Pair(const SideFile& before, const SideFile& after, Outcome& out) {
    SideBytes newBytes;
    bool loaded = false;
    std::optional<Counter> counter = Find(m_new, after, out, newBytes, loaded);
    if (!counter) return;
    // Files of other names may be of other languages: the old side is then counted by its own.
    SideBytes oldBytes;
    bool oldLoaded = false;
    std::optional<Counter> oldCounter;
    if (before.relative != after.relative) {
        oldCounter = Find(m_old, before, out, oldBytes, oldLoaded);
        if (!oldCounter) return;
        if (oldCounter->language == counter->language) oldCounter.reset();
    }
    engine::LineClassifier& oldClassifier = oldCounter ? *oldCounter->classifier : *counter->classifier;
    DiffFile result{after.relative, counter->language, Change::Same, DiffCounts(m_options.cnoml), {}};
    if (oldCounter) result.oldLanguage = oldCounter->language;
    if (!oldCounter && before.blob && after.blob && *before.blob == *after.blob) {
        // The same blob: its lines are the same on both sides, whatever they are.
        if (!loaded && !Load(m_new, after, newBytes, out)) return;
        FileCounts counts;
        if (!Count(m_new, after, newBytes, *counter->classifier, counts, nullptr, out)) return;
        result.counts.AddFile(counts, Change::Same);
        out.file = std::move(result);
        return;
    }
    if ((!oldLoaded && !Load(m_old, before, oldBytes, out)) || (!loaded && !Load(m_new, after, newBytes, out))) return;
    // Two files on disk with the same bytes; blobs are not held whole, and the same lines below
    // give the same answer.
    if (!oldCounter && oldBytes.Whole() && newBytes.Whole() && *oldBytes.Whole() == *newBytes.Whole()) {
        FileCounts counts;
        if (!Count(m_new, after, newBytes, *counter->classifier, counts, nullptr, out)) return;
        result.counts.AddFile(counts, Change::Same);
        out.file = std::move(result);
        return;
    }
    // The line diff needs both sides' lines: about each side's size is held, never its blob as well.
    FileCounts oldCounts, newCounts;
    if (!Count(m_old, before, oldBytes, oldClassifier, oldCounts, &m_oldLines, out) ||
        !Count(m_new, after, newBytes, *counter->classifier, newCounts, &m_newLines, out))
        return;
    std::string error;
    if (!oldCounter && m_oldLines.text == m_newLines.text) {
        // Other bytes, the same lines once read (CR LF against LF, bytes behind a Ctrl-Z).
        result.counts.AddFile(newCounts, Change::Same);
    } else if (!DiffLines(m_oldLines, m_newLines, result.counts, error)) {
        out.skipped.push_back({after.relative, "diff failed: " + error});
        return;
    }
    if (result.counts.HasChanges()) result.change = Change::Modified;
    out.file = std::move(result);
}

std::optional<Counter> Differ::Find(const Side& side, const SideFile& file, Outcome& out, SideBytes& bytes,
                                    bool& loaded) {
    const engine::LanguageResolver resolver(m_options, m_userLanguages);
    const std::string ext = m_extensionOf(file.relative);
    std::optional<engine::ChosenLanguage> chosen = resolver.ByName(file.relative, ext);
    if (!chosen && resolver.ReadsInterpreterLines()) {
        if (!Load(side, file, bytes, out)) return std::nullopt;
        loaded = true;
        chosen = resolver.ByInterpreterLine(bytes.Start());
        if (!chosen && side.walked) return std::nullopt;
    }
    if (!chosen) {
        out.skipped.push_back({file.relative, "unknown extension"});
        return std::nullopt;
    }
    std::string name =
        chosen->name.empty() ? std::string(sources::BuiltinLanguageName(ext, m_options.dotf)) : chosen->name;
    return Counter{std::move(name), std::move(chosen->classifier)};
}

bool Differ::Load(const Side& side, const SideFile& file, SideBytes& bytes, Outcome& out) {
    std::string reason;
    const vcs::RevisionReader* repository = &side == &m_old ? m_oldRepository.get() : m_newRepository.get();
    if (bytes.Load(side, file, reason, repository)) return true;
    Skip(side, file, reason, out);
    return false;
}

bool Differ::Count(const Side& side, const SideFile& file, SideBytes& bytes, engine::LineClassifier& classifier,
                   FileCounts& counts, BufferLines* lines, Outcome& out) {
    std::string reason;
    if (bytes.Count(classifier, counts, lines, reason)) return true;
    Skip(side, file, reason, out);
    return false;
}

void Differ::Skip(const Side& side, const SideFile& file, const std::string& reason, Outcome& out) {
    out.skipped.push_back({file.path.empty() ? side.name + ":" + file.relative : file.path, reason});
}

}  // namespace

void DiffSum::Add(const DiffFile& file) {
    ++files[static_cast<std::size_t>(file.change)];
    counts.Add(file.counts);
}

DiffReport DiffSides(const Side& oldSide, const Side& newSide, const engine::CountOptions& options,
                     const engine::UserLanguageLookup* userLanguages, const ExtensionOf& extensionOf,
                     sources::Activity* progress, unsigned jobs) {
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
    // Ordered as a plain count orders its languages: by the new side's code lines (same, modified and
    // added), largest first, with the desktop's rule for ties, the languages taken in name order.
    std::vector<std::uint64_t> keys;
    for (auto& [name, sum] : byLanguage) {
        keys.push_back(static_cast<std::uint64_t>(sum.counts.Get(engine::LineCategory::Code, Change::Same) +
                                                  sum.counts.Get(engine::LineCategory::Code, Change::Modified) +
                                                  sum.counts.Get(engine::LineCategory::Code, Change::Added)));
        report.languages.push_back(std::move(sum));
    }
    sources::ApplyDesktopOrder(report.languages, keys, false);
    return report;
}

}  // namespace kordel::diff
