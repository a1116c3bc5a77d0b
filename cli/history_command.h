// kordelc --history [REV]: a repository's first-parent history counted at the cost of what changed.
#pragma once

#include <ostream>
#include <vector>

#include "diff/diff_sides.h"
#include "cli/kordelc.h"
#include "cli/progress.h"
#include "cli/options.h"
#include "engine/count_run.h"
#include "userlang/udlangdb.h"

namespace kordel::cli {

/// Runs --history; returns 0, 1 when a file could not be counted or an output or the cache could not be
/// written, 2 after a usage error or when the history cannot be read. `userLanguages` are the rules
/// of the user languages, which the cache's option set names.
int RunHistory(const Options& o, const engine::CountOptions& options, const engine::UserLanguageLookup& lookup,
               const std::vector<userlang::UserLanguage>& userLanguages, const diff::SideContext& context,
               const Console& console, Progress& progress, std::ostream& out);

}  // namespace kordel::cli
