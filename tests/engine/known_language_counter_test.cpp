// The generic counter of the further languages, on rows made for these tests: the rules written beside
// LanguageRow, and lines from the read buffer counting exactly as lines handed over one by one.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "engine/known_language_counter.h"
#include "engine/line_categories.h"
#include "tests/support/count_memory.h"

using namespace kordel::engine;

namespace {

constexpr LanguageRow kC{.name = "C-like", .lineComments = "//", .blocks = {{{"/*", "*/"}}},
                         .strings = {{{"\"", "\"", '\\'}, {"'", "'", '\\'}}}};
constexpr LanguageRow kNested{.name = "Nested", .lineComments = "//", .blocks = {{{"/*", "*/"}}}, .nested = true,
                              .strings = {{{"r#\"", "\"#", 0, true}, {"\"", "\"", '\\', true}}}};
constexpr LanguageRow kPython{.name = "Py", .lineComments = "#",
                              .strings = {{{"\"\"\"", "\"\"\"", '\\', true, true}, {"\"", "\"", '\\'}}}};
constexpr LanguageRow kLua{.name = "Lua-like", .lineComments = "--", .blocks = {{{"--[[", "]]"}}},
                           .strings = {{{"\"", "\"", '\\'}}}};
constexpr LanguageRow kSql{.name = "SQL-like", .lineComments = "--", .strings = {{{"'", "'", '\''}}}};
constexpr LanguageRow kRst{.name = "Doc", .startComments = ".."};
constexpr LanguageRow kTwoBlocks{.name = "Two", .blocks = {{{"{", "}"}, {"(*", "*)"}}}};
constexpr LanguageRow kGo{.name = "Go-like", .lineComments = "//", .blocks = {{{"/*", "*/"}}},
                          .strings = {{{"`", "`", 0, true}, {"\"", "\"", '\\'}}}};

// One letter per line: c code, C comment, M mixed, B blank.
std::string Lines(const LanguageRow& row, std::string_view text, bool cblib = false) {
    KnownLanguageClassifier classifier(row, cblib);
    BufferLines lines;
    CountBuffer(text, classifier, false, &lines);
    std::string letters;
    for (LineCategory c : lines.categories) letters += "cCMB"[static_cast<int>(c)];
    return letters;
}

}  // namespace

TEST(KnownLanguageCounter, StringsHideMarkers) {
    EXPECT_EQ(Lines(kC, "s = \"// not\";\ns = \"/* not\";\nx;\n"), "ccc");
    EXPECT_EQ(Lines(kC, "s = \"a\"; // note\n"), "M");
    EXPECT_EQ(Lines(kC, "c = '\"'; // the quote in quotes opens nothing\n"), "M");
    // A string that may not go on over a line end ends with its line.
    EXPECT_EQ(Lines(kC, "s = \"open\n// comment\n"), "cC");
    // A multi-line string carries markers over line ends, and its blank lines stay blank.
    EXPECT_EQ(Lines(kGo, "x := `a\n// no\n\n/* no\n`\n// yes\n"), "ccBccC");
    // Inside a comment a quote opens nothing.
    EXPECT_EQ(Lines(kC, "/* \"\n*/ x;\n"), "CM");
}

TEST(KnownLanguageCounter, EveryMarkerOpensHoweverManyTheRowHas) {
    // More openers than the quiet-line scan can look for: lines go to the classifier, which still
    // knows each of them, the string listed last too.
    constexpr LanguageRow kMany{.name = "Many", .lineComments = "// -- ;; %% !!", .blocks = {{{"/*", "*/"}}},
                                .strings = {{{"'''", "'''", 0, true}}}};
    EXPECT_EQ(Lines(kMany, "s = '''-- not\n!! not''' !! yes\nx /* c */\n"), "cMM");
}

TEST(KnownLanguageCounter, EscapesMakeTheNextCharacterLiteral) {
    EXPECT_EQ(Lines(kC, "s = \"a\\\"// b\";\n"), "c");
    EXPECT_EQ(Lines(kC, "s = \"a\\\\\"; // c\n"), "M");
    // An escape that is the closing quote doubles it.
    EXPECT_EQ(Lines(kSql, "x = 'it''s -- no';\nx = 'a' -- c\nx = '' -- d\n"), "cMM");
    // A raw string knows no escape.
    EXPECT_EQ(Lines(kNested, "s = r#\"a\\\"# // c\n"), "M");
}

TEST(KnownLanguageCounter, BlocksNestWhenTheRowSaysSo) {
    const std::string text = "/* a /* b */\nstill */\nx;\n";
    EXPECT_EQ(Lines(kNested, text), "CCc");
    EXPECT_EQ(Lines(kC, text), "Ccc");
    EXPECT_EQ(Lines(kNested, "/* /* */ */ x;\n/*/**/\n*/\n"), "MCC");
    // Two pairs: inside one, only its own close counts.
    EXPECT_EQ(Lines(kTwoBlocks, "{ a (* }\nx\n(* { *) y\n"), "CcM");
}

