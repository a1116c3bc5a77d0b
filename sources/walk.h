// Finding the files to count: folder walks, git's file list, and the filters both go through.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "vcs/ignore_rules.h"
#include "platform/folders.h"
#include "sources/path_table.h"

namespace kordel::vcs {
class WorkTree;
}  // namespace kordel::vcs

namespace kordel::sources {

/// Folder names skipped by default.
inline const std::vector<std::string> kDefaultExcludedDirs = {".git", ".svn", ".hg"};

struct FileFilters {
    /// Folders never entered, and files (or folders) left out: patterns in gitignore's syntax, matched
    /// against the path below the walked folder, as an ignore file there would be.
    std::vector<std::string> excludedDirs = kDefaultExcludedDirs;
    std::vector<std::string> excludeGlobs;
    std::vector<std::string> includeExts;   ///< when not empty, only these extensions (".c"), any case
    std::vector<std::string> excludeExts;   ///< never these extensions, any case
    bool followSymlinks = false;
    /// Folder walks leave out what .ignore files and, inside a git work tree, git's ignore rules leave out.
    bool ignoreFiles = false;
};

/// The parts of ".c,.h" (a missing leading dot is added).
std::vector<std::string> SplitExtensions(std::string_view list);

/// Decides whether a file, by its name (without folders), is one of a known language.
using KnownName = std::function<bool(std::string_view fileName)>;

/// Collects files under folders and from git lists, each real file once.
class FileCollector {
public:
    FileCollector(FileFilters filters, KnownName known);

    /// Hears of every file (and every folder not entered) that the walks leave out, with the reason.
    using LeftOutSink = std::function<void(const std::string& path, const std::string& reason)>;
    void SetLeftOutSink(LeftOutSink sink) { m_leftOut = std::move(sink); }

    /// Adds the files under `folder` in sorted order; `onFolder` hears of each folder entered
    /// and the number of files found so far. Folders that cannot be read are noted in Unreadable().
    void WalkFolder(const std::filesystem::path& folder, PathTable& out,
                    const std::function<void(const std::string&, std::size_t)>& onFolder = {});
    void WalkFolder(const std::filesystem::path& folder, std::vector<std::string>& out,
                    const std::function<void(const std::string&, std::size_t)>& onFolder = {});

    /// Adds the files of a list relative to `folder` (as `git ls-files` gives them) that pass the filters.
    void AddListed(const std::filesystem::path& folder, const std::vector<std::string>& relative,
                   PathTable& out);

    /// True when the file `relative` (to its walk root) passes the name filters.
    bool Accepts(const std::filesystem::path& relative) const;
    /// True when the folder `relative` (to its walk root, '/'-separated) is excluded.
    bool ExcludedFolder(const std::string& relative) const;

    /// The folders met by the walks that could not be opened or read to their end.
    const std::vector<std::string>& Unreadable() const { return m_unreadable; }
    /// Git repositories whose rules were not used, each with the reason (a file that is not regular).
    const std::vector<std::string>& GitRulesNotUsed() const { return m_gitRulesNotUsed; }

private:
    struct Scope;
    /// A walked folder's real path and the ignore rules in force in it, by its path as shown.
    struct FolderRules;
    using RulesByFolder = std::unordered_map<std::string, FolderRules>;
    /// Whether the ignore rules of the entry's folder leave the entry (`shown`) out; a folder that
    /// stays in inherits them.
    bool IgnoredByRules(const platform::FolderEntry& entry, const std::string& shown, bool isFolder,
                        RulesByFolder& rulesOf) const;
    /// The repository whose rules apply at the walk's root, when git does not ignore the root itself.
    std::shared_ptr<const vcs::WorkTree> RootRepository(const std::filesystem::path& folder, std::filesystem::path& rootReal);
    /// The ignore rules in force in the folder `shown`, below those of `scope` (its parent's).
    /// `mayHaveGit` and `mayHaveIgnore`: whether the folder's entries hold a .git and an .ignore (true
    /// when they are not known); the files are looked for only then.
    std::shared_ptr<const Scope> FolderScope(std::shared_ptr<const Scope> scope,
                                             const std::shared_ptr<const vcs::WorkTree>& rootRepo, const std::string& shown,
                                             bool mayHaveGit, bool mayHaveIgnore);
    /// Why the filters leave out the file or folder `relative`; empty when they take it.
    std::string Refusal(const std::string& relative, bool isFolder) const;
    bool Wanted(const std::filesystem::path& relative, const std::string& shown) const;
    void NoteRefusedRepository(const std::string& error);
    void LeftOut(const std::string& path, const std::string& reason) const {
        if (m_leftOut) m_leftOut(path, reason);
    }

    FileFilters m_filters;
    KnownName m_known;
    vcs::IgnoreRules m_excludedDirs{""};
    vcs::IgnoreRules m_excluded{""};
    LeftOutSink m_leftOut;
    // Identities (device and inode) of the files that more than one path can reach: all of them when
    // links are followed, else only files with several names. Other files are met once per walk
    // anyway, since each folder is read once, and a million of them would cost a set node each.
    std::set<std::string> m_seenFiles;
    std::set<std::string> m_seenDirs;
    std::vector<std::string> m_unreadable;
    std::vector<std::string> m_gitRulesNotUsed;
};

}  // namespace kordel::sources
