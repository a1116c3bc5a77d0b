// The history's formats. CSV and JSON are written point by point; the table keeps the first and the
// last point, the chart a point per pixel column.
#include "outputs/history_output.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include <nlohmann/json.hpp>

#include "history/history_points.h"
#include "outputs/json_output.h"
#include "outputs/table.h"
#include "engine/number_text.h"

namespace kordel::outputs {
namespace {

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string JoinTags(const std::vector<std::string>& tags) {
    std::string joined;
    for (const std::string& t : tags) joined += (joined.empty() ? "" : " ") + t;
    return joined;
}

// Languages with files at a point, most code first (then by name).
std::vector<std::size_t> Present(const std::vector<history::LanguageTotal>& totals,
                                 const history::HistoryLanguages& languages) {
    std::vector<std::size_t> present;
    for (std::size_t l = 0; l < totals.size(); ++l)
        if (totals[l].files > 0) present.push_back(l);
    std::sort(present.begin(), present.end(), [&](std::size_t a, std::size_t b) {
        if (totals[a].counts.ii != totals[b].counts.ii) return totals[a].counts.ii > totals[b].counts.ii;
        return languages.Name(a) < languages.Name(b);
    });
    return present;
}

class CsvWriter final : public HistoryWriter {
public:
    CsvWriter(const history::HistoryLanguages& languages, TextSink write)
        : m_languages(languages), m_write(std::move(write)) {
        m_write("commit,date,tags,language,files,code,comment,mixed,blank,lines\r\n");
    }
    void Point(const HistoryPointInfo& point, const std::vector<history::LanguageTotal>& totals) override {
        std::string text;
        const std::string head =
            point.commit + "," + history::FormatHistoryDate(point.time) + "," + CsvField(JoinTags(point.tags)) + ",";
        for (std::size_t l : Present(totals, m_languages)) {
            const engine::FileCounts& c = totals[l].counts;
            text += head + CsvField(m_languages.Name(l)) + "," + std::to_string(totals[l].files) + "," +
                    std::to_string(c.ii) + "," + std::to_string(c.inoc) + "," + std::to_string(c.inoml) + "," +
                    std::to_string(c.inos) + "," + std::to_string(c.nl3) + "\r\n";
        }
        m_write(text);
    }
    void Finish() override {}

private:
    const history::HistoryLanguages& m_languages;
    TextSink m_write;
};

nlohmann::ordered_json CountsJson(std::int64_t files, const engine::FileCounts& c) {
    nlohmann::ordered_json j;
    j["files"] = files;
    j["code"] = c.ii;
    j["comment"] = c.inoc;
    j["mixed"] = c.inoml;
    j["blank"] = c.inos;
    j["lines"] = c.nl3;
    return j;
}

class JsonWriter final : public HistoryWriter {
public:
    JsonWriter(const history::HistoryLanguages& languages, TextSink write)
        : m_languages(languages), m_write(std::move(write)) {
        m_write("{\"points\": [");
    }
    void Point(const HistoryPointInfo& point, const std::vector<history::LanguageTotal>& totals) override {
        nlohmann::ordered_json j;
        j["commit"] = point.commit;
        j["date"] = history::FormatHistoryDate(point.time);
        j["tags"] = nlohmann::ordered_json::array();
        for (const std::string& tag : point.tags) {
            nlohmann::ordered_json t;
            PutText(t, "tag", tag);
            j["tags"].push_back(t.size() == 1 ? t["tag"] : t);
        }
        j["languages"] = nlohmann::ordered_json::array();
        std::int64_t files = 0;
        engine::FileCounts sum;
        for (std::size_t l : Present(totals, m_languages)) {
            nlohmann::ordered_json language;
            PutText(language, "language", m_languages.Name(l));
            language.update(CountsJson(totals[l].files, totals[l].counts));
            j["languages"].push_back(std::move(language));
            files += totals[l].files;
            sum.ii += totals[l].counts.ii, sum.inoc += totals[l].counts.inoc, sum.inoml += totals[l].counts.inoml;
            sum.inos += totals[l].counts.inos, sum.nl3 += totals[l].counts.nl3;
        }
        j["total"] = CountsJson(files, sum);
        m_write((m_first ? "\n" : ",\n") + j.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
        m_first = false;
    }
    void Finish() override { m_write(m_first ? "]}\n" : "\n]}\n"); }

private:
    const history::HistoryLanguages& m_languages;
    TextSink m_write;
    bool m_first = true;
};

std::string Change(std::int64_t from, std::int64_t to, bool aligned) {
    const std::int64_t d = to - from;
    std::string text = (d > 0 ? "+" : "") + (aligned ? engine::AddCommas(std::to_string(d)) : std::to_string(d));
    if (aligned && from > 0) {
        char share[32];
        std::snprintf(share, sizeof share, " (%+.1f%%)", 100.0 * static_cast<double>(d) / static_cast<double>(from));
        text += share;
    }
    return text;
}

// The first and the last point's files and code per language, the change of code, and the last point's
// other counts.
class TableWriter final : public HistoryWriter {
public:
    TableWriter(const HistoryOutputStyle& style, const history::HistoryLanguages& languages, TextSink write)
        : m_style(style), m_languages(languages), m_write(std::move(write)) {}
    void Point(const HistoryPointInfo& point, const std::vector<history::LanguageTotal>& totals) override {
        if (m_points++ == 0) m_first = {point, totals};
        m_last = {point, totals};
    }
    void Finish() override {
        if (m_points == 0) {
            m_write("No commits to count.\n");
            return;
        }
        const bool aligned = m_style.aligned;
        const auto number = [&](std::int64_t n) { return aligned ? engine::AddCommas(std::to_string(n)) : std::to_string(n); };
        const auto label = [&](const Snapshot& s) {
            return history::FormatHistoryDate(s.point.time).substr(0, 10) + " " + s.point.commit.substr(0, 10);
        };
        std::string text;
        if (aligned)
            text += std::to_string(m_points) + (m_points == 1 ? " point" : " points") + " from " + label(m_first) +
                    " to " + label(m_last) + "\n\n";
        Grid grid;
        grid.push_back({"Language", "Files first", "Files last", "Code first", "Code last", "Code change", "Comment last",
                        "Mixed last", "Blank last"});
        std::vector<history::LanguageTotal> first = m_first.totals, last = m_last.totals;
        const std::size_t n = std::max(first.size(), last.size());
        first.resize(n), last.resize(n);
        std::vector<std::size_t> order;
        for (std::size_t l = 0; l < n; ++l)
            if (first[l].files > 0 || last[l].files > 0) order.push_back(l);
        std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            if (last[a].counts.ii != last[b].counts.ii) return last[a].counts.ii > last[b].counts.ii;
            return m_languages.Name(a) < m_languages.Name(b);
        });
        history::LanguageTotal firstSum, lastSum;
        const auto add = [](history::LanguageTotal& sum, const history::LanguageTotal& t) {
            sum.files += t.files;
            sum.counts.ii += t.counts.ii, sum.counts.inoc += t.counts.inoc, sum.counts.inoml += t.counts.inoml;
            sum.counts.inos += t.counts.inos, sum.counts.nl3 += t.counts.nl3;
        };
        const auto line = [&](const std::string& name, const history::LanguageTotal& a,
                              const history::LanguageTotal& b) {
            grid.push_back({name, number(a.files), number(b.files), number(a.counts.ii), number(b.counts.ii),
                            Change(a.counts.ii, b.counts.ii, aligned), number(b.counts.inoc), number(b.counts.inoml),
                            number(b.counts.inos)});
        };
        for (std::size_t l : order) {
            line(m_languages.Name(l), first[l], last[l]);
            add(firstSum, first[l]);
            add(lastSum, last[l]);
        }
        line("Total", firstSum, lastSum);
        text += aligned ? RenderAligned(grid, m_style.width, false) : RenderTabs(grid);
        m_write(text);
    }

private:
    struct Snapshot {
        HistoryPointInfo point;
        std::vector<history::LanguageTotal> totals;
    };
    const HistoryOutputStyle m_style;  // a copy: the writer outlives the style it was made from
    const history::HistoryLanguages& m_languages;
    TextSink m_write;
    std::size_t m_points = 0;
    Snapshot m_first, m_last;
};

// Chart columns: a point replaces the one before it in the same pixel column.
constexpr double kChartColumns = 668;

class SvgWriter final : public HistoryWriter {
public:
    SvgWriter(const HistoryOutputStyle& style, const history::HistoryLanguages& languages, TextSink write)
        : m_style(style), m_languages(languages), m_write(std::move(write)) {}
    void Point(const HistoryPointInfo& point, const std::vector<history::LanguageTotal>& totals) override {
        const double span = static_cast<double>(std::max<std::int64_t>(1, m_style.lastTime - m_style.firstTime));
        const auto column = static_cast<long long>(static_cast<double>(point.time - m_style.firstTime) / span * kChartColumns);
        std::vector<std::int64_t> code(totals.size());
        for (std::size_t l = 0; l < totals.size(); ++l) code[l] = totals[l].counts.ii;
        if (!m_data.times.empty() && column == m_lastColumn) {
            m_data.times.back() = point.time;
            m_data.code.back() = std::move(code);
        } else {
            m_data.times.push_back(point.time);
            m_data.code.push_back(std::move(code));
        }
        m_lastColumn = column;
    }
    void Finish() override { m_write(RenderStackedChart(HistoryChart(m_data, m_languages, m_style.title))); }

private:
    const HistoryOutputStyle m_style;  // a copy: the writer outlives the style it was made from
    const history::HistoryLanguages& m_languages;
    TextSink m_write;
    HistoryChartData m_data;
    long long m_lastColumn = -1;
};

}  // namespace

