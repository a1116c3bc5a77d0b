// Dates in UTC by the civil calendar, without the C library's time zone state.
#include "history/history_points.h"

#include <charconv>
#include <cstdio>

namespace kordel::history {
namespace {

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

struct Civil {
    std::int64_t year;
    unsigned month, day;
};

Civil CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2), m, d};
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

bool Number(std::string_view text, std::size_t at, std::size_t digits, unsigned lo, unsigned hi, unsigned& value) {
    if (at + digits > text.size()) return false;
    for (std::size_t i = at; i < at + digits; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    std::from_chars(text.data() + at, text.data() + at + digits, value);
    return value >= lo && value <= hi;
}

// The period a commit time falls in, for sampling by day, week or month.
std::int64_t PeriodOf(std::int64_t seconds, Sampling::Kind kind) {
    const std::int64_t days = FloorDiv(seconds, 86400);
    switch (kind) {
        case Sampling::Kind::Week: return FloorDiv(days + 3, 7);  // 1970-01-01 was a Thursday
        case Sampling::Kind::Month: {
            const Civil c = CivilFromDays(days);
            return c.year * 12 + c.month;
        }
        default: return days;
    }
}

}  // namespace

std::optional<std::int64_t> ParseHistoryDate(std::string_view text, bool endOfDay) {
    if (!text.empty() && (text.back() == 'Z' || text.back() == 'z')) text.remove_suffix(1);
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (text.size() < 10 || text[4] != '-' || text[7] != '-' || !Number(text, 0, 4, 0, 9999, year) ||
        !Number(text, 5, 2, 1, 12, month) || !Number(text, 8, 2, 1, 31, day))
        return std::nullopt;
    const std::int64_t days = DaysFromCivil(year, month, day);
    if (CivilFromDays(days).day != day) return std::nullopt;  // February 30th and the like
    if (text.size() == 10) return days * 86400 + (endOfDay ? 86399 : 0);
    if ((text[10] != 'T' && text[10] != 't' && text[10] != ' ') || text.size() < 16 || text[13] != ':' ||
        !Number(text, 11, 2, 0, 23, hour) || !Number(text, 14, 2, 0, 59, minute))
        return std::nullopt;
    if (text.size() == 19 && text[16] == ':') {
        if (!Number(text, 17, 2, 0, 59, second)) return std::nullopt;
    } else if (text.size() != 16) {
        return std::nullopt;
    }
    return days * 86400 + hour * 3600 + minute * 60 + second;
}

std::string FormatHistoryDate(std::int64_t seconds) {
    const std::int64_t days = FloorDiv(seconds, 86400);
    const std::int64_t rest = seconds - days * 86400;
    const Civil c = CivilFromDays(days);
    char text[40];
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02lld:%02lld:%02lldZ", static_cast<long long>(c.year), c.month,
                  c.day, static_cast<long long>(rest / 3600), static_cast<long long>(rest / 60 % 60),
                  static_cast<long long>(rest % 60));
    return text;
}

std::optional<Sampling> ParseSampling(std::string_view text) {
    if (text == "day") return Sampling{Sampling::Kind::Day, 1};
    if (text == "week") return Sampling{Sampling::Kind::Week, 1};
    if (text == "month") return Sampling{Sampling::Kind::Month, 1};
    if (text == "tag") return Sampling{Sampling::Kind::Tag, 1};
    std::size_t n = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || n == 0) return std::nullopt;
    return Sampling{n == 1 ? Sampling::Kind::All : Sampling::Kind::Every, n};
}

std::vector<std::size_t> ChoosePoints(const std::vector<vcs::HistoryCommit>& commits, std::optional<std::int64_t> since,
                                      std::optional<std::int64_t> until, const Sampling& sampling,
                                      const std::map<vcs::BlobId, std::vector<std::string>>& tags) {
    std::vector<std::size_t> kept;
    for (std::size_t i = 0; i < commits.size(); ++i)
        if ((!since || commits[i].time >= *since) && (!until || commits[i].time <= *until)) kept.push_back(i);
    std::vector<std::size_t> points;
    for (std::size_t k = 0; k < kept.size(); ++k) {
        const vcs::HistoryCommit& c = commits[kept[k]];
        const bool last = k + 1 == kept.size();
        bool take = false;
        switch (sampling.kind) {
            case Sampling::Kind::All: take = true; break;
            case Sampling::Kind::Every: take = k % sampling.every == 0 || last; break;
            case Sampling::Kind::Tag: take = tags.count(c.id) > 0; break;
            default:
                take = last || PeriodOf(c.time, sampling.kind) != PeriodOf(commits[kept[k + 1]].time, sampling.kind);
        }
        if (take) points.push_back(kept[k]);
    }
    return points;
}

}  // namespace kordel::history
