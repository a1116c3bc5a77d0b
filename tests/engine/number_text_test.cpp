// Count and percentage texts.
#include <clocale>

#include <gtest/gtest.h>

#include "engine/number_text.h"

using namespace kordel::engine;

TEST(NumberText, CommasGroupThreeDigitsFromTheRight) {
    EXPECT_EQ(CountText(0), "0");
    EXPECT_EQ(CountText(999), "999");
    EXPECT_EQ(CountText(1000), "1,000");
    EXPECT_EQ(CountText(123456), "123,456");
    EXPECT_EQ(CountText(1234567), "1,234,567");
    EXPECT_EQ(CountText(2147483648LL), "2,147,483,648");  // past 32 bits
}

TEST(NumberText, PercentagesAreTruncatedToTwoDecimals) {
    EXPECT_EQ(PercentText(2, 3), "66.66");
    EXPECT_EQ(PercentText(1, 3), "33.33");
    EXPECT_EQ(PercentText(1, 8), "12.50");
    EXPECT_EQ(PercentText(5, 5), "100.00");
    EXPECT_EQ(PercentText(0, 5), "0.00");
    EXPECT_EQ(PercentText(3, 0), "0.00");
}

TEST(NumberText, PercentagesIgnoreTheLocaleDecimalComma) {
    const char* old = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = old ? old : "C";
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale here";
    EXPECT_EQ(PercentText(1, 8), "12.50");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumberText, RowCellsFollowTheColumnLayout) {
    FileCounts c{3, 2, 2, 1, 8};
    EXPECT_EQ(RowCellTexts(c, false), (std::vector<std::string>{"3", "2", "2", "1", "8"}));
    EXPECT_EQ(RowCellTexts(c, true), (std::vector<std::string>{"3", "37.50%", "2", "25.00%", "2", "25.00%", "1",
                                                               "12.50%", "8"}));
    const TotalsTexts empty = MakeTotalsTexts({});
    EXPECT_EQ(empty.code, "0 (0.00%)");
    EXPECT_EQ(empty.lines, "0");
    RunTotals t{1234, 0, 0, 1000, 2234};
    EXPECT_EQ(MakeTotalsTexts(t).code, "1,234 (55.23%)");
    EXPECT_EQ(MakeTotalsTexts(t).lines, "2,234");
}

TEST(SortKeys, TakeEveryDigitOfTheText) {
    EXPECT_EQ(aatoi("1,234"), 1234u);
    EXPECT_EQ(aatoi("12.34%"), 1234u);
    EXPECT_EQ(aatoi("9.50%"), 950u);
    EXPECT_EQ(aatoi("10.25%"), 1025u);
    EXPECT_EQ(aatoi(""), 0u);
    EXPECT_EQ(aatoi("no digits"), 0u);
    EXPECT_EQ(aatoi("99999999999999999999999"), ~std::uint64_t{0});
}
