// Counting a history: each point's tree compared with the point before it, the new blobs counted in
// parallel once per language, and each point's totals per language handed on in order.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_memo.h"
#include "history/history_point_totals.h"
#include "vcs/history_walker.h"
#include "engine/count_run.h"

namespace kordel::history {

/// The languages met in a history, numbered as they are met; each extension resolved once.
class HistoryLanguages {
public:
    HistoryLanguages(const engine::CountOptions& options, const engine::UserLanguageLookup* userLanguages)
        : m_options(options), m_userLanguages(userLanguages) {}
    /// The number of the language that counts `extension`; -1 when none does.
    int IndexOf(const std::string& extension);
    /// The number of a language by its name (and whether it is a user language), added when new.
    std::uint16_t Intern(const std::string& name, bool user);

    std::size_t size() const { return m_names.size(); }
    const std::string& Name(std::size_t i) const { return m_names[i]; }
    bool User(std::size_t i) const { return m_user[i]; }
    /// An extension counted as the language (empty when none was met yet in this run).
    const std::string& Extension(std::size_t i) const { return m_extensions[i]; }

private:
    const engine::CountOptions& m_options;
    const engine::UserLanguageLookup* m_userLanguages;
    std::map<std::string, int> m_byExtension;
    std::vector<std::string> m_names;
    std::vector<bool> m_user;
    std::vector<std::string> m_extensions;
};

struct HistoryInput {
    vcs::HistoryWalker& repository;
    const std::vector<vcs::HistoryCommit>& points;  ///< oldest first
    vcs::RevisionReader::Wanted wanted;
    bool ignoreFiles = true;
    std::function<std::string(std::string_view path)> extensionOf;
    engine::CountOptions options;
    const engine::UserLanguageLookup* userLanguages = nullptr;
    unsigned jobs = 1;
    /// Totals known already (from a cache of the same option set): such a point's tree is not
    /// compared, and the next point is compared with it.
    const PointStore* knownPoints = nullptr;
};

/// What a history remembers of blobs: their counts per language, and what their "#!" lines name.
struct HistoryMemo {
    BlobMemo counts;
    LineMemo lines;
};

struct HistoryStats {
    std::size_t blobsCounted = 0;  ///< blobs read and counted in this run (the memo knew the others)
    std::size_t unreadable = 0;    ///< blobs that could not be read: their files are not counted
    std::size_t noLanguage = 0;    ///< files no language claims: not counted
};

/// Called for each point in order with its totals, indexed by language number (languages without
/// files may stand there with zeros).
using OnPointTotals = std::function<void(std::size_t point, const PointTotals& totals)>;
/// Called now and then with the points done.
using HistoryProgress = std::function<void(std::size_t done)>;

/// Counts every point of `input`. False with `error` when a tree or the repository can't be read.
bool CountHistory(const HistoryInput& input, HistoryLanguages& languages, HistoryMemo& memo, const OnPointTotals& onPoint,
                  const HistoryProgress& onProgress, HistoryStats& stats, std::string& error);

}  // namespace kordel::history
