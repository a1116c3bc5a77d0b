// The JSON output: the files and the languages of a run, with plain integers.
#pragma once

#include <string>
#include <vector>

#include "cli/by_language.h"
#include "cli/rows.h"

namespace kordel::cli {

/// A file not counted, and why.
struct Skipped {
    std::string path;
    std::string reason;
};

/// {"project", "files": [...], "languages": [...], "totals", "skipped", "left_out"}: `skipped` holds
/// files that could not be counted, `leftOut` files left out on purpose (too large, duplicates).
std::string RunJson(const std::string& project, const std::vector<Row>& rows,
                    const std::vector<LanguageSummary>& languages, const std::vector<Skipped>& skipped,
                    const std::vector<Skipped>& leftOut);

}  // namespace kordel::cli
