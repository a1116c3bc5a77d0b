// Count and percentage texts.
#include "engine/number_text.h"

#include <cstdio>

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

std::int64_t PercentHundredths(std::int64_t count, std::int64_t total) {
    double percent = 0.0;
    if (total >= 1) percent = static_cast<double>(count) / static_cast<double>(total) * 100.0;
    // The digits "%f" prints (its rounding at six decimals included) up to the second decimal; the
    // locale's decimal mark is skipped whatever it is.
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", percent);
    std::string_view printed(buffer);
    printed.remove_suffix(4);
    std::int64_t hundredths = 0;
    for (char c : printed)
        if (c >= '0' && c <= '9') hundredths = hundredths * 10 + (c - '0');
    return hundredths;
}

std::string PercentText(std::int64_t count, std::int64_t total) {
    const std::int64_t hundredths = PercentHundredths(count, total);
    const std::int64_t fraction = hundredths % 100;
    return std::to_string(hundredths / 100) + (fraction < 10 ? ".0" : ".") + std::to_string(fraction);
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

}  // namespace kordel::engine
