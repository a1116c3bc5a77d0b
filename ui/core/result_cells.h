// The result list's cells as the views show them, and the numbers the sort orders them by.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "reports/report.h"
#include "ui/core/result_list.h"

namespace kordel::ui {

/// The text of one cell: the path, a count with thousands separators or a percentage ending in "%";
/// empty for the counts of a row not counted yet and for percentages the row's last count did not fill.
std::string CellText(const ResultList& list, std::size_t row, std::size_t column);

/// The number a sort orders `column` by: the count, or the percentage in hundredths as it is shown;
/// 0 for an empty cell.
std::uint64_t SortKeyOf(const ResultList& list, std::size_t row, std::size_t column);

/// The row as the reports write it.
reports::ReportRow ReportRowOf(const ResultList& list, std::size_t row);

}  // namespace kordel::ui
