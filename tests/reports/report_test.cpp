// The three reports against hand-written expected files, the 12-hour clock, quoting and failed writes.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/system.h"

#include <gtest/gtest.h>

#include "kordel/version.h"
#include "reports/report.h"

using namespace kordel;
using namespace kordel::reports;
namespace fs = std::filesystem;

namespace {

class FixedClock final : public Clock {
public:
    explicit FixedClock(LocalTime t) : m_time(t) {}
    LocalTime Now() const override { return m_time; }

private:
    LocalTime m_time;
};

class ScriptedQuestions final : public ReportQuestions {
public:
    int retries = 0;  // OK answers before Cancel
    std::vector<std::string> asked;
    bool AskRetryWrite(const std::string& m) override {
        asked.push_back(m);
        return retries-- > 0;
    }
};

// Fails the n-th write (full disk) and lets everything else through to the real file system.
class FailingWriteOps final : public FileOps {
public:
    int failures = 1;
    bool Open(const fs::path& p) override { return RealFileOps().Open(p); }
    bool Write(std::string_view b) override {
        if (failures > 0) {
            --failures;
            RealFileOps().Write(b.substr(0, b.size() / 2));
            return false;
        }
        return RealFileOps().Write(b);
    }
    bool Close() override { return RealFileOps().Close(); }
    bool Rename(const fs::path& a, const fs::path& b) override { return RealFileOps().Rename(a, b); }
    void Remove(const fs::path& p) override { RealFileOps().Remove(p); }
};

std::string ReadBytes(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

ReportInput Sample(bool sps) {
    ReportInput in;
    in.sps = sps;
    in.pn = "R&D <x>";
    in.totals = {"1,235 (98.56%)", "5 (0.39%)", "6 (0.47%)", "7 (0.55%)", "1,253"};
    if (sps) {
        in.rows = {{"C:\\src\\a.c", {"1,234", "98.56%", "5", "0.39%", "6", "0.47%", "7", "0.55%", "1,252"}},
                   {"C:\\x, \"y\"\\b.c", {"1", "100.00%", "0", "0.00%", "0", "0.00%", "0", "0.00%", "1"}}};
    } else {
        in.rows = {{"C:\\src\\a.c", {"1,234", "5", "6", "7", "1,252"}},
                   {"C:\\x, \"y\"\\b.c", {"1", "0", "0", "0", "1"}}};
    }
    return in;
}

class ReportFiles : public ::testing::TestWithParam<std::tuple<std::string, bool>> {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("kordel_reports_" + std::to_string(kordel::platform::ProcessId()) + "_" +
                 std::to_string(::testing::UnitTest::GetInstance()->current_test_info()->line()) +
                 std::get<0>(GetParam()) + (std::get<1>(GetParam()) ? "p" : ""));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
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
    EXPECT_TRUE(q.asked.empty());
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
    EXPECT_EQ(ReportCSV(in), "Source File Path,Code Lines,Comment Lines,Mixed Lines,Blank Lines,Total Lines\n"
                             "Totals (0 files),0 (0.00%),0 (0.00%),0 (0.00%),0 (0.00%),0");
}

TEST(ReportCSV, OneFileSaysFileAndUncountedCellsStayEmpty) {
    ReportInput in;
    in.rows = {{"a line\nbreak.c", {}}};
    const std::string csv = ReportCSV(in);
    EXPECT_NE(csv.find("\n\"a line\nbreak.c\",,,,,\nTotals (1 file),"), std::string::npos);
}

TEST(CsvField, QuotesExactlyTheFieldsThatNeedIt) {
    EXPECT_EQ(CsvField("plain 12.5%"), "plain 12.5%");
    EXPECT_EQ(CsvField("1,234"), "\"1,234\"");
    EXPECT_EQ(CsvField("say \"hi\""), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(CsvField("a\rb"), "\"a\rb\"");
    EXPECT_EQ(HtmlEscape("<a href=\"x\">&</a>"), "&lt;a href=&quot;x&quot;&gt;&amp;&lt;/a&gt;");
}

TEST(SaveReport, FailedWriteKeepsOldFileAndRetriesOnOk) {
    const fs::path dir = fs::temp_directory_path() / ("kordel_reports_fail_" + std::to_string(kordel::platform::ProcessId()));
    fs::create_directories(dir);
    const fs::path out = dir / "r.csv";
    std::ofstream(out, std::ios::binary) << "old";
    FailingWriteOps ops;
    ScriptedQuestions cancel;
    EXPECT_FALSE(SaveReportCSV(out, Sample(false), cancel, ops));
    EXPECT_EQ(ReadBytes(out), "old");
    EXPECT_EQ(cancel.asked, std::vector<std::string>{kReportWriteMessage});
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

    ops.failures = 1;
    ScriptedQuestions retry;
    retry.retries = 1;
    EXPECT_TRUE(SaveReportHTM(out, Sample(false), retry, ops));
    EXPECT_EQ(retry.asked.size(), 1u);
    EXPECT_EQ(ReadBytes(out), ToCrLf(ReportHTM(Sample(false))));
    fs::remove_all(dir);
}
