// The three reports against hand-written expected files, the 12-hour clock, quoting and failed writes.
#include <filesystem>

#include <gtest/gtest.h>

#include "kordel/version.h"
#include "reports/report.h"
#include "tests/support/faulty_file_ops.h"
#include "tests/support/files.h"
#include "tests/support/scripted_questions.h"

using namespace kordel;
using namespace kordel::reports;
using namespace test_support;
namespace fs = std::filesystem;

namespace {

class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalTime t) : m_time(t) {}
    LocalTime Now() const override { return m_time; }

private:
    LocalTime m_time;
};

ReportInput Sample(bool sps) {
    ReportInput in;
    in.sps = sps;
    in.pn = "R&D <x>";
    in.totals = {"1,235 (98.56%)", "5 (0.39%)", "6 (0.47%)", "7 (0.55%)", "1,253"};
    // Shown as "1,234", "98.56%", "5", "0.39%", "6", "0.47%", "7", "0.55%", "1,252" with percentages.
    in.rows = {{"C:\\src\\a.c", engine::FileCounts{1234, 5, 6, 7, 1252}},
               {"C:\\x, \"y\"\\b.c", engine::FileCounts{1, 0, 0, 0, 1}}};
    return in;
}

class ReportFiles : public ::testing::TestWithParam<std::tuple<std::string, bool>> {
protected:
    TempDir m_dir{"reports"};
};

}  // namespace

