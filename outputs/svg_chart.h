// A stacked area chart over a dated axis, written as a standalone SVG that browsers and READMEs show.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kordel::outputs {

struct ChartSeries {
    std::string name;             ///< shown in the legend (any bytes: escaped for XML)
    std::vector<double> values;   ///< one per time, not negative
};

struct StackedChart {
    std::string title;
    std::string valueName;              ///< what the values are, for the vertical axis ("code lines")
    std::vector<std::int64_t> times;    ///< seconds since 1970 (UTC), ascending
    std::vector<ChartSeries> series;    ///< the first lies at the bottom
};

/// The chart as an SVG document: the areas stacked in series order, a dated horizontal axis, a
/// vertical axis from 0, and a legend with each series' last value.
std::string RenderStackedChart(const StackedChart& chart);

/// `text` with the five XML specials escaped, bytes that are not UTF-8 replaced by U+FFFD and control
/// bytes (which XML forbids) left out.
std::string XmlText(const std::string& text);

}  // namespace kordel::outputs
