// The git side of kordelc --history: a revision's first-parent commits, their tags, and two commits'
// trees compared so that only what changed between them is looked at.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "vcs/revision.h"

namespace kordel::vcs {

/// One commit of a history.
struct HistoryCommit {
    BlobId id{};
    BlobId tree{};
    std::int64_t time = 0;  ///< committer time, seconds since 1970 (UTC)
};

/// A file that enters (+1) or leaves (-1) the counted files between two trees.
using FileChange = std::function<void(const std::string& relative, const BlobId& blob, int sign)>;

/// Walks a repository's history: its commits, its tags and what changes from one tree to the next.
class HistoryWalker {
public:
    /// The repository that holds `folder`, or nothing with `error` set.
    static std::unique_ptr<HistoryWalker> Open(const std::string& folder, std::string& error);
    ~HistoryWalker();
    HistoryWalker(const HistoryWalker&) = delete;
    HistoryWalker& operator=(const HistoryWalker&) = delete;

    /// The first-parent chain of `revision`, oldest first: of REV down to its root commit, or for
    /// "A..B" the commits of B's chain that A does not reach. In a shallow clone the chain ends at the
    /// oldest commit fetched, and `cutShort` (when given) is set.
    bool FirstParentCommits(const std::string& revision, std::vector<HistoryCommit>& commits, std::string& error,
                            bool* cutShort = nullptr);

    /// The names of the tags (lightweight or annotated) of each commit.
    std::map<BlobId, std::vector<std::string>> TagsByCommit();

    /// Calls `onChange` for each regular file that leaves the files `wanted` takes from the tree `from`
    /// (none when null) or enters them in the tree `to`, as a walk of each tree would list them (.ignore
    /// files applied with `ignoreFiles`). Subtrees with the same id on both sides are not entered; a
    /// file whose blob stays is not reported.
    bool CompareTrees(const BlobId* from, const BlobId& to, const RevisionReader::Wanted& wanted, bool ignoreFiles,
                      const FileChange& onChange, std::string& error);

    /// The git folder, from which another thread opens its own RevisionReader to read blobs.
    std::string GitFolder() const;

    struct State;  ///< the repository, the trees and rules kept between comparisons

private:
    explicit HistoryWalker(std::unique_ptr<State> state);
    std::unique_ptr<State> m_state;
};

}  // namespace kordel::vcs
