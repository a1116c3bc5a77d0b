// The TXT, CSV and HTML reports of a count, built from the rows as the result list shows them.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "common/atomic_file.h"
#include "engine/number_text.h"

namespace kordel::reports {

/// One row of the result list: the path and its counts, written as the list shows them.
struct ReportRow {
    std::string path;
    std::optional<engine::FileCounts> counts;  ///< none: the row was not counted and its cells are empty
    bool percentsShown = true;                 ///< false: the percentage cells are empty (not counted since they came)
};

/// Everything a report is written from.
struct ReportInput {
    std::vector<ReportRow> rows;
    engine::TotalsTexts totals;  ///< the totals panel's texts
    std::string pn;              ///< the project name taken when the count started; empty prints "Unspecified"
    bool sps = false;            ///< percentage columns on
};

/// A local date and time as the text report prints it.
struct LocalTime {
    int year = 1970;
    int month = 1;  ///< 1 to 12
    int day = 1;
    int hour = 0;  ///< 0 to 23
    int minute = 0;
};

/// Where the text report takes the time from; tests set it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalTime Now() const = 0;
};

/// The local time of the machine.
const Clock& SystemClock();

/// What a report export asks when the file can't be written.
class ReportQuestions {
public:
    virtual ~ReportQuestions() = default;
    /// The "for writing" message with OK and Cancel: true = OK (try again), false = Cancel.
    virtual bool AskRetryWrite(const std::string& message) = 0;
};

inline constexpr const char* kReportWriteMessage =
    "Could not open the specified file for writing.  Make sure that all programs that may be using this file are "
    "closed.";

/// The report texts with LF line ends; written to disk they get CR LF.
std::string ReportText(const ReportInput& input, const LocalTime& time);
std::string ReportCSV(const ReportInput& input);
std::string ReportHTM(const ReportInput& input);

/// The same reports piece by piece, for writers that send rows out as they come: the head, each
/// row in order (`first` for the first HTML row), and the tail. Head + rows + tail is the report.
std::string ReportTextHead(const std::string& pn, std::size_t rowCount, const LocalTime& time);
std::string ReportTextRow(const ReportRow& row, bool sps);
std::string ReportTextTail(const engine::TotalsTexts& totals);
std::string ReportCSVHead(bool sps);
std::string ReportCSVRow(const ReportRow& row, bool sps);
std::string ReportCSVTail(std::size_t rowCount, const engine::TotalsTexts& totals);
std::string ReportHTMHead(const std::string& pn, bool sps);
std::string ReportHTMRow(const ReportRow& row, bool first, bool sps);
std::string ReportHTMTail(const engine::TotalsTexts& totals);

/// One CSV field, quoted as RFC 4180 does when it holds a comma, a double quote or a line break; a
/// field starting with "=", "+", "-", "@", a tab or a CR gets a leading apostrophe, so that no
/// spreadsheet runs a file name as a formula. The CSV functions end their lines with CR LF
/// themselves: a line feed inside a field stays a line feed.
std::string CsvField(const std::string& text);

/// The text with &, <, > and " replaced by their HTML entities.
std::string HtmlEscape(const std::string& text);

/// Write a report to `path` atomically, asking to retry when that fails; true when it was written.
bool SaveReport(const std::filesystem::path& path, const ReportInput& input, const Clock& clock,
                ReportQuestions& questions, FileOps& ops = RealFileOps());
bool SaveReportCSV(const std::filesystem::path& path, const ReportInput& input, ReportQuestions& questions,
                   FileOps& ops = RealFileOps());
bool SaveReportHTM(const std::filesystem::path& path, const ReportInput& input, ReportQuestions& questions,
                   FileOps& ops = RealFileOps());

}  // namespace kordel::reports
