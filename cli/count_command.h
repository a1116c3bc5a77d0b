// kordelc's count of files, folders, project lists and revisions, and the commands' shared setting.
#pragma once

#include <istream>
#include <ostream>
#include <vector>

#include "cli/batch.h"
#include "cli/kordelc.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "diff/diff_sides.h"
#include "engine/count_run.h"
#include "userlang/udlangdb.h"

namespace kordel::cli {

/// What every command of kordelc works with, made once from the options.
struct Command {
    const Options& o;
    const engine::CountOptions& options;
    const engine::UserLanguageLookup& lookup;  ///< the user languages, read once
    const std::vector<userlang::UserLanguage>& userLanguages;
    const diff::SideContext& context;       ///< filters, --map and the list questions
    const sources::KnownName& knownByName;  ///< file names a table knows, without looking at a #! line
    const Console& console;
    Progress& progress;
    BatchListQuestions& listQuestions;
    std::istream& input;  ///< standard input
    std::ostream& out;
};

/// Counts the inputs and writes the output; the exit status of kordelc.
int RunCount(const Command& command);

}  // namespace kordel::cli
