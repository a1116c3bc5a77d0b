// Point totals kept by commit id.
#include "history/history_point_totals.h"

namespace kordel::history {

bool operator==(const LanguageTotal& a, const LanguageTotal& b) {
    return a.files == b.files && a.counts.ii == b.counts.ii && a.counts.inoc == b.counts.inoc &&
           a.counts.inoml == b.counts.inoml && a.counts.inos == b.counts.inos && a.counts.nl3 == b.counts.nl3;
}

std::optional<std::span<const LanguageTotal>> PointStore::Find(const vcs::BlobId& commit) const {
    const auto it = m_index.find(commit);
    if (it == m_index.end()) return std::nullopt;
    return Totals(it->second);
}

void PointStore::Add(const vcs::BlobId& commit, std::span<const LanguageTotal> totals) {
    if (!m_index.emplace(commit, m_points.size()).second) return;
    std::size_t used = totals.size();
    while (used > 0 && totals[used - 1] == LanguageTotal{}) --used;
    m_points.push_back({commit, static_cast<std::uint32_t>(used), m_totals.size()});
    m_totals.insert(m_totals.end(), totals.begin(), totals.begin() + static_cast<std::ptrdiff_t>(used));
}

void PointStore::Reserve(std::size_t points) {
    m_points.reserve(m_points.size() + points);
    m_index.reserve(m_index.size() + points);
}

}  // namespace kordel::history
