// Lines classified straight from the read buffer must count exactly as lines handed over one by one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <memory>
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

// A classifier whose quiet set moves on to the next of `sets` after each line it is shown that holds a
// '@', and whose categories depend on the line and the set: scans of every shape meet state changes.
class ShiftingClassifier : public LineClassifier {
public:
    explicit ShiftingClassifier(const std::vector<QuietLines>& sets) : m_sets(sets) { Reset(); }
    void Reset() override {
        m_index = 0;
        m_quiet = &m_sets[0];
    }
    void Classify(std::string_view line, Tally& tally) override {
        switch ((line.size() + m_index) % 4) {
            case 0: tally.Code(); break;
            case 1: tally.Comment(); break;
            case 2: tally.Mixed(); break;
            default: tally.Blank(); break;
        }
        if (line.find('@') != std::string_view::npos) {
            m_index = (m_index + 1) % m_sets.size();
            m_quiet = &m_sets[m_index];
        }
    }
    bool InBlock() const override { return false; }

private:
    const std::vector<QuietLines>& m_sets;
    std::size_t m_index = 0;
};

// What a scan did with a text: the bytes each call used, every line's category, the counts.
struct Trace {
    std::vector<std::size_t> used;
    std::vector<LineCategory> lines;
    FileCounts counts;
    bool operator==(const Trace& o) const { return used == o.used && lines == o.lines && Same(counts, o.counts); }
};

// Runs `scan` over `text` as the file frame does; each line it leaves is classified whole, as the
// reader would hand it over. The text sits in an allocation of its exact size, so that the sanitizer
// catches a read past its end.
Trace Walk(BufferScan scan, const std::vector<QuietLines>& sets, std::string_view text) {
    const std::unique_ptr<char[]> exact(new char[text.size()]);
    std::memcpy(exact.get(), text.data(), text.size());
    const std::string_view data(exact.get(), text.size());
    ShiftingClassifier classifier(sets);
    Trace trace;
    Tally tally(trace.counts, false, &trace.lines);
    std::size_t at = 0;
    while (at < data.size()) {
        const std::size_t used = ClassifyRunWith(scan, data.substr(at), classifier, tally, trace.counts);
        trace.used.push_back(used);
        at += used;
        const std::size_t lf = data.find('\n', at);
        const std::size_t end = lf == std::string_view::npos ? data.size() : lf + 1;
        if (end > at) classifier.Classify(data.substr(at, end - at), tally);
        at = end;
    }
    return trace;
}

// The scans this processor runs beyond the byte-by-byte one.
std::vector<BufferScan> WideScans() {
    std::vector<BufferScan> scans;
    for (const BufferScan scan : {BufferScan::Sse2, BufferScan::Avx2})
        if (CanRun(scan)) scans.push_back(scan);
    return scans;
}

const char* ScanName(BufferScan scan) { return scan == BufferScan::Sse2 ? "SSE2" : "AVX2"; }

// A set of S single bytes and P pairs drawn from `alphabet`, of the given kind.
QuietLines RandomSet(std::mt19937& rnd, unsigned singles, unsigned pairs, QuietLines::Kind kind,
                     std::string_view alphabet) {
    QuietLines set;
    set.kind = kind;
    while (set.singles < singles) set.Add(std::string(1, alphabet[rnd() % alphabet.size()]));
    while (set.pairs < pairs) set.Add(std::string{alphabet[rnd() % alphabet.size()], alphabet[rnd() % alphabet.size()]});
    return set;
}

}  // namespace

TEST(LineRuns, WideScansCountLikeByteByByte) {
    // Every count of single bytes and pairs, every kind, on texts dense with the sets' bytes, blanks,
    // stop bytes and lines around the longest whole line.
    const std::string_view alphabet = "abcd/*@ \t";
    const QuietLines::Kind kinds[] = {QuietLines::Kind::None, QuietLines::Kind::Plain, QuietLines::Kind::Comment,
                                      QuietLines::Kind::CommentUnlessEmpty};
    std::mt19937 rnd(5);
    for (unsigned s = 0; s <= QuietLines::kMax; ++s) {
        for (unsigned p = 0; p <= QuietLines::kMax; ++p) {
            for (int round = 0; round < 6; ++round) {
                std::vector<QuietLines> sets;
                for (const QuietLines::Kind kind : kinds) sets.push_back(RandomSet(rnd, s, p, kind, alphabet));
                std::shuffle(sets.begin(), sets.end(), rnd);
                std::string text;
                const std::size_t size = rnd() % 3000;
                while (text.size() < size) {
                    const unsigned pick = rnd() % 400;
                    if (pick < 3) text += std::string(kMaxPiece - 3 + rnd() % 6, 'x') + "\n";
                    else if (pick < 6) text += "\r\x1a\0"[pick - 3];
                    else if (pick < 80) text += '\n';
                    else if (pick < 100) text += 'x';
                    else text += alphabet[rnd() % alphabet.size()];
                }
                const Trace bytes = Walk(BufferScan::Bytes, sets, text);
                for (const BufferScan scan : WideScans())
                    ASSERT_TRUE(Walk(scan, sets, text) == bytes) << ScanName(scan) << " S " << s << " P " << p
                                                                  << " round " << round;
            }
        }
    }
}

TEST(LineRuns, WideScansAtEveryOffsetAndLength) {
    // One byte of interest (a stop byte, a single, a pair's two halves) at every offset of a text with
    // lines of several lengths, cut at every length: pairs across and at the end of 16-, 32- and 64-byte
    // blocks, stop bytes in every place of a block, and every length of the data's last block.
    QuietLines set;
    set.kind = QuietLines::Kind::Plain;
    set.Add("a");
    set.Add("/*");
    const std::vector<QuietLines> sets{set};
    std::string base;
    for (int len : {0, 3, 14, 15, 16, 17, 31, 32, 33, 63, 64, 65}) base += std::string(len, len % 2 ? ' ' : 'x') + "\n";
    using namespace std::string_view_literals;
    for (const std::string_view inserted : {"\r"sv, "\x1a"sv, "\0"sv, "a"sv, "/*"sv, "/"sv, "*"sv, "\t"sv}) {
        for (std::size_t at = 0; at <= base.size(); ++at) {
            std::string text = base;
            text.insert(at, inserted);
            for (std::size_t length = at; length <= text.size(); length += (length < at + 70 ? 1 : 13)) {
                const std::string_view cut(text.data(), length);
                const Trace bytes = Walk(BufferScan::Bytes, sets, cut);
                for (const BufferScan scan : WideScans())
                    ASSERT_TRUE(Walk(scan, sets, cut) == bytes)
                        << ScanName(scan) << " '" << inserted << "' at " << at << " length " << length;
            }
        }
    }
}

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
