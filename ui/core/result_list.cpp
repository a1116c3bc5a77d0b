// The result list's rows: paths, their counts, the column layout and removal.
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

ColumnContent ContentOf(std::size_t column, bool sps) {
    static constexpr CountField kOrder[] = {CountField::Path,  CountField::Code,  CountField::Comment,
                                            CountField::Mixed, CountField::Blank, CountField::Total};
    if (!sps) return {column < 6 ? kOrder[column] : CountField::Path, false};
    // With percentages: each count but the total is followed by its share (columns 2, 4, 6, 8).
    if (column == 0 || column > 9) return {};
    if (column == 9) return {CountField::Total, false};
    return {kOrder[(column + 1) / 2], column % 2 == 0};
}

std::int64_t CountOf(const engine::FileCounts& c, CountField field) {
    switch (field) {
        case CountField::Code: return c.ii;
        case CountField::Comment: return c.inoc;
        case CountField::Mixed: return c.inoml;
        case CountField::Blank: return c.inos;
        case CountField::Total: return c.nl3;
        case CountField::Path: break;
    }
    return 0;
}

ResultList::ResultList(bool sps) : m_percent(sps) {}

std::size_t ResultList::PlaceOf(std::string_view path) const {
    // After rows with the same key, like a list control inserting into its sorted order.
    const auto it = std::upper_bound(m_rows.begin(), m_rows.end(), path,
                                     [](std::string_view p, const Row& row) { return PathBefore(p, row.path); });
    return static_cast<std::size_t>(it - m_rows.begin());
}

std::size_t ResultList::AddPath(std::string path) {
    const std::size_t at = PlaceOf(path);
    m_rows.insert(m_rows.begin() + static_cast<std::ptrdiff_t>(at), Row{std::move(path), {}, 0});
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
        for (; path != paths.end() && PathBefore(*path, row.path); ++path)
            prepared.rows.emplace_back(Row{std::move(*path), {}, 0});
        prepared.rows.emplace_back();
    }
    for (; path != paths.end(); ++path) prepared.rows.emplace_back(Row{std::move(*path), {}, 0});
    return prepared;
}

void ResultList::AddRows(NewRows prepared) {
    if (prepared.rows.size() == prepared.listRows) return;
    assert(prepared.listRows == m_rows.size());
    // Moving a row moves a path and a few numbers: a million take a few milliseconds.
    std::vector<Row> rows;
    rows.reserve(prepared.rows.size());
    auto row = m_rows.begin();
    for (std::optional<Row>& slot : prepared.rows) rows.push_back(slot ? std::move(*slot) : std::move(*row++));
    m_rows = std::move(rows);
    if (m_listener) m_listener->ListReset();  // one reset instead of many inserts
}

bool ResultList::PercentsShown(std::size_t row) const {
    const Row& r = m_rows[row];
    return m_percent && r.counts && r.countedIn == m_percentLayout;
}

void ResultList::SetCounts(std::size_t row, const engine::FileCounts& counts) {
    m_rows[row].counts = counts;
    m_rows[row].countedIn = m_percentLayout;
    if (m_listener) m_listener->CellsChanged(row);
}

std::vector<std::string> ResultList::Paths() const {
    std::vector<std::string> paths;
    paths.reserve(m_rows.size());
    for (const auto& row : m_rows) paths.push_back(row.path);
    return paths;
}

void ResultList::SwapRows(std::size_t a, std::size_t b) {
    std::swap(m_rows[a], m_rows[b]);
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

void ResultList::SetPercentColumns(bool on) {
    if (on == m_percent) return;
    m_percent = on;
    // The rows counted before keep their counts; their percentage cells wait for the next count.
    if (on) ++m_percentLayout;
    if (m_listener) m_listener->ListReset();
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
