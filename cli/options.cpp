// The options of kordelc with CLI11, their checks, and the help text with examples. The man page is
// made from this help text, so the two cannot drift apart.
#include "cli/options.h"

#include <algorithm>
#include <filesystem>
#include <thread>

#include <CLI/CLI.hpp>

#include "vcs/ignore_rules.h"
#include "sources/text_bytes.h"
#include "kordel/version.h"
#include "platform/files.h"

namespace kordel::cli {
namespace {

constexpr const char* kExamples = R"(Examples:
  kordelc src                          languages under src with their totals
  kordelc --by-file --sort code .      one line per file, the most code first
  kordelc -f md . > LINES.md           a Markdown table for a pull request
  kordelc --no-ignore .                also what .gitignore and .ignore leave out
  kordelc --vcs git .                  the files git tracks, and new ones it does not ignore
  kordelc --map .inc=.c src            .inc files counted as C
  find . -name '*.py' | kordelc --list -
                                       the paths listed on standard input
  curl -s https://example.org/x.py | kordelc --stdin-name x.py
                                       standard input counted as a Python file
  kordelc project.kpl -f html -o report.htm
                                       the HTML report of a project list
  kordelc --diff git:v1.0 git:HEAD     lines same, modified, added and removed per language
  kordelc --diff old new --by-file -f md
                                       the change per file between two folders, in Markdown
  kordelc git:HEAD~5:src               a revision's files, read from git without a checkout
  kordelc --history --every month -f svg -o growth.svg
                                       code lines per language, month by month, as a chart
  kordelc --exclude 'lib/**/*.gen.c' --skip-vendored --ignored left-out.txt .
                                       gitignore patterns; what was left out, and why, in a file
  kordelc --sum a.json b.json -f md    the JSON outputs of several runs added up

Excludes:
  --exclude and --exclude-dir take gitignore's patterns, matched below each folder walked:
  '*' stays within one folder, '**/' matches any number of folders (none too), a pattern
  with a '/' is anchored to the walked folder, '!' takes back what an earlier one left out.

Ignore files:
  Inside a git work tree the rules of .gitignore, .git/info/exclude and core.excludesFile
  apply, read by kordelc itself: git is not run, and nothing that the repository's
  configuration names is. .ignore files apply everywhere, in the same syntax, and win over
  .gitignore. A file that git tracks is counted even when a .gitignore rule matches it, and
  a folder named on the command line is walked even when git ignores it.

Exit status:
  0 when every file was counted, 1 when one was skipped or an output could not be written,
  2 after a usage error or when the input could not be read.)";

// Help lines show an option's value by the name given to it ("FILE", "N"), never CLI11's
// descriptions of its checks.
class Formatter : public CLI::Formatter {
public:
    std::string make_option_opts(const CLI::Option* opt) const override {
        return opt->get_type_size() == 0 ? std::string() : " " + opt->get_type_name();
    }
};

// A check that refuses with its own message and adds nothing to the help.
CLI::Validator Check(std::function<std::string(std::string&)> test) {
    return CLI::Validator(std::move(test), "", "");
}

CLI::Validator OneOf(std::vector<std::string> allowed) {
    return Check([allowed](std::string& value) -> std::string {
        if (std::find(allowed.begin(), allowed.end(), value) != allowed.end()) return {};
        std::string list;
        for (const std::string& a : allowed) list += (list.empty() ? "" : ", ") + a;
        return "'" + value + "' is none of " + list;
    });
}

}  // namespace

outputs::RowStyle RowStyleOf(const Options& o, const Console& console) {
    outputs::RowStyle style{o.format, o.percent, o.byFile, o.byLanguage, o.sort, o.ascending};
    style.aligned = console.outIsTerminal && o.output.empty();
    style.width = console.outWidth;
    return style;
}

std::optional<std::uint64_t> ParseSize(const std::string& text) {
    std::size_t i = 0;
    std::uint64_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        if (value > (UINT64_MAX - 9) / 10) return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(text[i++] - '0');
    }
    if (i == 0) return std::nullopt;
    int shift = 0;
    if (i + 1 == text.size()) {
        switch (text[i] | 0x20) {
            case 'k': shift = 10; break;
            case 'm': shift = 20; break;
            case 'g': shift = 30; break;
            default: return std::nullopt;
        }
    } else if (i != text.size()) {
        return std::nullopt;
    }
    if (value > (UINT64_MAX >> shift)) return std::nullopt;
    return value << shift;
}

