// Runs git ls-files with an argument vector and splits its NUL-separated output.
#include "cli/git_files.h"

#include "cli/platform.h"

namespace kordel::cli {

GitFiles ListGitFiles(const std::filesystem::path& folder) {
    GitFiles result;
    // -z: names exactly as stored, without quoting; --others --exclude-standard: new files too,
    // but nothing that .gitignore or the other exclude files leave out.
    const ProcessResult run = RunProgram(
        {"git", "-C", folder.string(), "ls-files", "-z", "--cached", "--others", "--exclude-standard", "--", "."});
    if (!run.started) {
        result.error = "git could not be run (is it installed and on PATH?); --vcs git needs it";
        return result;
    }
    if (run.exitCode != 0) {
        result.error = std::string(1, '"').append(folder.string()).append("\" is not in a git repository (git ls-files failed)");
        return result;
    }
    std::string previous;
    std::size_t start = 0;
    while (start < run.output.size()) {
        std::size_t end = run.output.find('\0', start);
        if (end == std::string::npos) end = run.output.size();
        std::string name = run.output.substr(start, end - start);
        // An unmerged file is listed once per stage; --cached and --others never overlap otherwise.
        if (!name.empty() && name != previous) result.files.push_back(name);
        previous = std::move(name);
        start = end + 1;
    }
    result.ok = true;
    return result;
}

}  // namespace kordel::cli
