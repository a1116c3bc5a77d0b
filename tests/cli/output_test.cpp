// What a run prints: summaries by language, the desktop's sort order, path lists, terminal tables.
#include <algorithm>
#include <map>
#include <sstream>

#include "cli_support.h"

namespace kordel::cli::test {
namespace {

using nlohmann::json;

class OutputTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        WriteC("src/a.c", 3, 1, 1);
        WriteC("src/b.h", 5, 2);
        Write("src/c.py", "x = 1\n# note\n\ny = 2  # why\n");
        Write("src/d.rb", "puts 1\n");
        Write("src/e.zz", "code\n@@ note\ncode @@ mixed\n\n");
        Write("src/f.zz", "@@ only\n");
        // A user language for .zz: name, extensions, one-line signal, column, block begin, column, end, flag.
        Write("langs.ini", "Zed Script\r\n.zz\r\n@@\r\n0\r\n\r\n0\r\n\r\nNo\r\n");
    }
    std::vector<std::string> Base() const { return {"--languages", Path("langs.ini").string(), Path("src").string()}; }
};

TEST_F(OutputTest, LanguageSumsEqualTheSumsOfTheirFiles) {
    std::vector<std::string> args = Base();
    args.insert(args.begin(), {"-f", "json"});
    const CliRun files = Run(args);
    ASSERT_EQ(files.code, 0) << files.err;
    args.push_back("--by-language");
    const CliRun languages = Run(args);
    ASSERT_EQ(languages.code, 0) << languages.err;

    std::map<std::string, std::map<std::string, long long>> expected;
    const nlohmann::json filesDoc = nlohmann::json::parse(files.out);
    for (const json& file : filesDoc["files"]) {
        auto& sums = expected[file["language"].get<std::string>()];
        ++sums["files"];
        for (const char* key : {"code", "comment", "mixed", "blank", "lines"}) sums[key] += file[key].get<long long>();
    }
    const json doc = json::parse(languages.out);
    std::map<std::string, std::map<std::string, long long>> actual;
    long long previousCode = -1;
    for (const json& lang : doc["languages"]) {
        auto& sums = actual[lang["language"].get<std::string>()];
        for (const char* key : {"files", "code", "comment", "mixed", "blank", "lines"}) sums[key] = lang[key].get<long long>();
        if (previousCode >= 0) {
            EXPECT_LE(lang["code"].get<long long>(), previousCode) << "sorted by code, largest first";
        }
        previousCode = lang["code"].get<long long>();
    }
    EXPECT_EQ(actual, expected);
    EXPECT_EQ(actual.count("Zed Script"), 1u);
    EXPECT_EQ(actual["Zed Script"]["files"], 2);
    // Languages by their own names: the C file and the header apart, though one counter counts both.
    EXPECT_EQ(actual["C"]["files"], 1);
    EXPECT_EQ(actual["C Header"]["files"], 1);
    EXPECT_EQ(doc["files"], json::parse(files.out)["files"]) << "JSON carries both";
    EXPECT_EQ(doc["totals"], json::parse(files.out)["totals"]);
}

TEST_F(OutputTest, LanguageTableEndsWithTheRunTotals) {
    std::vector<std::string> args = Base();
    args.push_back("--by-language");
    const CliRun run = Run(args);
    ASSERT_EQ(run.code, 0) << run.err;
    std::istringstream lines(run.out);
    std::string header, line, last;
    std::getline(lines, header);
    EXPECT_EQ(header, "Language\tFiles\tCode\tComment\tMixed\tBlank\tLines");
    int languages = 0;
    while (std::getline(lines, line)) {
        last = line;
        ++languages;
    }
    EXPECT_EQ(languages - 1, 5);  // C, C Header, Python, Ruby, Zed Script
    EXPECT_EQ(last, "Total\t6\t11\t6\t2\t3\t22");
    // The summary is the default: --by-language only says so.
    args.pop_back();
    EXPECT_EQ(Run(args).out, run.out);
}

