// The diff's pairing over two line lists: whatever the lines and their categories, each category's four
// numbers add up to each side's lines (old: same + modified + removed, new: same + modified + added).
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "diff/diff_lines.h"
#include "fuzz_support.h"

namespace {

using kordel::diff::Change;
using kordel::engine::LineCategory;

// Each byte is a line: its low bits pick the text from a small set (so that lines repeat and the
// diff finds equal runs), its high bits the category.
kordel::engine::BufferLines Lines(const std::uint8_t* data, std::size_t size, std::array<std::int64_t, 4>& perCategory) {
    kordel::engine::BufferLines lines;
    for (std::size_t i = 0; i < size; ++i) {
        lines.text += "line ";
        lines.text += static_cast<char>('a' + (data[i] & 0x0f));
        lines.text += '\n';
        const auto category = static_cast<LineCategory>((data[i] >> 4) & 3);
        lines.categories.push_back(category);
        ++perCategory[static_cast<std::size_t>(category)];
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t oldSize = data[0] % (size);  // the first byte says where the old lines end
    std::array<std::int64_t, 4> oldCount{}, newCount{};
    const auto oldLines = Lines(data + 1, oldSize, oldCount);
    const auto newLines = Lines(data + 1 + oldSize, size - 1 - oldSize, newCount);
    kordel::diff::DiffCounts counts;
    std::string error;
    FUZZ_CHECK(kordel::diff::DiffLines(oldLines, newLines, counts, error));
    for (const LineCategory c : kordel::diff::kCategories) {
        const std::int64_t same = counts.Get(c, Change::Same), modified = counts.Get(c, Change::Modified);
        FUZZ_CHECK(same + modified + counts.Get(c, Change::Removed) == oldCount[static_cast<std::size_t>(c)]);
        FUZZ_CHECK(same + modified + counts.Get(c, Change::Added) == newCount[static_cast<std::size_t>(c)]);
    }
    return 0;
}
