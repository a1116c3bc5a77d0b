// The line scanning helpers and their 1-based positions.
#include <gtest/gtest.h>

#include "engine/scan.h"

using namespace kordel::engine;

TEST(Scan, InstrFindsFromTheStartPosition) {
    EXPECT_EQ(instr("abcabc", "c", 0, false), 3u);
    EXPECT_EQ(instr("abcabc", "c", 4, false), 6u);
    EXPECT_EQ(instr("abcabc", "c", 6, false), 6u);
    EXPECT_EQ(instr("abcabc", "c", 7, false), 0u);
    EXPECT_EQ(instr("abcabc", "", 0, false), 0u);
    EXPECT_EQ(instr("Hello", "LL", 0, true), 3u);
    EXPECT_EQ(instr("Hello", "LL", 0, false), 0u);
    EXPECT_EQ(instr("ab", "abc", 0, true), 0u);
}

TEST(Scan, RemoveQuotesEmptiesStrings) {
    std::string out;
    RemoveQuotes("a = \"x // y\"; // z", out, QuoteMark::Double);
    EXPECT_EQ(out, "a = \"\"; // z");
    RemoveQuotes("\"a\"\"b\"", out, QuoteMark::Double);
    EXPECT_EQ(out, "\"\"\"b\"");
    RemoveQuotes("s = \"p\\\"q // r\"", out, QuoteMark::Double);
    EXPECT_EQ(out, "s = \"\"q // r\"");
    RemoveQuotes("no quotes", out, QuoteMark::Double);
    EXPECT_EQ(out, "no quotes");
    RemoveQuotes("x 'a' y", out, QuoteMark::Single);
    EXPECT_EQ(out, "x '' y");
    RemoveQuotes("open \"rest\n", out, QuoteMark::Double);
    EXPECT_EQ(out, "open \"");
}

TEST(Scan, BlankAndPascalTests) {
    EXPECT_FALSE(HasTextIn(" \t\n", 3));
    EXPECT_TRUE(HasTextIn("\r", 1));
    EXPECT_FALSE(HasTextIn("x", 0));
    EXPECT_FALSE(HasTextIn("", 5));
    EXPECT_FALSE(HasPascalCodeIn("  42 ", 5));
    EXPECT_TRUE(HasPascalCodeIn("  x ", 4));
    EXPECT_TRUE(HasPascalCodeIn("  X ", 4));
    EXPECT_FALSE(HasPascalCodeIn("(;)=", 3));
}

TEST(Scan, SmallHelpers) {
    EXPECT_EQ(GetPastEndComment(3, "abc"), "");
    EXPECT_EQ(GetPastEndComment(1, "abc"), "bc");
    EXPECT_EQ(LastIndexOf("a.b.c", '.'), 3u);
    EXPECT_EQ(LastIndexOf("abc", '.'), 0u);
    EXPECT_EQ(CountOQuotes("'a' 'b'", -1), 4u);
    EXPECT_EQ(CountOQuotes("'a' 'b'", 3), 2u);
}
