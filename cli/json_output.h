// The JSON output: per file or per language, with plain integers.
#pragma once

#include <string>
#include <vector>

#include "cli/by_language.h"
#include "cli/rows.h"

namespace kordel::cli {

struct Skipped {
    std::string path;
    std::string reason;
};

/// {"project", "files": [...], "totals", "skipped"}.
std::string FilesJson(const std::string& project, const std::vector<Row>& rows, const engine::RunTotals& totals,
                      const std::vector<Skipped>& skipped);

/// {"project", "languages": [...], "totals", "skipped"}.
std::string LanguagesJson(const std::string& project, const std::vector<LanguageSummary>& summaries,
                          const std::vector<Skipped>& skipped);

}  // namespace kordel::cli
