// The pairing rule over the hunks of the line diff.
#include "diff/diff_lines.h"

#include <vector>

#include "vcs/line_hunks.h"

namespace kordel::diff {

using engine::LineCategory;

bool DiffLines(const engine::BufferLines& oldLines, const engine::BufferLines& newLines, DiffCounts& counts,
               std::string& error) {
    std::vector<vcs::LineHunk> hunks;
    if (!vcs::DiffHunks(oldLines.text, newLines.text, hunks, error)) return false;
    const auto& oldCats = oldLines.categories;
    const auto& newCats = newLines.categories;
    std::size_t o = 0, n = 0;
    // Lines outside the hunks are equal on both sides, in the same order.
    const auto equalRun = [&](std::size_t oldEnd) {
        for (; o < oldEnd && o < oldCats.size() && n < newCats.size(); ++o, ++n) {
            if (oldCats[o] == newCats[n]) {
                counts.Add(oldCats[o], Change::Same);
            } else {
                counts.Add(oldCats[o], Change::Removed);
                counts.Add(newCats[n], Change::Added);
            }
        }
    };
    for (const vcs::LineHunk& h : hunks) {
        if (h.oldBegin < o || h.newBegin < n || h.oldBegin - o != h.newBegin - n ||
            h.oldBegin + h.oldCount > oldCats.size() || h.newBegin + h.newCount > newCats.size()) {
            error = "the line diff gave hunks out of order";
            return false;
        }
        equalRun(h.oldBegin);
        const std::size_t paired = std::min(h.oldCount, h.newCount);
        for (std::size_t k = 0; k < paired; ++k) {
            const LineCategory before = oldCats[h.oldBegin + k];
            const LineCategory after = newCats[h.newBegin + k];
            if (before == after) {
                counts.Add(before, Change::Modified);
            } else {
                counts.Add(before, Change::Removed);
                counts.Add(after, Change::Added);
            }
        }
        for (std::size_t k = paired; k < h.oldCount; ++k) counts.Add(oldCats[h.oldBegin + k], Change::Removed);
        for (std::size_t k = paired; k < h.newCount; ++k) counts.Add(newCats[h.newBegin + k], Change::Added);
        o = h.oldBegin + h.oldCount;
        n = h.newBegin + h.newCount;
    }
    if (oldCats.size() - o != newCats.size() - n) {
        error = "the line diff does not cover both versions";
        return false;
    }
    equalRun(oldCats.size());
    return true;
}

}  // namespace kordel::diff
