// The result list: one row per source file, its path and the numbers of its last count; views format them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/results.h"
#include "projects/list_order.h"

namespace kordel::ui {

struct Column {
    std::string_view title;
    int width;
};

/// The columns of the list: six, or ten with the percentage columns.
const std::vector<Column>& ListColumns(bool sps);

/// What a column of the list shows.
enum class CountField { Path, Code, Comment, Mixed, Blank, Total };
struct ColumnContent {
    CountField field = CountField::Path;
    bool percent = false;  ///< the field's share of the total instead of its count
};
/// The content of `column` in the layout with or without the percentage columns.
ColumnContent ContentOf(std::size_t column, bool sps);
/// The count of one field (Path gives 0).
std::int64_t CountOf(const engine::FileCounts& counts, CountField field);

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
        std::string path;
        std::optional<engine::FileCounts> counts;  // none until the row is counted
        std::uint32_t countedIn = 0;                // the percentage layout the counts were written in
    };

public:
    explicit ResultList(bool sps = false);

    void SetListener(ResultListListener* listener) { m_listener = listener; }

    std::size_t RowCount() const { return m_rows.size(); }
    std::size_t ColumnCount() const { return ListColumns(m_percent).size(); }
    bool percentColumns() const { return m_percent; }

    /// Inserts a row for `path` at its place in ascending path order and returns its index.
    std::size_t AddPath(std::string path);
    /// Inserts many paths at their places at once (one view update).
    void AddPaths(std::vector<std::string> paths);

    /// The list as it will be once new paths are added, made ready for AddRows.
    class NewRows {
        friend class ResultList;
        std::vector<std::optional<Row>> rows;  // the new rows at their places, an empty slot per row of the list
        std::size_t listRows = 0;
    };
    /// The slow part of adding many paths (their order and their places among the rows): it only reads
    /// the list, so it may run on another thread while this one paints. The list must not change
    /// until AddRows.
    static NewRows PrepareRows(const ResultList& list, std::vector<std::string> paths);
    /// Puts the list's rows into their slots (one view update); as AddPaths.
    void AddRows(NewRows added);

    const std::string& Path(std::size_t row) const { return m_rows[row].path; }
    /// The row's counts; none before its first count.
    const std::optional<engine::FileCounts>& Counts(std::size_t row) const { return m_rows[row].counts; }
    /// The row's percentage cells are filled: the columns are on and the row was counted since they came.
    bool PercentsShown(std::size_t row) const;
    void SetCounts(std::size_t row, const engine::FileCounts& counts);
    std::vector<std::string> Paths() const;
    /// Swaps the contents of two rows (the sorts move contents, the order rule is not reapplied).
    void SwapRows(std::size_t a, std::size_t b);

    class RemovedRows;
    /// Takes every row out; the caller chooses the thread that destroys them (see RemovedRows).
    RemovedRows Clear();

    /// Turns the four percentage columns on or off (one view reset). Their cells stay empty until the
    /// row's next count; the counts are kept.
    void SetPercentColumns(bool on);

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
    std::size_t PlaceOf(std::string_view path) const;

    std::vector<Row> m_rows;
    bool m_percent;
    std::uint32_t m_percentLayout = 0;  // counts up each time the percentage columns come on
    ResultListListener* m_listener = nullptr;
};

/// The list's order for paths (shared with kordelc, which counts a project list in this order).
using projects::PathBefore;

}  // namespace kordel::ui
