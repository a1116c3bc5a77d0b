// The files libgit2 opens with a blocking open when it reads a repository: each must be a regular
// file (or missing) before the repository is handed to libgit2, or a FIFO in its place hangs kordelc.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kordel::vcs {

/// The first file that libgit2 would open for the repository around `folder` (its git folder's
/// config, index, info/exclude, objects/info/alternates, commondir, HEAD, packed-refs, the files its
/// configuration includes, the user's and the system's git configuration) that is not a regular file;
/// nothing when there is none, or no repository.
std::optional<std::string> BlockingGitFile(const std::filesystem::path& folder);

/// False when neither `folder` nor a folder above it has a ".git" or looks like a git folder (a
/// HEAD and an objects folder): no repository can hold it, which is known without setting up
/// libgit2 (whose set-up reads the system's certificates, more work than a small count).
bool MayBeInRepository(const std::filesystem::path& folder);

/// What is wrong with `file`, quoted: it is not a regular file, or (a regular file) it is an ignore
/// file that UnreadableIgnoreFile refused.
std::string GitFileProblem(const std::string& file);

/// The message for a repository refused because of `file`.
std::string NotARegularGitFileMessage(const std::string& file);

/// True for a message made by NotARegularGitFileMessage.
bool IsNotARegularGitFileMessage(const std::string& message);

/// Nothing when the file at `path` is missing or a regular file; else its path.
std::optional<std::string> NotRegular(const std::filesystem::path& path);

/// Nothing when the ignore file at `path` (a .gitignore, info/exclude, core.excludesFile) is missing
/// or a regular file that libgit2 can read; else its path. libgit2 1.5.1 loops for ever on a rule that
/// begins with a vertical tab or a form feed, and crashes on a file ending in "!\" after another
/// rule: a file holding either byte, or ending in a backslash, is refused as a FIFO is.
std::optional<std::string> UnreadableIgnoreFile(const std::filesystem::path& path);

}  // namespace kordel::vcs
