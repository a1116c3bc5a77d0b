// Count and percentage texts.
#include "engine/number_text.h"

#include <cstdio>
#include <limits>

namespace kordel::engine {

std::string AddCommas(std::string_view digits) {
    if (digits.size() < 4) return std::string(digits);
    std::string out;
    out.reserve(digits.size() + digits.size() / 3);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0) out += ',';
        out += digits[i];
    }
    return out;
}

std::string CountText(std::int64_t count) { return AddCommas(std::to_string(count)); }

std::string PercentText(std::int64_t count, std::int64_t total) {
    double percent = 0.0;
    if (total >= 1) percent = static_cast<double>(count) / static_cast<double>(total) * 100.0;
    // "%f" may print the locale's decimal comma; the text always uses a full stop.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", percent);
    std::string text(buffer);
    for (char& c : text)
        if (c == ',') c = '.';
    text.resize(text.size() - 4);
    return text;
}

std::vector<std::string> RowCellTexts(const FileCounts& c, bool sps) {
    if (!sps) return {CountText(c.ii), CountText(c.inoc), CountText(c.inoml), CountText(c.inos), CountText(c.nl3)};
    return {CountText(c.ii),   PercentText(c.ii, c.nl3) + "%",    CountText(c.inoc),
            PercentText(c.inoc, c.nl3) + "%", CountText(c.inoml), PercentText(c.inoml, c.nl3) + "%",
            CountText(c.inos), PercentText(c.inos, c.nl3) + "%",  CountText(c.nl3)};
}

TotalsTexts MakeTotalsTexts(const RunTotals& t) {
    auto both = [&](std::int64_t n) { return CountText(n) + " (" + PercentText(n, t.ntl) + "%)"; };
    return {both(t.ncl), both(t.ncol), both(t.nml), both(t.ncbl), CountText(t.ntl)};
}

std::uint64_t aatoi(std::string_view text) {
    std::uint64_t value = 0;
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    for (char c : text) {
        if (c < '0' || c > '9') continue;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        value = value > (kMax - digit) / 10 ? kMax : value * 10 + digit;
    }
    return value;
}

}  // namespace kordel::engine
