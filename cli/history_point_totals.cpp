// Point totals kept by commit id.
#include "cli/history_point_totals.h"

namespace kordel::cli {

bool operator==(const LanguageTotal& a, const LanguageTotal& b) {
    return a.files == b.files && a.counts.ii == b.counts.ii && a.counts.inoc == b.counts.inoc &&
           a.counts.inoml == b.counts.inoml && a.counts.inos == b.counts.inos && a.counts.nl3 == b.counts.nl3;
}

const PointTotals* PointStore::Find(const BlobId& commit) const {
    const auto it = m_index.find(commit);
    return it == m_index.end() ? nullptr : &m_points[it->second].second;
}

void PointStore::Add(const BlobId& commit, const PointTotals& totals) {
    if (!m_index.emplace(commit, m_points.size()).second) return;
    std::size_t used = totals.size();
    while (used > 0 && totals[used - 1] == LanguageTotal{}) --used;
    m_points.emplace_back(commit, PointTotals(totals.begin(), totals.begin() + static_cast<std::ptrdiff_t>(used)));
}

}  // namespace kordel::cli
