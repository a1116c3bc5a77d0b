// Converting the user language database from six-line to eight-line records.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "installhelpers/core/conversion.h"
#include "tests/support/files.h"

using namespace kordel::installcore;

namespace {

const std::string kTwoEarlier =
    "Foo\n.foo;.fo\n#\n(*\n*)\n\n"
    "Bar\n.bar\n//\n/*\n*/\n\n";
const std::string kTwoCurrent =
    "Foo\r\n.foo;.fo\r\n#\r\n0\r\n(*\r\n0\r\n*)\r\nNo\r\n"
    "Bar\r\n.bar\r\n//\r\n0\r\n/*\r\n0\r\n*/\r\nNo\r\n";

}  // namespace

TEST(Conversion, TwoRecordsGiveSixteenLines) {
    ASSERT_TRUE(IsEarlierLayout(kTwoEarlier));
    const std::string converted = ConvertEarlierRecords(kTwoEarlier);
    EXPECT_EQ(converted, kTwoCurrent);
    EXPECT_EQ(SplitLines(converted).size(), 16u);
}

TEST(Conversion, ReadsCrLfAndAWholeSeparatorLine) {
    // A separator with text in it is still one line: the second record stays in step.
    const std::string earlier =
        "Foo\r\n.foo;.fo\r\n#\r\n(*\r\n*)\r\n-- next --\r\n"
        "Bar\r\n.bar\r\n//\r\n/*\r\n*/\r\n----\r\n";
    ASSERT_TRUE(IsEarlierLayout(earlier));
    EXPECT_EQ(ConvertEarlierRecords(earlier), kTwoCurrent);
}

TEST(Conversion, BlankLinesAtTheEndMakeNoRecord) {
    EXPECT_EQ(ConvertEarlierRecords(kTwoEarlier + "\n\n\n"), kTwoCurrent);
    EXPECT_EQ(ConvertEarlierRecords(kTwoEarlier + "\n"), kTwoCurrent);
}

TEST(Conversion, LongLinesStayWhole) {
    const std::string name(5000, 'n');
    const std::string earlier = name + "\n.x\n\n\n\n\n";
    EXPECT_EQ(ConvertEarlierRecords(earlier), name + "\r\n.x\r\n\r\n0\r\n\r\n0\r\n\r\nNo\r\n");
}

struct IncompleteCase {
    const char* earlierTail;  // the lines of the last, incomplete record
    const char* currentTail;
};

void PrintTo(const IncompleteCase& c, std::ostream* os) { *os << testing::PrintToString(std::string(c.earlierTail)); }

class IncompleteLastRecord : public testing::TestWithParam<IncompleteCase> {};

TEST_P(IncompleteLastRecord, KeepsWhatIsThereAndFillsDefaults) {
    const std::string earlier = kTwoEarlier + GetParam().earlierTail;
    ASSERT_TRUE(IsEarlierLayout(earlier));
    EXPECT_EQ(ConvertEarlierRecords(earlier), kTwoCurrent + GetParam().currentTail);
}

INSTANTIATE_TEST_SUITE_P(
    Conversion, IncompleteLastRecord,
    testing::Values(IncompleteCase{"Baz\n", "Baz\r\n\r\n\r\n0\r\n\r\n0\r\n\r\nNo\r\n"},
                    IncompleteCase{"Baz\n.bz\n", "Baz\r\n.bz\r\n\r\n0\r\n\r\n0\r\n\r\nNo\r\n"},
                    IncompleteCase{"Baz\n.bz\n;\n", "Baz\r\n.bz\r\n;\r\n0\r\n\r\n0\r\n\r\nNo\r\n"},
                    IncompleteCase{"Baz\n.bz\n;\n{\n", "Baz\r\n.bz\r\n;\r\n0\r\n{\r\n0\r\n\r\nNo\r\n"},
                    IncompleteCase{"Baz\n.bz\n;\n{\n}\n", "Baz\r\n.bz\r\n;\r\n0\r\n{\r\n0\r\n}\r\nNo\r\n"},
                    // no line end after the last field
                    IncompleteCase{"Baz\n.bz\n;\n{\n}", "Baz\r\n.bz\r\n;\r\n0\r\n{\r\n0\r\n}\r\nNo\r\n"}),
    [](const testing::TestParamInfo<IncompleteCase>& info) { return "Case" + std::to_string(info.index); });

struct LayoutCase {
    const char* name;
    std::string text;
    bool earlier;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << testing::PrintToString(std::string(c.name)); }

class Layout : public testing::TestWithParam<LayoutCase> {};

TEST_P(Layout, IsRecognised) { EXPECT_EQ(IsEarlierLayout(GetParam().text), GetParam().earlier); }

INSTANTIATE_TEST_SUITE_P(
    Conversion, Layout,
    testing::Values(
        LayoutCase{"Empty", "", false},
        LayoutCase{"OneLine", "Foo\n", false},
        LayoutCase{"Earlier", kTwoEarlier, true},
        LayoutCase{"CurrentOneRecord", "Foo\n.foo\n#\n0\n\n0\n\nNo\n", false},
        LayoutCase{"CurrentTwoRecords", kTwoCurrent, false},
        // 24 lines divide into six-line groups too
        LayoutCase{"CurrentThreeRecords",
                   "A\n.a\n\n0\n\n0\n\nNo\nB\n.b\n\n0\n\n0\n\nNo\nC\n.c\n\n0\n\n0\n\nNo\n", false},
        LayoutCase{"EarlierOfFourRecords",
                   "A\n.a\n\n\n\n\nB\n.b\n\n\n\n\nC\n.c\n\n\n\n\nD\n.d\n\n\n\n\n", true},
        LayoutCase{"ExtensionsOutOfPlace", "Foo\n#\n.foo\n(*\n*)\n\n", false},
        LayoutCase{"EarlierEndingInTwoBlankLines", kTwoEarlier + "\n\n", true},
        LayoutCase{"EarlierEndingInSevenBlankLines", kTwoEarlier + "\n\n\n\n\n\n\n", true},
        LayoutCase{"EarlierExtensionsWithoutLeadingDot", "Foo\nfoo;.fo\n#\n(*\n*)\n\nBar\n*.bar\n\n\n\n\n", true},
        LayoutCase{"CurrentEndingInBlankLines", kTwoCurrent + "\r\n\r\n", false},
        LayoutCase{"CurrentExtensionsWithoutDot", "Foo\nfoo\n#\n0\n\n0\n\nNo\nBar\nbar\n//\n0\n\n0\n\nNo\n", false},
        LayoutCase{"EarlierRecordThatNeverMatched", "Foo\nfoo\n#\n(*\n*)\n\n", false},
        LayoutCase{"EarlierWithOddRecords", "Foo\n.foo\n#\n(*\n*)\n\nOsc\nosc\n;\n\n\n\nNone\n\n;\n\n\n\n", true}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

TEST(Conversion, WineCheckFixtureGivesItsExpectedFile) {
    auto read = [](const char* name) { return test_support::ReadBytes(std::string(KORDEL_HELPERS_DATA) + "/" + name); };
    const std::string earlier = read("udlangdb-earlier.ini");
    ASSERT_FALSE(earlier.empty());
    ASSERT_TRUE(IsEarlierLayout(earlier));
    EXPECT_EQ(ConvertEarlierRecords(earlier), read("udlangdb-expected.ini"));
}
