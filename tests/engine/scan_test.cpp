// The line scanning helpers and their 1-based positions.
#include <gtest/gtest.h>

#include "engine/scan.h"

using namespace kordel::engine;

TEST(Scan, InstrFindsFromTheStartPosition) {
    EXPECT_EQ(instr("abcabc", "c", 0, 0), 3u);
    EXPECT_EQ(instr("abcabc", "c", 4, 0), 6u);
    EXPECT_EQ(instr("abcabc", "c", 6, 0), 6u);
    EXPECT_EQ(instr("abcabc", "c", 7, 0), 0u);
    EXPECT_EQ(instr("abcabc", "", 0, 0), 0u);
    EXPECT_EQ(instr("Hello", "LL", 0, 1), 3u);
    EXPECT_EQ(instr("Hello", "LL", 0, 0), 0u);
    EXPECT_EQ(instr("ab", "abc", 0, 1), 0u);
}

TEST(Scan, RemoveQuotesEmptiesStrings) {
    std::string out;
    RemoveQuotes("a = \"x // y\"; // z", out, 0);
    EXPECT_EQ(out, "a = \"\"; // z");
    RemoveQuotes("\"a\"\"b\"", out, 0);
    EXPECT_EQ(out, "\"\"\"b\"");
    RemoveQuotes("s = \"p\\\"q // r\"", out, 0);
    EXPECT_EQ(out, "s = \"\"q // r\"");
    RemoveQuotes("no quotes", out, 0);
    EXPECT_EQ(out, "no quotes");
    RemoveQuotes("x 'a' y", out, 1);
    EXPECT_EQ(out, "x '' y");
    RemoveQuotes("open \"rest\n", out, 0);
    EXPECT_EQ(out, "open \"");
}

TEST(Scan, BlankAndPascalTests) {
    EXPECT_EQ(FindLetterEx(" \t\n", 3), 2);
    EXPECT_EQ(FindLetterEx("\r", 1), 1);
    EXPECT_EQ(FindLetterEx("x", 0), 2);
    EXPECT_EQ(FindLetterEx("", 5), 2);
    EXPECT_EQ(FindLetterExPAS("  42 ", 5), 2);
    EXPECT_EQ(FindLetterExPAS("  x ", 4), 1);
    EXPECT_EQ(FindLetterExPAS("  X ", 4), 1);
    EXPECT_EQ(FindLetterExPAS("(;)=", 3), 2);
}

TEST(Scan, SmallHelpers) {
    EXPECT_EQ(GetPastEndComment(3, "abc"), "");
    EXPECT_EQ(GetPastEndComment(1, "abc"), "bc");
    EXPECT_EQ(searchforobyter("a.b.c", '.'), 3u);
    EXPECT_EQ(searchforobyter("abc", '.'), 0u);
    EXPECT_EQ(CountOQuotes("'a' 'b'", -1), 4u);
    EXPECT_EQ(CountOQuotes("'a' 'b'", 3), 2u);
}
