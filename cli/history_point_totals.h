// A point's totals per language, and the totals of points kept between runs by commit id.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "cli/history_memo.h"
#include "engine/results.h"

namespace kordel::cli {

/// A language's files and lines at one point.
struct LanguageTotal {
    std::int64_t files = 0;
    engine::FileCounts counts;
};
bool operator==(const LanguageTotal& a, const LanguageTotal& b);

/// Per language number: a point's totals.
using PointTotals = std::vector<LanguageTotal>;

/// The totals of points by commit id, in the order they were added. A commit's totals depend only on
/// its tree and the options, so one option set's store serves any later run with those options.
class PointStore {
public:
    /// The totals of `commit`, or nullptr.
    const PointTotals* Find(const BlobId& commit) const;
    /// Keeps the totals of `commit` (without the trailing languages that have nothing); a commit held
    /// already keeps its totals.
    void Add(const BlobId& commit, const PointTotals& totals);

    std::size_t size() const { return m_points.size(); }
    const BlobId& Commit(std::size_t i) const { return m_points[i].first; }
    const PointTotals& Totals(std::size_t i) const { return m_points[i].second; }

private:
    std::vector<std::pair<BlobId, PointTotals>> m_points;
    std::unordered_map<BlobId, std::size_t, BlobIdHash> m_index;
};

}  // namespace kordel::cli
