// kordelc: the count run without questions, printed as a table, JSON or a report.
#include "cli/kordelc.h"

#include <filesystem>
#include <sstream>

#include "cli/batch.h"
#include "cli/by_language.h"
#include "cli/diff_command.h"
#include "cli/inputs.h"
#include "cli/json_output.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "cli/revision_count.h"
#include "cli/rows.h"
#include "cli/table.h"
#include "cli/walk.h"
#include "common/atomic_file.h"
#include "engine/count_run.h"
#include "engine/dispatch.h"
#include "projects/project_list.h"
#include "reports/report.h"
#include "userlang/custom_counter.h"
#include "userlang/db_location.h"

namespace kordel::cli {
namespace {

namespace fs = std::filesystem;
using namespace kordel::engine;

FileFilters FiltersOf(const Options& o) {
    FileFilters filters;
    if (o.noDefaultExcludes) filters.excludedDirs.clear();
    filters.excludedDirs.insert(filters.excludedDirs.end(), o.excludeDirs.begin(), o.excludeDirs.end());
    filters.excludeGlobs = o.excludeGlobs;
    filters.includeExts = SplitExtensions(o.includeExt);
    filters.followSymlinks = o.followSymlinks;
    return filters;
}

std::string Render(const Options& o, const std::vector<Row>& rows, const RunTotals& runTotals,
                   const std::vector<Skipped>& skipped, const std::string& name, const Console& console) {
    const TotalsTexts totals = MakeTotalsTexts(runTotals);
    const std::string project = name.empty() ? "Unspecified" : name;
    const bool aligned = console.outIsTerminal && o.output.empty();
    if (o.byLanguage) {
        const SortKey key = o.sort.empty() ? SortKey::Code : SortKeyFromName(o.sort);
        const std::vector<LanguageSummary> summaries = SummarizeByLanguage(rows, key, o.ascending);
        if (o.format == "json") return LanguagesJson(project, summaries, skipped);
        const Grid grid = LanguageGrid(summaries, o.percent);
        return aligned ? RenderAligned(grid, console.outWidth) : RenderTabs(grid);
    }
    if (o.format == "json") return FilesJson(project, rows, runTotals, skipped);
    if (o.format == "table") {
        // On a terminal with percentage columns the totals follow the columns rather than "n (p%)".
        const Grid grid = FileGrid(rows, totals, o.percent, aligned && o.percent ? &runTotals : nullptr);
        return aligned ? RenderAligned(grid, console.outWidth) : RenderTabs(grid);
    }
    reports::ReportInput report{{}, totals, name, o.percent};
    for (const Row& row : rows)
        report.rows.push_back({row.path, row.counted ? RowCellTexts(row.counts, o.percent) : std::vector<std::string>{}});
    if (o.format == "txt") return ToCrLf(reports::ReportText(report, reports::SystemClock().Now()));
    if (o.format == "csv") return ToCrLf(reports::ReportCSV(report));
    return ToCrLf(reports::ReportHTM(report));
}

}  // namespace

int Run(int argc, char** argv, std::ostream& out, std::ostream& err) { return Run(argc, argv, out, err, Console{}); }

int Run(int argc, char** argv, std::ostream& out, std::ostream& err, const Console& console) {
    int exitCode = 0;
    const std::optional<Options> parsed = ParseOptions(argc, argv, out, err, exitCode);
    if (!parsed) return exitCode;
    const Options& o = *parsed;
    CountOptions options;
    options.cnoml = o.mixedAsBoth;
    options.cblib = o.blankInBlock;
    options.sps = o.percent;
    options.dotf = o.fortran77 ? 1 : 0;

    Progress progress(err, console.errIsTerminal, o.quiet, console.errWidth);
    // Without --languages the default database is used when there is one.
    const fs::path db = o.languagesDb.empty() ? userlang::DefaultUDLangDbPath() : fs::path(o.languagesDb);
    const userlang::DbContents userLanguages = userlang::ReadUDLangDb(db);
    if (userLanguages.status == userlang::DbStatus::Unreadable)
        progress.Warn(std::string(userlang::kOpenDbMessage) + " (" + db.string() + ")");
    const userlang::DatabaseLanguages lookup(db);

    const KnownExtension known = [&](std::string_view ext) {
        return IsBuiltinExtension(ext, options.dotf) || userlang::FindCustomExtension(userLanguages.languages, ext);
    };
    BatchListQuestions listQuestions(progress);
    const SideContext context{FiltersOf(o), known, ".", &progress, &listQuestions};
    if (!o.diff.empty()) return RunDiff(o, options, lookup, context, console, progress, out);

    // Revisions are read from git; everything else goes through the count run.
    Options plain = o;
    plain.inputs.clear();
    std::vector<RevisionSpec> revisions;
    for (const std::string& input : o.inputs) {
        if (std::optional<RevisionSpec> spec = ParseRevisionSpec(input)) revisions.push_back(std::move(*spec));
        else plain.inputs.push_back(input);
    }
    if (!revisions.empty() && !o.saveList.empty()) {
        progress.Error("--save-list takes files on disk only, not the files of a revision");
        return 2;
    }
    FileCollector collector(context.filters, known);
    std::istringstream noInput;
    Inputs inputs = CollectInputs(plain, collector, console.in ? *console.in : noInput, progress, listQuestions);
    if (!inputs.ok) return 2;
    std::string name = o.name.empty() ? inputs.projectName : o.name;

    std::atomic<int> canc{0};
    BatchObserver observer(inputs.paths, progress);
    RunResult result;
    if (!inputs.paths.empty() || revisions.empty())
        result = CountLineT(inputs.paths, options, canc, observer, o.jobs, &lookup);
    std::vector<Row> rows = MakeRows(inputs.paths, result, options.dotf);
    std::vector<Skipped> skipped = observer.skipped();
    for (const RevisionSpec& spec : revisions) {
        const std::size_t first = rows.size();
        std::string error;
        if (!CountRevision(spec, context, options, &lookup, rows, skipped, error)) {
            progress.Error(error);
            return 2;
        }
        for (std::size_t i = first; i < rows.size(); ++i) result.totals.Add(rows[i].counts);
    }
    if (!o.sort.empty() && !o.byLanguage) SortRows(rows, SortKeyFromName(o.sort), o.ascending);
    const std::string text = Render(o, rows, result.totals, skipped, name, console);
    progress.Stop();

    if (!o.saveList.empty()) {
        std::vector<std::string> counted;
        for (const Row& row : rows)
            if (row.counted) counted.push_back(fs::absolute(row.path).lexically_normal().string());
        projects::ListSettings settings;
        inputs.listState.PN = name;
        if (!projects::ExportProject(o.saveList, counted, inputs.listState, settings, listQuestions)) return 1;
    }
    if (o.output.empty()) {
        out << text;
    } else if (!WriteFileAtomically(o.output, text)) {
        progress.Error("Could not open \"" + o.output +
                       "\" for writing.  Make sure that all programs that may be using this file are closed.");
        return 1;
    }
    if (result.crashed) return 1;
    return skipped.empty() ? 0 : 1;
}

}  // namespace kordel::cli