// The desktop's selection sort exactly as the documented loop runs it, for reference.
std::vector<std::string> ReferenceSort(std::vector<std::pair<std::string, long long>> rows, bool ascending) {
    const long long n = static_cast<long long>(rows.size());
    if (ascending) {
        for (long long last = n - 1; last >= 0; --last) {
            long long best = -1, chosen = 0;
            for (long long r = 0; r <= last; ++r)
                if (rows[r].second > best) best = rows[r].second, chosen = r;
            std::swap(rows[chosen], rows[last]);
        }
    } else {
        for (long long pass = 0; pass < n; ++pass) {
            long long best = -1, chosen = 0;
            for (long long r = pass; r < n; ++r)
                if (rows[r].second > best) best = rows[r].second, chosen = r;
            std::swap(rows[chosen], rows[pass]);
        }
    }
    std::vector<std::string> names;
    for (const auto& row : rows) names.push_back(row.first);
    return names;
}

TEST_F(CliTest, SortFollowsTheDesktopOrderOnTies) {
    // Code, comment and blank lines per file, with many equal keys; one file is not counted (key 0).
    const std::vector<std::tuple<std::string, int, int, int>> files = {
        {"t/a.c", 2, 1, 0}, {"t/b.c", 1, 1, 2}, {"t/c.c", 2, 0, 0}, {"t/d.c", 3, 1, 1}, {"t/e.c", 2, 2, 0},
        {"t/f.c", 1, 0, 2}, {"t/g.c", 3, 0, 0}, {"t/h.unknown", 9, 9, 9}, {"t/i.c", 0, 0, 0}, {"t/j.c", 2, 1, 1}};
    std::vector<std::string> list;
    for (const auto& [name, code, comment, blank] : files) {
        WriteC(name, code, comment, blank);
        list.push_back(Path(name).string());
    }
    for (const char* key : {"code", "comment", "blank", "lines"}) {
        for (bool ascending : {false, true}) {
            std::vector<std::pair<std::string, long long>> keyed;
            for (const auto& [name, code, comment, blank] : files) {
                const long long k = name.ends_with(".unknown") ? 0
                                    : std::string(key) == "code"    ? code
                                    : std::string(key) == "comment" ? comment
                                    : std::string(key) == "blank"   ? blank
                                                                    : code + comment + blank;
                keyed.emplace_back(name, k);
            }
            std::vector<std::string> expected = ReferenceSort(keyed, ascending);
            expected.erase(std::remove(expected.begin(), expected.end(), "t/h.unknown"), expected.end());
            std::vector<std::string> args = {"--sort", key};
            if (ascending) args.push_back("--ascending");
            args.insert(args.end(), list.begin(), list.end());
            args.insert(args.begin(), {"-f", "json"});
            const CliRun run = Run(args);
            EXPECT_EQ(run.code, 1);  // the unknown extension
            std::vector<std::string> actual;
            const nlohmann::json runDoc = nlohmann::json::parse(run.out);
            for (const json& file : runDoc["files"])
                actual.push_back(fs::path(file["path"].get<std::string>()).lexically_relative(m_dir).generic_string());
            EXPECT_EQ(actual, expected) << key << (ascending ? " ascending" : " descending");
        }
    }
}

TEST_F(CliTest, ListFromStandardInput) {
    WriteC("x/one.c", 1);
    WriteC("x/two.c", 2);
    WriteC("y/three.c", 3);
    WriteC("y/sub/four.c", 4);
    // CR LF line ends, an empty line and a folder entry; --list entries follow the PATHs.
    std::istringstream in(Path("x/two.c").string() + "\r\n\n" + Path("y").string() + "\n" + Path("x/one.c").string());
    Console console;
    console.in = &in;
    const CliRun run = Run({"-f", "json", "--list", "-", Path("x/one.c").string()}, console);
    ASSERT_EQ(run.code, 0) << run.err;
    std::vector<long long> code;
    const nlohmann::json runDoc = nlohmann::json::parse(run.out);
    for (const json& file : runDoc["files"]) code.push_back(file["code"].get<long long>());
    EXPECT_EQ(code, (std::vector<long long>{1, 2, 4, 3, 1}));
}

