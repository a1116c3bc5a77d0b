// Folder walks and file filters: default and named folder exclusions, globs, extensions, symlinks.
#include "sources/walk.h"

#include "vcs/git_files.h"

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "vcs/work_tree.h"
#include "vcs/ignore_rules.h"
#include "common/ascii.h"
#include "engine/path_split.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/os.h"
#include "platform/paths.h"

namespace kordel::sources {
namespace {

namespace fs = std::filesystem;


// An ignore file larger than this is not read: it is no list of rules someone wrote.
constexpr std::size_t kMaxIgnoreFile = 1 << 20;

// Opened without blocking: a FIFO named .ignore reads as no rules instead of stopping the walk.
std::string ReadSmallFile(const fs::path& path) {
    return platform::ReadFileContents(platform::PathText(path), kMaxIgnoreFile).bytes.value_or(std::string());
}

std::string RulesText(const std::vector<std::string>& patterns, bool folderOnly) {
    std::string text;
    for (const std::string& pattern : patterns) text += vcs::ExcludeRuleLine(pattern, folderOnly) + "\n";
    return text;
}

// Which .gitignore rule leaves `relative` (to the work tree) out: the deepest .gitignore with a rule
// for it wins, as in git. libgit2 answers only whether a path is ignored, so this is asked only to
// tell a user why (--ignored).
std::string GitIgnoreReason(const fs::path& workDir, const std::string& relative, bool isFolder) {
    fs::path folder = platform::PathFromText(relative).parent_path();
    for (;;) {
        const fs::path file = workDir / folder / ".gitignore";
        const vcs::IgnoreRules rules(ReadSmallFile(file));
        std::string rule;
        const std::string below =
            platform::GenericPathText(platform::PathFromText(relative).lexically_relative(folder.empty() ? fs::path(".") : folder));
        if (!rules.empty() && rules.Match(below, isFolder, rule) != vcs::IgnoreRules::Verdict::None)
            return "ignored by \"" + rule + "\" in " + platform::PathText(file);
        if (folder.empty()) break;
        folder = folder.parent_path();
    }
    return "ignored by git (.git/info/exclude or core.excludesFile)";
}

}  // namespace

// The ignore rules in force in a folder: its .ignore file, those of the folders above it in the
// walk, and the git repository it lies in.
struct FileCollector::Scope {
    std::shared_ptr<const Scope> parent;
    fs::path folder;  // as walked
    vcs::IgnoreRules rules{""};
    std::shared_ptr<const vcs::WorkTree> repo;

    // Whether this scope or one above it has ignore rules or a repository: else nothing is left out.
    bool HasRules() const {
        for (const Scope* s = this; s; s = s->parent.get())
            if (!s->rules.empty()) return true;
        return repo != nullptr;
    }

