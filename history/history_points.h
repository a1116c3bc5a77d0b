// Which commits of a history become points: dates, --since and --until, and sampling.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "vcs/history_walker.h"

namespace kordel::history {

/// Seconds since 1970 (UTC) of "YYYY-MM-DD" or "YYYY-MM-DDTHH:MM[:SS]" (a space may stand for the T,
/// a trailing Z is allowed). A date alone is its first second, or its last with `endOfDay`.
std::optional<std::int64_t> ParseHistoryDate(std::string_view text, bool endOfDay);

/// "2024-03-05T14:07:00Z".
std::string FormatHistoryDate(std::int64_t seconds);

/// How points are taken from the commits: all, every Nth, the last of each day, week (from Monday) or
/// month (UTC), or the tagged commits.
struct Sampling {
    enum class Kind { All, Every, Day, Week, Month, Tag } kind = Kind::All;
    std::size_t every = 1;
};

/// "100", "day", "week", "month" or "tag"; nothing for anything else.
std::optional<Sampling> ParseSampling(std::string_view text);

/// The indexes of the commits (oldest first) that are points: within [since, until], then sampled.
/// With --every N the first commit, every Nth after it and the last are points.
std::vector<std::size_t> ChoosePoints(const std::vector<vcs::HistoryCommit>& commits, std::optional<std::int64_t> since,
                                      std::optional<std::int64_t> until, const Sampling& sampling,
                                      const std::map<vcs::BlobId, std::vector<std::string>>& tags);

}  // namespace kordel::history
