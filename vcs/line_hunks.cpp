// The line diff through git_diff_buffers.
#include "vcs/line_hunks.h"

#include <git2.h>

#include "vcs/git_repository.h"

namespace kordel::vcs {
namespace {

int OnHunk(const git_diff_delta*, const git_diff_hunk* hunk, void* payload) {
    auto& hunks = *static_cast<std::vector<LineHunk>*>(payload);
    // A hunk without lines on one side names the line before it; with lines, its first line (1-based).
    const auto begin = [](int start, int count) {
        return static_cast<std::size_t>(count > 0 ? start - 1 : start);
    };
    hunks.push_back({begin(hunk->old_start, hunk->old_lines), static_cast<std::size_t>(hunk->old_lines),
                     begin(hunk->new_start, hunk->new_lines), static_cast<std::size_t>(hunk->new_lines)});
    return 0;
}

}  // namespace

bool DiffHunks(std::string_view oldText, std::string_view newText, std::vector<LineHunk>& hunks, std::string& error) {
    // libgit2 stays set up for the program's whole life from the first diff on.
    static const GitLibrary library;
    git_diff_options options;
    git_diff_options_init(&options, GIT_DIFF_OPTIONS_VERSION);
    options.context_lines = 0;
    options.interhunk_lines = 0;
    // Every file is text here: a NUL byte must not turn the diff into "binary files differ".
    options.flags = GIT_DIFF_PATIENCE | GIT_DIFF_FORCE_TEXT;
    if (git_diff_buffers(oldText.data(), oldText.size(), nullptr, newText.data(), newText.size(), nullptr, &options,
                         nullptr, nullptr, OnHunk, nullptr, &hunks) != 0) {
        error = GitErrorText();
        return false;
    }
    return true;
}

}  // namespace kordel::vcs
