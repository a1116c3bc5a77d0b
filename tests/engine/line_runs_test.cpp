// Lines classified straight from the read buffer must count exactly as lines handed over one by one.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "engine/dispatch.h"
#include "engine/file_counter.h"
#include "engine/line_runs.h"
#include "tests/support/count_memory.h"
#include "tests/support/files.h"

using namespace kordel::engine;

namespace {

// The one-line-at-a-time frame: every line through the reader and Classify.
FileCounts CountLineByLine(LineClassifier& classifier, std::string_view text, bool cnoml) {
    FileCounts counts;
    Tally tally(counts, cnoml);
    TextModeReader reader;
    reader.OpenMemory(text);
    std::string_view line;
    while (reader.NextLine(line)) {
        ++counts.nl3;
        if (const void* nul = std::memchr(line.data(), '\0', line.size()))
            line = line.substr(0, static_cast<std::size_t>(static_cast<const char*>(nul) - line.data()));
        classifier.Classify(line, tally);
    }
    return counts;
}

// Texts made of every language's markers, quotes, blanks, CR, Ctrl-Z, NUL and overlong lines.
std::string RandomText(std::mt19937& rnd) {
    static const std::vector<std::string> tokens = {
        "//", "/*", "*/", "#", "--", ";", ";;;;", "%", "'", "\"", "\"\"\"", "(*", "*)", "{", "}", "<!--", "-->",
        "#|", "|#", "rem", "REM", "C", "*", "\\", "!", " ", "\t", "x", "=", "12", "\r", "\n", "\n", "\n", "\n"};
    std::string text;
    const int n = static_cast<int>(rnd() % 80);
    for (int i = 0; i < n; ++i) {
        const unsigned pick = rnd() % 200;
        if (pick == 0) text += std::string(4094 + rnd() % 3, 'x');
        else if (pick == 1) text += '\0';
        else if (pick == 2) text += '\x1a';
        else text += tokens[rnd() % tokens.size()];
    }
    return text;
}

bool Same(const FileCounts& a, const FileCounts& b) {
    return a.ii == b.ii && a.inoc == b.inoc && a.inoml == b.inoml && a.inos == b.inos && a.nl3 == b.nl3;
}

const char* const kExtensions[] = {".c", ".py", ".lsp", ".sql", ".ml", ".html", ".pl", ".ada", ".awk", ".bat",
                                   ".f90", ".tex", ".pas", ".vb", ".tcl", ".abp", ".f77", ".cob", ".sed", ".txt"};

}  // namespace

TEST(LineRuns, CountLikeLinesOneByOne) {
    std::mt19937 rnd(7);
    for (int round = 0; round < 120; ++round) {
        const std::string text = RandomText(rnd);
        for (const char* ext : kExtensions) {
            for (const bool cnoml : {false, true}) {
                for (const bool cblib : {false, true}) {
                    const CountOptions options{cnoml, cblib, false, 0};
                    auto runs = FindBuiltin(ext, 0)->make(options);
                    auto single = FindBuiltin(ext, 0)->make(options);
                    const FileCounts a = test_support::CountMemory(*runs, text, cnoml);
                    const FileCounts b = CountLineByLine(*single, text, cnoml);
                    ASSERT_TRUE(Same(a, b)) << ext << " cnoml " << cnoml << " cblib " << cblib << " round " << round;
                }
            }
        }
    }
}

TEST(LineRuns, StopBeforeLinesTheReaderMustPutTogether) {
    // A quiet line, then one with a CR: only the first is taken from the buffer.
    auto c = FindBuiltin(".c", 0)->make(CountOptions{});
    FileCounts counts;
    Tally tally(counts, false);
    EXPECT_EQ(ClassifyRun("int a;\nb\r\nc\n", *c, tally, counts), 7u);
    EXPECT_EQ(counts.nl3, 1);
    // A last line without its LF stays for the reader.
    EXPECT_EQ(ClassifyRun("x\n  \ny", *c, tally, counts), 5u);
    EXPECT_EQ(counts.ii, 2);
    EXPECT_EQ(counts.inos, 1);
    // A line of 4095 characters is cut by the reader; one of 4094 is whole.
    EXPECT_EQ(ClassifyRun(std::string(4095, 'x') + "\n", *c, tally, counts), 0u);
    EXPECT_EQ(ClassifyRun(std::string(4094, 'x') + "\n", *c, tally, counts), 4095u);
}

TEST(LineRuns, BlocksAndLinesAcrossReadBuffers) {
    // Far more than one read buffer, with a block comment and long lines straddling its ends.
    std::mt19937 rnd(11);
    std::string text;
    while (text.size() < 700 * 1024) {
        text += "int f(void) { return 0; } // note\n/* a\n * b\n */\n\n";
        if (rnd() % 50 == 0) text += std::string(3000 + rnd() % 3000, 'y') + " /* open\n";
        if (rnd() % 50 == 0) text += "close */ z;\n";
    }
    const test_support::TempDir dir("runs");
    const auto path = dir.Write("long.c", text);
    for (const bool cblib : {false, true}) {
        const CountOptions options{false, cblib, false, 0};
        auto fileClassifier = FindBuiltin(".c", 0)->make(options);
        auto single = FindBuiltin(".c", 0)->make(options);
        std::atomic<int> canc{0};
        const FileOutcome outcome = CountFile(path, *fileClassifier, false, canc);
        EXPECT_TRUE(Same(outcome.counts, CountLineByLine(*single, text, false))) << "cblib " << cblib;
    }
}
