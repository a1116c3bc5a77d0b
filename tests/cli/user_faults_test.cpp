// Faults a new user of kordelc met: a diff across languages, a missing folder, an unreadable file, two
// readers of standard input, options a diff refuses, the names and line ends of the outputs.
#include <sys/stat.h>

#include "cli_support.h"

namespace kordel::cli::test {
namespace {

using Json = nlohmann::json;

class UserFaultsTest : public CliTest {};

TEST_F(UserFaultsTest, DiffOfTwoLanguagesCountsEachSideByItsOwn) {
    Write("h.py", "# hi\nx = 1\n");
    Write("h.c", "// hi\nx = 1;\n");
    const CliRun run = Run({"-f", "json", "--by-file", "--diff", Path("h.py").string(), Path("h.c").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const Json doc = Json::parse(run.out);
    // The Python comment pairs with the C comment, the code line with the code line.
    for (const char* category : {"code", "comment"}) {
        EXPECT_EQ(doc["totals"][category]["modified"], 1) << category;
        EXPECT_EQ(doc["totals"][category]["added"], 0) << category;
        EXPECT_EQ(doc["totals"][category]["removed"], 0) << category;
    }
    ASSERT_EQ(doc["languages"].size(), 1u);
    EXPECT_EQ(doc["languages"][0]["language"], "C");
    EXPECT_EQ(doc["files"][0]["old_language"], "Python");
}

TEST_F(UserFaultsTest, PathWithoutExtensionThatIsMissingSaysSo) {
    for (const std::string& missing : {Path("srcc").string(), Path("nothing").string() + "/"}) {
        const CliRun run = Run({"-f", "json", missing});
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find("\"" + missing + "\" does not exist."), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find("unknown"), std::string::npos) << run.err;
        EXPECT_EQ(Json::parse(run.out)["skipped"][0]["reason"], "missing");
    }
    // A file that is there keeps the unknown-extension message.
    Write("notes.zzz", "x\n");
    const CliRun run = Run({"-f", "json", Path("notes.zzz").string()});
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(Json::parse(run.out)["skipped"][0]["reason"], "unknown extension");
}

TEST_F(UserFaultsTest, UnreadableFileIsOnlySkipped) {
    WriteC("a.c", 3);
    const std::string pipe = Path("pipe.c").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const CliRun run = Run({"-f", "json", Path("a.c").string(), pipe});
    EXPECT_EQ(run.code, 1);
    const Json doc = Json::parse(run.out);
    ASSERT_EQ(doc["files"].size(), 1u);
    EXPECT_EQ(doc["totals"]["files"], 1);
    EXPECT_EQ(doc["languages"][0]["files"], 1);
    ASSERT_EQ(doc["skipped"].size(), 1u);
    EXPECT_EQ(doc["skipped"][0]["reason"], "unreadable");
}

TEST_F(UserFaultsTest, OptionsThatCannotGoTogetherAreUsageErrors) {
    WriteC("a.c", 1);
    WriteC("b.c", 2);
    const std::string a = Path("a.c").string(), b = Path("b.c").string();
    EXPECT_EQ(Run({"--stdin-name", "x.c", "--list", "-"}).code, 2);
    EXPECT_EQ(Run({"--diff", a, b, "-p"}).code, 2);
    EXPECT_EQ(Run({"--diff", a, b, "--sort", "code"}).code, 2);
    EXPECT_EQ(Run({"--by-language", "-f", "txt", a}).code, 2);
}

TEST_F(UserFaultsTest, DiffLanguagesAreOrderedAsACountOrdersThem) {
    WriteC("old/a.c", 1);
    WriteC("new/a.c", 1);
    Write("new/z.java", "a();\nb();\nc();\n");
    Write("new/m.py", "a = 1\nb = 2\n");
    const CliRun diff = Run({"--diff", Path("old").string(), Path("new").string(), "-f", "json"});
    const CliRun count = Run({"-f", "json", Path("new").string()});
    ASSERT_EQ(diff.code, 0) << diff.err;
    std::vector<std::string> diffOrder, countOrder;
    const Json diffDoc = Json::parse(diff.out), countDoc = Json::parse(count.out);
    for (const Json& l : diffDoc["languages"]) diffOrder.push_back(l["language"]);
    for (const Json& l : countDoc["languages"]) countOrder.push_back(l["language"]);
    EXPECT_EQ(diffOrder, (std::vector<std::string>{"Java", "Python", "C"}));
    EXPECT_EQ(diffOrder, countOrder);
}

TEST_F(UserFaultsTest, CountAndDiffNameTheirTotalsAlike) {
    WriteC("a.c", 2);
    WriteC("b.c", 3);
    const Json count = Json::parse(Run({"-f", "json", Path("a.c").string()}).out);
    const Json diff = Json::parse(Run({"-f", "json", "--diff", Path("a.c").string(), Path("b.c").string()}).out);
    EXPECT_TRUE(count.contains("totals"));
    ASSERT_TRUE(diff.contains("totals"));
    EXPECT_EQ(diff["totals"], diff["total"]);  // the old name, kept for one version
}

TEST_F(UserFaultsTest, SummaryByLanguageInCsvAndTabsEndsWithALineEnd) {
    WriteC("src/a.c", 2, 1);
    Write("src/b.py", "# x\ny = 1\n");
    const CliRun csv = Run({"--by-language", "-f", "csv", Path("src").string()});
    ASSERT_EQ(csv.code, 0) << csv.err;
    EXPECT_EQ(csv.out,
              "Language,Files,Code,Comment,Mixed,Blank,Lines\r\nC,1,2,1,0,0,3\r\nPython,1,1,1,0,0,2\r\n"
              "Total,2,3,2,0,0,5\r\n");
    const CliRun tabs = Run({Path("src").string()});
    EXPECT_EQ(tabs.out,
              "Language\tFiles\tCode\tComment\tMixed\tBlank\tLines\nC\t1\t2\t1\t0\t0\t3\nPython\t1\t1\t1\t0\t0\t2\n"
              "Total\t2\t3\t2\t0\t0\t5\n");
}

}  // namespace
}  // namespace kordel::cli::test
