// Drawing the chart: scales, ticks, one path per area, the legend. Plain SVG 1.1, no script or style sheet.
#include "outputs/svg_chart.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "history/history_points.h"
#include "sources/text_bytes.h"

namespace kordel::outputs {
namespace {

constexpr double kWidth = 960, kHeight = 480;
constexpr double kLeft = 72, kRight = 220, kTop = 48, kBottom = 40;
constexpr const char* kColours[] = {"#4e79a7", "#f28e2b", "#e15759", "#76b7b2", "#59a14f",
                                    "#edc948", "#b07aa1", "#ff9da7", "#9c755f"};
constexpr const char* kOtherColour = "#bab0ac";

std::string Number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return text;
}

// 1,234,567
std::string Grouped(double value) {
    const std::string digits = std::to_string(static_cast<long long>(std::llround(value)));
    std::string out;
    const std::size_t sign = digits[0] == '-' ? 1 : 0;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > sign && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

// A step of 1, 2 or 5 times a power of ten giving about `ticks` ticks up to `max`.
double NiceStep(double max, int ticks) {
    const double raw = max / ticks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (raw <= m * power) return m * power;
    return 10 * power;
}

struct TimeTick {
    std::int64_t time;
    std::string label;
};

// Ticks on whole years, months or days, whichever gives between 2 and about 10 labels.
std::vector<TimeTick> TimeTicks(std::int64_t from, std::int64_t to) {
    std::vector<TimeTick> ticks;
    const std::string first = history::FormatHistoryDate(from);
    const int year0 = std::stoi(first.substr(0, 4));
    const double days = static_cast<double>(to - from) / 86400.0;
    if (days > 3 * 365) {
        const int step = std::max(1, static_cast<int>(std::ceil(days / 365.25 / 10)));
        for (int y = year0 + 1;; y += step) {
            const auto t = history::ParseHistoryDate(std::to_string(y) + "-01-01", false);
            if (!t || *t > to) break;
            ticks.push_back({*t, std::to_string(y)});
        }
    } else if (days > 60) {
        const int step = std::max(1, static_cast<int>(std::ceil(days / 30.44 / 10)));
        int year = year0, month = std::stoi(first.substr(5, 2));
        for (;;) {
            month += step;
            while (month > 12) month -= 12, ++year;
            char text[32];
            std::snprintf(text, sizeof text, "%04d-%02d", year, month);
            const auto t = history::ParseHistoryDate(std::string(text) + "-01", false);
            if (!t || *t > to) break;
            ticks.push_back({*t, text});
        }
    } else if (days > 3) {
        const std::int64_t step = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(days / 10)));
        for (std::int64_t t = (from / 86400 + 1) * 86400; t <= to; t += step * 86400)
            ticks.push_back({t, history::FormatHistoryDate(t).substr(0, 10)});
    } else {
        // Hours; the date where a day begins.
        const std::int64_t step = std::max<std::int64_t>(1, static_cast<std::int64_t>(std::ceil(days * 24 / 8)));
        for (std::int64_t t = (from / 3600 + 1) * 3600; t <= to; t += step * 3600) {
            const std::string date = history::FormatHistoryDate(t);
            ticks.push_back({t, t % 86400 < step * 3600 ? date.substr(5, 5) + " " + date.substr(11, 5) : date.substr(11, 5)});
        }
    }
    return ticks;
}

}  // namespace

std::string XmlText(const std::string& text) {
    std::string out;
    for (char c : sources::ReplaceInvalidUtf8(text)) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&apos;"; break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
        }
    }
    return out;
}

