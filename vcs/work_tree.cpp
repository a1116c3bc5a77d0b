// libgit2 calls for WorkTree. The index is read once per repository; ignore rules are asked per path
// (libgit2 caches each folder's rules).
#include "vcs/work_tree.h"
#include "platform/files.h"

#include "vcs/git_files.h"
#include "vcs/git_repository.h"

#include <git2.h>

#include <algorithm>
#include <cstdlib>

namespace kordel::vcs {
namespace {

namespace fs = std::filesystem;

// The path in double quotes (built by appending: g++ 12 warns falsely on "\"" + text).
std::string Quoted(const fs::path& path) { return std::string(1, '"').append(platform::PathText(path)).append(1, '"'); }

bool StartsWithFolder(std::string_view path, std::string_view folder) {
    return folder.empty() || (path.size() > folder.size() && path.starts_with(folder) && path[folder.size()] == '/');
}

// The file of core.excludesFile (by default the user's git/ignore), which libgit2 reads with the
// first ignore question; nothing when it is missing or a regular file.
std::optional<std::string> ExcludesFileNotRegular(git_repository* repo) {
    git_config* config = nullptr;
    if (git_repository_config_snapshot(&config, repo) < 0) return std::nullopt;
    git_buf path{};
    std::optional<std::string> bad;
    if (git_config_get_path(&path, config, "core.excludesfile") == 0) {
        bad = UnreadableIgnoreFile(fs::path(path.ptr));
    } else {
        const char* xdg = std::getenv("XDG_CONFIG_HOME");
        const char* home = std::getenv("HOME");
        if (xdg && *xdg) bad = UnreadableIgnoreFile(fs::path(xdg) / "git" / "ignore");
        else if (home) bad = UnreadableIgnoreFile(fs::path(home) / ".config" / "git" / "ignore");
    }
    git_error_clear();
    git_buf_dispose(&path);
    git_config_free(config);
    return bad;
}

// True when a folder below `top` (its .git left out) holds a .gitignore that is no regular file.
bool BlockingIgnoreFileBelow(const fs::path& top) {
    std::error_code ec;
    if (UnreadableIgnoreFile(top / ".gitignore")) return true;
    for (fs::recursive_directory_iterator it(top, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        if (it->path().filename() == ".git") {
            it.disable_recursion_pending();
        } else if (it->path().filename() == ".gitignore" && UnreadableIgnoreFile(it->path())) {
            return true;
        }
    }
    return false;
}

}  // namespace

WorkTree::~WorkTree() = default;

std::unique_ptr<WorkTree> WorkTree::Open(const fs::path& folder, std::string& error) {
    std::error_code ec;
    const fs::path real = fs::canonical(folder, ec);
    if (ec) {
        error = Quoted(folder) + " cannot be read: " + ec.message();
        return nullptr;
    }
    if (!MayBeInRepository(real)) {
        error = Quoted(folder) + " is not in a git repository";
        return nullptr;
    }
    // libgit2 opens these with a blocking open: a FIFO in place of one would hang the walk.
    if (const std::optional<std::string> bad = BlockingGitFile(real)) {
        error = NotARegularGitFileMessage(*bad);
        return nullptr;
    }
    std::unique_ptr<WorkTree> result(new WorkTree);
    int found = 0;
    std::string reason;
    result->m_repo = GitRepository::Open(platform::PathText(real), std::getenv("GIT_CEILING_DIRECTORIES"), found, reason);
    if (found == GIT_ENOTFOUND) {
        error = Quoted(folder) + " is not in a git repository";
        return nullptr;
    }
    if (found < 0) {
        error = "the git repository of " + Quoted(folder) + " cannot be read: " + reason;
        return nullptr;
    }
    const char* workDir = git_repository_workdir(result->m_repo->get());
    if (!workDir) {
        error = Quoted(folder) + " is in a bare git repository, which has no files to count";
        return nullptr;
    }
    result->m_workDir = fs::canonical(platform::PathFromText(workDir), ec);
    if (ec) result->m_workDir = platform::PathFromText(workDir).lexically_normal();

    // Asking about the folder itself reads the .gitignore files of the folders above it.
    for (fs::path above = real.parent_path(); above.string().starts_with(result->m_workDir.string());
         above = above.parent_path()) {
        if (const std::optional<std::string> bad = UnreadableIgnoreFile(above / ".gitignore")) {
            error = NotARegularGitFileMessage(*bad);
            return nullptr;
        }
        if (above == result->m_workDir || !above.has_relative_path()) break;
    }
    if (const std::optional<std::string> bad = ExcludesFileNotRegular(result->m_repo->get())) {
        error = NotARegularGitFileMessage(*bad);
        return nullptr;
    }
    git_index* index = nullptr;
    if (git_repository_index(&index, result->m_repo->get()) < 0) {
        error = "the git index of " + Quoted(folder) + " cannot be read: " + GitErrorText();
        return nullptr;
    }
    const std::size_t count = git_index_entrycount(index);
    result->m_tracked.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const git_index_entry* entry = git_index_get_byindex(index, i);
        // An unmerged file stands once per stage, side by side.
        if (entry && (result->m_tracked.empty() || result->m_tracked.back() != entry->path))
            result->m_tracked.emplace_back(entry->path);
    }
    git_index_free(index);
    std::sort(result->m_tracked.begin(), result->m_tracked.end());
    return result;
}

std::optional<std::string> WorkTree::Relative(const fs::path& realPath) const {
    const fs::path relative = realPath.lexically_relative(m_workDir);
    if (relative.empty()) return std::nullopt;
    const std::string text = platform::GenericPathText(relative);
    if (text == ".") return std::string();
    if (text == ".." || text.starts_with("../")) return std::nullopt;
    return text;
}

bool WorkTree::IsTracked(std::string_view relative) const {
    return std::binary_search(m_tracked.begin(), m_tracked.end(), relative, std::less<>());
}

bool WorkTree::HasTrackedBelow(std::string_view relative) const {
    if (relative.empty()) return !m_tracked.empty();
    const std::string prefix = std::string(relative) + '/';
    const auto it = std::lower_bound(m_tracked.begin(), m_tracked.end(), prefix);
    return it != m_tracked.end() && it->starts_with(prefix);
}

bool WorkTree::IsIgnored(std::string_view relative, bool isFolder) const {
    if (relative.empty()) return false;
    // A trailing slash tells libgit2 that the path is a folder, so that "build/" rules apply to it.
    const std::string path = std::string(relative) + (isFolder ? "/" : "");
    int ignored = 0;
    if (git_ignore_path_is_ignored(&ignored, m_repo->get(), path.c_str()) < 0) return false;
    return ignored == 1;
}

std::optional<std::vector<std::string>> WorkTree::ListFiles(std::string_view relative) const {
    std::vector<std::string> files;
    const std::size_t cut = relative.empty() ? 0 : relative.size() + 1;
    for (const std::string& path : m_tracked)
        if (StartsWithFolder(path, relative)) files.push_back(path.substr(cut));

    git_status_options options{};
    git_status_options_init(&options, GIT_STATUS_OPTIONS_VERSION);
    options.show = GIT_STATUS_SHOW_WORKDIR_ONLY;
    options.flags = GIT_STATUS_OPT_INCLUDE_UNTRACKED | GIT_STATUS_OPT_RECURSE_UNTRACKED_DIRS |
                    GIT_STATUS_OPT_EXCLUDE_SUBMODULES | GIT_STATUS_OPT_DISABLE_PATHSPEC_MATCH;
    std::string folder(relative);
    char* pathspec[] = {folder.data()};
    if (!folder.empty()) options.pathspec = {pathspec, 1};
    // libgit2 reads the .gitignore of every folder it walks with a blocking open.
    if (BlockingIgnoreFileBelow(relative.empty() ? m_workDir : m_workDir / std::string(relative))) return std::nullopt;
    git_status_list* status = nullptr;
    if (git_status_list_new(&status, m_repo->get(), &options) < 0) return std::nullopt;
    const std::size_t count = git_status_list_entrycount(status);
    for (std::size_t i = 0; i < count; ++i) {
        const git_status_entry* entry = git_status_byindex(status, i);
        if (!entry || !(entry->status & GIT_STATUS_WT_NEW) || !entry->index_to_workdir) continue;
        const char* path = entry->index_to_workdir->new_file.path;
        if (path && StartsWithFolder(path, relative)) files.push_back(std::string(path).substr(cut));
    }
    git_status_list_free(status);
    return files;
}

std::optional<bool> WorkTree::Attribute(std::string_view relative, const char* name) const {
    const char* value = nullptr;
    const std::string path(relative);
    if (git_attr_get(&value, m_repo->get(), GIT_ATTR_CHECK_FILE_THEN_INDEX, path.c_str(), name) < 0)
        return std::nullopt;
    switch (git_attr_value(value)) {
        case GIT_ATTR_VALUE_TRUE: return true;
        case GIT_ATTR_VALUE_FALSE: return false;
        case GIT_ATTR_VALUE_STRING: return std::string_view(value) != "false";
        default: return std::nullopt;
    }
}

}  // namespace kordel::vcs