TEST(KnownLanguageCounter, DocstringsStandingAloneAreComment) {
    const std::string text =
        "def f():\n"
        "    \"\"\"Doc.\n"
        "\n"
        "    More.\n"
        "    \"\"\"\n"
        "    x = \"\"\"a\n"
        "\n"
        "b\"\"\"\n"
        "    \"\"\"One.\"\"\" + y\n";
    EXPECT_EQ(Lines(kPython, text), "cCCCCcBcM");
    EXPECT_EQ(Lines(kPython, text, true), "cCBCCcBcM");
    EXPECT_EQ(Lines(kPython, "\"\"\"a # b\"\"\" # c\n"), "C");
}

TEST(KnownLanguageCounter, StartOnlyCommentsNeedTheLineStart) {
    EXPECT_EQ(Lines(kRst, ".. note\n   .. indented\ntext .. x\n..\n"), "CCcC");
}

TEST(KnownLanguageCounter, LongestMarkerWinsAndTextAfterACloseCounts) {
    EXPECT_EQ(Lines(kLua, "--[[ a\nb ]]\n-- c\nx = 1 --[[ c ]] y\n"), "CCCM");
    EXPECT_EQ(Lines(kC, "/* a */ x = 1;\n/* a\n*/ y\n*/\nx; /* a */\n"), "MCMcM");
    EXPECT_EQ(Lines(kC, "// a /* b\nc;\n"), "Cc");
}

TEST(KnownLanguageCounter, BlankLinesInsideBlocks) {
    const std::string text = "/*\n\n \t\n*/\n\n";
    EXPECT_EQ(Lines(kC, text), "CCCCB");
    EXPECT_EQ(Lines(kC, text, true), "CBCCB");
    // A last line without its line feed, of blanks only, inside a block.
    EXPECT_EQ(Lines(kC, "/*\n  ", true), "CC");
}

TEST(KnownLanguageCounter, PiecesOf4095AreLinesOfTheirOwn) {
    // The text, then a line holding only its line feed.
    EXPECT_EQ(Lines(kC, std::string(4095, 'x') + "\n"), "cB");
    // A block opened in the first piece goes on in the next ones.
    EXPECT_EQ(Lines(kC, "/*" + std::string(4093, 'a') + "\n*/\n", true), "CBC");
    // A one-line string ends with its piece: the marker in the next piece is a comment.
    EXPECT_EQ(Lines(kC, "\"" + std::string(4094, 'x') + "// y\"\n"), "cC");
}

TEST(KnownLanguageCounter, MixedLinesCountAsBothWithCnoml) {
    KnownLanguageClassifier classifier(kC, false);
    const FileCounts counts = CountBuffer("x; // a\n// b\n", classifier, true);
    EXPECT_EQ(counts.ii, 1);
    EXPECT_EQ(counts.inoc, 2);
    EXPECT_EQ(counts.inoml, 1);
    EXPECT_EQ(counts.nl3, 2);
}

TEST(KnownLanguageCounter, LinesFromTheReadBufferCountAsLinesOneByOne) {
    // Random texts of every row's markers: the quiet-line scan must agree with Classify on each line.
    static const std::vector<std::string> tokens = {"//", "/*", "*/", "#", "--", "--[[", "]]", "'", "\"", "\"\"\"",
                                                    "`", "r#\"", "\"#", "\\", "..", "{", "}", "(*", "*)", " ",
                                                    "\t", "x", "\r", "\n", "\n", "\n"};
    const LanguageRow* rows[] = {&kC, &kNested, &kPython, &kLua, &kSql, &kRst, &kTwoBlocks, &kGo};
    std::mt19937 rnd(5);
    for (int round = 0; round < 300; ++round) {
        std::string text;
        const int n = static_cast<int>(rnd() % 60);
        for (int i = 0; i < n; ++i) {
            const unsigned pick = rnd() % 150;
            if (pick == 0) text += std::string(4094 + rnd() % 3, 'x');
            else if (pick == 1) text += '\0';
            else text += tokens[rnd() % tokens.size()];
        }
        for (const LanguageRow* row : rows) {
            for (const bool cblib : {false, true}) {
                KnownLanguageClassifier fast(*row, cblib), single(*row, cblib);
                const FileCounts a = test_support::CountMemory(fast, text, false);
                BufferLines lines;
                const FileCounts b = CountBuffer(text, single, false, &lines);
                ASSERT_EQ(a.ii, b.ii) << row->name << " round " << round;
                ASSERT_EQ(a.inoc, b.inoc) << row->name << " round " << round;
                ASSERT_EQ(a.inoml, b.inoml) << row->name << " round " << round;
                ASSERT_EQ(a.inos, b.inos) << row->name << " round " << round;
                ASSERT_EQ(a.nl3, b.nl3) << row->name << " round " << round;
            }
        }
    }
}
