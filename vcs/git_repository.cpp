// libgit2's set-up, the repository handle and libgit2's error text.
#include "vcs/git_repository.h"

#include <git2.h>

namespace kordel::vcs {

GitLibrary::GitLibrary() { git_libgit2_init(); }
GitLibrary::~GitLibrary() { git_libgit2_shutdown(); }

std::unique_ptr<GitRepository> GitRepository::Open(const std::string& folder, const char* ceilings, int& status,
                                                   std::string& reason) {
    std::unique_ptr<GitRepository> result(new GitRepository);
    status = git_repository_open_ext(&result->m_repo, folder.c_str(), 0, ceilings);
    if (status == 0) return result;
    // Read before the last set-up ends, which clears libgit2's error.
    reason = GitErrorText();
    return nullptr;
}

GitRepository::~GitRepository() { git_repository_free(m_repo); }

std::string GitRepository::GitFolder() const { return git_repository_path(m_repo); }

std::string GitErrorText() {
    const git_error* error = git_error_last();
    return error && error->message ? error->message : "unknown git error";
}

bool GitSupported() { return true; }

}  // namespace kordel::vcs
