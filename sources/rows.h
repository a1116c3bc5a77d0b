// The counted rows of a run and their order: the desktop program's sort applied to them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/count_run.h"
#include "engine/results.h"

namespace kordel::sources {

/// One file of the run: its path, whether it was counted, its counts and its language's name.
struct Row {
    std::string path;
    bool counted = false;
    engine::FileCounts counts;
    std::string language;
};

enum class SortKey { Code, Comment, Mixed, Blank, Lines };

/// The sort key named on the command line ("code", "comment", "mixed", "blank", "lines").
SortKey SortKeyFromName(const std::string& name);

/// A count column's value as the desktop's sort reads it from the cell text.
std::uint64_t KeyOf(const engine::FileCounts& counts, SortKey key);

/// The positions of `keys` in the order the desktop's sort leaves them (ties included): element i of
/// the answer is the index of the key that ends at position i.
std::vector<std::size_t> DesktopOrder(std::vector<std::uint64_t> keys, bool ascending);

/// Puts `items` into the desktop's order of `keys` (one per item).
template <class T>
void ApplyDesktopOrder(std::vector<T>& items, const std::vector<std::uint64_t>& keys, bool ascending) {
    std::vector<T> sorted;
    sorted.reserve(items.size());
    for (std::size_t i : DesktopOrder(keys, ascending)) sorted.push_back(std::move(items[i]));
    items = std::move(sorted);
}

/// Sorts rows like the desktop's list: a row that was not counted has empty cells, so key 0.
void SortRows(std::vector<Row>& rows, SortKey key, bool ascending);

}  // namespace kordel::sources
