// The result list's sort order: a tournament over the keys that picks what a selection sort would.
#include "engine/sort_order.h"

#include <limits>

namespace kordel::engine {
namespace {

constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

// A tournament over row positions: every node holds the position of the largest key below it,
// the lowest position among equal keys, so the root is the row a left-to-right scan would pick.
class Tournament {
public:
    explicit Tournament(const std::vector<std::uint64_t>& keys) : m_keys(keys), m_alive(keys.size(), true) {
        m_leaves = 1;
        while (m_leaves < keys.size()) m_leaves *= 2;
        m_tree.assign(2 * m_leaves, kNone);
        for (std::size_t i = 0; i < keys.size(); ++i) m_tree[m_leaves + i] = i;
        for (std::size_t node = m_leaves - 1; node >= 1; --node) m_tree[node] = Better(m_tree[2 * node], m_tree[2 * node + 1]);
    }

    std::size_t Best() const { return m_tree[1]; }

    void Remove(std::size_t position) {
        m_alive[position] = false;
        Update(position);
    }
    void Update(std::size_t position) {
        std::size_t node = m_leaves + position;
        m_tree[node] = m_alive[position] ? position : kNone;
        for (node /= 2; node >= 1; node /= 2) m_tree[node] = Better(m_tree[2 * node], m_tree[2 * node + 1]);
    }

private:
    std::size_t Better(std::size_t a, std::size_t b) const {
        if (a == kNone) return b;
        if (b == kNone) return a;
        if (m_keys[a] != m_keys[b]) return m_keys[a] > m_keys[b] ? a : b;
        return a < b ? a : b;
    }

    const std::vector<std::uint64_t>& m_keys;
    std::vector<bool> m_alive;
    std::vector<std::size_t> m_tree;
    std::size_t m_leaves;
};

}  // namespace

SortOutcome SortResults(std::vector<std::uint64_t> keys, bool ascending, std::atomic<int>& canc,
                        SortObserver& observer) {
    canc = 0;
    SortOutcome outcome;
    const std::size_t n = keys.size();
    // An empty list has no progress to make (and no step to divide out).
    const double step = n == 0 ? 0.0 : 100.0 / static_cast<double>(n);
    double progress = 0.0;
    Tournament tournament(keys);
    std::size_t last = n;  // one past the unsorted part when ascending
    for (std::size_t pass = 0;; ++pass) {
        if (canc.load() == 1) {
            outcome.cancelled = true;
            break;
        }
        observer.SetStatus("Sorting source file " + std::to_string(pass) + " of " + std::to_string(n));
        std::size_t chosen = 0;
        std::size_t target = 0;
        if (ascending) {
            if (last == 0) break;
            target = --last;
        } else {
            if (pass >= n) break;
            target = pass;
        }
        chosen = tournament.Best();
        std::swap(keys[chosen], keys[target]);
        observer.SwapRows(chosen, target);
        tournament.Remove(target);
        if (chosen != target) tournament.Update(chosen);
        ++outcome.passes;
        progress += step;
        observer.SetProgress(static_cast<int>(progress));
    }
    return outcome;
}

}  // namespace kordel::engine
