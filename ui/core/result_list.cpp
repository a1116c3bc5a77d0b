// The result list's rows: paths, their cell texts, the percentage columns and removal.
#include "ui/core/result_list.h"

#include <algorithm>
#include <cassert>
#include <iterator>
#include <utility>

namespace kordel::ui {

const std::vector<Column>& ListColumns(bool sps) {
    static const std::vector<Column> plain{{"Source File Path", 250}, {"Code Lines", 90},  {"Comment Lines", 120},
                                           {"Mixed Lines", 90},       {"Blank Lines", 90}, {"Total Lines", 90}};
    static const std::vector<Column> percent{
        {"Source File Path", 250}, {"Code Lines", 90},       {"% of Code Lines", 121},  {"Comment Lines", 120},
        {"% of Comment Lines", 121}, {"Mixed Lines", 90},    {"% of Mixed Lines", 121}, {"Blank Lines", 90},
        {"% of Blank Lines", 121}, {"Total Lines", 90}};
    return sps ? percent : plain;
}

ResultList::ResultList(bool sps) : m_columns(ListColumns(sps).size()) {}

ResultList::Row ResultList::NewRow(std::string& path, std::size_t columns) {
    Row row;
    row.cells.resize(columns);
    row.cells[0] = std::move(path);
    return row;
}

std::size_t ResultList::PlaceOf(std::string_view path) const {
    // After rows with the same key, like a list control inserting into its sorted order.
    const auto it = std::upper_bound(m_rows.begin(), m_rows.end(), path,
                                     [](std::string_view p, const Row& row) { return PathBefore(p, row.cells[0]); });
    return static_cast<std::size_t>(it - m_rows.begin());
}

std::size_t ResultList::AddPath(std::string path) {
    const std::size_t at = PlaceOf(path);
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(at), NewRow(path, m_columns));
    if (m_listener) m_listener->RowsInserted(at, 1);
    return at;
}

void ResultList::AddPaths(std::vector<std::string> paths) { AddRows(PrepareRows(*this, std::move(paths))); }

ResultList::NewRows ResultList::PrepareRows(const ResultList& list, std::vector<std::string> paths) {
    // Sorting the new paths stably and merging gives the same rows as inserting them one by one.
    std::stable_sort(paths.begin(), paths.end(), [](const auto& a, const auto& b) { return PathBefore(a, b); });
    NewRows prepared;
    prepared.listRows = list.m_rows.size();
    prepared.rows.reserve(list.m_rows.size() + paths.size());
    auto path = paths.begin();
    for (const Row& row : list.m_rows) {
        for (; path != paths.end() && PathBefore(*path, row.cells[0]); ++path)
            prepared.rows.push_back(NewRow(*path, list.m_columns));
        prepared.rows.emplace_back();
    }
    for (; path != paths.end(); ++path) prepared.rows.push_back(NewRow(*path, list.m_columns));
    return prepared;
}

void ResultList::AddRows(NewRows prepared) {
    if (prepared.rows.size() == prepared.listRows) return;
    assert(prepared.listRows == m_rows.size());
    // Moving a row moves three pointers: a million take a few milliseconds.
    auto row = m_rows.begin();
    for (Row& slot : prepared.rows)
        if (slot.cells.empty()) slot = std::move(*row++);
    m_rows = std::move(prepared.rows);
    if (m_listener) m_listener->ListReset();  // one reset instead of many inserts
}

const std::string& ResultList::Cell(std::size_t row, std::size_t column) const { return m_rows[row].cells[column]; }

void ResultList::SetCounts(std::size_t row, const std::vector<std::string>& texts) {
    auto& cells = m_rows[row].cells;
    for (std::size_t i = 0; i < texts.size() && i + 1 < cells.size(); ++i) cells[i + 1] = texts[i];
    if (m_listener) m_listener->CellsChanged(row);
}

std::vector<std::string> ResultList::Paths() const {
    std::vector<std::string> paths;
    paths.reserve(m_rows.size());
    for (const auto& row : m_rows) paths.push_back(row.cells[0]);
    return paths;
}

void ResultList::SwapRows(std::size_t a, std::size_t b) {
    std::swap(m_rows[a].cells, m_rows[b].cells);
    if (m_listener) {
        m_listener->CellsChanged(a);
        m_listener->CellsChanged(b);
    }
}

ResultList::RemovedRows ResultList::Clear() {
    RemovedRows removed;
    removed.rows.swap(m_rows);
    if (m_listener && !removed.rows.empty()) m_listener->RowsRemoved(0, removed.rows.size());
    return removed;
}

ResultList::PercentRows ResultList::PreparePercentColumns(const ResultList& list, bool on) {
    PercentRows prepared;
    prepared.on = on;
    if (on == list.percentColumns()) return prepared;
    prepared.rows.reserve(list.m_rows.size());
    for (const Row& row : list.m_rows) {
        const auto& cells = row.cells;
        Row& made = prepared.rows.emplace_back();
        made.cells.reserve(ListColumns(on).size());
        for (std::size_t at = 0; at < cells.size(); ++at) {
            // Off: columns 2, 4, 6 and 8 are the percentages. On: an empty one after each count but the total.
            if (!on && (at == 2 || at == 4 || at == 6 || at == 8)) continue;
            made.cells.push_back(cells[at]);
            if (on && at >= 1 && at <= 4) made.cells.emplace_back();
        }
    }
    return prepared;
}

ResultList::RemovedRows ResultList::SetPercentColumns(PercentRows prepared) {
    RemovedRows replaced;
    if (prepared.on == percentColumns()) return replaced;  // nothing was prepared
    assert(prepared.rows.size() == m_rows.size());
    replaced.rows.swap(m_rows);
    m_rows.swap(prepared.rows);
    m_columns = ListColumns(prepared.on).size();
    if (m_listener) m_listener->ListReset();
    return replaced;
}

ResultList::RemovedRows ResultList::RemoveRows(std::vector<std::size_t> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::lower_bound(rows.begin(), rows.end(), m_rows.size()), rows.end());
    if (rows.size() == m_rows.size()) return Clear();  // all of them: no row needs moving
    // A run of adjacent rows at a time, from the back, so the indexes still to come keep their meaning:
    // removing all of a million rows moves them once instead of a million times.
    RemovedRows removed;
    removed.rows.reserve(rows.size());
    auto end = rows.end();
    while (end != rows.begin()) {
        auto first = end - 1;
        while (first != rows.begin() && *(first - 1) + 1 == *first) --first;
        const std::size_t at = *first;
        const auto count = static_cast<std::ptrdiff_t>(end - first);
        const auto begin = m_rows.begin() + static_cast<std::ptrdiff_t>(at);
        std::move(begin, begin + count, std::back_inserter(removed.rows));
        m_rows.erase(begin, begin + count);
        if (m_listener) m_listener->RowsRemoved(at, static_cast<std::size_t>(count));
        end = first;
    }
    return removed;
}

}  // namespace kordel::ui
