// The --history run: its options checked, the points chosen, the cache read, the points counted and
// written, the cache written back.
#include "cli/history_command.h"

#include <chrono>

#include "cli/history_keys.h"
#include "cli/history_output.h"
#include "cli/language_filter.h"
#include "cli/row_output.h"
#include "common/atomic_file.h"
#include "common/file_messages.h"
#include "engine/number_text.h"
#include "history/history_cache.h"
#include "history/history_points.h"
#include "vcs/git_repo.h"

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
    if (o.format != Format::Table && o.format != Format::Csv && o.format != Format::Json && o.format != Format::Svg)
        return "--history prints -f table, csv, json or svg";
    return {};
}

std::string Plural(std::size_t n, const char* one, const char* many) {
    return engine::AddCommas(std::to_string(n)) + " " + (n == 1 ? one : many);
}

}  // namespace

int RunHistory(const Options& o, const engine::CountOptions& options, const engine::UserLanguageLookup& lookup,
               const std::vector<userlang::UserLanguage>& userLanguages, const SideContext& context,
               const Console& console, Progress& progress, std::ostream& out) {
    const auto usage = [&](const std::string& message) {
        progress.Error(message + "\nRun 'kordelc --help' for the options.");
        return 2;
    };
    if (const std::string refused = Refused(o); !refused.empty()) return usage(refused);
    std::optional<std::int64_t> since, until;
    if (!o.since.empty() && !(since = ParseHistoryDate(o.since, false)))
        return usage("--since " + o.since + ": not a date (YYYY-MM-DD or YYYY-MM-DDTHH:MM[:SS])");
    if (!o.until.empty() && !(until = ParseHistoryDate(o.until, true)))
        return usage("--until " + o.until + ": not a date (YYYY-MM-DD or YYYY-MM-DDTHH:MM[:SS])");
    Sampling sampling;
    if (!o.every.empty()) {
        const std::optional<Sampling> parsed = ParseSampling(o.every);
        if (!parsed) return usage("--every " + o.every + ": neither a number of commits nor day, week, month or tag");
        sampling = *parsed;
    }
    if (!GitSupported()) {
        progress.Error("--history needs git support (libgit2), which this kordelc was built without");
        return 2;
    }

    LanguageFilter languageFilter;
    if (std::string error; !languageFilter.Set(o.includeLangs, o.excludeLangs, userLanguages, error)) {
        progress.Error(error);
        return 2;
    }
    std::string error;
    const std::unique_ptr<HistoryRepository> repository = HistoryRepository::Open(context.repositoryFolder, error);
    std::vector<HistoryCommit> commits;
    if (!repository || !repository->FirstParentCommits(*o.history, commits, error)) {
        progress.Error(error);
        return 2;
    }
    const std::map<BlobId, std::vector<std::string>> tags = repository->TagsByCommit();
    std::vector<HistoryCommit> points;
    for (std::size_t i : ChoosePoints(commits, since, until, sampling, tags)) points.push_back(commits[i]);
    if (points.empty()) progress.Warn("no commit of " + *o.history + " is in the dates and sampling given");

    HistoryLanguages languages(options, &lookup);
    HistoryMemo memo;
    PointStore knownPoints;
    HistoryCache cache;
    HistoryCacheKeys cacheKeys;
    if (!o.cache.empty()) {
        cacheKeys.blobCounts = BlobCountsKey(options, userLanguages);
        cacheKeys.pointTotals = PointTotalsKey(cacheKeys.blobCounts, context.filters, o);
        std::string reason;
        switch (cache.Read(o.cache, cacheKeys, languages, memo, knownPoints, reason)) {
            case HistoryCache::Load::NotACache:
                progress.Error("\"" + o.cache + "\" is not a kordelc history cache; it is neither read nor overwritten");
                return 2;
            case HistoryCache::Load::Damaged:
                progress.Warn("the cache \"" + o.cache + "\" is damaged (" + reason + "); it is ignored and rewritten");
                break;
            case HistoryCache::Load::Missing:
            case HistoryCache::Load::Loaded: break;
        }
    }

    const std::size_t pointsKnownBefore = knownPoints.size();

    OutputTarget target(out);
    if (!o.output.empty() && !target.OpenFile(o.output)) {
        progress.Error(OpenForWritingMessage(o.output));
        return 1;
    }
    HistoryOutputStyle style;
    style.format = o.format;
    style.aligned = console.outIsTerminal && o.output.empty();
    style.width = console.outWidth;
    style.title = (o.name.empty() ? std::string("Code lines by language") : o.name + ": code lines by language");
    if (!points.empty()) {
        style.firstTime = points.front().time;
        style.lastTime = points.back().time;
        style.title += ", " + FormatHistoryDate(style.firstTime).substr(0, 10) + " to " +
                       FormatHistoryDate(style.lastTime).substr(0, 10);
    }
    // Files get CR LF line ends like every file kordelc writes; CSV has them everywhere.
    const bool crlf = !o.output.empty();
    const std::unique_ptr<HistoryWriter> writer = MakeHistoryWriter(style, languages, [&](std::string_view text) {
        if (crlf && o.format != Format::Csv) target.Write(ToCrLf(text));
        else target.Write(text);
    });

    HistoryInput input{*repository, points, RevisionWanted(context), context.filters.ignoreFiles, context.extensionOf,
                       options, &lookup, o.jobs, &knownPoints};
    HistoryStats stats;
    const auto start = std::chrono::steady_clock::now();
    const auto onProgress = [&](std::size_t done) {
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const auto rate = static_cast<std::size_t>(seconds > 0 ? static_cast<double>(done) / seconds : 0);
        progress.Status("History: " + engine::AddCommas(std::to_string(done)) + " of " +
                        Plural(points.size(), "point", "points") + " done, " + engine::AddCommas(std::to_string(rate)) +
                        " points/s, " + Plural(stats.blobsCounted, "blob", "blobs") + " counted");
    };
    // The points counted in this run join the cache's when it is written.
    PointStore countedPoints;
    const auto onPoint = [&](std::size_t p, const PointTotals& totals) {
        const HistoryCommit& commit = points[p];
        if (!o.cache.empty() && !knownPoints.Find(commit.id)) countedPoints.Add(commit.id, totals);
        const auto tagged = tags.find(commit.id);
        // --include-lang and --exclude-lang take languages out of what is shown; the cache keeps them all.
        PointTotals filtered;
        if (languageFilter.Active()) {
            filtered = totals;
            for (std::size_t l = 0; l < filtered.size(); ++l)
                if (!languageFilter.Refusal(languages.Name(l)).empty()) filtered[l] = {};
        }
        writer->Point({HexId(commit.id), commit.time, tagged == tags.end() ? std::vector<std::string>{} : tagged->second},
                      languageFilter.Active() ? filtered : totals);
    };
    const bool counted = CountHistory(input, languages, memo, onPoint, onProgress, stats, error);
    progress.Stop();
    if (!counted) {
        progress.Error(error);
        return 2;
    }
    writer->Finish();
    int status = 0;
    if (stats.unreadable > 0) {
        progress.Warn(Plural(stats.unreadable, "file", "files") + " of the history could not be read; not counted");
        status = 1;
    }
    if (stats.noLanguage > 0) {
        progress.Warn(Plural(stats.noLanguage, "file", "files") + " of the history have no language; not counted");
        status = 1;
    }
    // Totals met with unreadable files or files of no language are not kept: a rerun from them would
    // not warn of those files again.
    if (stats.unreadable == 0 && stats.noLanguage == 0) {
        if (knownPoints.size() == 0) knownPoints = std::move(countedPoints);
        else
            for (std::size_t i = 0; i < countedPoints.size(); ++i) knownPoints.Add(countedPoints.Commit(i), countedPoints.Totals(i));
    }
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