StackedChart HistoryChart(const HistoryChartData& data, const history::HistoryLanguages& languages,
                          const std::string& title) {
    StackedChart chart;
    chart.title = title;
    chart.valueName = "code lines";
    chart.times = data.times;
    std::vector<std::int64_t> peak;
    for (const auto& point : data.code) {
        if (peak.size() < point.size()) peak.resize(point.size());
        for (std::size_t l = 0; l < point.size(); ++l) peak[l] = std::max(peak[l], point[l]);
    }
    std::vector<std::size_t> order;
    for (std::size_t l = 0; l < peak.size(); ++l)
        if (peak[l] > 0) order.push_back(l);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return peak[a] > peak[b]; });
    constexpr std::size_t kShown = 8;
    const std::size_t shown = std::min(order.size(), kShown);
    const auto value = [&](std::size_t p, std::size_t l) { return l < data.code[p].size() ? data.code[p][l] : 0; };
    for (std::size_t k = 0; k < shown; ++k) {
        ChartSeries series{languages.Name(order[k]), {}};
        for (std::size_t p = 0; p < data.times.size(); ++p) series.values.push_back(static_cast<double>(value(p, order[k])));
        chart.series.push_back(std::move(series));
    }
    if (order.size() > kShown) {
        ChartSeries other{"other", std::vector<double>(data.times.size(), 0.0)};
        for (std::size_t k = kShown; k < order.size(); ++k)
            for (std::size_t p = 0; p < data.times.size(); ++p) other.values[p] += static_cast<double>(value(p, order[k]));
        chart.series.push_back(std::move(other));
    }
    return chart;
}

std::unique_ptr<HistoryWriter> MakeHistoryWriter(const HistoryOutputStyle& style,
                                                 const history::HistoryLanguages& languages, TextSink write) {
    if (style.format == Format::Csv) return std::make_unique<CsvWriter>(languages, std::move(write));
    if (style.format == Format::Json) return std::make_unique<JsonWriter>(languages, std::move(write));
    if (style.format == Format::Svg) return std::make_unique<SvgWriter>(style, languages, std::move(write));
    return std::make_unique<TableWriter>(style, languages, std::move(write));
}

}  // namespace kordel::outputs
