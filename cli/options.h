// The command line of kordelc: what each option sets, and --help.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/kordelc.h"
#include "outputs/format.h"
#include "outputs/row_output.h"
#include "sources/rows.h"

namespace kordel::cli {

struct Options {
    std::vector<std::string> inputs;
    outputs::Format format = outputs::Format::Table;
    std::string output;
    std::string name;
    std::string saveList;
    std::string languagesDb;
    std::string listFile;  ///< "-" for standard input
    bool percent = false;
    bool mixedAsBoth = false;
    bool blankInBlock = false;
    bool fortran77 = false;
    bool builtinOnly = false;  ///< only the built-in table and the user languages, as the desktop program counts
    std::vector<std::string> excludeDirs;
    bool noDefaultExcludes = false;
    std::vector<std::string> excludeGlobs;
    std::string includeExt;
    std::string vcs;
    bool followSymlinks = false;
    bool byLanguage = false;  ///< the default; kept for scripts that ask for it
    bool byFile = false;
    bool noIgnore = false;
    bool listLanguages = false;
    std::vector<std::string> maps;  ///< ".inc=.c": count the first extension as the language of the second
    std::string stdinName;
    std::uint64_t maxFileSize = 0;  ///< 0: no limit
    bool skipDuplicates = false;
    std::optional<sources::SortKey> sort;  ///< --sort; rows stay in path order without it
    bool ascending = false;
    bool quiet = false;
    unsigned jobs = 1;
    std::vector<std::string> diff;  ///< OLD and NEW of --diff; empty without it
    std::string excludeExt;
    std::vector<std::string> includeLangs;  ///< language names, any case
    std::vector<std::string> excludeLangs;
    std::string ignoredFile;  ///< --ignored: where every file left out is listed with its reason
    bool skipGenerated = false;
    bool skipVendored = false;
    bool sum = false;  ///< the PATHs are JSON outputs of kordelc to add up ("-": standard input)
    std::optional<std::string> history;  ///< REV or A..B of --history ("HEAD" when it names none)
    std::string since, until, every, cache;  ///< --since, --until, --every and --cache of --history
};

/// How the rows are written for these options, to the console's standard output unless -o names a file.
outputs::RowStyle RowStyleOf(const Options& o, const Console& console);

/// "500", "64K", "10M", "1G" (powers of 1024) as bytes; nothing when the text is no size.
std::optional<std::uint64_t> ParseSize(const std::string& text);

/// Parses the command line. Answers the options to run with, or the exit status when the run is
/// over already (0 after --help and --version, which print to `out`; 2 after a usage error).
std::optional<Options> ParseOptions(int argc, char** argv, std::ostream& out, std::ostream& err, int& exitCode);

}  // namespace kordel::cli
