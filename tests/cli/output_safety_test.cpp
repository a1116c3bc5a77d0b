// What names and arguments can do to kordelc's outputs: Markdown that stays text, CSV cells no
// spreadsheet runs, line feeds kept in CSV names, usage errors without raw control bytes.
#include "tests/cli/cli_support.h"

namespace kordel::cli::test {
namespace {

TEST_F(CliTest, NamesNeverBecomeHtmlInMarkdownNorFormulasInCsv) {
    WriteC("old/<img src=x onerror=alert(1)>.c", 1);
    WriteC("new/<img src=x onerror=alert(1)>.c", 2);
    WriteC("new/=HYPERLINK(1)&b.c", 1);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-f", "md", "--by-file", Path("new").string()},
          std::vector<std::string>{"--diff", Path("old").string(), Path("new").string(), "--by-file", "-f", "md"}}) {
        const CliRun run = Run(args);
        ASSERT_LE(run.code, 1) << run.err;
        EXPECT_EQ(run.out.find('<'), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("&lt;img src=x onerror=alert(1)&gt;.c"), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("=HYPERLINK(1)&amp;b.c"), std::string::npos) << run.out;
    }
    // Relative names put the formula at the start of the cell: the CSV report and the diff's CSV.
    const fs::path old = fs::current_path();
    fs::current_path(Path("new"));
    const CliRun report = Run({"-f", "csv", "=HYPERLINK(1)&b.c"});
    const CliRun diff = Run({"--diff", ".", ".", "--by-file", "-f", "csv"});
    fs::current_path(old);
    EXPECT_NE(report.out.find("\r\n'=HYPERLINK(1)&b.c,"), std::string::npos) << report.out;
    EXPECT_NE(diff.out.find("\r\n'=HYPERLINK(1)&b.c,"), std::string::npos) << diff.out;
}

TEST_F(CliTest, ALineFeedInANameStaysALineFeedInCsv) {
    WriteC("a\nb.c", 1);
    const fs::path out = Path("report.csv");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"-f", "csv", Path("a\nb.c").string()},
          std::vector<std::string>{"-f", "csv", Path("a\nb.c").string(), "-o", out.string()}}) {
        const CliRun run = Run(args);
        ASSERT_EQ(run.code, 0) << run.err;
        const std::string csv = run.out.empty() ? test_support::ReadBytes(out) : run.out;
        EXPECT_NE(csv.find("a\nb.c\","), std::string::npos);
        EXPECT_EQ(csv.find("a\r\nb.c"), std::string::npos);
        EXPECT_NE(csv.find("Total Lines\r\n"), std::string::npos);
    }
}

TEST_F(CliTest, UsageErrorsShowControlBytesEscapedAndRefuseASizeOfZero) {
    WriteC("a.c", 1);
    const std::string hostile = "\x1b]0;owned\x07\x1b[31m";
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--format", hostile}, std::vector<std::string>{"--sort", hostile},
          std::vector<std::string>{"--jobs", hostile}, std::vector<std::string>{"--max-file-size", hostile},
          std::vector<std::string>{"--languages", hostile}, std::vector<std::string>{"--" + hostile}}) {
        const CliRun run = Run({args.front(), args.size() > 1 ? args[1] : Path("a.c").string(), Path("a.c").string()});
        EXPECT_EQ(run.code, 2) << args.front();
        EXPECT_EQ(run.err.find('\x1b'), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\x07'), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("\\x1B"), std::string::npos) << run.err;
    }
    const CliRun zero = Run({"--max-file-size", "0", Path("a.c").string()});
    EXPECT_EQ(zero.code, 2);
    EXPECT_NE(zero.err.find("leaves every file out"), std::string::npos) << zero.err;
}

}  // namespace
}  // namespace kordel::cli::test
