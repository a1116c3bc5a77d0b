// The file list of a git working tree, as `git ls-files` gives it.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kordel::cli {

struct GitFiles {
    bool ok = false;
    std::string error;               ///< why there is no list, when !ok
    std::vector<std::string> files;  ///< relative to the folder, '/'-separated
};

/// Tracked files and untracked files that are not ignored, below `folder`.
GitFiles ListGitFiles(const std::filesystem::path& folder);

}  // namespace kordel::cli
