// The table output: tab-separated for pipes and files, aligned and fitted on a terminal.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "cli/by_language.h"
#include "cli/rows.h"
#include "engine/number_text.h"

namespace kordel::cli {

/// Rows of cells; the first row is the header, the first column is left-aligned.
using Grid = std::vector<std::vector<std::string>>;

/// Header, one line per counted row, and the totals line: the five totals texts, or with `columnTotals`
/// the totals in the rows' own columns (so that they line up with the percentage columns).
Grid FileGrid(const std::vector<Row>& rows, const engine::TotalsTexts& totals, bool sps,
              const engine::RunTotals* columnTotals = nullptr);

/// Header, one line per language, and the totals line with every file counted.
Grid LanguageGrid(const std::vector<LanguageSummary>& summaries, bool sps);

/// Cells joined by tabs, one line per row.
std::string RenderTabs(const Grid& grid);

/// Columns padded to line up (numbers right-aligned), two blanks apart; when the lines would be wider
/// than `width`, the first column is narrowed and its long texts shortened in the middle.
std::string RenderAligned(const Grid& grid, std::size_t width);

}  // namespace kordel::cli
