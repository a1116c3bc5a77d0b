// Sorting the result list by one column's numbers: the order of a selection sort with exchanges,
// ties included, found in O(n log n).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kordel::engine {

/// What a sort reports; the swaps are to be applied to the list in the order given.
class SortObserver {
public:
    virtual ~SortObserver() = default;
    virtual void SetStatus(const std::string& text) = 0;
    virtual void SetProgress(int percent) = 0;
    virtual void SwapRows(std::size_t a, std::size_t b) = 0;
};

struct SortOutcome {
    bool cancelled = false;
    std::size_t passes = 0;  ///< swaps made
};

/// Sorts rows by `keys` (one per row, in list order). Descending: each pass moves the largest key
/// left (the first row of equal keys wins) to the front of the unsorted part; ascending: to its back.
/// `canc` is cleared at the start and checked before every pass; a cancel keeps the swaps made.
SortOutcome SortResults(std::vector<std::uint64_t> keys, bool ascending, std::atomic<int>& canc,
                        SortObserver& observer);

}  // namespace kordel::engine
