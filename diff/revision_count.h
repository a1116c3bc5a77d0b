// Counting the files of git revisions straight from the object database.
#pragma once

#include <string>
#include <vector>

#include "diff/diff_sides.h"
#include "engine/count_run.h"
#include "sources/rows.h"
#include "sources/skipped.h"

namespace kordel::diff {

/// Counts every file of `spec` that passes the filters, in path order, into `rows` (paths written
/// as git names them, "REV:path"). Files no language claims go to `skipped`. False with `error`
/// when the repository or the revision can't be read, or an object is damaged. Blobs larger than
/// the context's limit (by the size in their header) go to `leftOut` unread.
bool CountRevision(const vcs::RevisionSpec& spec, const SideContext& context, const engine::CountOptions& options,
                   const engine::UserLanguageLookup* userLanguages, std::vector<sources::Row>& rows,
                   std::vector<sources::Skipped>& skipped, std::vector<sources::Skipped>& leftOut, std::string& error);

}  // namespace kordel::diff
