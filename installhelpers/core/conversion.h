// Conversion of the user language database from the earlier six-line records to the current eight.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kordel::installcore {

/// The lines of `text` without their line ends (LF or CR LF); a last line without one counts too.
std::vector<std::string_view> SplitLines(std::string_view text);

/// True when `text` reads as current records: eight lines each (the blank lines at the end left
/// out), both fixed-column lines of every record decimal numbers.
bool IsCurrentLayout(std::string_view text);

/// True when `text` reads as earlier records (five fields, then a separator line of any content;
/// the blank lines at the end left out), at least one record's extensions line holding a ".", none
/// holding a number, "No" or "Yes" (a current file with a damaged field), and not as current records. Records are converted one by one: one odd record does not keep the
/// others in a layout the program no longer reads.
bool IsEarlierLayout(std::string_view text);

/// The names of the earlier records whose extensions line holds no "." (empty, or "osc"): they are
/// converted as they are, and match no file.
std::vector<std::string> RecordsWithoutExtensions(std::string_view text);

/// The earlier records of `text` as current records, every line ending in CR LF. The fixed columns
/// become "0" and the whole-line flag "No"; fields missing from an incomplete last record are
/// empty, separator lines are dropped whatever they hold, and blank lines at the end make no record.
std::string ConvertEarlierRecords(std::string_view text);

}  // namespace kordel::installcore
