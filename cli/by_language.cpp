// Sums the counted rows per language name.
#include "cli/by_language.h"

#include <map>

namespace kordel::cli {

std::vector<LanguageSummary> SummarizeByLanguage(const std::vector<Row>& rows, SortKey key, bool ascending) {
    std::map<std::string, LanguageSummary> byName;
    for (const Row& row : rows) {
        if (!row.counted) continue;
        LanguageSummary& sum = byName[row.language];
        sum.language = row.language;
        ++sum.files;
        sum.counts.ii += row.counts.ii;
        sum.counts.inoc += row.counts.inoc;
        sum.counts.inoml += row.counts.inoml;
        sum.counts.inos += row.counts.inos;
        sum.counts.nl3 += row.counts.nl3;
    }
    std::vector<LanguageSummary> summaries;
    std::vector<std::uint64_t> keys;
    for (auto& [name, sum] : byName) {
        keys.push_back(KeyOf(sum.counts, key));
        summaries.push_back(std::move(sum));
    }
    ApplyDesktopOrder(summaries, keys, ascending);
    return summaries;
}

}  // namespace kordel::cli