TEST_F(CliTest, ListFileAndItsFailure) {
    WriteC("x/one.c", 1);
    Write("paths.txt", Path("x/one.c").string() + "\n");
    EXPECT_EQ(CountedFiles({"--list", Path("paths.txt").string()}), (std::vector<std::string>{"x/one.c"}));
    const CliRun missing = Run({"--list", Path("none.txt").string()});
    EXPECT_EQ(missing.code, 2);
    EXPECT_NE(missing.err.find("none.txt"), std::string::npos);
}

TEST_F(CliTest, UsageErrors) {
    WriteC("a.c", 1);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"--by-language", "-f", "html", "a.c"}, {"--by-file", "--ascending", "a.c"}, {"--by-language", "--by-file", "a.c"},
          {"--sort", "size", "a.c"}, {"--vcs", "svn", "a.c"}}) {
        const CliRun run = Run(args);
        EXPECT_EQ(run.code, 2) << ::testing::PrintToString(args);
        EXPECT_NE(run.err.find("kordelc --help"), std::string::npos);
    }
}

TEST_F(CliTest, QuietSilencesWarningsButNotTheExitStatus) {
    Write("a.unknown", "x\n");
    const CliRun loud = Run({Path("a.unknown").string()});
    const CliRun quiet = Run({"--quiet", Path("a.unknown").string()});
    EXPECT_NE(loud.err, "");
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(quiet.code, 1);
    EXPECT_EQ(quiet.out, loud.out);
}

TEST_F(CliTest, TerminalTableFitsTheWidthAndPipesKeepFullPaths) {
    const std::string deep = "a-rather-long-folder-name/another-long-folder-name/yet-another-one/source.c";
    WriteC(deep, 12345);
    WriteC("short.c", 1);
    Console terminal;
    terminal.outIsTerminal = true;
    terminal.outWidth = 72;
    for (bool percent : {false, true}) {
        std::vector<std::string> args{"--by-file", Path(deep).string(), Path("short.c").string()};
        if (percent) args.insert(args.begin(), "-p");
        const CliRun run = Run(args, terminal);
        ASSERT_EQ(run.code, 0) << run.err;
        std::istringstream lines(run.out);
        std::string line;
        std::size_t width = 0;
        int full = 0, shares = 0;
        while (std::getline(lines, line)) {
            EXPECT_LE(line.size(), 72u) << line;
            EXPECT_EQ(line.find('\t'), std::string::npos);
            if (line.starts_with(" ")) {  // the shares below a row
                ++shares;
                EXPECT_NE(line.find('%'), std::string::npos) << line;
                continue;
            }
            ++full;
            if (width == 0) width = line.size();
            EXPECT_EQ(line.size(), width) << "columns line up: " << line;
            EXPECT_EQ(line.find('('), std::string::npos) << "no totals text widens a column: " << line;
        }
        EXPECT_EQ(full, 4);
        EXPECT_EQ(shares, percent ? 3 : 1);
        EXPECT_NE(run.out.find("12,345"), std::string::npos);
        // The long path is cut in its middle: its beginning and its end stay.
        const std::string full_path = Path(deep).string();
        const std::size_t row = run.out.find('\n') + 1;
        const std::string cell = run.out.substr(row, run.out.find(' ', row) - row);
        EXPECT_TRUE(cell.starts_with(full_path.substr(0, 4)) && cell.ends_with(full_path.substr(full_path.size() - 4)) &&
                    cell.find("...") != std::string::npos && cell.size() < full_path.size())
            << cell;
    }
    // A wide terminal shortens nothing.
    terminal.outWidth = 300;
    EXPECT_NE(Run({"--by-file", Path(deep).string()}, terminal).out.find(Path(deep).string()), std::string::npos);
    // Piped: full paths, plain integers, also in the totals.
    const CliRun piped = Run({"--by-file", Path(deep).string()});
    EXPECT_EQ(piped.out, "Path\tCode\tComment\tMixed\tBlank\tLines\n" + Path(deep).string() +
                             "\t12345\t0\t0\t0\t12345\nTotal\t12345\t0\t0\t0\t12345\n");
}

}  // namespace
}  // namespace kordel::cli::test
