// The four-by-four table of a diff: same, modified, added and removed lines per category.
#include "diff/diff_lines.h"

namespace kordel::diff {

using engine::LineCategory;

void DiffCounts::Add(LineCategory category, Change change, std::int64_t lines) {
    m_cells[static_cast<std::size_t>(category)][static_cast<std::size_t>(change)] += lines;
    if (m_cnoml && category == LineCategory::Mixed) {
        m_cells[static_cast<std::size_t>(LineCategory::Code)][static_cast<std::size_t>(change)] += lines;
        m_cells[static_cast<std::size_t>(LineCategory::Comment)][static_cast<std::size_t>(change)] += lines;
    }
}

void DiffCounts::AddFile(const engine::FileCounts& counts, Change change) {
    Add(LineCategory::Code, change, counts.ii);
    Add(LineCategory::Comment, change, counts.inoc);
    Add(LineCategory::Mixed, change, counts.inoml);
    Add(LineCategory::Blank, change, counts.inos);
}

void DiffCounts::Add(const DiffCounts& other) {
    for (std::size_t c = 0; c < 4; ++c)
        for (std::size_t k = 0; k < 4; ++k) m_cells[c][k] += other.m_cells[c][k];
}

bool DiffCounts::HasChanges() const {
    for (const auto& row : m_cells)
        if (row[1] || row[2] || row[3]) return true;
    return false;
}

}  // namespace kordel::diff
