// Finding the files to count: folder walks, git's file list, and the filters both go through.
#pragma once

#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/path_table.h"

namespace kordel::cli {

/// Folder names skipped by default.
inline const std::vector<std::string> kDefaultExcludedDirs = {".git", ".svn", ".hg"};

struct FileFilters {
    std::vector<std::string> excludedDirs = kDefaultExcludedDirs;  ///< folder names never entered
    std::vector<std::string> excludeGlobs;  ///< a file matching one is left out
    std::vector<std::string> includeExts;   ///< when not empty, only these extensions (".c"), any case
    bool followSymlinks = false;
    /// Folder walks leave out what .ignore files and, inside a git work tree, git's ignore rules leave out.
    bool ignoreFiles = false;
};

/// Shell-style match of a whole text: "*" any run, "?" one character, "[abc]", "[a-z]", "[!x]".
bool MatchGlob(std::string_view pattern, std::string_view text);

/// The parts of ".c,.h" (a missing leading dot is added).
std::vector<std::string> SplitExtensions(std::string_view list);

/// Decides whether a file, by its name (without folders), is one of a known language.
using KnownName = std::function<bool(std::string_view fileName)>;

/// Collects files under folders and from git lists, each real file once.
class FileCollector {
public:
    FileCollector(FileFilters filters, KnownName known) : m_filters(std::move(filters)), m_known(std::move(known)) {}

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

    /// The folders met by the walks that could not be opened or read to their end.
    const std::vector<std::string>& Unreadable() const { return m_unreadable; }
    /// Git repositories whose rules were not used, each with the reason (a file that is not regular).
    const std::vector<std::string>& GitRulesNotUsed() const { return m_gitRulesNotUsed; }

private:
    struct Scope;
    bool ExcludedDir(const std::string& name) const;
    bool Wanted(const std::filesystem::path& relative) const;
    void NoteRefusedRepository(const std::string& error);

    FileFilters m_filters;
    KnownName m_known;
    // Identities (device and inode) of the files that more than one path can reach: all of them when
    // links are followed, else only files with several names. Other files are met once per walk
    // anyway, since each folder is read once, and a million of them would cost a set node each.
    std::set<std::string> m_seenFiles;
    std::set<std::string> m_seenDirs;
    std::vector<std::string> m_unreadable;
    std::vector<std::string> m_gitRulesNotUsed;
};

}  // namespace kordel::cli
