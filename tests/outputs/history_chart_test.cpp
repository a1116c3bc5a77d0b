// The history's chart: the largest languages stacked, the rest summed, every name escaped; the
// writers made from a style that is gone by the time the points come.
#include <gtest/gtest.h>

#include "engine/count_run.h"
#include "outputs/history_output.h"
#include "outputs/svg_chart.h"

namespace kordel::outputs {
namespace {

constexpr std::int64_t kDay = 86400;
constexpr std::int64_t kStart = 1700000000;

TEST(HistoryChart, StacksTheLargestLanguagesAndSumsTheRest) {
    engine::CountOptions options;
    history::HistoryLanguages languages(options, nullptr);
    HistoryChartData data;
    data.times = {kStart, kStart + kDay};
    data.code = {{}, {}};
    for (int l = 0; l < 11; ++l) {
        languages.Intern(l == 10 ? std::string("<A&B>") : std::string("L").append(std::to_string(l)), false);
        data.code[0].push_back(l * 10);
        data.code[1].push_back(l * 10 + 1);
    }
    const StackedChart chart = HistoryChart(data, languages, "t");
    ASSERT_EQ(chart.series.size(), 9u);
    EXPECT_EQ(chart.series[0].name, "<A&B>");
    EXPECT_EQ(chart.series[7].name, "L3");
    EXPECT_EQ(chart.series[8].name, "other");
    EXPECT_EQ(chart.series[8].values, (std::vector<double>{30, 33}));  // L0, L1, L2
    const std::string svg = RenderStackedChart(chart);
    EXPECT_EQ(svg.rfind("<svg xmlns=\"http://www.w3.org/2000/svg\"", 0), 0u);
    EXPECT_NE(svg.find("&lt;A&amp;B&gt; (101)"), std::string::npos);
    EXPECT_EQ(svg.find("<A&B>"), std::string::npos);
    EXPECT_EQ(XmlText("a\x01" "b\xFF"), "ab\xEF\xBF\xBD");
}

// kordelc makes the writer from a style it does not keep: the writer holds its own copy.
TEST(HistoryChart, WritersOutliveTheStyleTheyWereMadeFrom) {
    engine::CountOptions options;
    history::HistoryLanguages languages(options, nullptr);
    languages.Intern("C", false);
    for (const Format format : {Format::Table, Format::Svg}) {
        std::string written;
        const std::unique_ptr<HistoryWriter> writer = MakeHistoryWriter(
            [&] {
                HistoryOutputStyle style;
                style.format = format;
                style.title = "growth";
                style.firstTime = kStart;
                style.lastTime = kStart + kDay;
                return style;
            }(),
            languages, [&](std::string_view text) { written += text; });
        std::vector<history::LanguageTotal> totals(1);
        totals[0].files = 1;
        totals[0].counts.ii = 7;
        writer->Point({std::string(40, 'a'), kStart, {}}, totals);
        totals[0].counts.ii = 9;
        writer->Point({std::string(40, 'b'), kStart + kDay, {}}, totals);
        writer->Finish();
        EXPECT_NE(written.find(format == Format::Svg ? "growth" : "C"), std::string::npos) << written;
    }
}

}  // namespace
}  // namespace kordel::outputs
