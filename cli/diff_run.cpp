// Walks the two sorted file lists side by side and counts each file's change.
#include "cli/diff_run.h"

#include <map>
#include <memory>
#include <optional>

#include "engine/dispatch.h"
#include "engine/line_categories.h"
#include "engine/path_split.h"

namespace kordel::cli {
namespace {

using engine::BufferLines;
using engine::CountBuffer;
using engine::FileCounts;

struct Counter {
    std::string language;
    std::unique_ptr<engine::LineClassifier> classifier;
};

std::optional<Counter> CounterFor(const std::string& relative, const engine::CountOptions& options,
                                  const engine::UserLanguageLookup* userLanguages) {
    const std::string_view ext = engine::PathExtension(relative);
    if (const engine::BuiltinLanguage* builtin = engine::FindBuiltin(ext, options.dotf))
        return Counter{std::string(builtin->language), builtin->make(options)};
    if (userLanguages)
        if (std::optional<engine::UserLanguageMatch> match = userLanguages->Find(ext, options))
            return Counter{std::move(match->name), std::move(match->classifier)};
    return std::nullopt;
}

class Differ {
public:
    Differ(const Side& oldSide, const Side& newSide, const engine::CountOptions& options,
           const engine::UserLanguageLookup* userLanguages, DiffReport& report)
        : m_old(oldSide), m_new(newSide), m_options(options), m_userLanguages(userLanguages), m_report(report) {}

    // One side only: every line added or removed. `file` is the side's file, `relative` the name shown.
    void OneSide(const Side& side, const SideFile& file, Change change) {
        std::optional<Counter> counter = Find(file.relative);
        SideBytes bytes;
        if (!counter || !Load(side, file, bytes)) return;
        DiffFile result{file.relative, counter->language, change, DiffCounts(m_options.cnoml)};
        result.counts.AddFile(CountBuffer(bytes.view(), *counter->classifier, false), change);
        m_report.files.push_back(std::move(result));
    }

    void Pair(const SideFile& before, const SideFile& after) {
        std::optional<Counter> counter = Find(after.relative);
        if (!counter) return;
        DiffFile result{after.relative, counter->language, Change::Same, DiffCounts(m_options.cnoml)};
        SideBytes newBytes;
        if (before.blob && after.blob && *before.blob == *after.blob) {
            // The same blob: its lines are the same on both sides, whatever they are.
            if (!Load(m_new, after, newBytes)) return;
            result.counts.AddFile(CountBuffer(newBytes.view(), *counter->classifier, false), Change::Same);
            m_report.files.push_back(std::move(result));
            return;
        }
        SideBytes oldBytes;
        if (!Load(m_old, before, oldBytes) || !Load(m_new, after, newBytes)) return;
        if (oldBytes.view() == newBytes.view()) {
            result.counts.AddFile(CountBuffer(newBytes.view(), *counter->classifier, false), Change::Same);
            m_report.files.push_back(std::move(result));
            return;
        }
        CountBuffer(oldBytes.view(), *counter->classifier, false, &m_oldLines);
        const FileCounts newCounts = CountBuffer(newBytes.view(), *counter->classifier, false, &m_newLines);
        std::string error;
        if (m_oldLines.text == m_newLines.text) {
            // Other bytes, the same lines once read (CR LF against LF, bytes behind a Ctrl-Z).
            result.counts.AddFile(newCounts, Change::Same);
        } else if (!DiffLines(m_oldLines, m_newLines, result.counts, error)) {
            m_report.skipped.push_back({after.relative, "diff failed: " + error});
            return;
        }
        if (result.counts.HasChanges()) result.change = Change::Modified;
        m_report.files.push_back(std::move(result));
    }

private:
    std::optional<Counter> Find(const std::string& relative) {
        std::optional<Counter> counter = CounterFor(relative, m_options, m_userLanguages);
        if (!counter) m_report.skipped.push_back({relative, "unknown extension"});
        return counter;
    }

    bool Load(const Side& side, const SideFile& file, SideBytes& bytes) {
        std::string reason;
        if (bytes.Load(side, file, reason)) return true;
        m_report.skipped.push_back({file.path.empty() ? side.name + ":" + file.relative : file.path, reason});
        return false;
    }

    const Side& m_old;
    const Side& m_new;
    const engine::CountOptions& m_options;
    const engine::UserLanguageLookup* m_userLanguages;
    DiffReport& m_report;
    BufferLines m_oldLines;  // kept between files so that their storage is reused
    BufferLines m_newLines;
};

}  // namespace

void DiffSum::Add(const DiffFile& file) {
    ++files[static_cast<std::size_t>(file.change)];
    counts.Add(file.counts);
}

DiffReport DiffSides(const Side& oldSide, const Side& newSide, const engine::CountOptions& options,
                     const engine::UserLanguageLookup* userLanguages, Progress* progress) {
    DiffReport report;
    report.total.counts = DiffCounts(options.cnoml);
    Differ differ(oldSide, newSide, options, userLanguages, report);
    const auto& olds = oldSide.files;
    const auto& news = newSide.files;
    const std::size_t total = olds.size() + news.size();
    const auto tick = [&](std::size_t i, std::size_t j, const SideFile& f) {
        if (progress) progress->Counting(i + j, total, f.relative);
    };
    if (oldSide.singleFile && newSide.singleFile && !olds.empty() && !news.empty()) {
        differ.Pair(olds.front(), news.front());
    } else {
        std::size_t i = 0, j = 0;
        while (i < olds.size() || j < news.size()) {
            if (j == news.size() || (i < olds.size() && olds[i].relative < news[j].relative)) {
                tick(i, j, olds[i]);
                differ.OneSide(oldSide, olds[i++], Change::Removed);
            } else if (i == olds.size() || news[j].relative < olds[i].relative) {
                tick(i, j, news[j]);
                differ.OneSide(newSide, news[j++], Change::Added);
            } else {
                tick(i, j, news[j]);
                differ.Pair(olds[i++], news[j++]);
            }
        }
    }
    std::map<std::string, DiffSum> byLanguage;
    for (const DiffFile& file : report.files) {
        DiffSum& sum = byLanguage.try_emplace(file.language, DiffSum{file.language, {}, DiffCounts(options.cnoml)})
                           .first->second;
        sum.Add(file);
        report.total.Add(file);
    }
    for (auto& [name, sum] : byLanguage) report.languages.push_back(std::move(sum));
    return report;
}

}  // namespace kordel::cli
