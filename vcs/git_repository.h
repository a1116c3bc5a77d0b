// The one handle on a libgit2 repository, and libgit2's set-up: every git type of vcs/ holds one.
#pragma once

#include <memory>
#include <string>

struct git_repository;

namespace kordel::vcs {

/// libgit2 is set up while an object of this type lives (libgit2 counts its set-ups and tears
/// itself down with the last).
class GitLibrary {
public:
    GitLibrary();
    ~GitLibrary();
    GitLibrary(const GitLibrary&) = delete;
    GitLibrary& operator=(const GitLibrary&) = delete;
};

/// An open repository: it owns libgit2's handle and keeps libgit2 set up as long as it lives.
class GitRepository {
public:
    /// The repository whose work tree or git folder holds `folder` (UTF-8), searched upwards and
    /// stopping at the folders of `ceilings` (a GIT_CEILING_DIRECTORIES list; none when null).
    /// Nothing when it cannot be opened: `status` then holds libgit2's error code and `reason` its
    /// message.
    static std::unique_ptr<GitRepository> Open(const std::string& folder, const char* ceilings, int& status,
                                               std::string& reason);
    ~GitRepository();
    GitRepository(const GitRepository&) = delete;
    GitRepository& operator=(const GitRepository&) = delete;

    git_repository* get() const { return m_repo; }

    /// The git folder (".git/" of a work tree), from which another thread opens its own repository.
    std::string GitFolder() const;

private:
    GitRepository() = default;
    GitLibrary m_library;
    git_repository* m_repo = nullptr;
};

/// The message libgit2 left for its last failure on this thread (or says that git is missing).
std::string GitErrorText();

/// False in a build without libgit2, where every git operation fails.
bool GitSupported();

}  // namespace kordel::vcs
