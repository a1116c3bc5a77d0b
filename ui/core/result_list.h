// The result list: one row per source file, the path in column 0 and the texts of its last count.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "projects/list_order.h"

namespace kordel::ui {

struct Column {
    std::string_view title;
    int width;
};

/// The columns of the list: six, or ten with the percentage columns.
const std::vector<Column>& ListColumns(bool sps);

/// Watches the list so a view can follow its changes.
class ResultListListener {
public:
    virtual ~ResultListListener() = default;
    virtual void RowsInserted(std::size_t first, std::size_t count) = 0;
    virtual void RowsRemoved(std::size_t first, std::size_t count) = 0;
    virtual void CellsChanged(std::size_t row) = 0;
    /// Rows or columns changed wholesale.
    virtual void ListReset() = 0;
};

class ResultList {
    struct Row {
        std::vector<std::string> cells;  // never empty: the path and the count texts
    };

public:
    explicit ResultList(bool sps = false);

    void SetListener(ResultListListener* listener) { m_listener = listener; }

    std::size_t RowCount() const { return m_rows.size(); }
    std::size_t ColumnCount() const { return m_columns; }
    bool percentColumns() const { return m_columns == ListColumns(true).size(); }

    /// Inserts a row for `path` at its place in ascending path order and returns its index.
    std::size_t AddPath(std::string path);
    /// Inserts many paths at their places at once (one view update).
    void AddPaths(std::vector<std::string> paths);

    /// The list as it will be once new paths are added, made ready for AddRows.
    class NewRows {
        friend class ResultList;
        std::vector<Row> rows;  // the new rows at their places, an empty slot for each row of the list
        std::size_t listRows = 0;
    };
    /// The slow part of adding many paths (their order and their places among the rows): it only reads
    /// the list, so it may run on another thread while this one paints. The list must not change
    /// until AddRows.
    static NewRows PrepareRows(const ResultList& list, std::vector<std::string> paths);
    /// Puts the list's rows into their slots (one view update); as AddPaths.
    void AddRows(NewRows added);

    const std::string& Cell(std::size_t row, std::size_t column) const;
    const std::string& Path(std::size_t row) const { return Cell(row, 0); }
    /// Sets the cells after the path from `texts` (as many as fit).
    void SetCounts(std::size_t row, const std::vector<std::string>& texts);
    std::vector<std::string> Paths() const;
    const std::vector<std::string>& RowCells(std::size_t row) const { return m_rows[row].cells; }
    /// Swaps the contents of two rows (the sorts move contents, the order rule is not reapplied).
    void SwapRows(std::size_t a, std::size_t b);

    class RemovedRows;
    /// Takes every row out; the caller chooses the thread that destroys them (see RemovedRows).
    RemovedRows Clear();

    /// Every row with the four percentage columns turned on (inserted empty at 2, 4, 6, 8) or off
    /// (removed), made ready for SetPercentColumns. It only reads the list, so it may run on another
    /// thread while this one paints; the list must not change until SetPercentColumns.
    class PercentRows {
        friend class ResultList;
        std::vector<Row> rows;
        bool on = false;
    };
    static PercentRows PreparePercentColumns(const ResultList& list, bool on);
    /// Puts the prepared rows in place of the list's (one view reset); the rows they replace are the
    /// caller's to destroy.
    RemovedRows SetPercentColumns(PercentRows prepared);

    /// Rows taken out of the list. Freeing a million of them takes longer than a view may wait, so the
    /// caller chooses the thread that destroys them.
    class RemovedRows {
        friend class ResultList;
        std::vector<Row> rows;
    };
    /// Takes the given rows out (indexes as they stand before the deletion; repeats and rows past
    /// the end are ignored).
    RemovedRows RemoveRows(std::vector<std::size_t> rows);

private:
    static Row NewRow(std::string& path, std::size_t columns);  // takes the path
    std::size_t PlaceOf(std::string_view path) const;

    std::vector<Row> m_rows;
    std::size_t m_columns;
    ResultListListener* m_listener = nullptr;
};

/// The list's order for paths (shared with kordelc, which counts a project list in this order).
using projects::PathBefore;

}  // namespace kordel::ui