    // Whether `path` (below `folder` or a folder under it; `real` its real path) is left out; with
    // `reason`, why.
    bool Ignores(const fs::path& path, const fs::path& real, bool isFolder, std::string* reason) const {
        for (const Scope* s = this; s; s = s->parent.get()) {
            if (s->rules.empty()) continue;
            std::string rule;
            const vcs::IgnoreRules::Verdict v =
                s->rules.Match(platform::GenericPathText(path.lexically_relative(s->folder)), isFolder, rule);
            if (v == vcs::IgnoreRules::Verdict::None) continue;
            if (reason) *reason = "ignored by \"" + rule + "\" in " + platform::PathText(s->folder / ".ignore");
            return v == vcs::IgnoreRules::Verdict::Ignore;
        }
        if (!repo) return false;
        const std::optional<std::string> relative = repo->Relative(real);
        // A tracked file is never left out, nor a folder that holds one, as in git.
        if (!relative || !repo->IsIgnored(*relative, isFolder)) return false;
        const bool left = isFolder ? !repo->HasTrackedBelow(*relative) : !repo->IsTracked(*relative);
        if (left && reason) *reason = GitIgnoreReason(repo->WorkDir(), *relative, isFolder);
        return left;
    }
};


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

void FileCollector::NoteRefusedRepository(const std::string& error) {
    if (vcs::IsNotARegularGitFileMessage(error)) m_gitRulesNotUsed.push_back(error);
}

FileCollector::FileCollector(FileFilters filters, KnownName known)
    : m_filters(std::move(filters)), m_known(std::move(known)), m_excludedDirs(RulesText(m_filters.excludedDirs, true)),
      m_excluded(RulesText(m_filters.excludeGlobs, false)) {}

std::string FileCollector::Refusal(const std::string& relative, bool isFolder) const {
    std::string rule;
    if (isFolder && m_excludedDirs.Match(relative, true, rule) == vcs::IgnoreRules::Verdict::Ignore) {
        const bool byDefault = std::find(kDefaultExcludedDirs.begin(), kDefaultExcludedDirs.end(),
                                         rule.substr(0, rule.size() - 1)) != kDefaultExcludedDirs.end();
        return byDefault ? "a version control folder (--no-default-excludes walks it)" : "--exclude-dir " + rule;
    }
    if (m_excluded.Match(relative, isFolder, rule) == vcs::IgnoreRules::Verdict::Ignore) return "--exclude " + rule;
    if (isFolder) return {};
    const std::size_t slash = relative.rfind('/');
    const std::string name = slash == std::string::npos ? relative : relative.substr(slash + 1);
    const std::string ext(engine::PathExtension(name));
    for (const std::string& e : m_filters.excludeExts)
        if (EqualIgnoringCase(e, ext)) return "--exclude-ext " + e;
    if (m_filters.includeExts.empty()) return m_known(name) ? std::string() : "unknown extension";
    return std::any_of(m_filters.includeExts.begin(), m_filters.includeExts.end(),
                       [&](const std::string& e) { return EqualIgnoringCase(e, ext); })
               ? std::string()
               : "not among --include-ext";
}

bool FileCollector::Accepts(const fs::path& relative) const { return Refusal(platform::GenericPathText(relative), false).empty(); }

bool FileCollector::ExcludedFolder(const std::string& relative) const { return !Refusal(relative, true).empty(); }

bool FileCollector::Wanted(const fs::path& relative, const std::string& shown) const {
    // A file below an excluded folder is left out with it, as git leaves out what an ignored folder holds.
    std::string prefix;
    for (auto it = relative.begin(); it != relative.end() && std::next(it) != relative.end(); ++it) {
        if (!prefix.empty()) prefix += '/';
        prefix += platform::PathText(*it);
        const std::string reason = Refusal(prefix, true);
        if (!reason.empty()) {
            LeftOut(shown, reason);
            return false;
        }
    }
    const std::string reason = Refusal(platform::GenericPathText(relative), false);
    if (reason.empty()) return true;
    LeftOut(shown, reason);
    return false;
}

// The ignore rules of each folder of the walk are kept by the folder's path as shown, with its real
// path (git's rules are matched against that).
struct FileCollector::FolderRules {
    fs::path real;
    std::shared_ptr<const Scope> scope;
};

bool FileCollector::IgnoredByRules(const platform::FolderEntry& entry, const std::string& shown, bool isFolder,
                                   RulesByFolder& rulesOf) const {
    const std::string parentShown = shown.substr(0, shown.size() - entry.name.size());
    auto it = rulesOf.find(parentShown);
    if (it == rulesOf.end() && !parentShown.empty()) it = rulesOf.find(parentShown.substr(0, parentShown.size() - 1));
    if (it == rulesOf.end() || !it->second.scope) return false;
    const FolderRules& parent = it->second;
    // Without rules nor a repository above it, a file needs none of the paths below.
    if (!isFolder && !entry.isLink && !parent.scope->HasRules()) return false;
    std::error_code ec;
    const fs::path path = platform::PathFromText(shown);
    fs::path real = entry.isLink ? fs::canonical(path, ec) : parent.real / platform::PathFromText(entry.name);
    if (ec) {
        LeftOut(shown, "a link that leads nowhere");
        return true;
    }
    std::string reason;
    if (parent.scope->Ignores(path, real, isFolder, m_leftOut ? &reason : nullptr)) {
        LeftOut(isFolder ? shown + "/" : shown, reason);
        return true;
    }
    if (isFolder) rulesOf[shown] = {std::move(real), parent.scope};
    return false;
}

void FileCollector::WalkFolder(const fs::path& folder, std::vector<std::string>& out,
                               const std::function<void(const std::string&, std::size_t)>& onFolder) {
    PathTable found;
    const std::size_t before = out.size();
    WalkFolder(folder, found, [&](const std::string& shown, std::size_t n) {
        if (onFolder) onFolder(shown, before + n);
    });
    out.reserve(before + found.size());
    for (std::size_t i = 0; i < found.size(); ++i) out.push_back(found[i]);
}

std::shared_ptr<const vcs::WorkTree> FileCollector::RootRepository(const fs::path& folder, fs::path& rootReal) {
    std::error_code ec;
    rootReal = fs::canonical(folder, ec);
    std::string notInRepository;
    std::shared_ptr<const vcs::WorkTree> rootRepo;
    if (!ec) rootRepo = vcs::WorkTree::Open(folder, notInRepository);
    NoteRefusedRepository(notInRepository);
    // A folder named on the command line is walked even when git ignores it (a build folder,
    // say); git's rules then have nothing to say below it.
    const std::optional<std::string> relative = rootRepo ? rootRepo->Relative(rootReal) : std::nullopt;
    if (relative && rootRepo->IsIgnored(*relative, true) && !rootRepo->HasTrackedBelow(*relative)) rootRepo.reset();
    return rootRepo;
}

std::shared_ptr<const FileCollector::Scope> FileCollector::FolderScope(std::shared_ptr<const Scope> scope,
                                                                      const std::shared_ptr<const vcs::WorkTree>& rootRepo,
                                                                      const std::string& shown, bool mayHaveGit,
                                                                      bool mayHaveIgnore) {
    const fs::path dir = platform::PathFromText(shown);
    // A folder with its own .git is another repository, with rules of its own.
    std::shared_ptr<const vcs::WorkTree> repo = scope ? scope->repo : rootRepo;
    std::error_code ec;
    if (scope && mayHaveGit && fs::exists(dir / ".git", ec)) {
        std::string notInRepository;
        repo = vcs::WorkTree::Open(dir, notInRepository);
        NoteRefusedRepository(notInRepository);
    }
    // libgit2 would open this folder's .gitignore with a blocking open (a FIFO there would hang) and
    // loops on some bytes in it.
    if (repo) {
        if (const std::optional<std::string> bad = vcs::UnreadableIgnoreFile(dir / ".gitignore")) {
            m_gitRulesNotUsed.push_back(vcs::GitFileProblem(*bad) + ": git's ignore rules are not used below \"" + shown + "\"");
            repo = nullptr;
        }
    }
    vcs::IgnoreRules rules(mayHaveIgnore ? ReadSmallFile(dir / ".ignore") : std::string());
    if (!scope || !rules.empty() || repo != scope->repo) {
        auto next = std::make_shared<Scope>();
        next->parent = scope;
        next->folder = dir;
        next->rules = std::move(rules);
        next->repo = std::move(repo);
        scope = std::move(next);
    }
    return scope;
}

void FileCollector::WalkFolder(const fs::path& folder, PathTable& out,
                               const std::function<void(const std::string&, std::size_t)>& onFolder) {
    // A folder named on the command line is entered even when it is a link.
    const std::string rootText = platform::PathText(folder);
    fs::path rootReal;
    const std::shared_ptr<const vcs::WorkTree> rootRepo = m_filters.ignoreFiles ? RootRepository(folder, rootReal) : nullptr;
    RulesByFolder rulesOf;
    const std::size_t first = out.size();
    // Each folder is read once, whichever path or link reaches it: loops end there.
    const auto enter = [&](const std::string& shown, const std::string& id) {
        if (!m_seenDirs.insert(id).second) return false;
        if (onFolder) onFolder(shown, out.size());
        return true;
    };
    // The folder's own ignore rules, before its entries are visited: its entries tell whether it has
    // a .git or an .ignore to look at.
    const auto read = [&](const std::string& shown, const std::vector<platform::FolderEntry>& entries, bool complete) {
        if (!m_filters.ignoreFiles) return;
        const auto has = [&](std::string_view name) {
            return !complete || std::any_of(entries.begin(), entries.end(), [&](const platform::FolderEntry& e) {
                       return platform::kCaseSensitivePaths ? e.name == name : EqualIgnoringCase(e.name, name);
                   });
        };
        FolderRules& here = rulesOf[shown];
        if (shown == rootText) here.real = rootReal;
        // The parent's scope, set when the folder was seen, gives way to the folder's own.
        here.scope = FolderScope(here.scope, rootRepo, shown, has(".git"), has(".ignore"));
    };
    const auto ignored = [&](const platform::FolderEntry& entry, const std::string& shown, bool isFolder) {
        return m_filters.ignoreFiles && IgnoredByRules(entry, shown, isFolder, rulesOf);
    };
    // The filters' reason for leaving the entry out, noted; false when they take it.
    // Each path shown is the root joined with the entry's path below it.
    const std::size_t rootLength = platform::JoinPath(rootText, "").size();
    const auto refused = [&](const std::string& shown, bool isFolder) {
        std::string relative = shown.substr(rootLength);
        if (platform::kWindows) std::replace(relative.begin(), relative.end(), '\\', '/');
        const std::string reason = Refusal(relative, isFolder);
        if (reason.empty()) return false;
        LeftOut(isFolder ? shown + "/" : shown, reason);
        return true;
    };
    const auto visit = [&](platform::FolderEntry& entry, const std::string& shown, const platform::Folder& in) {
        if (entry.isLink && !m_filters.followSymlinks) {
            LeftOut(shown, "a symbolic link (--follow-symlinks follows it)");
            return platform::WalkStep::Skip;
        }
        if (entry.kind == platform::PathKind::Folder)
            return refused(shown, true) || ignored(entry, shown, true) ? platform::WalkStep::Skip
                                                                        : platform::WalkStep::Enter;
        if (entry.kind != platform::PathKind::Regular) {
            LeftOut(shown, "not a regular file");
        } else if (!refused(shown, false) && !ignored(entry, shown, false)) {
            // Whether other paths may reach the file is known once it is identified; a file gone
            // since its folder was read is passed over.
            if (!in.Identify(entry)) return platform::WalkStep::Skip;
            if (!(m_filters.followSymlinks || entry.manyNames) || m_seenFiles.insert(entry.id).second)
                out.Add(shown);
            else
                LeftOut(shown, "a file taken already under another name or link");
        }
        return platform::WalkStep::Skip;
    };
    platform::WalkTree(rootText, m_filters.followSymlinks, enter, visit, m_unreadable, read);
    out.SortFrom(first);
}

void FileCollector::AddListed(const fs::path& folder, const std::vector<std::string>& relative,
                              PathTable& out) {
    const std::size_t first = out.size();
    for (const std::string& rel : relative) {
        const fs::path relPath = platform::PathFromText(rel);
        const fs::path path = folder / relPath;
        if (!Wanted(relPath, platform::PathText(path))) continue;
        std::error_code ec;
        if (fs::is_symlink(fs::symlink_status(path, ec)) && !m_filters.followSymlinks) continue;
        if (!fs::is_regular_file(path, ec)) continue;  // deleted since, or a submodule
        const std::string id = platform::FileId(platform::PathText(path));
        if (id.empty() || !m_seenFiles.insert(id).second) continue;
        out.Add(platform::PathText(path));
    }
    // The same order as a folder walk of the same files.
    out.SortFrom(first);
}

}  // namespace kordel::sources
