// kordelc's count: the inputs found, left out, counted (files by the count run, revisions from git)
// and written as they come or at the end.
#include "cli/count_command.h"

#include <atomic>
#include <filesystem>
#include <istream>
#include <unordered_set>
#include <vector>

#include "common/file_messages.h"
#include "diff/revision_count.h"
#include "engine/known_languages.h"
#include "engine/path_split.h"
#include "outputs/ignored_list.h"
#include "outputs/row_output.h"
#include "platform/files.h"
#include "platform/temporary_file.h"
#include "projects/project_list.h"
#include "sources/inputs.h"
#include "sources/language_filter.h"
#include "sources/languages.h"
#include "sources/leave_out.h"
#include "sources/linguist.h"
#include "sources/walk.h"

namespace kordel::cli {
namespace {

namespace fs = std::filesystem;
using namespace kordel::engine;

// Standard input copied into a private temporary file, so that it can be counted like a file.
class StdinCopy {
public:
    bool Make(std::istream& in, std::string& error) {
        if (!m_file.Create("kordelc-stdin", error)) {
            error = "no temporary file for standard input: " + error;
            return false;
        }
        std::vector<char> buffer(1 << 16);
        bool written = true;
        while (written && in) {
            in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
            if (in.gcount() > 0) written = m_file.Write({buffer.data(), static_cast<std::size_t>(in.gcount())});
        }
        if (!written || in.bad() || !m_file.Close()) {
            error = "could not copy standard input to " + m_file.path() + ": " + platform::LastFileErrorText();
            return false;
        }
        return true;
    }
    std::string path() const { return m_file.path(); }
    bool made() const { return !m_file.path().empty(); }

private:
    platform::PrivateTemporaryFile m_file;
};

// The run's files: the inputs, then the copy of standard input shown under its --stdin-name.
class CliFiles final : public RunFiles {
public:
    CliFiles(const sources::Inputs& inputs, const diff::SideContext& context, bool walksTakeAll, std::string stdinCopy,
             std::string stdinName)
        : m_paths(inputs.paths),
          m_named(inputs.namedUnknown),
          m_extensionOf(context.extensionOf),
          m_walksTakeAll(walksTakeAll),
          m_stdinCopy(std::move(stdinCopy)),
          m_stdinName(std::move(stdinName)) {}
    std::size_t size() const override { return m_paths.size() + (m_stdinCopy.empty() ? 0 : 1); }
    std::string Path(std::size_t row) const override { return row < m_paths.size() ? m_paths[row] : m_stdinCopy; }
    std::string Extension(std::size_t row) const override { return m_extensionOf(Shown(row)); }
    std::string Name(std::size_t row) const override { return Shown(row); }
    // A file that a walk found only for its #! line (with --include-ext, walks take what was asked for).
    bool MayLeaveOut(std::size_t row) const override {
        return m_walksTakeAll && !IsStdin(row) && !m_named.contains(m_paths[row]);
    }
    /// The path as the output names it.
    std::string Shown(std::size_t row) const { return row < m_paths.size() ? m_paths[row] : m_stdinName; }
    bool IsStdin(std::size_t row) const { return row >= m_paths.size(); }

private:
    const sources::PathTable& m_paths;
    const std::unordered_set<std::string>& m_named;
    const std::function<std::string(std::string_view)>& m_extensionOf;
    bool m_walksTakeAll;  // walks take every file, for its #! line when no table knows its name
    std::string m_stdinCopy;
    std::string m_stdinName;
};

std::string FileNameOf(const std::string& path) { return platform::PathText(platform::PathFromText(path).filename()); }

// The files of a count as found: the inputs less what was left out of them, and the revisions.
struct Found {
    sources::Inputs inputs;
    std::vector<vcs::RevisionSpec> revisions;
    std::vector<sources::Skipped> leftOut;
    std::string name;
};

// Finds the files and leaves out what the options leave out; false when the run stops there.
bool FindFiles(const Command& c, sources::FileCollector& collector, outputs::IgnoredList& ignored, Found& found) {
    const Options& o = c.o;
    Progress& progress = c.progress;
    // Revisions are read from git; everything else goes through the count run.
    sources::InputList plain{{}, o.listFile, o.vcs == "git"};
    for (const std::string& input : o.inputs) {
        if (std::optional<vcs::RevisionSpec> spec = vcs::ParseRevisionSpec(input)) found.revisions.push_back(std::move(*spec));
        else plain.paths.push_back(input);
    }
    if (!found.revisions.empty() && !o.saveList.empty()) {
        progress.Error("--save-list takes files on disk only, not the files of a revision");
        return false;
    }
    if (ignored.IsOpen())
        collector.SetLeftOutSink([&](const std::string& path, const std::string& reason) { ignored.Add(path, reason); });
    found.inputs = sources::CollectInputs(plain, collector, c.knownByName, c.input, progress, c.listQuestions);
    if (!found.inputs.ok) return false;
    // Files in a folder that can't be read would be missing from the totals without a word.
    for (const std::string& folder : collector.Unreadable()) {
        progress.Warn("Could not read the folder \"" + folder + "\"; its files are not counted.");
        ignored.Add(folder + "/", "a folder that could not be read");
    }
    for (const std::string& note : collector.GitRulesNotUsed()) progress.Warn(note);
    found.name = o.name.empty() ? found.inputs.projectName : o.name;

    std::vector<sources::Skipped>& leftOut = found.leftOut;
    sources::PathTable& paths = found.inputs.paths;
    if (o.maxFileSize > 0) sources::LeaveOutLargeFiles(paths, o.maxFileSize, leftOut);
    const std::size_t large = leftOut.size();
    sources::LeaveOutGeneratedAndVendored(paths, o.skipGenerated, o.skipVendored, leftOut);
    const std::size_t linguist = leftOut.size() - large;
    if (o.skipDuplicates) sources::LeaveOutDuplicates(paths, leftOut);
    if (large > 0) progress.Warn(std::to_string(large) + " file(s) larger than --max-file-size left out");
    if (linguist > 0) progress.Warn(std::to_string(linguist) + " generated or vendored file(s) left out");
    if (leftOut.size() > large + linguist)
        progress.Warn(std::to_string(leftOut.size() - large - linguist) + " duplicate file(s) counted once");
    return true;
}

// What the count gave beyond the rows written.
struct Counted {
    RunResult result;
    std::vector<sources::Skipped> skipped;
    std::size_t skippedNotListed = 0;
    std::vector<bool> rows;  ///< per file: counted and shown (for --save-list)
};

// Counts the files, then the revisions, into `output`; false when a revision cannot be read.
bool CountFiles(const Command& c, const CliFiles& files, Found& found, const sources::LanguageFilter& languageFilter,
                outputs::IgnoredList& ignored, outputs::RowOutput& output, Counted& counted) {
    counted.rows.assign(files.size(), false);
    std::vector<bool> leftOutRows(files.size(), false);  // found by a walk, with no language in its #! line
    std::size_t nextRow = 0;
    const auto uncountedUpTo = [&](std::size_t end) {
        for (; nextRow < end; ++nextRow)
            if (!leftOutRows[nextRow]) output.Add(sources::Row{files.Shown(nextRow), false, {}, {}});
    };
    RunTotals filteredOut;  // the counts of the files of languages left out
    const auto onRow = [&](std::size_t row, const FileCounts& counts, const std::string& userLanguage) {
        uncountedUpTo(row);
        // The built-in table names its languages by extension; the others come with their names.
        const std::string_view builtin = userLanguage.empty()
                                             ? sources::BuiltinLanguageName(files.Extension(row), c.options.dotf)
                                             : std::string_view();
        std::string language = builtin.empty() ? userLanguage : std::string(builtin);
        if (const std::string why = languageFilter.Refusal(language); !why.empty()) {
            ignored.Add(files.Shown(row), why);
            filteredOut.Add(counts);
            ++nextRow;
            return;
        }
        output.Add(sources::Row{files.Shown(row), true, counts, std::move(language)});
        counted.rows[row] = true;
        ++nextRow;
    };
    std::atomic<int> canc{0};
    BatchObserver observer([&](std::size_t row) { return files.Shown(row); }, files.size(), c.progress, onRow,
                           [&](std::size_t row) { return files.Path(row); });
    // A file the walk took for its #! line alone, and whose first line names no language.
    observer.OnLeftOut([&](std::size_t row) {
        leftOutRows[row] = true;
        ignored.Add(files.Shown(row), HasNoExtension(FileNameOf(files.Path(row)))
                                          ? "no extension, and no language in its #! line"
                                          : "unknown extension");
    });
    RunResult& result = counted.result;
    if (files.size() > 0 || found.revisions.empty())
        result = CountLineT(files, c.options, canc, observer, c.o.jobs, &c.lookup, false);
    uncountedUpTo(files.size());
    counted.skipped = observer.skipped();
    counted.skippedNotListed = observer.skippedNotListed();
    for (const vcs::RevisionSpec& spec : found.revisions) {
        std::vector<sources::Row> rows;
        std::string error;
        if (!diff::CountRevision(spec, c.context, c.options, &c.lookup, rows, counted.skipped, found.leftOut, error)) {
            c.progress.Error(error);
            return false;
        }
        for (sources::Row& row : rows) {
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
    return true;
}

// --save-list: the files counted, as absolute paths, in a project list named as the run.
bool SaveList(const Command& c, const CliFiles& files, const Counted& counted, Found& found) {
    std::vector<std::string> countedPaths;
    for (std::size_t row = 0; row < files.size(); ++row)
        if (counted.rows[row] && !files.IsStdin(row))
            countedPaths.push_back(
                platform::PathText(fs::absolute(platform::PathFromText(files.Shown(row))).lexically_normal()));
    projects::ListSettings settings;
    found.inputs.listState.PN = found.name;
    return projects::ExportProject(platform::PathFromText(c.o.saveList), countedPaths, found.inputs.listState,
                                   settings, c.listQuestions);
}

}  // namespace

int RunCount(const Command& c) {
    const Options& o = c.o;
    Progress& progress = c.progress;
    sources::LanguageFilter languageFilter;
    if (std::string error; !languageFilter.Set(o.includeLangs, o.excludeLangs, c.userLanguages, error)) {
        progress.Error(error);
        return 2;
    }
    outputs::IgnoredList ignored;
    if (!o.ignoredFile.empty() && !ignored.Open(o.ignoredFile)) {
        progress.Error(OpenForWritingMessage(o.ignoredFile));
        return 2;
    }
    sources::FileCollector collector(c.context.filters, c.context.known);
    Found found;
    if (!FindFiles(c, collector, ignored, found)) return 2;

    // What is counted (the copy of standard input stands for it) and what is shown.
    StdinCopy stdinCopy;
    if (!o.stdinName.empty()) {
        std::string error;
        if (!stdinCopy.Make(c.input, error)) {
            progress.Error(error);
            return 2;
        }
    }
    const CliFiles files(found.inputs, c.context, c.options.knownLanguages && o.includeExt.empty(),
                         stdinCopy.made() ? stdinCopy.path() : std::string(), o.stdinName);

    outputs::OutputTarget target(c.out);
    if (!o.output.empty() && !target.OpenFile(o.output)) {
        progress.Error("Could not open \"" + o.output +
                       "\" for writing.  Make sure that all programs that may be using this file are closed.");
        return 1;
    }
    // Rows are written as they are counted unless the output must see them all first.
    const outputs::RowStyle style = RowStyleOf(o, c.console);
    // The text report names its number of files first: a language filter, or files a walk took for their
    // #! line alone, make it known only at the end.
    bool someForInterpreterLine = false;
    for (std::size_t r = 0; r < files.size() && !someForInterpreterLine && o.format == outputs::Format::Txt; ++r)
        someForInterpreterLine = files.MayLeaveOut(r) && !c.knownByName(FileNameOf(files.Path(r)));
    const bool hold = o.sort || !found.revisions.empty() || style.aligned ||
                      ((languageFilter.Active() || someForInterpreterLine) && o.format == outputs::Format::Txt);
    outputs::RowOutput output(style, found.name, hold, files.size(), target);
    Counted counted;
    if (!CountFiles(c, files, found, languageFilter, ignored, output, counted)) return 2;
    for (const sources::Skipped& s : found.leftOut) ignored.Add(s.path, s.reason);
    for (const sources::Skipped& s : counted.skipped) ignored.Add(s.path, s.reason);
    // The progress line goes before the output that waited for the end reaches a terminal.
    progress.Stop();
    output.Finish(counted.result.totals, counted.skipped, found.leftOut, counted.skippedNotListed);

    if (!o.saveList.empty() && !SaveList(c, files, counted, found)) return 1;
    if (!target.Commit()) {
        progress.Error(OpenForWritingMessage(o.output));
        return 1;
    }
    if (!ignored.Commit()) {
        progress.Error(OpenForWritingMessage(o.ignoredFile));
        return 1;
    }
    if (counted.result.crashed) return 1;
    return counted.skipped.empty() && counted.skippedNotListed == 0 && collector.Unreadable().empty() &&
                   collector.GitRulesNotUsed().empty()
               ? 0
               : 1;
}

}  // namespace kordel::cli
