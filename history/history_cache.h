// The history's blob counts kept in a file between runs, one section per option set, so that a
// rerun after new commits counts only the new blobs.
#pragma once

#include <string>
#include <vector>

#include "history/history_memo.h"
#include "history/history_run.h"

namespace kordel::cli {

class HistoryCache {
public:
    enum class Load {
        Missing,    ///< no file (or an empty one): the run starts with an empty memo
        Loaded,     ///< the file was read; the memo holds its section for this option set, if any
        Damaged,    ///< a cache file that cannot be read back; ignored, and rewritten at the end
        NotACache,  ///< the file is something else: it is neither read nor overwritten
    };

    /// Reads `path`: the section of `key` into `memo` (its languages numbered by `languages`), the
    /// other sections kept as they are. `reason` says what is wrong with a damaged file.
    Load Read(const std::string& path, const std::string& key, HistoryLanguages& languages, BlobMemo& memo,
              std::string& reason);

    /// The file's bytes: the other sections as read, and the counted entries of `memo` as the section of `key`.
    std::string Bytes(const std::string& key, const HistoryLanguages& languages, const BlobMemo& memo) const;

    /// Writes Bytes() to `path` atomically; false when it cannot be written.
    bool Write(const std::string& path, const std::string& key, const HistoryLanguages& languages,
               const BlobMemo& memo) const;

private:
    std::vector<std::string> m_otherSections;
};

/// Bytes a cache file spends per blob and language.
inline constexpr std::size_t kCacheEntryBytes = 42;

}  // namespace kordel::cli
