// Rows of a run and the desktop's selection-sort order over them.
#include "sources/rows.h"

#include <numeric>
#include <stdexcept>

#include "sources/languages.h"
#include "engine/sort_order.h"

namespace kordel::sources {
namespace {

// Replays the sort's swaps on a permutation of the original positions.
class PermutationObserver final : public engine::SortObserver {
public:
    explicit PermutationObserver(std::size_t n) : m_order(n) { std::iota(m_order.begin(), m_order.end(), 0); }
    void SetStatus(const std::string&) override {}
    void SetProgress(int) override {}
    void SwapRows(std::size_t a, std::size_t b) override { std::swap(m_order[a], m_order[b]); }
    std::vector<std::size_t> Take() { return std::move(m_order); }

private:
    std::vector<std::size_t> m_order;
};

}  // namespace

SortKey SortKeyFromName(const std::string& name) {
    if (name == "code") return SortKey::Code;
    if (name == "comment") return SortKey::Comment;
    if (name == "mixed") return SortKey::Mixed;
    if (name == "blank") return SortKey::Blank;
    if (name == "lines") return SortKey::Lines;
    throw std::invalid_argument("unknown sort key " + name);
}

std::uint64_t KeyOf(const engine::FileCounts& counts, SortKey key) {
    std::int64_t value = 0;
    switch (key) {
        case SortKey::Code: value = counts.ii; break;
        case SortKey::Comment: value = counts.inoc; break;
        case SortKey::Mixed: value = counts.inoml; break;
        case SortKey::Blank: value = counts.inos; break;
        case SortKey::Lines: value = counts.nl3; break;
    }
    // The digits of the cell text: counts are never negative.
    return value < 0 ? 0 : static_cast<std::uint64_t>(value);
}

std::vector<std::size_t> DesktopOrder(std::vector<std::uint64_t> keys, bool ascending) {
    PermutationObserver observer(keys.size());
    std::atomic<int> canc{0};
    engine::SortResults(std::move(keys), ascending, canc, observer);
    return observer.Take();
}

void SortRows(std::vector<Row>& rows, SortKey key, bool ascending) {
    std::vector<std::uint64_t> keys;
    keys.reserve(rows.size());
    for (const Row& row : rows) keys.push_back(row.counted ? KeyOf(row.counts, key) : 0);
    ApplyDesktopOrder(rows, keys, ascending);
}

}  // namespace kordel::sources
