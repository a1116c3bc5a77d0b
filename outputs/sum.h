// --sum: the JSON outputs of several kordelc runs (shards of one tree, or many repositories) added up
// into the output one run over all their files would give.
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "sources/rows.h"
#include "sources/skipped.h"

namespace kordel::outputs {

/// The files of the shards in order, and their skipped and left-out files.
struct Shards {
    std::string project;  ///< the first shard's
    std::vector<sources::Row> rows;
    std::vector<sources::Skipped> skipped;
    std::vector<sources::Skipped> leftOut;
};

/// Reads one shard's JSON (as `-f json` writes it) and appends it; false with `error` when the text is
/// no count of kordelc or its totals do not add up to its files.
bool AddShard(const std::string& text, const std::string& name, Shards& shards, std::string& error);

/// Reads every shard named ("-" from `in`) and appends it; false with `error` at the first that cannot
/// be read or is no count of kordelc.
bool ReadShards(const std::vector<std::string>& names, std::istream& in, Shards& shards, std::string& error);

}  // namespace kordel::outputs
