// Change counts of two versions of a file: each line keeps the category its own file's count gave it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/line_categories.h"
#include "engine/results.h"

namespace kordel::diff {

enum class Change { Same, Modified, Added, Removed };
inline constexpr std::array<Change, 4> kChanges = {Change::Same, Change::Modified, Change::Added, Change::Removed};
inline constexpr std::array<engine::LineCategory, 4> kCategories = {
    engine::LineCategory::Code, engine::LineCategory::Comment, engine::LineCategory::Mixed, engine::LineCategory::Blank};

/// Lines per category (code, comment, mixed, blank) and change (same, modified, added, removed).
class DiffCounts {
public:
    /// `cnoml`: a mixed line also counts as code and as comment.
    explicit DiffCounts(bool cnoml = false) : m_cnoml(cnoml) {}

    void Add(engine::LineCategory category, Change change, std::int64_t lines = 1);
    /// Every line of a file's counts (taken without the mixed-line option) as `change`.
    void AddFile(const engine::FileCounts& counts, Change change);
    void Add(const DiffCounts& other);

    std::int64_t Get(engine::LineCategory category, Change change) const {
        return m_cells[static_cast<std::size_t>(category)][static_cast<std::size_t>(change)];
    }
    /// Lines that are modified, added or removed in any category.
    bool HasChanges() const;
    bool operator==(const DiffCounts& other) const { return m_cells == other.m_cells; }

private:
    std::array<std::array<std::int64_t, 4>, 4> m_cells{};
    bool m_cnoml;
};

/// Diffs two versions' lines (as engine::CountBuffer gave them) with libgit2's patience diff and
/// counts by the pairing rule: equal lines are same in their category (or, when the two counts gave
/// them different categories, removed in the old one's and added in the new one's); in a changed
/// hunk the k-th removed line pairs with the k-th added line, modified when both have the same
/// category, else removed and added; unpaired lines are removed or added. False when libgit2 fails.
bool DiffLines(const engine::BufferLines& oldLines, const engine::BufferLines& newLines, DiffCounts& counts,
               std::string& error);

}  // namespace kordel::diff
