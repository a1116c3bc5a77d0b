// The summary by language: one row per language with its file count and summed counts.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "sources/rows.h"

namespace kordel::outputs {

struct LanguageSummary {
    std::string language;
    std::size_t files = 0;
    engine::FileCounts counts;
};

/// Sums counted rows per language as they come, holding one entry per language.
class LanguageTotals {
public:
    void Add(const sources::Row& row);
    /// One summary per language, in the desktop's order of `key`; see SummarizeByLanguage.
    std::vector<LanguageSummary> Summaries(sources::SortKey key, bool ascending) const;

private:
    std::map<std::string, LanguageSummary> m_byName;
};

/// One summary per language of the counted rows, in the desktop's order of `key` (descending by
/// code lines unless told otherwise); languages are taken in name order before sorting, so equal
/// keys come out the same on every run.
std::vector<LanguageSummary> SummarizeByLanguage(const std::vector<sources::Row>& rows,
                                                 sources::SortKey key = sources::SortKey::Code, bool ascending = false);

}  // namespace kordel::outputs
