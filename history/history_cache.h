// The history's counts kept in a file between runs, one section per option set: the blob counts (so a
// rerun counts only new blobs) and each point's totals (so a rerun compares trees only after the last
// point it knows).
#pragma once

#include <string>
#include <vector>

#include "history/history_memo.h"
#include "history/history_point_totals.h"
#include "history/history_run.h"

namespace kordel::history {

/// The keys of the sections a run reads and writes (cli/history_keys.h).
struct HistoryCacheKeys {
    std::string blobCounts;
    std::string pointTotals;
};

class HistoryCache {
public:
    enum class Load {
        Missing,    ///< no file (or an empty one): the run starts with an empty memo
        Loaded,     ///< the file was read; the memo and points hold its sections for these keys, if any
        Damaged,    ///< a cache file that cannot be read back; ignored, and rewritten at the end
        NotACache,  ///< the file is something else: it is neither read nor overwritten
    };

    /// Reads `path`: the sections of `keys` into `memo` and `points` (their languages numbered by
    /// `languages`), the other sections kept as they are. `reason` says what is wrong with a damaged file.
    Load Read(const std::string& path, const HistoryCacheKeys& keys, HistoryLanguages& languages, HistoryMemo& memo,
              PointStore& points, std::string& reason);

    /// The file's bytes: the other sections as read, the counted entries of `memo` and the totals of
    /// `points` as the sections of `keys`.
    std::string Bytes(const HistoryCacheKeys& keys, const HistoryLanguages& languages, const HistoryMemo& memo,
                      const PointStore& points) const;

    /// Writes Bytes() to `path` atomically; false when it cannot be written.
    bool Write(const std::string& path, const HistoryCacheKeys& keys, const HistoryLanguages& languages,
               const HistoryMemo& memo, const PointStore& points) const;

private:
    std::vector<std::string> m_otherSections;
};

/// Bytes a cache file spends per blob and language.
inline constexpr std::size_t kCacheEntryBytes = 42;
/// Bytes per blob whose "#!" line decided its language.
inline constexpr std::size_t kCacheLineEntryBytes = 22;

}  // namespace kordel::history
