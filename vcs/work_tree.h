// The work tree of the git repository around a folder, read through libgit2: its index, its ignore
// rules, its attributes and its file list. Nothing in the repository's configuration can run a program here (no
// hooks, no core.fsmonitor, no filter drivers): libgit2 reads the files itself.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kordel::vcs {

class GitRepository;

class WorkTree {
public:
    /// The repository whose work tree holds `folder`. Discovery stops at the folders of
    /// GIT_CEILING_DIRECTORIES, as git's does. Nothing when there is none; `error` then says why.
    static std::unique_ptr<WorkTree> Open(const std::filesystem::path& folder, std::string& error);
    ~WorkTree();
    WorkTree(const WorkTree&) = delete;
    WorkTree& operator=(const WorkTree&) = delete;

    /// The work tree's real path.
    const std::filesystem::path& WorkDir() const { return m_workDir; }

    /// `path` relative to the work tree, '/'-separated ("" for the work tree itself); nothing when
    /// `path` is outside it. `path` must be a real path (symbolic links resolved).
    std::optional<std::string> Relative(const std::filesystem::path& realPath) const;

    /// True when the index holds the file `relative`.
    bool IsTracked(std::string_view relative) const;
    /// True when the index holds a file below the folder `relative`.
    bool HasTrackedBelow(std::string_view relative) const;
    /// True when the ignore rules (.gitignore files, .git/info/exclude, core.excludesFile) leave the
    /// file or folder `relative` out, whether or not it is tracked.
    bool IsIgnored(std::string_view relative, bool isFolder) const;

    /// Tracked files and untracked files that are not ignored, below the folder `relative`
    /// ('/'-separated, relative to that folder, in the index's order and then the others');
    /// nothing when the work tree cannot be compared with the index.
    std::optional<std::vector<std::string>> ListFiles(std::string_view relative) const;

    /// A .gitattributes attribute of the file `relative`: set ("attr", "attr=true" or another value),
    /// unset ("-attr", "attr=false"), or nothing when no rule names it.
    std::optional<bool> Attribute(std::string_view relative, const char* name) const;

private:
    WorkTree() = default;

    std::unique_ptr<GitRepository> m_repo;
    std::filesystem::path m_workDir;
    std::vector<std::string> m_tracked;  ///< the index's paths, sorted, each once
};

}  // namespace kordel::vcs
