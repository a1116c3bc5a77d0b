// A point's totals per language, and the totals of points kept between runs by commit id.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <unordered_map>
#include <vector>

#include "history/history_memo.h"
#include "engine/results.h"

namespace kordel::history {

/// A language's files and lines at one point.
struct LanguageTotal {
    std::int64_t files = 0;
    engine::FileCounts counts;
};
bool operator==(const LanguageTotal& a, const LanguageTotal& b);

/// Per language number: a point's totals.
using PointTotals = std::vector<LanguageTotal>;

/// The totals of points by commit id, in the order they were added, all in one array. A commit's totals
/// depend only on its tree and the options, so one option set's store serves any later run with them.
class PointStore {
public:
    /// The totals of `commit` (languages past the last one with files may be left out), or nothing.
    std::optional<std::span<const LanguageTotal>> Find(const vcs::BlobId& commit) const;
    /// Keeps the totals of `commit` (without the trailing languages that have nothing); a commit held
    /// already keeps its totals.
    void Add(const vcs::BlobId& commit, std::span<const LanguageTotal> totals);
    /// Room for `points` more points.
    void Reserve(std::size_t points);

    std::size_t size() const { return m_points.size(); }
    const vcs::BlobId& Commit(std::size_t i) const { return m_points[i].commit; }
    std::span<const LanguageTotal> Totals(std::size_t i) const {
        return std::span<const LanguageTotal>(m_totals).subspan(m_points[i].first, m_points[i].count);
    }

private:
    struct Point {
        vcs::BlobId commit;
        std::uint32_t count;
        std::size_t first;
    };
    std::vector<Point> m_points;
    std::vector<LanguageTotal> m_totals;
    std::unordered_map<vcs::BlobId, std::size_t, BlobIdHash> m_index;
};

}  // namespace kordel::history
