// The C-family counter line by line.
#include <gtest/gtest.h>

#include "engine/block_line_counter.h"
#include "tests/support/count_memory.h"

using namespace kordel::engine;

namespace {

// Counts `text` as a file would be counted; returns {code, comment, mixed, blank, lines}.
FileCounts Count(std::string_view text, bool cnoml = false, bool cblib = false) {
    BlockLineClassifier classifier(BlockLineMarkers{}, cblib);
    return test_support::CountMemory(classifier, text, cnoml);
}

void ExpectCounts(const FileCounts& c, std::int64_t code, std::int64_t comment, std::int64_t mixed,
                  std::int64_t blank, std::int64_t lines) {
    EXPECT_EQ(c.ii, code);
    EXPECT_EQ(c.inoc, comment);
    EXPECT_EQ(c.inoml, mixed);
    EXPECT_EQ(c.inos, blank);
    EXPECT_EQ(c.nl3, lines);
}

constexpr std::string_view kWorkedFile =
    "/* header\n   comment */\n#include <stdio.h>\n\nint main(void) { // entry\n"
    "    printf(\"/* no */\\n\");\n    return 0; /* done */\n}\n";

}  // namespace

TEST(CJava, WorkedFile) {
    ExpectCounts(Count(kWorkedFile), 3, 2, 2, 1, 8);
    ExpectCounts(Count(kWorkedFile, true), 5, 4, 2, 1, 8);
}

TEST(CJava, LineComments) {
    ExpectCounts(Count("int x; // note\n"), 0, 0, 1, 0, 1);
    ExpectCounts(Count("   // note\n"), 0, 1, 0, 0, 1);
    ExpectCounts(Count("// a /* b\nc;\n"), 1, 1, 0, 0, 2);
    ExpectCounts(Count("printf(\"// not a comment\");\n"), 1, 0, 0, 0, 1);
    ExpectCounts(Count("s = \"a\\\"b // c\";\n"), 0, 0, 1, 0, 1);
}

TEST(CJava, BlockComments) {
    ExpectCounts(Count("/* a */ x = 1;\n"), 0, 1, 0, 0, 1);
    ExpectCounts(Count("x = 1; /* a\nb\n*/ y = 2;\n"), 0, 1, 2, 0, 3);
    ExpectCounts(Count("/* a\n*/\n"), 0, 2, 0, 0, 2);
    ExpectCounts(Count("/*/\nx;\n"), 1, 1, 0, 0, 2);
    ExpectCounts(Count("*/\n"), 1, 0, 0, 0, 1);
    ExpectCounts(Count("/* open\nnever closed\n"), 0, 2, 0, 0, 2);
}

TEST(CJava, BlankLinesInsideBlocks) {
    // An empty line inside a block is blank only with cblib; spaces before the LF stay comment.
    ExpectCounts(Count("/*\n\n \t\n*/\n"), 0, 4, 0, 0, 4);
    ExpectCounts(Count("/*\n\n \t\n*/\n", false, true), 0, 3, 0, 1, 4);
    ExpectCounts(Count(" \t\n"), 0, 0, 0, 1, 1);
}

TEST(CJava, LastLinesAndLongLines) {
    ExpectCounts(Count("x;"), 1, 0, 0, 0, 1);
    ExpectCounts(Count("x;\n   "), 1, 0, 0, 1, 2);
    ExpectCounts(Count(""), 0, 0, 0, 0, 0);
    ExpectCounts(Count(std::string(4095, 'a') + "\n"), 1, 0, 0, 1, 2);
    ExpectCounts(Count(std::string(5000, 'a') + "\n"), 2, 0, 0, 0, 2);
}

TEST(CJava, CharacterLiteralsOpenNoStringOrComment) {
    ExpectCounts(Count("char q = '\"'; // quote\n"), 0, 0, 1, 0, 1);
    ExpectCounts(Count("if (c == '/' || c == '*') x();\n"), 1, 0, 0, 0, 1);
    ExpectCounts(Count("c = '\\''; /* x */\n"), 0, 0, 1, 0, 1);
    ExpectCounts(Count("/* it's here */\n"), 0, 1, 0, 0, 1);
}

TEST(CJava, StringsAreEmptiedToTheirQuotesAndTheByteAfterEachIsKept) {
    std::string out;
    const auto emptied = [&](std::string_view line) {
        EmptyCStrings(line, out);
        return out;
    };
    EXPECT_EQ(emptied("a = \"x/*y\" + 'c'; // z"), "a = \"\" + ''; // z");
    // The byte right after a closing quote is never looked at, even a quote.
    EXPECT_EQ(emptied("s = \"ab\"\"cd\";"), "s = \"\"\"cd\"");
    EXPECT_EQ(emptied("c = '\\''; x = '/*';"), "c = ''; x = '/*';");
    EXPECT_EQ(emptied("p(\"unclosed // not a comment"), "p(\"");
    EXPECT_EQ(emptied("no quotes at all"), "no quotes at all");
    EXPECT_EQ(emptied("\"\""), "\"\"");
}
