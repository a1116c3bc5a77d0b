// The options of kordelc with CLI11, their checks, and the help text with examples.
#include "cli/options.h"

#include <algorithm>
#include <thread>

#include <CLI/CLI.hpp>

#include "kordel/version.h"

namespace kordel::cli {
namespace {

constexpr const char* kExamples = R"(Examples:
  kordelc src                          count every known source file under src
  kordelc -p --by-language .           one line per language, with percentages
  kordelc --vcs git --sort code .      the files git knows, the most code first
  kordelc --exclude-dir build --exclude '*_test.c' --include-ext .c,.h src
  find . -name '*.py' | kordelc --list -
  kordelc project.kpl -f html -o report.htm
  kordelc --diff git:v1.0 git:HEAD     lines same, modified, added and removed per language
  kordelc --diff old-release new-release --by-file -f md
  kordelc git:HEAD~5:src               count a revision's files without checking it out

Exit status: 0 when every file was counted, 1 when one was skipped or an output could not be
written, 2 after a usage error.)";

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::ostream& out, std::ostream& err, int& exitCode) {
    Options o;
    o.jobs = std::max(1u, std::thread::hardware_concurrency());
    CLI::App app{"kordelc counts the code, comment, mixed and blank lines of source files.", "kordelc"};
    app.footer(kExamples);
    app.add_option("PATH", o.inputs,
                   "Source files, folders (walked recursively), project lists (.kpl) or git revisions "
                   "(git:REV or git:REV:PATH, read from the repository of the current folder)");
    app.add_option("-f,--format", o.format,
                   "Output format: table, json, or a txt, csv or html report; with --diff: table, md, csv or json")
        ->type_name("FORMAT")
        ->check(CLI::IsMember({"table", "json", "txt", "csv", "html", "md"}));
    app.add_option("-o,--output", o.output, "Write the output to FILE (atomically) instead of standard output")
        ->type_name("FILE");
    app.add_flag("-p,--percent", o.percent, "Add the percentage columns");
    app.add_flag("--mixed-as-both", o.mixedAsBoth, "Count mixed lines also as code and as comment lines");
    app.add_flag("--blank-in-block", o.blankInBlock, "Count blank lines inside block comments as blank");
    app.add_flag("--fortran77", o.fortran77, "Count .f files as Fortran 77 instead of Forth");
    app.add_option("--name", o.name, "Project name for the report (default: the name in a .kpl PATH)")
        ->type_name("NAME");
    app.add_option("--save-list", o.saveList, "Write the counted files as a project list (.kpl) to FILE")
        ->type_name("FILE");
    app.add_option("--languages", o.languagesDb, "User language database to use instead of the default udlangdb.ini")
        ->type_name("FILE")
        ->check(CLI::ExistingFile);
    app.add_option("-j,--jobs", o.jobs, "Files counted in parallel (default: the number of cores)")
        ->type_name("N")
        ->check(CLI::Range(1u, 256u));
    app.add_option("--list", o.listFile, "Also count the paths in FILE, one per line ('-' reads standard input)")
        ->type_name("FILE");
    app.add_option("--exclude-dir", o.excludeDirs, "Skip folders named NAME (a glob; repeatable)")
        ->type_name("NAME")
        ->allow_extra_args(false);
    app.add_flag("--no-default-excludes", o.noDefaultExcludes, "Also walk .git, .svn and .hg folders");
    app.add_option("--exclude", o.excludeGlobs,
                   "Skip files whose name (or, with a '/', relative path) matches GLOB (repeatable)")
        ->type_name("GLOB")
        ->allow_extra_args(false);
    app.add_option("--include-ext", o.includeExt, "Take only files with these extensions, e.g. .c,.h")
        ->type_name("EXTS");
    app.add_option("--vcs", o.vcs, "Take a folder's files from git ls-files (ignored files left out)")
        ->type_name("git")
        ->check(CLI::IsMember({"git"}));
    app.add_flag("--follow-symlinks", o.followSymlinks, "Follow symbolic links (each file is counted once)");
    app.add_flag("--by-language", o.byLanguage, "Print one line per language instead of one per file");
    app.add_option("--sort", o.sort, "Order the files by code, comment, mixed, blank or lines (largest first)")
        ->type_name("KEY")
        ->check(CLI::IsMember({"code", "comment", "mixed", "blank", "lines"}));
    app.add_flag("--ascending", o.ascending, "Sort smallest first");
    app.add_option("--diff", o.diff,
                   "Count the change from OLD to NEW (each a folder, a .kpl, a file, git:REV or git:REV:PATH)")
        ->type_name("OLD NEW")
        ->expected(2)
        ->allow_extra_args(false);
    app.add_flag("--by-file", o.byFile, "With --diff: one entry per file instead of one per language");
    app.add_flag("-q,--quiet", o.quiet, "No progress line and no warnings, only errors");
    app.set_version_flag("--version", std::string("kordelc ") + kVersion);
    try {
        app.parse(argc, argv);
        if (!o.diff.empty()) {
            if (!o.inputs.empty() || !o.listFile.empty())
                throw CLI::ValidationError("--diff", "takes its two sides only, no further PATH or --list");
            if (o.format == "txt" || o.format == "html")
                throw CLI::ValidationError("--diff", "prints -f table, md, csv or json");
            if (o.byLanguage || !o.sort.empty() || !o.saveList.empty())
                throw CLI::ValidationError("--diff", "does not take --by-language, --sort or --save-list");
        } else {
            if (o.inputs.empty() && o.listFile.empty()) throw CLI::RequiredError("PATH");
            if (o.format == "md") throw CLI::ValidationError("-f md", "is a --diff format");
            if (o.byFile) throw CLI::ValidationError("--by-file", "needs --diff");
        }
        if (o.byLanguage && o.format != "table" && o.format != "json")
            throw CLI::ValidationError("--by-language", "works with -f table or -f json only");
        if (o.ascending && o.sort.empty() && !o.byLanguage)
            throw CLI::ValidationError("--ascending", "needs --sort (or --by-language)");
    } catch (const CLI::ParseError& e) {
        if (e.get_exit_code() == 0) {
            out << (dynamic_cast<const CLI::CallForVersion*>(&e) ? std::string("kordelc ") + kVersion + "\n"
                                                                  : app.help());
            exitCode = 0;
            return std::nullopt;
        }
        err << "kordelc: " << e.what() << "\nRun 'kordelc --help' for the options.\n";
        exitCode = 2;
        return std::nullopt;
    }
    return o;
}

}  // namespace kordel::cli
