// --sum: the JSON outputs of several kordelc runs (shards of one tree, or many repositories) added up
// into the output one run over all their files would give.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "cli/json_output.h"
#include "cli/kordelc.h"
#include "cli/options.h"
#include "cli/progress.h"
#include "sources/rows.h"

namespace kordel::cli {

/// The files of the shards in order, and their skipped and left-out files.
struct Shards {
    std::string project;  ///< the first shard's
    std::vector<Row> rows;
    std::vector<Skipped> skipped;
    std::vector<Skipped> leftOut;
};

/// Reads one shard's JSON (as `-f json` writes it) and appends it; false with `error` when the text is
/// no count of kordelc or its totals do not add up to its files.
bool AddShard(const std::string& text, const std::string& name, Shards& shards, std::string& error);

/// Runs --sum: reads every shard named as a PATH ("-" from `in`) and prints them in the format the options ask for.
/// Answers the exit status: 0, 1 when a shard had skipped files or the output could not be written,
/// 2 when a shard cannot be read.
int RunSum(const Options& o, std::istream& in, const Console& console, Progress& progress, std::ostream& out);

}  // namespace kordel::cli
