// Checking, without blocking, the files libgit2 would open for a repository.
#include "vcs/git_files.h"

#include <cstdlib>
#include <string_view>
#include <vector>

#include "common/ascii.h"
#include "platform/files.h"

namespace kordel::vcs {
namespace {

namespace fs = std::filesystem;

// A configuration or gitlink file larger than this is not looked into (libgit2 then reads it itself).
constexpr std::size_t kMaxConfigFile = 1 << 20;
// Includes of includes are followed this deep, as far as anyone writes them.
constexpr int kMaxIncludeDepth = 10;

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) text.remove_suffix(1);
    return text;
}

fs::path Home() {
    const char* home = std::getenv("HOME");
    return home ? fs::path(home) : fs::path();
}

// The value of "path = X" under [include] or [includeIf ...], relative to the file's folder, "~/" at home.
fs::path IncludeTarget(std::string_view value, const fs::path& configFolder) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    if (value.starts_with("~/")) return Home() / value.substr(2);
    const fs::path target = platform::PathFromText(value);
    return target.is_absolute() ? target : configFolder / target;
}

// The configuration file and every file it includes (an include names a file to read, never a program).
std::optional<std::string> CheckConfig(const fs::path& config, int depth) {
    if (std::optional<std::string> bad = NotRegular(config)) return bad;
    if (depth >= kMaxIncludeDepth) return std::nullopt;
    const std::optional<std::string> text =
        platform::ReadFileContents(platform::PathText(config), kMaxConfigFile).bytes;
    if (!text) return std::nullopt;
    bool inInclude = false;
    std::size_t start = 0;
    while (start < text->size()) {
        std::size_t end = text->find('\n', start);
        if (end == std::string::npos) end = text->size();
        const std::string_view line = Trimmed(std::string_view(*text).substr(start, end - start));
        start = end + 1;
        if (line.starts_with("[")) {
            const std::string section = AsciiLowered(line.substr(1, line.find_first_of(" \"]", 1) - 1));
            inInclude = section == "include" || section == "includeif";
            continue;
        }
        const std::size_t eq = line.find('=');
        if (!inInclude || eq == std::string_view::npos || AsciiLowered(Trimmed(line.substr(0, eq))) != "path") continue;
        const fs::path target = IncludeTarget(Trimmed(line.substr(eq + 1)), config.parent_path());
        if (std::optional<std::string> bad = CheckConfig(target, depth + 1)) return bad;
    }
    return std::nullopt;
}

// A bare repository's folder, or a git folder itself: a HEAD beside an objects folder.
bool LooksLikeGitFolder(const fs::path& dir) {
    return platform::GetPathInfo(platform::PathText(dir / "HEAD")).kind != platform::PathKind::Missing &&
           platform::GetPathInfo(platform::PathText(dir / "objects")).kind == platform::PathKind::Folder;
}

// The git folder of the work tree or bare repository at `dir`, or nothing; `bad` is set when the
// ".git" there is neither a folder nor a regular file.
std::optional<fs::path> GitFolderAt(const fs::path& dir, std::optional<std::string>& bad) {
    const fs::path dotGit = dir / ".git";
    const platform::PathInfo info = platform::GetPathInfo(platform::PathText(dotGit));
    if (info.kind == platform::PathKind::Folder) return dotGit;
    if (info.kind == platform::PathKind::Other) {
        bad = platform::PathText(dotGit);
        return std::nullopt;
    }
    if (info.kind == platform::PathKind::Regular) {
        // A linked work tree or a submodule: "gitdir: PATH".
        const platform::FileContents file = platform::ReadFileContents(platform::PathText(dotGit), kMaxConfigFile);
        if (file.status == platform::InputFile::Status::NotRegular) bad = platform::PathText(dotGit);
        if (!file.bytes || !file.bytes->starts_with("gitdir:")) return std::nullopt;
        const fs::path target = platform::PathFromText(Trimmed(std::string_view(*file.bytes).substr(7, file.bytes->find('\n') - 7)));
        return target.is_absolute() ? target : dir / target;
    }
    if (LooksLikeGitFolder(dir)) return dir;
    return std::nullopt;
}

