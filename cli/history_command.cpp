// The --history run: its options checked, the points chosen, the cache read, the points counted and
// written, the cache written back.
#include "cli/history_command.h"

#include <chrono>

#include "cli/history_keys.h"
#include "common/atomic_file.h"
#include "common/file_messages.h"
#include "engine/number_text.h"
#include "history/history_cache.h"
#include "history/history_points.h"
#include "outputs/history_output.h"
#include "outputs/row_output.h"
#include "sources/language_filter.h"
#include "vcs/git_repository.h"

namespace kordel::cli {
namespace {

// What a history cannot take: inputs of a plain count, per-file output, and the filters not applied to
// revisions yet (a revision's count would differ from the history's).
std::string Refused(const Options& o) {
    if (!o.inputs.empty() || !o.listFile.empty() || !o.stdinName.empty())
        return "--history counts the repository of the current folder: no PATH, --list or --stdin-name";
    if (!o.diff.empty()) return "--history and --diff go separately";
    if (o.byFile || o.percent || o.sort || !o.saveList.empty())
        return "--history takes none of --by-file, --percent, --sort, --save-list";
    if (o.maxFileSize > 0 || o.skipDuplicates || !o.vcs.empty() || o.followSymlinks)
        return "--history takes none of --max-file-size, --skip-duplicates, --vcs, --follow-symlinks";
    // A count of a revision does not apply these either; the history would leave them out in silence.
    if (o.skipGenerated || o.skipVendored || !o.ignoredFile.empty())
        return "--history takes none of --skip-generated, --skip-vendored, --ignored";
    if (o.format != outputs::Format::Table && o.format != outputs::Format::Csv && o.format != outputs::Format::Json &&
        o.format != outputs::Format::Svg)
        return "--history prints -f table, csv, json or svg";
    return {};
}

std::string Plural(std::size_t n, const char* one, const char* many) {
    return engine::AddCommas(std::to_string(n)) + " " + (n == 1 ? one : many);
}

// Which commits become points: --since, --until and --every.
struct PointChoice {
    std::optional<std::int64_t> since, until;
    history::Sampling sampling;
};

// Reads --since, --until and --every into `choice`; the usage error's text, or nothing.
std::string ParsePointChoice(const Options& o, PointChoice& choice) {
    if (!o.since.empty() && !(choice.since = history::ParseHistoryDate(o.since, false)))
        return "--since " + o.since + ": not a date (YYYY-MM-DD or YYYY-MM-DDTHH:MM[:SS])";
    if (!o.until.empty() && !(choice.until = history::ParseHistoryDate(o.until, true)))
        return "--until " + o.until + ": not a date (YYYY-MM-DD or YYYY-MM-DDTHH:MM[:SS])";
    if (!o.every.empty()) {
        const std::optional<history::Sampling> parsed = history::ParseSampling(o.every);
        if (!parsed) return "--every " + o.every + ": neither a number of commits nor day, week, month or tag";
        choice.sampling = *parsed;
    }
    return {};
}

// The history's repository and the commits of REV that become points, with their tags.
struct FoundPoints {
    std::unique_ptr<vcs::HistoryWalker> repository;
    std::vector<vcs::HistoryCommit> points;
    std::map<vcs::BlobId, std::vector<std::string>> tags;
};

// Opens the repository and chooses the points; false with the error reported.
bool FindPoints(const Options& o, const diff::SideContext& context, const PointChoice& choice, FoundPoints& found,
                Progress& progress) {
    if (!vcs::GitSupported()) {
        progress.Error("--history needs git support (libgit2), which this kordelc was built without");
        return false;
    }
    std::string error;
    found.repository = vcs::HistoryWalker::Open(context.repositoryFolder, error);
    std::vector<vcs::HistoryCommit> commits;
    bool cutShort = false;
    if (!found.repository || !found.repository->FirstParentCommits(*o.history, commits, error, &cutShort)) {
        progress.Error(error);
        return false;
    }
    if (cutShort)
        progress.Warn("this is a shallow clone: the history of " + *o.history + " starts at " +
                      vcs::HexId(commits.front().id) + ", the oldest commit fetched");
    found.tags = found.repository->TagsByCommit();
    for (std::size_t i : history::ChoosePoints(commits, choice.since, choice.until, choice.sampling, found.tags))
        found.points.push_back(commits[i]);
    if (found.points.empty()) progress.Warn("no commit of " + *o.history + " is in the dates and sampling given");
    return true;
}

// The progress line: points done and to do, the rate, the blobs counted.
history::HistoryProgress ProgressLine(Progress& progress, std::size_t points, const history::HistoryStats& stats) {
    const auto start = std::chrono::steady_clock::now();
    return [&progress, points, &stats, start](std::size_t done) {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const auto rate = static_cast<std::size_t>(seconds > 0 ? static_cast<double>(done) / seconds : 0);
        progress.Status("History: " + engine::AddCommas(std::to_string(done)) + " of " +
                        Plural(points, "point", "points") + " done, " + engine::AddCommas(std::to_string(rate)) +
                        " points/s, " + Plural(stats.blobsCounted, "blob", "blobs") + " counted");
    };
}

// The points counted in this run join the known ones for the cache. Totals met with unreadable files or
// files of no language are not kept: a rerun from them would not warn of those files again.
void KeepCountedPoints(const history::HistoryStats& stats, history::PointStore& known, history::PointStore& counted) {
    if (stats.unreadable > 0 || stats.noLanguage > 0) return;
    if (known.size() == 0) known = std::move(counted);
    else
        for (std::size_t i = 0; i < counted.size(); ++i) known.Add(counted.Commit(i), counted.Totals(i));
}

// Reads the cache named by --cache into the run's state; false when the file is no cache (it is then
// neither read nor overwritten). A damaged cache is reported and the run goes on without it.
bool ReadCache(const std::string& file, history::HistoryCache& cache, const history::HistoryCacheKeys& keys,
               history::HistoryLanguages& languages, history::HistoryMemo& memo, history::PointStore& knownPoints,
               Progress& progress) {
    std::string reason;
    switch (cache.Read(file, keys, languages, memo, knownPoints, reason)) {
        case history::HistoryCache::Load::NotACache:
            progress.Error("\"" + file + "\" is not a kordelc history cache; it is neither read nor overwritten");
            return false;
        case history::HistoryCache::Load::Damaged:
            progress.Warn("the cache \"" + file + "\" is damaged (" + reason + "); it is ignored and rewritten");
            break;
        case history::HistoryCache::Load::Missing:
        case history::HistoryCache::Load::Loaded:
            break;
    }
    return true;
}

outputs::HistoryOutputStyle StyleOf(const Options& o, const Console& console,
                                    const std::vector<vcs::HistoryCommit>& points) {
    outputs::HistoryOutputStyle style;
    style.format = o.format;
    style.aligned = console.outIsTerminal && o.output.empty();
    style.width = console.outWidth;
    style.title = (o.name.empty() ? std::string("Code lines by language") : o.name + ": code lines by language");
    if (!points.empty()) {
        style.firstTime = points.front().time;
        style.lastTime = points.back().time;
        style.title += ", " + history::FormatHistoryDate(style.firstTime).substr(0, 10) + " to " +
                       history::FormatHistoryDate(style.lastTime).substr(0, 10);
    }
    return style;
}

// A point's totals less the languages --include-lang and --exclude-lang take out of what is shown.
history::PointTotals FilteredTotals(const history::PointTotals& totals, const sources::LanguageFilter& filter,
                                    const history::HistoryLanguages& languages) {
    history::PointTotals filtered = totals;
    for (std::size_t l = 0; l < filtered.size(); ++l)
        if (!filter.Refusal(languages.Name(l)).empty()) filtered[l] = {};
    return filtered;
}

// Warns of the files the history could not count; the exit status they give.
int WarnOfUncounted(const history::HistoryStats& stats, Progress& progress) {
    int status = 0;
    if (stats.unreadable > 0) {
        progress.Warn(Plural(stats.unreadable, "file", "files") + " of the history could not be read; not counted");
        status = 1;
    }
    if (stats.noLanguage > 0) {
        progress.Warn(Plural(stats.noLanguage, "file", "files") + " of the history have no language; not counted");
        status = 1;
    }
    return status;
}

// The writer of the format asked for. Files get CR LF line ends like every file kordelc writes; CSV has
// them everywhere.
std::unique_ptr<outputs::HistoryWriter> WriterOf(const Options& o, const Console& console,
                                                 const std::vector<vcs::HistoryCommit>& points,
                                                 const history::HistoryLanguages& languages,
                                                 outputs::OutputTarget& target) {
    return outputs::MakeHistoryWriter(StyleOf(o, console, points), languages, [&o, &target](std::string_view text) {
        if (!o.output.empty() && o.format != outputs::Format::Csv) target.Write(ToCrLf(text));
        else target.Write(text);
    });
}

}  // namespace

int RunHistory(const Options& o, const engine::CountOptions& options, const engine::UserLanguageLookup& lookup,
               const std::vector<userlang::UserLanguage>& userLanguages, const diff::SideContext& context,
               const Console& console, Progress& progress, std::ostream& out) {
    const auto usage = [&](const std::string& message) {
        progress.Error(message + "\nRun 'kordelc --help' for the options.");
        return 2;
    };
    if (const std::string refused = Refused(o); !refused.empty()) return usage(refused);
    PointChoice choice;
    if (const std::string wrong = ParsePointChoice(o, choice); !wrong.empty()) return usage(wrong);
    sources::LanguageFilter languageFilter;
    if (std::string error; !languageFilter.Set(o.includeLangs, o.excludeLangs, userLanguages, error)) {
        progress.Error(error);
        return 2;
    }
    FoundPoints found;
    if (!FindPoints(o, context, choice, found, progress)) return 2;
    const std::vector<vcs::HistoryCommit>& points = found.points;

    history::HistoryLanguages languages(options, &lookup);
    history::HistoryMemo memo;
    history::PointStore knownPoints;
    history::HistoryCache cache;
    history::HistoryCacheKeys cacheKeys;
    if (!o.cache.empty()) {
        cacheKeys.blobCounts = BlobCountsKey(options, userLanguages);
        cacheKeys.pointTotals = PointTotalsKey(cacheKeys.blobCounts, context.filters, o);
        if (!ReadCache(o.cache, cache, cacheKeys, languages, memo, knownPoints, progress)) return 2;
    }
    const std::size_t pointsKnownBefore = knownPoints.size();

    outputs::OutputTarget target(out);
    if (!o.output.empty() && !target.OpenFile(o.output)) {
        progress.Error(OpenForWritingMessage(o.output));
        return 1;
    }
    const std::unique_ptr<outputs::HistoryWriter> writer = WriterOf(o, console, points, languages, target);

    history::HistoryInput input{*found.repository, points, diff::RevisionWanted(context), context.filters.ignoreFiles,
                                context.extensionOf, options, &lookup, o.jobs, &knownPoints};
    history::HistoryStats stats;
    // The points counted in this run join the cache's when it is written.
    history::PointStore countedPoints;
    const auto onPoint = [&](std::size_t p, const history::PointTotals& totals) {
        const vcs::HistoryCommit& commit = points[p];
        if (!o.cache.empty() && !knownPoints.Find(commit.id)) countedPoints.Add(commit.id, totals);
        const auto tagged = found.tags.find(commit.id);
        const outputs::HistoryPointInfo shown{vcs::HexId(commit.id), commit.time,
                                              tagged == found.tags.end() ? std::vector<std::string>{} : tagged->second};
        // The language filters take languages out of what is shown; the cache keeps them all.
        if (languageFilter.Active()) writer->Point(shown, FilteredTotals(totals, languageFilter, languages));
        else writer->Point(shown, totals);
    };
    std::string error;
    const bool counted = history::CountHistory(input, languages, memo, onPoint,
                                               ProgressLine(progress, points.size(), stats), stats, error);
    progress.Stop();
    if (!counted) {
        progress.Error(error);
        return 2;
    }
    writer->Finish();
    int status = WarnOfUncounted(stats, progress);
    KeepCountedPoints(stats, knownPoints, countedPoints);
    const bool cacheChanged = stats.blobsCounted > 0 || knownPoints.size() > pointsKnownBefore;
    if (!o.cache.empty() && cacheChanged && !cache.Write(o.cache, cacheKeys, languages, memo, knownPoints)) {
        progress.Error(OpenForWritingMessage(o.cache));
        status = 1;
    }
    if (!target.Commit()) {
        progress.Error(OpenForWritingMessage(o.output));
        return 1;
    }
    return status;
}

}  // namespace kordel::cli
