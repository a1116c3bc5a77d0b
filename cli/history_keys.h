// The keys a history cache files its sections under: a section is read back only by a run whose key
// is the same, so that nothing is reused unless it is certain to come out the same.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cli/options.h"
#include "sources/walk.h"
#include "engine/count_run.h"
#include "userlang/udlangdb.h"

namespace kordel::cli {

/// What a blob's counts as a language depend on: the program's version, the counting options, which
/// tables decide a language, the user languages' rules and the table of further languages.
std::string BlobCountsKey(const engine::CountOptions& options, const std::vector<userlang::UserLanguage>& userLanguages);

/// What a commit's totals depend on besides its tree: the blob counts' key, and everything that picks
/// the files and their languages (folder and file filters, .ignore files, --map, the language filters).
std::string PointTotalsKey(const std::string& blobCountsKey, const sources::FileFilters& filters, const Options& o);

/// A fingerprint of every field of every row of the table of further languages.
std::uint64_t KnownTableFingerprint();

}  // namespace kordel::cli
