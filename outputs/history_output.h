// What kordelc --history prints: CSV and JSON with a row per point and language, a short table of the
// first and last points, or the SVG chart of code lines per language.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "outputs/format.h"

#include "history/history_run.h"
#include "outputs/svg_chart.h"

namespace kordel::outputs {

/// One point as the outputs name it.
struct HistoryPointInfo {
    std::string commit;  ///< 40 hexadecimal digits
    std::int64_t time = 0;
    std::vector<std::string> tags;
};

/// Receives the points in order and writes its format through `write`, as far as it can as they come.
class HistoryWriter {
public:
    virtual ~HistoryWriter() = default;
    virtual void Point(const HistoryPointInfo& point, const std::vector<history::LanguageTotal>& totals) = 0;
    virtual void Finish() = 0;
};

using TextSink = std::function<void(std::string_view text)>;

struct HistoryOutputStyle {
    Format format = Format::Table;  ///< table, csv, json or svg
    bool aligned = false;          ///< the table goes to a terminal
    std::size_t width = 80;
    std::string title;             ///< the chart's title
    std::int64_t firstTime = 0, lastTime = 0;  ///< the points' dates, for the chart's columns
};

/// The writer of `style.format`, with its own copy of `style`. Language names come from `languages`
/// (which must outlive the writer) as the points arrive.
std::unique_ptr<HistoryWriter> MakeHistoryWriter(const HistoryOutputStyle& style,
                                                 const history::HistoryLanguages& languages, TextSink write);

/// The chart of the points' code lines: the eight languages with the most code at any point, the others
/// summed as "other", at most one point per horizontal pixel (the last one in it).
struct HistoryChartData {
    std::vector<std::int64_t> times;
    std::vector<std::vector<std::int64_t>> code;  ///< per kept point, per language number
};
StackedChart HistoryChart(const HistoryChartData& data, const history::HistoryLanguages& languages,
                          const std::string& title);

}  // namespace kordel::outputs