TEST_P(ReportFiles, MatchExpectedBytes) {
    const auto& [kind, sps] = GetParam();
    const fs::path out = m_dir / ("out." + kind);
    const ReportInput in = Sample(sps);
    ScriptedQuestions q;
    const FixedClock clock({2026, 3, 7, 0, 5});
    bool ok = false;
    if (kind == "txt") ok = SaveReport(out, in, clock, q);
    if (kind == "csv") ok = SaveReportCSV(out, in, q);
    if (kind == "htm") ok = SaveReportHTM(out, in, q);
    ASSERT_TRUE(ok);
    const std::string expected = std::string(KORDEL_REPORT_DATA) + (sps ? "/report_percent." : "/report_plain.") + kind;
    // The expected files hold the name and version as a placeholder: they stay right for any version.
    std::string wanted = ReadBytes(expected);
    for (std::size_t at; (at = wanted.find("@NAME_AND_VERSION@")) != std::string::npos;)
        wanted.replace(at, std::string_view("@NAME_AND_VERSION@").size(), kordel::kNameAndVersion);
    EXPECT_EQ(ReadBytes(out), wanted);
    EXPECT_TRUE(q.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(AllForms, ReportFiles,
                         ::testing::Combine(::testing::Values("txt", "csv", "htm"), ::testing::Bool()));

TEST(ReportText, TwelveHourClockAndDate) {
    struct Case {
        int hour, minute;
        const char* text;
    };
    for (const Case& c : {Case{0, 5, "Time: 12:05 AM"}, Case{11, 59, "Time: 11:59 AM"}, Case{12, 30, "Time: 12:30 PM"},
                          Case{13, 7, "Time: 1:07 PM"}, Case{23, 0, "Time: 11:00 PM"}}) {
        const std::string text = ReportText(ReportInput{}, {2026, 3, 7, c.hour, c.minute});
        EXPECT_NE(text.find(std::string("Date: 03/07/2026\n") + c.text + "\n\n"), std::string::npos) << c.text;
    }
}

TEST(ReportText, EmptyNameAndEmptyListPrintUnspecifiedAndTotals) {
    ReportInput in;
    const std::string text = ReportText(in, {2026, 1, 2, 9, 0});
    EXPECT_NE(text.find("Project Name: Unspecified\n\nNumber of Source Files in project: 0\n\nResults:\n\n_"),
              std::string::npos);
    EXPECT_NE(ReportHTM(in).find("Project Name: Unspecified</FONT>"), std::string::npos);
    EXPECT_EQ(ReportCSV(in), "Source File Path,Code Lines,Comment Lines,Mixed Lines,Blank Lines,Total Lines\r\n"
                             "Totals (0 files),0 (0.00%),0 (0.00%),0 (0.00%),0 (0.00%),0");
}

TEST(ReportCSV, OneFileSaysFileAndUncountedCellsStayEmpty) {
    ReportInput in;
    in.rows = {{"a line\nbreak.c", {}}};
    const std::string csv = ReportCSV(in);
    // The line ends are CR LF; the line feed inside the name stays a line feed.
    EXPECT_NE(csv.find("\r\n\"a line\nbreak.c\",,,,,\r\nTotals (1 file),"), std::string::npos);
}

// A row counted before the percentage columns came shows its counts and empty percentage cells, and
// every report writes it so.
TEST(ReportRows, PercentagesNotCountedYetStayEmptyInEveryForm) {
    ReportInput in;
    in.sps = true;
    in.rows = {{"/a.c", engine::FileCounts{1500, 2, 0, 1, 1503}, false}};
    EXPECT_NE(ReportCSV(in).find("\r\n/a.c,1500,,2,,0,,1,,1503\r\n"), std::string::npos);
    EXPECT_NE(ReportTextRow(in.rows[0], true).find("Code Lines: 1,500\n% of Code Lines: \nComment Lines: 2\n"),
              std::string::npos);
    EXPECT_NE(ReportHTMRow(in.rows[0], true, true).find("<TD>1,500</TD>\n<TD></TD>\n<TD>2</TD>\n"), std::string::npos);
    in.rows[0].percentsShown = true;
    EXPECT_NE(ReportCSV(in).find("\r\n/a.c,1500,99.80%,2,0.13%,0,0.00%,1,0.06%,1503\r\n"), std::string::npos);
}

TEST(CsvField, QuotesExactlyTheFieldsThatNeedIt) {
    EXPECT_EQ(CsvField("plain 12.5%"), "plain 12.5%");
    EXPECT_EQ(CsvField("1,234"), "\"1,234\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("a\rb"), "\"a\rb\"");
    // Cells a spreadsheet would run as formulas start with an apostrophe; inside a name they stay.
    EXPECT_EQ(CsvField("=cmd|' /C calc'!A0.c"), "'=cmd|' /C calc'!A0.c");
    EXPECT_EQ(CsvField("+1.c"), "'+1.c");
    EXPECT_EQ(CsvField("-x.c"), "'-x.c");
    EXPECT_EQ(CsvField("@types/a.ts"), "'@types/a.ts");
    EXPECT_EQ(CsvField("=1,2"), "\"'=1,2\"");
    EXPECT_EQ(CsvField("a=b+c-d@e.c"), "a=b+c-d@e.c");
    EXPECT_EQ(HtmlEscape("<a href=\"x\">&</a>"), "&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;");
}

TEST(SaveReport, FailedWriteKeepsOldFileAndRetriesOnOk) {
    const TempDir dir("reports-fail");
    const fs::path out = dir.Write("r.csv", "old");
    FaultyFileOps ops(FailAt::Write, 1);
    ScriptedQuestions cancel;
    EXPECT_FALSE(SaveReportCSV(out, Sample(false), cancel, ops));
    EXPECT_EQ(ReadBytes(out), "old");
    EXPECT_EQ(cancel.shown, std::vector<std::string>{kReportWriteMessage});
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    FaultyFileOps once(FailAt::Write, 1);
    ScriptedQuestions retry;
    retry.answers = {true};  // OK once, then Cancel
    EXPECT_TRUE(SaveReportHTM(out, Sample(false), retry, once));
    EXPECT_EQ(retry.shown.size(), 1u);
    EXPECT_EQ(ReadBytes(out), ToCrLf(ReportHTM(Sample(false))));
}
