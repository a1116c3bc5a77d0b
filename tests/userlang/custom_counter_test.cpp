// The custom counter's rules: signals, columns, the whole-line flag, equal and empty signals.
#include <gtest/gtest.h>

#include "tests/support/count_memory.h"
#include "userlang/custom_counter.h"

using namespace kordel::userlang;
using kordel::engine::FileCounts;
using test_support::CountMemory;

namespace {

struct Expect {
    long long code, comment, mixed, blank;
};

struct RuleCase {
    const char* name;
    CustomMarkers markers;
    const char* text;
    Expect expect;
    bool cblib = false;
};

const CustomMarkers kSlash{"//", 0, "/*", 0, "*/", false};
const CustomMarkers kLua{"--", 0, "--[[", 0, "]]", false};
const CustomMarkers kHash{"#", 0, "#", 0, "#", false};
const CustomMarkers kFortran{"C", 1, "", 0, "", false};
const CustomMarkers kBang{"!", 1, "", 0, "", false};
const CustomMarkers kWhole{"//", 0, "/*", 0, "*/", true};
const CustomMarkers kBeginOnly{"", 0, "{", 0, "", false};
const CustomMarkers kBlockAtTwo{"", 0, "(*", 2, "*)", false};
const CustomMarkers kNoSignals{"", 0, "", 0, "", false};
const CustomMarkers kHugeColumn{"C", kNeverColumn, "", 0, "", false};

class CustomRulesTest : public ::testing::TestWithParam<RuleCase> {};

}  // namespace

TEST_P(CustomRulesTest, Counts) {
    const RuleCase& c = GetParam();
    CustomClassifier classifier(c.markers, c.cblib);
    const FileCounts got = CountMemory(classifier, c.text);
    EXPECT_EQ(got.ii, c.expect.code);
    EXPECT_EQ(got.inoc, c.expect.comment);
    EXPECT_EQ(got.inoml, c.expect.mixed);
    EXPECT_EQ(got.inos, c.expect.blank);
    EXPECT_EQ(got.ii + got.inoc + got.inoml + got.inos, got.nl3);
}

INSTANTIATE_TEST_SUITE_P(
    OneLine, CustomRulesTest,
    ::testing::Values(RuleCase{"CommentAndMixed", kSlash, "// a\n  // b\nx; // c\nx;\n\n", {1, 2, 1, 1}},
                      RuleCase{"QuotedSignalIsCode", kSlash, "s = \"// no\";\n", {1, 0, 0, 0}},
                      RuleCase{"WholeLineFlag", kWhole, "x = 1 // note\ny = 2 /* b */\n", {0, 2, 0, 0}},
                      RuleCase{"WholeLineFlagClearedIsMixed", kSlash, "x = 1 // note\n", {0, 0, 1, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Blocks, CustomRulesTest,
    ::testing::Values(RuleCase{"SpansLines", kSlash, "x; /* a\nb\n*/ y;\n/* c */\n", {0, 2, 2, 0}},
                      RuleCase{"StrayEndIsCode", kSlash, "*/\nx */\n", {2, 0, 0, 0}},
                      RuleCase{"CloseWithNothingBehind", kSlash, "/* a\n*/", {0, 2, 0, 0}},
                      RuleCase{"BlankInsideWithCblib", kSlash, "/*\n\n  \n*/\n", {0, 3, 0, 1}, true},
                      RuleCase{"BlankInsideWithoutCblib", kSlash, "/*\n\n*/\n", {0, 3, 0, 0}},
                      RuleCase{"OneLineWinsAtSamePosition", kLua, "--[[ a\nx = 1\n]]\n", {2, 1, 0, 0}},
                      RuleCase{"MultiCharEndSkipsWholeSignal", CustomMarkers{"", 0, "[[", 0, "]]", false},
                               "[[\n]]\n[[\n]]x\n", {0, 3, 1, 0}},
                      RuleCase{"BeginAtItsColumnOnly", kBlockAtTwo, " (* a\nb *)\n(* c\n", {1, 2, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Columns, CustomRulesTest,
    ::testing::Values(RuleCase{"FortranC", kFortran, "C COMMENT\n      CALL X\nc lower\n", {2, 1, 0, 0}},
                      RuleCase{"FirstOccurrenceOnly", kBang, "! top\na = b ! c\n", {1, 1, 0, 0}},
                      RuleCase{"HugeColumnNeverMatches", kHugeColumn, "C\n", {1, 0, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    EqualAndEmptySignals, CustomRulesTest,
    ::testing::Values(RuleCase{"EqualSignalsCloseOnTheirLine", CustomMarkers{"", 0, "#", 0, "#", false},
                               "# a\nx\n", {1, 1, 0, 0}},
                      RuleCase{"AllThreeEqual", kHash, "x # a\nx\n", {1, 0, 1, 0}},
                      RuleCase{"BeginWithoutEndRunsToTheEnd", kBeginOnly, "a\n{ x\ny\n\nz", {1, 4, 0, 0}},
                      RuleCase{"BeginWithoutEndBlankWithCblib", kBeginOnly, "{\n\n", {0, 1, 0, 1}, true},
                      RuleCase{"NoSignalsAtAll", kNoSignals, "a\n\n  \n", {1, 0, 0, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MarkersOfTest, ConvertsColumnsAndFlag) {
    UserLanguage l;
    l.olcop = "C";
    l.olfc = " 1";
    l.fcmlb = "x";
    l.olcswl = "Yes";
    const CustomMarkers m = MarkersOf(l);
    EXPECT_EQ(m.olfc, 1u);
    EXPECT_EQ(m.olmb, 0u);
    EXPECT_TRUE(m.olcswl);
    l.olcswl = "yes";
    EXPECT_FALSE(MarkersOf(l).olcswl);
}
