// Turns the command line's PATHs and --list entries into the list of files to count.
#pragma once

#include <istream>
#include <string>
#include <unordered_set>
#include <vector>

#include "sources/path_table.h"
#include "sources/activity.h"
#include "sources/walk.h"
#include "projects/project_list.h"

namespace kordel::sources {

/// Where a run's files come from.
struct InputList {
    std::vector<std::string> paths;  ///< files, folders and project lists, in order
    std::string listFile;            ///< a file of further paths, one a line; "-" for standard input
    bool gitFiles = false;           ///< folders are listed by their git repository instead of walked
};

/// What the inputs gave: the files in order, and the project name of the first named .kpl.
struct Inputs {
    bool ok = true;  ///< false after an input that stops the run (an unreadable list, git failing)
    PathTable paths;
    std::string projectName;
    projects::ListState listState;
    /// Files that no table knows by name and that were named (as a PATH, in --list or in a project
    /// list), not found by a walk: when their "#!" line names no language they are reported, not left out.
    std::unordered_set<std::string> namedUnknown;
};

/// Each entry is a file (taken as given), a folder (walked, or listed by git with --vcs git) or a
/// project list; the PATHs come first, then the entries of --list, read from `stdinStream` for "-".
/// `knownByName` tells the file names a table knows.
Inputs CollectInputs(const InputList& options, FileCollector& collector, const KnownName& knownByName,
                     std::istream& stdinStream, Activity& progress, projects::ListQuestions& listQuestions);

}  // namespace kordel::sources
