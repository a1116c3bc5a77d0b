// Report texts and their atomic writers.
#include "reports/report.h"

#include <string_view>

#include "kordel/version.h"
#include "platform/system.h"

namespace kordel::reports {
namespace {

const std::string kRule(152, '_');

// Column indexes of the cells after the path.
struct Columns {
    std::size_t code, codePct, comment, commentPct, mixed, mixedPct, blank, blankPct, total;
};
constexpr Columns kWithPercent{0, 1, 2, 3, 4, 5, 6, 7, 8};
constexpr std::size_t kPlainCode = 0, kPlainComment = 1, kPlainMixed = 2, kPlainBlank = 3, kPlainTotal = 4;

std::size_t CellCount(bool sps) { return sps ? 9 : 5; }

// The texts of the cells after the path, as the list shows them; `commas` false leaves the
// thousands separators out of the counts.
std::vector<std::string> CellTexts(const ReportRow& row, bool sps, bool commas = true) {
    std::vector<std::string> cells(CellCount(sps));
    if (!row.counts) return cells;
    const engine::FileCounts& c = *row.counts;
    auto count = [&](std::int64_t n) { return commas ? engine::CountText(n) : std::to_string(n); };
    auto percent = [&](std::int64_t n) {
        return row.percentsShown ? engine::PercentText(n, c.nl3) + "%" : std::string();
    };
    if (!sps) return {count(c.ii), count(c.inoc), count(c.inoml), count(c.inos), count(c.nl3)};
    return {count(c.ii),    percent(c.ii),    count(c.inoc), percent(c.inoc), count(c.inoml),
            percent(c.inoml), count(c.inos), percent(c.inos), count(c.nl3)};
}

std::string ProjectName(const std::string& pn) { return pn.empty() ? "Unspecified" : pn; }

// "%02d": at least two digits.
std::string TwoDigits(int n) {
    std::string text = std::to_string(n);
    if (n >= 0 && n < 10) text.insert(0, 1, '0');
    return text;
}

class SystemClockImpl final : public Clock {
public:
    LocalTime Now() const override {
        const platform::LocalTime now = platform::Now();
        return {now.year, now.month, now.day, now.hour, now.minute};
    }
};

// `crlf`: the text's line ends are LF and become CR LF; else the text is written as it is.
bool WriteWithRetry(const std::filesystem::path& path, const std::string& text, ReportQuestions& questions,
                    FileOps& ops, bool crlf = true) {
    const std::string bytes = crlf ? ToCrLf(text) : text;
    while (!WriteFileAtomically(path, bytes, ops))
        if (!questions.AskRetryWrite(kReportWriteMessage)) return false;
    return true;
}

}  // namespace

const Clock& SystemClock() {
    static const SystemClockImpl clock;
    return clock;
}

std::string CsvField(const std::string& text) {
    // A cell that starts like a formula is one a spreadsheet would run: an apostrophe makes it text.
    const bool formula = !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
    const std::string cell = formula ? "'" + text : text;
    if (cell.find_first_of(",\"\r\n") == std::string::npos) return cell;
    std::string out = "\"";
    for (char c : cell) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
    return out;
}

std::string HtmlEscape(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string ReportTextHead(const std::string& pn, std::size_t rowCount, const LocalTime& time) {
    const int hour12 = time.hour % 12 == 0 ? 12 : time.hour % 12;
    const char* half = time.hour < 12 ? "AM" : "PM";
    std::string out = std::string(kNameAndVersion) + " Report\n\n";
    out += "Date: " + TwoDigits(time.month) + "/" + TwoDigits(time.day) + "/" + TwoDigits(time.year) + "\n";
    out += "Time: " + std::to_string(hour12) + ":" + TwoDigits(time.minute) + " " + half + "\n\n";
    out += "Project Name: " + ProjectName(pn) + "\n\n";
    out += "Number of Source Files in project: " + std::to_string(rowCount) + "\n\n";
    out += "Results:\n\n";
    return out;
}

std::string ReportTextRow(const ReportRow& row, bool sps) {
    std::string out = kRule + "\n\n";
    out += "File: " + row.path + "\n";
    const std::vector<std::string> cells = CellTexts(row, sps);
    if (sps) {
        const Columns& c = kWithPercent;
        out += "Code Lines: " + cells[c.code] + "\n";
        out += "% of Code Lines: " + cells[c.codePct] + "\n";
        out += "Comment Lines: " + cells[c.comment] + "\n";
        out += "% of Comment Lines: " + cells[c.commentPct] + "\n";
        out += "Blank Lines: " + cells[c.blank] + "\n";
        out += "% of Blank Lines: " + cells[c.blankPct] + "\n";
        out += "Mixed Lines: " + cells[c.mixed] + "\n";
        out += "% of Mixed Lines: " + cells[c.mixedPct] + "\n\n";
        out += "Total Lines Altogether: " + cells[c.total] + "\n\n";
    } else {
        out += "Code Lines: " + cells[kPlainCode] + "\n";
        out += "Comment Lines: " + cells[kPlainComment] + "\n";
        out += "Blank Lines: " + cells[kPlainBlank] + "\n";
        out += "Mixed Lines: " + cells[kPlainMixed] + "\n";
        out += "Total Lines Altogether: " + cells[kPlainTotal] + "\n\n";
    }
    return out;
}

std::string ReportTextTail(const engine::TotalsTexts& totals) {
    std::string out = kRule + "\n" + kRule + "\n\n";
    out += "Total Code Lines: " + totals.code + "\n";
    out += "Total Comment Lines: " + totals.comment + "\n";
    out += "Total Mixed Lines: " + totals.mixed + "\n";
    out += "Total Blank Lines: " + totals.blank + "\n";
    out += "Total Lines: " + totals.lines + "\n\n";
    out += "End of Report";
    return out;
}

std::string ReportText(const ReportInput& input, const LocalTime& time) {
    std::string out = ReportTextHead(input.pn, input.rows.size(), time);
    for (const ReportRow& row : input.rows) out += ReportTextRow(row, input.sps);
    return out + ReportTextTail(input.totals);
}

std::string ReportCSVHead(bool sps) {
    return sps ? "Source File Path,Code Lines,% of Code Lines,Comment Lines,% of Comment Lines,"
                 "Mixed Lines,% of Mixed Lines,Blank Lines,% of Blank Lines,Total Lines\r\n"
               : "Source File Path,Code Lines,Comment Lines,Mixed Lines,Blank Lines,Total Lines\r\n";
}

std::string ReportCSVRow(const ReportRow& row, bool sps) {
    std::string out = CsvField(row.path);
    // Counts without their separators; percentages as shown.
    for (const std::string& cell : CellTexts(row, sps, false)) {
        out += ',';
        out += CsvField(cell);
    }
    out += "\r\n";
    return out;
}

std::string ReportCSVTail(std::size_t rowCount, const engine::TotalsTexts& t) {
    std::string out = "Totals (";
    out += std::to_string(rowCount);
    out += rowCount == 1 ? " file)," : " files),";
    out += CsvField(t.code) + "," + CsvField(t.comment) + "," + CsvField(t.mixed) + "," + CsvField(t.blank) + "," +
           CsvField(t.lines);
    return out;
}

std::string ReportCSV(const ReportInput& input) {
    std::string out = ReportCSVHead(input.sps);
    for (const ReportRow& row : input.rows) out += ReportCSVRow(row, input.sps);
    return out + ReportCSVTail(input.rows.size(), input.totals);
}

std::string ReportHTMHead(const std::string& pn, bool sps) {
    std::string out = "<TITLE>" + std::string(kNameAndVersion) + " Project Report</TITLE>\n";
    out += "<CENTER><FONT FACE=\"Arial\" SIZE=\"+1\" COLOR=\"#000000\">" + std::string(kNameAndVersion) +
           " Project Report</FONT><br><br>"
           "</CENTER>\n";
    out += "<FONT FACE=\"Arial\" SIZE=\"+1\" COLOR=\"#000000\">Project Name: " + HtmlEscape(ProjectName(pn)) + "</FONT>\n\n";
    out += "<BR><BR><CENTER><TABLE BORDER=\"2\" CELLPADDING=\"2\"  WIDTH=\"300\"></CENTER>\n";
    out += "<TR>\n";
    static const std::vector<std::string> plain{"Source File Path", "Code Lines",  "Comment Lines",
                                                "Mixed Lines",      "Blank Lines", "Total Lines"};
    static const std::vector<std::string> percent{
        "Source File Path", "Code Lines",    "% of Code Lines", "Comment Lines", "% of Comment Lines",
        "Mixed Lines",      "% Mixed Lines", "Blank Lines",     "% Blank Lines", "Total Lines"};
    for (const std::string& title : sps ? percent : plain) out += "<TD>" + title + "</TD>\n";
    out += "</TR>\n";
    out += "<TR>\n";
    return out;
}

std::string ReportHTMRow(const ReportRow& row, bool first, bool sps) {
    std::string out = first ? "" : "<TR>\n";
    out += "<TD>" + HtmlEscape(row.path) + "</TD>\n";
    for (const std::string& cell : CellTexts(row, sps)) out += "<TD>" + HtmlEscape(cell) + "</TD>\n";
    out += "</TR>\n";
    return out;
}

std::string ReportHTMTail(const engine::TotalsTexts& totals) {
    std::string out = "</TABLE><BR><BR>\n\n";
    out += "Total Code Lines: " + HtmlEscape(totals.code) + "<BR>\n";
    out += "Total Comment Lines: " + HtmlEscape(totals.comment) + "<BR>\n";
    out += "Total Mixed Lines: " + HtmlEscape(totals.mixed) + "<BR>\n";
    out += "Total Blank Lines: " + HtmlEscape(totals.blank) + "<BR>\n";
    out += "Total Lines: " + HtmlEscape(totals.lines) + "<BR>\n";
    return out;
}

std::string ReportHTM(const ReportInput& input) {
    std::string out = ReportHTMHead(input.pn, input.sps);
    for (std::size_t r = 0; r < input.rows.size(); ++r) out += ReportHTMRow(input.rows[r], r == 0, input.sps);
    return out + ReportHTMTail(input.totals);
}

bool SaveReport(const std::filesystem::path& path, const ReportInput& input, const Clock& clock,
                ReportQuestions& questions, FileOps& ops) {
    const LocalTime now = clock.Now();  // once, so that a retried write prints the same time
    return WriteWithRetry(path, ReportText(input, now), questions, ops);
}

bool SaveReportCSV(const std::filesystem::path& path, const ReportInput& input, ReportQuestions& questions,
                   FileOps& ops) {
    return WriteWithRetry(path, ReportCSV(input), questions, ops, false);
}

bool SaveReportHTM(const std::filesystem::path& path, const ReportInput& input, ReportQuestions& questions,
                   FileOps& ops) {
    return WriteWithRetry(path, ReportHTM(input), questions, ops);
}

}  // namespace kordel::reports
