// Rows written as they are counted: the compact path list's order, and streamed output equal to
// the output built from all rows at once.
#include <algorithm>
#include <random>

#include "sources/path_table.h"
#include "tests/support/page_cache.h"
#include "cli_support.h"

namespace kordel::cli::test {
namespace {

class RowStreamTest : public CliTest {
protected:
    // Files in several folders with distinct line counts, more than the read-ahead window of four
    // jobs, one of an unknown extension and one missing from the list: the line counts tell the rows apart.
    std::vector<std::string> MakeTree() {
        std::vector<std::string> expected;
        for (int i = 0; i < 300; ++i) {
            const std::string name = "t/d" + std::to_string(i % 7) + "/f" + std::to_string(i) + ".c";
            WriteC(name, i % 50, i % 3, i % 2);
            expected.push_back(Path(name).string());
        }
        Write("t/d3/odd.unknown", "x\n");
        std::sort(expected.begin(), expected.end());
        return expected;
    }
};

TEST_F(RowStreamTest, StreamedRowsComeInListOrderWhateverTheJobs) {
    const std::vector<std::string> expected = MakeTree();
    for (const char* jobs : {"1", "4"}) {
        const CliRun run = Run({"--by-file", "-j", jobs, Path("t").string()});
        EXPECT_EQ(run.code, 0) << run.err;
        std::istringstream lines(run.out);
        std::string line;
        std::getline(lines, line);  // the header
        std::vector<std::string> paths;
        while (std::getline(lines, line) && !line.starts_with("Total")) paths.push_back(line.substr(0, line.find('\t')));
        EXPECT_EQ(paths, expected) << "-j " << jobs;
    }
    // A list of paths in an order of its own keeps that order, a missing file included in the reports.
    std::vector<std::string> shuffled = expected;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(3));
    shuffled.insert(shuffled.begin() + 100, Path("t/gone.c").string());
    std::string list;
    for (const std::string& p : shuffled) list += p + "\n";
    Write("list.txt", list);
    const CliRun csv = Run({"-f", "csv", "-j", "4", "--list", Path("list.txt").string()});
    EXPECT_EQ(csv.code, 1);
    std::istringstream lines(csv.out);
    std::string line;
    std::getline(lines, line);
    std::vector<std::string> paths;
    while (std::getline(lines, line) && !line.starts_with("Totals")) paths.push_back(line.substr(0, line.find(',')));
    EXPECT_EQ(paths, shuffled);
}

TEST_F(RowStreamTest, StreamedOutputEqualsTheOutputOfAllRowsAtOnce) {
    MakeTree();
    Write("none/only.unknown", "x\n");
    // A terminal makes kordelc hold every row and build the output at the end; these formats are the
    // same bytes there, so they must equal what a pipe gets row by row. The text report's time is
    // left out of the comparison.
    Console terminal;
    terminal.outIsTerminal = true;
    const auto withoutTime = [](std::string text) {
        for (const char* label : {"Date: ", "Time: "}) {
            const std::size_t at = text.find(label);
            if (at != std::string::npos) text.erase(at, text.find('\n', at) - at);
        }
        return text;
    };
    for (const char* tree : {"t", "none"}) {
        for (std::vector<std::string> args : std::vector<std::vector<std::string>>{
                 {"-f", "json"}, {"-f", "json", "--by-file"}, {"-f", "md", "--by-file", "-p"}, {"-f", "csv"},
                 {"-f", "csv", "-p"}, {"-f", "html"}, {"-f", "html", "-p"}, {"-f", "txt"}, {"-f", "txt", "-p"}}) {
            args.push_back(Path(tree).string());
            const CliRun held = Run(args, terminal);
            const CliRun streamed = Run(args);
            EXPECT_EQ(held.code, streamed.code);
            EXPECT_EQ(withoutTime(held.out), withoutTime(streamed.out)) << tree << " " << args[1];
            // Written to a file, the streamed output is the same again.
            args.insert(args.end() - 1, {"-o", Path("out").string()});
            EXPECT_EQ(Run(args).code, streamed.code);
            EXPECT_EQ(withoutTime(test_support::ReadBytes(Path("out"))), withoutTime(streamed.out)) << tree << " " << args[1] << " -o";
        }
    }
}

TEST_F(RowStreamTest, FilesReadFromTheDiskGiveTheSameRowsWhileMoreAreReadAtOnce) {
    // Out of the cache, each file read from the disk starts one more reading thread: the rows must
    // still be the ones and in the order of a one-job count.
    const std::vector<std::string> files = MakeTree();
    const CliRun one = Run({"--by-file", "-j", "1", Path("t").string()});
    for (const std::string& file : files) ASSERT_TRUE(test_support::DropFromCache(file));
    const CliRun cold = Run({"--by-file", "-j", "2", Path("t").string()});
    EXPECT_EQ(cold.code, one.code);
    EXPECT_EQ(cold.out, one.out);
    EXPECT_EQ(cold.err, one.err);
}

}  // namespace
}  // namespace kordel::cli::test
