// --sum: the JSON outputs of several kordelc runs added up into the output one run over all their
// files would give.
#pragma once

#include <istream>
#include <ostream>

#include "cli/kordelc.h"
#include "cli/options.h"
#include "cli/progress.h"

namespace kordel::cli {

/// Runs --sum: reads every shard named as a PATH ("-" from `in`) and prints them in the format the options ask for.
/// Answers the exit status: 0, 1 when a shard had skipped files or the output could not be written,
/// 2 when a shard cannot be read.
int RunSum(const Options& o, std::istream& in, const Console& console, Progress& progress, std::ostream& out);

}  // namespace kordel::cli