std::string RenderStackedChart(const StackedChart& chart) {
    const std::size_t n = chart.times.size();
    const double plotW = kWidth - kLeft - kRight, plotH = kHeight - kTop - kBottom;
    std::int64_t t0 = n ? chart.times.front() : 0, t1 = n ? chart.times.back() : 86400;
    if (t1 <= t0) t0 -= 43200, t1 += 43200;  // one point: half a day on each side
    std::vector<double> top(n, 0.0);
    for (const ChartSeries& s : chart.series)
        for (std::size_t i = 0; i < n && i < s.values.size(); ++i) top[i] += std::max(0.0, s.values[i]);
    const double highest = n ? *std::max_element(top.begin(), top.end()) : 0.0;
    const double step = NiceStep(highest > 0 ? highest : 1.0, 5);
    const double yMax = std::max(step, std::ceil(highest / step) * step);
    const auto x = [&](std::int64_t t) {
        return kLeft + plotW * static_cast<double>(t - t0) / static_cast<double>(t1 - t0);
    };
    const auto y = [&](double v) { return kTop + plotH * (1.0 - v / yMax); };

    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + Number(kWidth) + "\" height=\"" +
                      Number(kHeight) + "\" viewBox=\"0 0 " + Number(kWidth) + " " + Number(kHeight) +
                      "\" font-family=\"sans-serif\" font-size=\"12\">\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    svg += "<text x=\"" + Number(kLeft) + "\" y=\"28\" font-size=\"16\" font-weight=\"bold\">" + XmlText(chart.title) +
           "</text>\n";
    // Horizontal grid and the vertical axis's labels.
    for (double v = 0; v <= yMax + step / 2; v += step) {
        svg += "<line x1=\"" + Number(kLeft) + "\" x2=\"" + Number(kLeft + plotW) + "\" y1=\"" + Number(y(v)) +
               "\" y2=\"" + Number(y(v)) + "\" stroke=\"#dddddd\"/>\n";
        svg += "<text x=\"" + Number(kLeft - 6) + "\" y=\"" + Number(y(v) + 4) + "\" text-anchor=\"end\">" +
               Grouped(v) + "</text>\n";
    }
    svg += "<text transform=\"translate(16 " + Number(kTop + plotH / 2) + ") rotate(-90)\" text-anchor=\"middle\">" +
           XmlText(chart.valueName) + "</text>\n";
    // The areas: each from its own top back along the top of the one below.
    std::vector<double> below(n, 0.0);
    for (std::size_t s = 0; s < chart.series.size() && n > 0; ++s) {
        const ChartSeries& series = chart.series[s];
        std::vector<double> above = below;
        for (std::size_t i = 0; i < n && i < series.values.size(); ++i) above[i] += std::max(0.0, series.values[i]);
        std::string d;
        const std::int64_t only = n == 1 ? 43200 : 0;  // a lone point is drawn as a band
        for (std::size_t i = 0; i < n; ++i) {
            d += (i ? " L" : "M") + Number(x(chart.times[i] - only)) + " " + Number(y(above[i]));
            if (only) d += " L" + Number(x(chart.times[i] + only)) + " " + Number(y(above[i]));
        }
        for (std::size_t i = n; i-- > 0;) {
            if (only) d += " L" + Number(x(chart.times[i] + only)) + " " + Number(y(below[i]));
            d += " L" + Number(x(chart.times[i] - only)) + " " + Number(y(below[i]));
        }
        const char* colour = s < std::size(kColours) ? kColours[s] : kOtherColour;
        if (series.name == "other") colour = kOtherColour;
        svg += "<path d=\"" + d + " Z\" fill=\"" + colour + "\" stroke=\"" + colour + "\" stroke-width=\"0.5\">";
        svg += "<title>" + XmlText(series.name) + "</title></path>\n";
        below = std::move(above);
    }
    // The dated axis.
    const double axisY = kTop + plotH;
    svg += "<line x1=\"" + Number(kLeft) + "\" x2=\"" + Number(kLeft + plotW) + "\" y1=\"" + Number(axisY) +
           "\" y2=\"" + Number(axisY) + "\" stroke=\"#333333\"/>\n";
    for (const TimeTick& tick : TimeTicks(t0, t1)) {
        const double tx = x(tick.time);
        svg += "<line x1=\"" + Number(tx) + "\" x2=\"" + Number(tx) + "\" y1=\"" + Number(axisY) + "\" y2=\"" +
               Number(axisY + 5) + "\" stroke=\"#333333\"/>\n";
        svg += "<text x=\"" + Number(tx) + "\" y=\"" + Number(axisY + 18) + "\" text-anchor=\"middle\">" + tick.label +
               "</text>\n";
    }
    // The legend, top series first as the areas lie, with the last value of each.
    double ly = kTop + 4;
    for (std::size_t s = chart.series.size(); s-- > 0;) {
        const ChartSeries& series = chart.series[s];
        const char* colour = series.name == "other" ? kOtherColour : s < std::size(kColours) ? kColours[s] : kOtherColour;
        const double last = series.values.empty() ? 0.0 : series.values.back();
        svg += "<rect x=\"" + Number(kWidth - kRight + 16) + "\" y=\"" + Number(ly) +
               "\" width=\"12\" height=\"12\" fill=\"" + colour + "\"/>\n";
        svg += "<text x=\"" + Number(kWidth - kRight + 34) + "\" y=\"" + Number(ly + 10) + "\">" +
               XmlText(series.name) + " (" + Grouped(last) + ")</text>\n";
        ly += 20;
    }
    svg += "</svg>\n";
    return svg;
}

}  // namespace kordel::outputs