namespace {

// The PATHs and what the output looks like.
void AddOutputOptions(CLI::App& app, Options& o, std::string& formatName, std::string& sortName) {
    app.add_option("PATH", o.inputs,
                   "Source files, folders (walked recursively), project lists (.kpl) or git revisions "
                   "(git:REV or git:REV:PATH, read from the repository of the current folder)")
        ->type_name("");
    app.add_option("-f,--format", formatName,
                   "table (the default), json (files and languages), md (a Markdown table), or the txt, csv or "
                   "html report of every file; --diff prints table, md, csv or json, --history table, csv, json or svg")
        ->type_name("FORMAT")
        ->check(OneOf({"table", "json", "md", "txt", "csv", "html", "svg"}));
    app.add_option("-o,--output", o.output, "Write the output to FILE (atomically) instead of standard output")
        ->type_name("FILE");
    app.add_flag("--by-file", o.byFile, "One line per file instead of one per language");
    app.add_flag("--by-language", o.byLanguage, "One line per language (the default; with -f csv, as CSV)");
    app.add_flag("-p,--percent", o.percent, "Add the percentages of code, comment, mixed and blank lines");
    app.add_option("--sort", sortName, "Order by code, comment, mixed, blank or lines, largest first")
        ->type_name("KEY")
        ->check(OneOf({"code", "comment", "mixed", "blank", "lines"}));
    app.add_flag("--ascending", o.ascending, "Sort smallest first");
}

// How lines are counted and which languages count them.
void AddCountingOptions(CLI::App& app, Options& o) {
    app.add_flag("--mixed-as-both", o.mixedAsBoth, "Count mixed lines also as code and as comment lines");
    app.add_flag("--blank-in-block", o.blankInBlock, "Count blank lines inside block comments as blank");
    app.add_flag("--fortran77", o.fortran77, "Count .f files as Fortran 77 instead of Forth");
    app.add_flag("--builtin-only", o.builtinOnly,
                 "Count only the built-in languages and the user languages, as the desktop program does, without "
                 "the table of further languages (file names and #! lines included)");
    app.add_option("--map", o.maps, "Count files of extension .EXT as the language of .OTHER (repeatable)")
        ->type_name(".EXT=.OTHER")
        ->allow_extra_args(false);
    app.add_option("--languages", o.languagesDb, "User language database to use instead of the default udlangdb.ini")
        ->type_name("FILE")
        ->check(Check([](std::string& v) {
            // Judged by what an open finds, not by a look at the path beforehand; a file that cannot
            // be read is left to the load, which says why.
            platform::InputFile file;
            const platform::InputFile::Status status = file.Open(v);
            const bool isFile = status == platform::InputFile::Status::Opened || status == platform::InputFile::Status::Failed;
            return isFile ? std::string() : "'" + v + "' is no file";
        }));
    app.add_flag("--list-languages", o.listLanguages, "Print every language with its extensions and where it comes from");
    app.add_option("--list", o.listFile, "Also count the paths in FILE, one per line ('-' reads standard input)")
        ->type_name("FILE");
    app.add_option("--stdin-name", o.stdinName, "Count standard input as a file named NAME")->type_name("NAME");
}

// Which files are taken.
void AddSelectionOptions(CLI::App& app, Options& o, std::string& maxFileSize) {
    app.add_flag("--no-ignore", o.noIgnore, "Count files that .gitignore, .ignore and .git/info/exclude leave out");
    app.add_option("--vcs", o.vcs, "git: take a folder's files from its git repository, as git lists them")
        ->type_name("git")
        ->check(OneOf({"git"}));
    app.add_option("--exclude-dir", o.excludeDirs,
                   "Skip folders that PATTERN matches, by gitignore's rules below the walked folder (repeatable)")
        ->type_name("PATTERN")
        ->allow_extra_args(false);
    app.add_flag("--no-default-excludes", o.noDefaultExcludes, "Also walk .git, .svn and .hg folders");
    app.add_option("--exclude", o.excludeGlobs,
                   "Skip files and folders that PATTERN matches, by gitignore's rules below the walked folder "
                   "(repeatable)")
        ->type_name("PATTERN")
        ->allow_extra_args(false);
    app.add_option("--include-ext", o.includeExt, "Take only files with these extensions, e.g. .c,.h")
        ->type_name("EXTS");
    app.add_option("--exclude-ext", o.excludeExt, "Leave out files with these extensions, e.g. .min.js,.json")
        ->type_name("EXTS");
    app.add_option("--include-lang", o.includeLangs,
                   "Count only these languages, named as --list-languages names them, any case (repeatable)")
        ->type_name("NAME")
        ->allow_extra_args(false);
    app.add_option("--exclude-lang", o.excludeLangs, "Leave out these languages (repeatable)")
        ->type_name("NAME")
        ->allow_extra_args(false);
    app.add_flag("--skip-generated", o.skipGenerated,
                 "Leave out generated files (linguist-generated in .gitattributes, or a marker in the first lines)");
    app.add_flag("--skip-vendored", o.skipVendored,
                 "Leave out vendored files and documentation (vendor/, third_party/, node_modules/, linguist-vendored, "
                 "linguist-documentation)");
    app.add_option("--ignored", o.ignoredFile, "Write every file left out, with its reason, to FILE")
        ->type_name("FILE");
    app.add_flag("--sum", o.sum,
                 "The PATHs are JSON outputs of kordelc runs ('-' reads standard input): add them up, in any format");
    app.add_option("--max-file-size", maxFileSize, "Leave out files larger than SIZE bytes (K, M, G: 1024s)")
        ->type_name("SIZE")
        ->check(Check([](std::string& v) {
            const std::optional<std::uint64_t> size = ParseSize(v);
            if (!size) return "'" + v + "' is no size";
            // 0 would leave every file out; no limit is the option left out.
            return *size == 0 ? "'" + v + "' leaves every file out: give at least 1 byte" : std::string();
        }));
    app.add_flag("--skip-duplicates", o.skipDuplicates, "Count files with identical contents once");
    app.add_flag("--follow-symlinks", o.followSymlinks, "Follow symbolic links (each file is counted once)");
}

// The run's name, lists and jobs, and the --diff and --history modes; answers --history.
CLI::Option* AddModeOptions(CLI::App& app, Options& o, std::string& historyRev) {
    app.add_option("--name", o.name, "Project name for the reports (default: the name in a .kpl PATH)")
        ->type_name("NAME");
    app.add_option("--save-list", o.saveList, "Write the counted files as a project list (.kpl) to FILE")
        ->type_name("FILE");
    app.add_option("-j,--jobs", o.jobs, "Files counted in parallel, 1 to 256 (default: the number of cores); while files come from the disk, up to 8 times as many are read at once")
        ->type_name("N")
        ->check(Check([](std::string& v) {
            return v.find_first_not_of("0123456789") == std::string::npos && !v.empty() && v.size() < 4 &&
                           std::stoi(v) >= 1 && std::stoi(v) <= 256
                       ? std::string()
                       : "'" + v + "' is not a number from 1 to 256";
        }));
    app.add_option("--diff", o.diff,
                   "Count the change from OLD to NEW (each a folder, a .kpl, a file, git:REV or git:REV:PATH)")
        ->type_name("OLD NEW")
        ->expected(2)
        ->allow_extra_args(false);
    CLI::Option* history = app.add_option("--history", historyRev,
                   "Count every first-parent commit of REV (default HEAD) or of a range A..B, oldest first")
        ->type_name("[REV]")
        ->expected(0, 1);
    app.add_option("--since", o.since, "--history: commits from DATE on (YYYY-MM-DD[THH:MM[:SS]], UTC)")
        ->type_name("DATE");
    app.add_option("--until", o.until, "--history: commits up to DATE (a day counts whole)")->type_name("DATE");
    app.add_option("--every", o.every, "--history: a point every N commits, or the last of each day, week, month; or tag")
        ->type_name("N|PERIOD");
    app.add_option("--cache", o.cache, "--history: keep blob counts and point totals in FILE, so a rerun counts only new commits")
        ->type_name("FILE");
    return history;
}

// The checks of options that go together or exclude each other; throws the usage error.
void CheckOptions(Options& o, const CLI::Option* history, const std::string& historyRev) {
    if (history->count() > 0) o.history = historyRev.empty() ? "HEAD" : historyRev;
    if (!o.history && (o.format == outputs::Format::Svg || !o.since.empty() || !o.until.empty() || !o.every.empty() ||
                       !o.cache.empty()))
        throw CLI::ValidationError("--history", "-f svg, --since, --until, --every and --cache go with --history only");
    if (!o.diff.empty()) {
        if (!o.inputs.empty() || !o.listFile.empty() || !o.stdinName.empty())
            throw CLI::ValidationError("--diff", "takes its two sides only, no further PATH, --list or --stdin-name");
        if (o.format == outputs::Format::Txt || o.format == outputs::Format::Html)
            throw CLI::ValidationError("--diff", "prints -f table, md, csv or json");
        // A diff's rows are changes, not counts: no share of a whole, nor an order by one.
        if (o.percent || o.sort || !o.saveList.empty() || o.skipDuplicates)
            throw CLI::ValidationError("--diff", "does not take -p, --sort, --save-list or --skip-duplicates");
        if (!o.includeLangs.empty() || !o.excludeLangs.empty() || o.skipGenerated || o.skipVendored ||
            !o.ignoredFile.empty())
            throw CLI::ValidationError("--diff", "does not take the language, generated or vendored filters, "
                                                 "nor --ignored");
    } else if (o.inputs.empty() && o.listFile.empty() && o.stdinName.empty() && !o.listLanguages && !o.history) {
        throw CLI::RequiredError("PATH");
    }
    for (const auto* patterns : {&o.excludeDirs, &o.excludeGlobs}) {
        for (const std::string& pattern : *patterns) {
            const std::string why = vcs::WhyNeverMatches(pattern);
            if (!why.empty())
                throw CLI::ValidationError(patterns == &o.excludeDirs ? "--exclude-dir" : "--exclude",
                                           "'" + pattern + "' can never match: " + why);
        }
    }
    if (o.sum && (o.inputs.empty() || !o.listFile.empty() || !o.stdinName.empty() || !o.diff.empty() ||
                  o.listLanguages))
        throw CLI::ValidationError("--sum", "adds up the JSON outputs named as PATHs, without --list, "
                                            "--stdin-name, --diff or --list-languages");
    if (!o.stdinName.empty() && o.listFile == "-")
        throw CLI::ValidationError("--stdin-name", "and --list - would both read standard input");
    // -f csv is the per-file report, or with --by-language the summary by language.
    const bool report = o.format == outputs::Format::Txt || o.format == outputs::Format::Html ||
                        (o.format == outputs::Format::Csv && !o.byLanguage);
    if (o.byLanguage && (o.byFile || report))
        throw CLI::ValidationError("--by-language", "goes with neither --by-file nor a txt or html report");
    if (o.ascending && !o.sort && (o.byFile || report))
        throw CLI::ValidationError("--ascending", "needs --sort when files are listed");
    for (const std::string& map : o.maps) {
        const std::size_t eq = map.find('=');
        if (eq == std::string::npos || eq < 2 || eq + 2 >= map.size() + 1 || map[0] != '.' || map[eq + 1] != '.')
            throw CLI::ValidationError("--map", "'" + map + "' is not of the form .EXT=.OTHER");
    }
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::ostream& out, std::ostream& err, int& exitCode) {
    Options o;
    o.jobs = std::max(1u, std::thread::hardware_concurrency());
    std::string maxFileSize, formatName, sortName;
    CLI::App app{"kordelc counts the code, comment, mixed and blank lines of source files, by language.", "kordelc"};
    app.formatter(std::make_shared<Formatter>());
    app.get_formatter()->column_width(28);
    app.footer(kExamples);
    AddOutputOptions(app, o, formatName, sortName);
    AddCountingOptions(app, o);
    AddSelectionOptions(app, o, maxFileSize);
    std::string historyRev;
    const CLI::Option* history = AddModeOptions(app, o, historyRev);
    app.add_flag("-q,--quiet", o.quiet, "No progress line and no warnings, only errors");
    app.set_version_flag("--version", std::string("kordelc ") + kVersion, "Print the version");
    app.set_help_flag("-h,--help", "Print this help");
    try {
        app.parse(argc, argv);
        o.format = outputs::FormatFromName(formatName);
        if (!sortName.empty()) o.sort = sources::SortKeyFromName(sortName);
        CheckOptions(o, history, historyRev);
        if (!maxFileSize.empty()) o.maxFileSize = *ParseSize(maxFileSize);
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) {
            out << (dynamic_cast<const CLI::CallForVersion*>(&e) ? std::string("kordelc ") + kVersion + "\n"
                                                                  : app.help());
            exitCode = 0;
            return std::nullopt;
        }
        // The argument is shown as the other messages show names: no byte of it reaches a terminal raw.
        err << "kordelc: " << sources::EscapeForTerminal(e.what()) << "\nRun 'kordelc --help' for the options.\n";
        exitCode = 2;
        return std::nullopt;
    }
    return o;
}

}  // namespace kordel::cli
