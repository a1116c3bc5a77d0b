// kordelc: the count run without questions, printed as a language summary, a file table, JSON,
// Markdown or a report.
#include "cli/kordelc.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <unordered_set>

#include "cli/batch.h"
#include "cli/by_language.h"
#include "cli/diff_command.h"
#include "cli/ignored_list.h"
#include "cli/language_filter.h"
#include "sources/linguist.h"
#include "cli/sum.h"
#include "cli/history_command.h"
#include "sources/inputs.h"
#include "cli/json_output.h"
#include "sources/languages.h"
#include "sources/leave_out.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "cli/revision_count.h"
#include "cli/row_output.h"
#include "sources/rows.h"
#include "cli/table.h"
#include "sources/walk.h"
#include "common/ascii.h"
#include "common/atomic_file.h"
#include "common/file_messages.h"
#include "engine/count_run.h"
#include "engine/dispatch.h"
#include "engine/known_languages.h"
#include "engine/language_resolver.h"
#include "engine/path_split.h"
#include "projects/project_list.h"
#include "reports/report.h"
#include "userlang/custom_counter.h"
#include "userlang/db_location.h"
#include "platform/files.h"

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
    filters.excludeExts = SplitExtensions(o.excludeExt);
    filters.followSymlinks = o.followSymlinks;
    filters.ignoreFiles = !o.noIgnore;
    return filters;
}

// --map: extension (lower case) to the extension whose language counts it.
using ExtensionMap = std::vector<std::pair<std::string, std::string>>;

ExtensionMap MapsOf(const Options& o) {
    ExtensionMap maps;
    for (const std::string& map : o.maps) {
        const std::size_t eq = map.find('=');
        maps.emplace_back(AsciiLowered(map.substr(0, eq)), map.substr(eq + 1));
    }
    return maps;
}

// The extension that picks a path's language: the last --map for its own extension, or that one.
std::string DispatchExtension(std::string_view path, const ExtensionMap& maps) {
    const std::string_view own = PathExtension(path);
    const std::string lower = AsciiLowered(own);
    for (auto it = maps.rbegin(); it != maps.rend(); ++it)
        if (it->first == lower) return it->second;
    return std::string(own);
}

// Standard input copied into a file of a fresh private folder, so that it can be counted like a file.
class StdinCopy {
public:
    ~StdinCopy() {
        std::error_code ec;
        if (!m_folder.empty()) fs::remove_all(m_folder, ec);
    }
    bool Make(std::istream& in, std::string& error) {
        std::error_code ec;
        const fs::path base = fs::temp_directory_path(ec);
        if (ec) {
            error = "no temporary folder for standard input: " + ec.message();
            return false;
        }
        std::random_device random;
        // create_directory fails on anything already there, links included, so the folder is ours.
        for (int attempt = 0; attempt < 100 && m_folder.empty(); ++attempt) {
            const fs::path candidate = base / platform::PathFromText("kordelc-stdin-" + std::to_string(random()) + std::to_string(random()));
            if (fs::create_directory(candidate, ec)) m_folder = candidate;
        }
        if (m_folder.empty()) {
            error = "could not make a temporary folder for standard input";
            return false;
        }
        m_file = m_folder / "stdin";
        std::ofstream out(m_file, std::ios::binary);
        // Inserting an empty stream would fail the output; an empty input is an empty file.
        if (in.peek() != std::char_traits<char>::eof()) out << in.rdbuf();
        out.close();
        if (!out) {
            error = "could not copy standard input to " + platform::PathText(m_file);
            return false;
        }
        return true;
    }
    std::string path() const { return platform::PathText(m_file); }
    bool made() const { return !m_file.empty(); }

private:
    fs::path m_folder;
    fs::path m_file;
};

