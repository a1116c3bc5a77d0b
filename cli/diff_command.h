// kordelc --diff OLD NEW: the sides, the change count and its output.
#pragma once

#include <ostream>

#include "cli/progress.h"
#include "diff/diff_sides.h"
#include "cli/kordelc.h"
#include "cli/options.h"
#include "engine/count_run.h"

namespace kordel::cli {

/// Runs --diff; returns 0, 1 when a file was skipped or the output could not be written, 2 when a
/// side could not be read.
int RunDiff(const Options& o, const engine::CountOptions& options, const engine::UserLanguageLookup& userLanguages,
            const diff::SideContext& context, const Console& console, Progress& progress, std::ostream& out);

}  // namespace kordel::cli
