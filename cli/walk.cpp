// Folder walks and file filters: default and named folder exclusions, globs, extensions, symlinks.
#include "cli/walk.h"

#include <algorithm>
#include <cctype>

#include "engine/path_split.h"
#include "platform/folders.h"

namespace kordel::cli {
namespace {

namespace fs = std::filesystem;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// One bracket expression at the start of `pattern` (just after "["); npos when it is not closed.
std::size_t MatchBracket(std::string_view pattern, char c, bool& matched) {
    std::size_t i = 0;
    const bool negate = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
    if (negate) ++i;
    bool any = false;
    bool first = true;
    for (; i < pattern.size() && (first || pattern[i] != ']'); ++i, first = false) {
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            any = any || (pattern[i] <= c && c <= pattern[i + 2]);
            i += 2;
        } else {
            any = any || pattern[i] == c;
        }
    }
    if (i >= pattern.size()) return std::string_view::npos;
    matched = any != negate;
    return i + 1;
}

}  // namespace

bool MatchGlob(std::string_view pattern, std::string_view text) {
    // Iterative matching with one backtrack point for the last "*": linear in practice, no recursion.
    std::size_t p = 0, t = 0;
    std::size_t starP = std::string_view::npos, starT = 0;
    while (t < text.size()) {
        if (p < pattern.size()) {
            const char pc = pattern[p];
            if (pc == '*') {
                starP = p++;
                starT = t;
                continue;
            }
            if (pc == '?') {
                ++p;
                ++t;
                continue;
            }
            if (pc == '[') {
                bool matched = false;
                const std::size_t used = MatchBracket(pattern.substr(p + 1), text[t], matched);
                if (used != std::string_view::npos) {
                    if (matched) {
                        p += 1 + used;
                        ++t;
                        continue;
                    }
                } else if (text[t] == '[') {  // an unclosed "[" stands for itself
                    ++p;
                    ++t;
                    continue;
                }
            } else if (pc == text[t]) {
                ++p;
                ++t;
                continue;
            }
        }
        if (starP == std::string_view::npos) return false;
        p = starP + 1;
        t = ++starT;
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string> SplitExtensions(std::string_view list) {
    std::vector<std::string> exts;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(',', start);
        if (end == std::string_view::npos) end = list.size();
        std::string_view item = list.substr(start, end - start);
        while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
        if (!item.empty()) exts.push_back(item.front() == '.' ? std::string(item) : std::string(1, '.').append(item));
        start = end + 1;
    }
    return exts;
}

bool FileCollector::ExcludedDir(const std::string& name) const {
    return std::any_of(m_filters.excludedDirs.begin(), m_filters.excludedDirs.end(),
                       [&](const std::string& pattern) { return MatchGlob(pattern, name); });
}

bool FileCollector::Accepts(const fs::path& relative) const {
    const std::string name = relative.filename().string();
    const std::string rel = relative.generic_string();
    for (const std::string& glob : m_filters.excludeGlobs)
        if (MatchGlob(glob, glob.find('/') == std::string::npos ? name : rel)) return false;
    const std::string ext(engine::PathExtension(name));
    if (m_filters.includeExts.empty()) return m_known(ext);
    const std::string lower = Lower(ext);
    return std::any_of(m_filters.includeExts.begin(), m_filters.includeExts.end(),
                       [&](const std::string& e) { return Lower(e) == lower; });
}

bool FileCollector::Wanted(const fs::path& relative) const {
    for (auto it = relative.begin(); it != relative.end(); ++it)
        if (std::next(it) != relative.end() && ExcludedDir(it->string())) return false;
    return Accepts(relative);
}

void FileCollector::WalkFolder(const fs::path& folder, std::vector<std::string>& out,
                               const std::function<void(const std::string&, std::size_t)>& onFolder) {
    // A folder named on the command line is entered even when it is a link.
    const std::string rootText = platform::PathText(folder);
    std::vector<std::string> found;
    // Each folder is read once, whichever path or link reaches it: loops end there.
    const auto enter = [&](const std::string& shown, const std::string& id) {
        if (!m_seenDirs.insert(id).second) return false;
        if (onFolder) onFolder(shown, out.size() + found.size());
        return true;
    };
    const auto visit = [&](const platform::FolderEntry& entry, const std::string& shown) {
        if (entry.isLink && !m_filters.followSymlinks) return platform::WalkStep::Skip;
        if (entry.kind == platform::PathKind::Folder)
            return ExcludedDir(entry.name) ? platform::WalkStep::Skip : platform::WalkStep::Enter;
        if (entry.kind == platform::PathKind::Regular && Accepts(fs::path(shown).lexically_relative(folder)) &&
            m_seenFiles.insert(entry.id).second)
            found.push_back(shown);
        return platform::WalkStep::Skip;
    };
    platform::WalkTree(rootText, m_filters.followSymlinks, enter, visit, m_unreadable);
    std::sort(found.begin(), found.end());
    out.insert(out.end(), found.begin(), found.end());
}

void FileCollector::AddListed(const fs::path& folder, const std::vector<std::string>& relative,
                              std::vector<std::string>& out) {
    std::vector<std::string> found;
    for (const std::string& rel : relative) {
        const fs::path relPath(rel);
        if (!Wanted(relPath)) continue;
        const fs::path path = folder / relPath;
        std::error_code ec;
        if (fs::is_symlink(fs::symlink_status(path, ec)) && !m_filters.followSymlinks) continue;
        if (!fs::is_regular_file(path, ec)) continue;  // deleted since, or a submodule
        const std::string id = platform::FileId(platform::PathText(path));
        if (id.empty() || !m_seenFiles.insert(id).second) continue;
        found.push_back(path.string());
    }
    // The same order as a folder walk of the same files.
    std::sort(found.begin(), found.end());
    out.insert(out.end(), found.begin(), found.end());
}

}  // namespace kordel::cli
