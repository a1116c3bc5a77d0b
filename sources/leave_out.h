// Files left out of a run on purpose: larger than --max-file-size, or a copy of one counted already.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sources/skipped.h"
#include "sources/path_table.h"

namespace kordel::sources {

/// Removes from `paths` the files larger than `maxBytes` and notes them in `leftOut`. A path that
/// names no file stays, so that the run reports it.
void LeaveOutLargeFiles(PathTable& paths, std::uint64_t maxBytes, std::vector<Skipped>& leftOut);

/// Removes from `paths` every file whose contents equal those of a file before it (compared byte
/// for byte) and notes each in `leftOut` with the file it repeats.
void LeaveOutDuplicates(PathTable& paths, std::vector<Skipped>& leftOut);

}  // namespace kordel::sources
