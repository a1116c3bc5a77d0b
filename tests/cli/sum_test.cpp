// --sum: shards of a generated tree, counted apart and added up, give what one run over the whole gives,
// in every format; outputs that are no count are refused.
#include <random>

#include "cli_support.h"

namespace kordel::cli::test {
namespace {

class SumTest : public CliTest {
protected:
    // Seven shards of files in several languages, with comments, blanks and mixed lines.
    std::vector<std::string> MakeShards() const {
        std::mt19937 random(7);
        std::vector<std::string> shards;
        const char* extensions[] = {".c", ".py", ".java", ".h", ".sh"};
        for (int shard = 0; shard < 7; ++shard) {
            const std::string folder = "tree/part" + std::to_string(shard);
            for (int file = 0; file < 12; ++file) {
                std::string text;
                for (unsigned line = 0, n = random() % 40; line < n; ++line) {
                    switch (random() % 4) {
                        case 0: text += "x = 1;\n"; break;
                        case 1: text += "# note\n// note\n"; break;
                        case 2: text += "\n"; break;
                        default: text += "y = 2; // mixed\n"; break;
                    }
                }
                Write(folder + "/f" + std::to_string(file) + extensions[random() % 5], text);
            }
            shards.push_back(Path(folder).string());
        }
        return shards;
    }
};

// The text report carries the time of the run: it is left out of the comparison.
std::string WithoutTime(const std::string& text) {
    std::string kept;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string line = text.substr(start, end - start);
        if (!line.starts_with("Date: ") && !line.starts_with("Time: ")) kept += line;
        start = end;
    }
    return kept;
}

TEST_F(SumTest, ShardsAddUpToTheWholeInEveryFormat) {
    const std::vector<std::string> shards = MakeShards();
    std::vector<std::string> jsons;
    for (std::size_t i = 0; i < shards.size(); ++i) {
        const std::string json = Path("shard" + std::to_string(i) + ".json").string();
        Run({"-f", "json", "-o", json, shards[i]});
        jsons.push_back(json);
    }
    const std::vector<std::vector<std::string>> styles = {
        {}, {"-f", "md"}, {"-f", "json"}, {"--by-file"}, {"--by-file", "--sort", "comment"}, {"-p"},
        {"-f", "csv"}, {"-f", "csv", "--by-language"}, {"-f", "txt"}, {"-f", "html", "-p"}};
    for (const std::vector<std::string>& style : styles) {
        std::vector<std::string> whole = style, sum = style;
        whole.insert(whole.end(), shards.begin(), shards.end());
        sum.push_back("--sum");
        sum.insert(sum.end(), jsons.begin(), jsons.end());
        const CliRun one = Run(whole), added = Run(sum);
        EXPECT_EQ(one.code, 0);
        EXPECT_EQ(added.code, one.code) << added.err;
        EXPECT_EQ(WithoutTime(added.out), WithoutTime(one.out)) << (style.empty() ? "table" : style.back());
    }
}

TEST_F(SumTest, ReadsStandardInputAndRefusesWhatIsNoCount) {
    WriteC("a/x.c", 2, 1);
    WriteC("b/y.c", 3);
    const std::string a = Path("a.json").string();
    Run({"-f", "json", "-o", a, Path("a").string()});
    std::istringstream shardB(Run({"-f", "json", Path("b").string()}).out);
    Console console;
    console.in = &shardB;
    const CliRun run = Run({"--sum", a, "-"}, console);
    ASSERT_EQ(run.code, 0) << run.err;
    EXPECT_NE(run.out.find("Total\t2\t5\t1\t0\t0\t6\n"), std::string::npos) << run.out;

    Write("diff.json", Run({"-f", "json", "--diff", Path("a/x.c").string(), Path("b/y.c").string()}).out);
    Write("bad.json", "{\"files\": [{\"path\": \"x.c\", \"language\": \"C\", \"code\": 1, \"comment\": 0, "
                      "\"mixed\": 0, \"blank\": 0, \"lines\": 1}], \"totals\": {\"files\": 1, \"code\": 2, "
                      "\"comment\": 0, \"mixed\": 0, \"blank\": 0, \"lines\": 1}}");
    Write("text.json", "Language\tFiles\n");
    for (const char* bad : {"diff.json", "bad.json", "text.json", "missing.json"}) {
        const CliRun refused = Run({"--sum", a, Path(bad).string()});
        EXPECT_EQ(refused.code, 2) << bad;
        EXPECT_EQ(refused.out, "") << bad;
    }
    EXPECT_EQ(Run({"--sum"}).code, 2);  // nothing to add up
    EXPECT_EQ(Run({"--sum", a, "--list", a}).code, 2);
}

}  // namespace
}  // namespace kordel::cli::test