std::optional<std::string> CheckGitFolder(const fs::path& gitFolder, bool followCommon) {
    for (const char* name : {"HEAD", "index", "packed-refs", "commondir", "objects/info/alternates"})
        if (std::optional<std::string> bad = NotRegular(gitFolder / name)) return bad;
    if (std::optional<std::string> bad = UnreadableIgnoreFile(gitFolder / "info/exclude")) return bad;
    if (std::optional<std::string> bad = CheckConfig(gitFolder / "config", 0)) return bad;
    if (!followCommon) return std::nullopt;
    // A linked work tree shares the main repository's configuration, exclude file and objects.
    const std::optional<std::string> common =
        platform::ReadFileContents(platform::PathText(gitFolder / "commondir"), kMaxConfigFile).bytes;
    if (!common) return std::nullopt;
    const fs::path target = platform::PathFromText(Trimmed(std::string_view(*common).substr(0, common->find('\n'))));
    return CheckGitFolder(target.is_absolute() ? target : gitFolder / target, false);
}

}  // namespace

std::optional<std::string> NotRegular(const fs::path& path) {
    platform::InputFile file;
    switch (file.Open(platform::PathText(path))) {
        case platform::InputFile::Status::NotRegular: return platform::PathText(path);
        default: return std::nullopt;
    }
}

std::optional<std::string> UnreadableIgnoreFile(const fs::path& path) {
    platform::InputFile file;
    switch (file.Open(platform::PathText(path))) {
        case platform::InputFile::Status::Opened: break;
        case platform::InputFile::Status::NotRegular: return platform::PathText(path);
        default: return std::nullopt;
    }
    char piece[16 * 1024];
    char last = '\n';
    for (std::ptrdiff_t got; (got = file.Read(piece, sizeof piece)) > 0;) {
        if (std::string_view(piece, static_cast<std::size_t>(got)).find_first_of("\v\f") != std::string_view::npos)
            return platform::PathText(path);
        last = piece[got - 1];
    }
    if (last == '\\') return platform::PathText(path);
    return std::nullopt;
}

std::string GitFileProblem(const std::string& file) {
    // A regular file refused is an ignore file that libgit2 would read for ever.
    const bool regular = platform::GetPathInfo(file).kind == platform::PathKind::Regular;
    return std::string(1, '"').append(file).append(
        regular ? "\" holds a vertical tab, a form feed or a final backslash, on which libgit2 fails" : "\" is not a regular file");
}

constexpr std::string_view kNotReadSuffix = ": the git repository is not read";

std::string NotARegularGitFileMessage(const std::string& file) { return GitFileProblem(file).append(kNotReadSuffix); }

bool IsNotARegularGitFileMessage(const std::string& message) { return message.ends_with(kNotReadSuffix); }

bool MayBeInRepository(const fs::path& folder) {
    std::error_code ec;
    fs::path dir = fs::absolute(folder, ec);
    if (ec) return true;
    for (;;) {
        // Any .git at all, even one that is no folder: libgit2 has the say on it.
        if (platform::GetPathInfo(platform::PathText(dir / ".git")).kind != platform::PathKind::Missing ||
            LooksLikeGitFolder(dir))
            return true;
        if (!dir.has_relative_path()) return false;
        dir = dir.parent_path();
    }
}

std::optional<std::string> BlockingGitFile(const fs::path& folder) {
    // The user's and the system's configuration are read with every repository.
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const fs::path xdgFolder = xdg && *xdg ? fs::path(xdg) : Home() / ".config";
    for (const fs::path& global : {Home() / ".gitconfig", xdgFolder / "git" / "config", fs::path("/etc/gitconfig")})
        if (!global.empty())
            if (std::optional<std::string> bad = CheckConfig(global, 0)) return bad;
    std::error_code ec;
    fs::path dir = fs::absolute(folder, ec);
    if (ec) return std::nullopt;
    for (;;) {
        std::optional<std::string> bad;
        if (const std::optional<fs::path> gitFolder = GitFolderAt(dir, bad)) return CheckGitFolder(*gitFolder, true);
        if (bad) return bad;
        if (!dir.has_relative_path()) return std::nullopt;
        dir = dir.parent_path();
    }
}

}  // namespace kordel::vcs