// The run's files: the inputs, then the copy of standard input shown under its --stdin-name.
class CliFiles final : public RunFiles {
public:
    CliFiles(const Inputs& inputs, const ExtensionMap& maps, std::string stdinCopy, std::string stdinName)
        : m_paths(inputs.paths), m_named(inputs.namedWithoutExtension), m_maps(maps),
          m_stdinCopy(std::move(stdinCopy)), m_stdinName(std::move(stdinName)) {}
    std::size_t size() const override { return m_paths.size() + (m_stdinCopy.empty() ? 0 : 1); }
    std::string Path(std::size_t row) const override { return row < m_paths.size() ? m_paths[row] : m_stdinCopy; }
    std::string Extension(std::size_t row) const override { return DispatchExtension(Shown(row), m_maps); }
    std::string Name(std::size_t row) const override { return Shown(row); }
    // A file without an extension that a walk found only for its #! line.
    bool MayLeaveOut(std::size_t row) const override {
        if (IsStdin(row)) return false;
        const std::string path = m_paths[row];
        return HasNoExtension(platform::PathText(platform::PathFromText(path).filename())) && !m_named.contains(path);
    }
    /// The path as the output names it.
    std::string Shown(std::size_t row) const { return row < m_paths.size() ? m_paths[row] : m_stdinName; }
    bool IsStdin(std::size_t row) const { return row >= m_paths.size(); }

private:
    const PathTable& m_paths;
    const std::unordered_set<std::string>& m_named;
    const ExtensionMap& m_maps;
    std::string m_stdinCopy;
    std::string m_stdinName;
};

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
    options.knownLanguages = !o.builtinOnly;

    Progress progress(err, console.errIsTerminal, o.quiet, console.errWidth);
    // Without --languages the default database is used when there is one.
    const fs::path db = o.languagesDb.empty() ? userlang::DefaultUDLangDbPath() : platform::PathFromText(o.languagesDb);
    const userlang::DbContents userLanguages = userlang::ReadUDLangDb(db);
    if (userLanguages.status == userlang::DbStatus::Unreadable)
        progress.Warn(std::string(userlang::kOpenDbMessage) + " (" + platform::PathText(db) + ")");
    if (o.listLanguages) {
        progress.Stop();
        out << LanguageListing(userLanguages.languages, platform::PathText(db), options.knownLanguages);
        return 0;
    }
    // The database read above serves the folder walks and the count: one read per run.
    const userlang::DatabaseLanguages lookup(db, [&](const fs::path&) { return userLanguages; });
    const userlang::ExtensionIndex userExtensions(userLanguages.languages);
    const auto userKnows = [&](std::string_view ext) { return userExtensions.Find(ext) != nullptr; };
    const ExtensionMap maps = MapsOf(o);
    for (const auto& [from, to] : maps) {
        if (!IsCountableName("x" + to, to, options, userKnows, false)) {
            err << "kordelc: --map " << from << "=" << to << ": no language knows " << to
                << "\nRun 'kordelc --list-languages' for the languages.\n";
            return 2;
        }
    }

    // Walks take files of a known language by name, and files without an extension for their #! line.
    const KnownName knownMapped = [&](std::string_view fileName) {
        return IsCountableName(fileName, DispatchExtension(fileName, maps), options, userKnows, true);
    };
    BatchListQuestions listQuestions(progress);
    const SideContext context{FiltersOf(o), knownMapped, [&](std::string_view path) { return DispatchExtension(path, maps); },
                              ".", &progress, &listQuestions, o.maxFileSize};
    if (!o.diff.empty()) return RunDiff(o, options, lookup, context, console, progress, out);
    if (o.history) return RunHistory(o, options, lookup, userLanguages.languages, context, console, progress, out);
    std::istringstream noInput;
    std::istream& input = console.in ? *console.in : noInput;
    if (o.sum) return RunSum(o, input, console, progress, out);
    LanguageFilter languageFilter;
    if (std::string error; !languageFilter.Set(o.includeLangs, o.excludeLangs, userLanguages.languages, error)) {
        progress.Error(error);
        return 2;
    }
    IgnoredList ignored;
    if (!o.ignoredFile.empty() && !ignored.Open(o.ignoredFile)) {
        progress.Error(OpenForWritingMessage(o.ignoredFile));
        return 2;
    }

    // Revisions are read from git; everything else goes through the count run.
    InputList plain{{}, o.listFile, o.vcs == "git"};
    std::vector<RevisionSpec> revisions;
    for (const std::string& input : o.inputs) {
        if (std::optional<RevisionSpec> spec = ParseRevisionSpec(input)) revisions.push_back(std::move(*spec));
        else plain.paths.push_back(input);
    }
    if (!revisions.empty() && !o.saveList.empty()) {
        progress.Error("--save-list takes files on disk only, not the files of a revision");
        return 2;
    }
    FileCollector collector(context.filters, knownMapped);
    if (ignored.IsOpen())
        collector.SetLeftOutSink([&](const std::string& path, const std::string& reason) { ignored.Add(path, reason); });
    Inputs inputs = CollectInputs(plain, collector, input, progress, listQuestions);
    if (!inputs.ok) return 2;
    // Files in a folder that can't be read would be missing from the totals without a word.
    for (const std::string& folder : collector.Unreadable()) {
        progress.Warn("Could not read the folder \"" + folder + "\"; its files are not counted.");
        ignored.Add(folder + "/", "a folder that could not be read");
    }
    for (const std::string& note : collector.GitRulesNotUsed()) progress.Warn(note);
    std::string name = o.name.empty() ? inputs.projectName : o.name;

    std::vector<Skipped> leftOut;
    if (o.maxFileSize > 0) LeaveOutLargeFiles(inputs.paths, o.maxFileSize, leftOut);
    const std::size_t large = leftOut.size();
    LeaveOutGeneratedAndVendored(inputs.paths, o.skipGenerated, o.skipVendored, leftOut);
    const std::size_t linguist = leftOut.size() - large;
    if (o.skipDuplicates) LeaveOutDuplicates(inputs.paths, leftOut);
    if (large > 0) progress.Warn(std::to_string(large) + " file(s) larger than --max-file-size left out");
    if (linguist > 0) progress.Warn(std::to_string(linguist) + " generated or vendored file(s) left out");
    if (leftOut.size() > large + linguist)
        progress.Warn(std::to_string(leftOut.size() - large - linguist) + " duplicate file(s) counted once");

    // What is counted (the copy of standard input stands for it) and what is shown.
    StdinCopy stdinCopy;
    if (!o.stdinName.empty()) {
        std::string error;
        if (!stdinCopy.Make(input, error)) {
            progress.Error(error);
            return 2;
        }
    }
    const CliFiles files(inputs, maps, stdinCopy.made() ? stdinCopy.path() : std::string(), o.stdinName);

    OutputTarget target(out);
    if (!o.output.empty() && !target.OpenFile(o.output)) {
        progress.Error("Could not open \"" + o.output +
                       "\" for writing.  Make sure that all programs that may be using this file are closed.");
        return 1;
    }
    // Rows are written as they are counted unless the output must see them all first.
    const bool terminal = console.outIsTerminal && o.output.empty();
    // The text report names its number of files first: a language filter makes it known only at the end.
    const bool hold = o.sort || !revisions.empty() || terminal || (languageFilter.Active() && o.format == Format::Txt);
    RowOutput output(o, name, console, hold, files.size(), target);
    std::vector<bool> counted(files.size(), false);  // for --save-list
    std::vector<bool> leftOutRows(files.size(), false);  // found by a walk, with no language in its #! line
    std::size_t nextRow = 0;
    const auto uncountedUpTo = [&](std::size_t end) {
        for (; nextRow < end; ++nextRow)
            if (!leftOutRows[nextRow]) output.Add(Row{files.Shown(nextRow), false, {}, {}});
    };
    RunTotals filteredOut;  // the counts of the files of languages left out
    const auto onRow = [&](std::size_t row, const FileCounts& counts, const std::string& userLanguage) {
        uncountedUpTo(row);
        // The built-in table names its languages by extension; the others come with their names.
        const std::string_view builtin =
            userLanguage.empty() ? BuiltinLanguageName(files.Extension(row), options.dotf) : std::string_view();
        std::string language = builtin.empty() ? userLanguage : std::string(builtin);
        if (const std::string why = languageFilter.Refusal(language); !why.empty()) {
            ignored.Add(files.Shown(row), why);
            filteredOut.Add(counts);
            ++nextRow;
            return;
        }
        output.Add(Row{files.Shown(row), true, counts, std::move(language)});
        counted[row] = true;
        ++nextRow;
    };
    std::atomic<int> canc{0};
    BatchObserver observer([&](std::size_t row) { return files.Shown(row); }, files.size(), progress, onRow,
                           [&](std::size_t row) { return files.Path(row); });
    observer.OnLeftOut([&](std::size_t row) { leftOutRows[row] = true; });
    RunResult result;
    if (files.size() > 0 || revisions.empty())
        result = CountLineT(files, options, canc, observer, o.jobs, &lookup, false);
    uncountedUpTo(files.size());
    std::vector<Skipped> skipped = observer.skipped();
    for (const RevisionSpec& spec : revisions) {
        std::vector<Row> rows;
        std::string error;
        if (!CountRevision(spec, context, options, &lookup, rows, skipped, leftOut, error)) {
            progress.Error(error);
            return 2;
        }
        for (Row& row : rows) {
            if (const std::string why = languageFilter.Refusal(row.language); !why.empty()) {
                ignored.Add(row.path, why);
                continue;
            }
            result.totals.Add(row.counts);
            output.Add(std::move(row));
        }
    }
    result.totals.ncl -= filteredOut.ncl;
    result.totals.ncol -= filteredOut.ncol;
    result.totals.nml -= filteredOut.nml;
    result.totals.ncbl -= filteredOut.ncbl;
    result.totals.ntl -= filteredOut.ntl;
    for (const Skipped& s : leftOut) ignored.Add(s.path, s.reason);
    for (const Skipped& s : skipped) ignored.Add(s.path, s.reason);
    // The progress line goes before the output that waited for the end reaches a terminal.
    progress.Stop();
    output.Finish(result.totals, skipped, leftOut, observer.skippedNotListed());

    if (!o.saveList.empty()) {
        std::vector<std::string> countedPaths;
        for (std::size_t row = 0; row < files.size(); ++row)
            if (counted[row] && !files.IsStdin(row))
                countedPaths.push_back(platform::PathText(fs::absolute(platform::PathFromText(files.Shown(row))).lexically_normal()));
        projects::ListSettings settings;
        inputs.listState.PN = name;
        if (!projects::ExportProject(platform::PathFromText(o.saveList), countedPaths, inputs.listState, settings, listQuestions)) return 1;
    }
    if (!target.Commit()) {
        progress.Error(OpenForWritingMessage(o.output));
        return 1;
    }
    if (!ignored.Commit()) {
        progress.Error(OpenForWritingMessage(o.ignoredFile));
        return 1;
    }
    if (result.crashed) return 1;
    return skipped.empty() && observer.skippedNotListed() == 0 && collector.Unreadable().empty() && collector.GitRulesNotUsed().empty() ? 0 : 1;
}

}  // namespace kordel::cli
