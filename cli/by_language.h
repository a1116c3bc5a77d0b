// The summary by language: one row per language with its file count and summed counts.
#pragma once

#include <string>
#include <vector>

#include "cli/rows.h"

namespace kordel::cli {

struct LanguageSummary {
    std::string language;
    std::size_t files = 0;
    engine::FileCounts counts;
};

/// One summary per language of the counted rows, in the desktop's order of `key` (descending by
/// code lines unless told otherwise); languages are taken in name order before sorting, so equal
/// keys come out the same on every run.
std::vector<LanguageSummary> SummarizeByLanguage(const std::vector<Row>& rows, SortKey key = SortKey::Code,
                                                 bool ascending = false);

}  // namespace kordel::cli
