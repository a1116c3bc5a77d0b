// Text forms of counts and percentages, independent of the process locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/results.h"

namespace kordel::engine {

/// Inserts a "," before every group of three characters from the right ("1234" -> "1,234").
std::string AddCommas(std::string_view digits);

/// A count as decimal text with thousands separators.
std::string CountText(std::int64_t count);

/// The percentage of `count` in `total` in hundredths, as "%f" prints it cut to two decimals (6666 for
/// "66.66"); 0 when total < 1. Sorting by a percentage column orders by this number.
std::int64_t PercentHundredths(std::int64_t count, std::int64_t total);

/// The percentage of `count` in `total` as "%f" prints it, cut to two decimals ("66.66"); "0.00" when total < 1.
std::string PercentText(std::int64_t count, std::int64_t total);

/// The texts of one row's cells after the path, in the column order of the current layout.
std::vector<std::string> RowCellTexts(const FileCounts& counts, bool sps);

/// The five totals texts: four "%s (%s%%)" texts and the line total.
struct TotalsTexts {
    std::string code = "0 (0.00%)";
    std::string comment = "0 (0.00%)";
    std::string mixed = "0 (0.00%)";
    std::string blank = "0 (0.00%)";
    std::string lines = "0";
};

TotalsTexts MakeTotalsTexts(const RunTotals& totals);

}  // namespace kordel::engine
