// Count and percentage texts.
#include <clocale>
#include <cstdio>
#include <cstring>

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

// The sort orders a percentage column by PercentHundredths and the list shows PercentText: both must be
// what "%f" prints, cut to two decimals, so that equal texts are equal keys.
TEST(SortKeys, PercentHundredthsAreTheDigitsOfThePrintedPercentage) {
    for (std::int64_t total : {1LL, 3LL, 7LL, 8LL, 49LL, 97LL, 1000LL, 65537LL, 3000000007LL})
        for (std::int64_t count : {std::int64_t{0}, std::int64_t{1}, total / 3, total / 2, total - 1, total, 2 * total}) {
            char printed[64];
            std::snprintf(printed, sizeof printed, "%.6f", static_cast<double>(count) / static_cast<double>(total) * 100.0);
            const std::string cut = std::string(printed).substr(0, std::strlen(printed) - 4);
            EXPECT_EQ(PercentText(count, total), cut) << count << " of " << total;
            std::string digits = cut;
            digits.erase(digits.find('.'), 1);
            EXPECT_EQ(PercentHundredths(count, total), std::stoll(digits)) << count << " of " << total;
        }
    EXPECT_EQ(PercentHundredths(5, 0), 0);
}
