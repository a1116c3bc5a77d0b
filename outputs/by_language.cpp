// Sums the counted rows per language name.
#include "outputs/by_language.h"

namespace kordel::outputs {

void LanguageTotals::Add(const sources::Row& row) {
    if (!row.counted) return;
    LanguageSummary& sum = m_byName[row.language];
    if (sum.language.empty()) sum.language = row.language;
    ++sum.files;
    sum.counts.ii += row.counts.ii;
    sum.counts.inoc += row.counts.inoc;
    sum.counts.inoml += row.counts.inoml;
    sum.counts.inos += row.counts.inos;
    sum.counts.nl3 += row.counts.nl3;
}

std::vector<LanguageSummary> LanguageTotals::Summaries(sources::SortKey key, bool ascending) const {
    std::vector<LanguageSummary> summaries;
    std::vector<std::uint64_t> keys;
    for (const auto& [name, sum] : m_byName) {
        keys.push_back(sources::KeyOf(sum.counts, key));
        summaries.push_back(sum);
    }
    sources::ApplyDesktopOrder(summaries, keys, ascending);
    return summaries;
}

std::vector<LanguageSummary> SummarizeByLanguage(const std::vector<sources::Row>& rows, sources::SortKey key,
                                                 bool ascending) {
    LanguageTotals totals;
    for (const sources::Row& row : rows) totals.Add(row);
    return totals.Summaries(key, ascending);
}

}  // namespace kordel::outputs
