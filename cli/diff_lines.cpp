// The line diff through git_diff_buffers and the pairing rule over its hunks.
#include "cli/diff_lines.h"

#include <vector>

#include <git2.h>

#include "cli/revision.h"

namespace kordel::cli {
namespace {

using engine::LineCategory;

struct Hunk {
    std::size_t oldBegin, oldCount, newBegin, newCount;  // 0-based first lines
};

int OnHunk(const git_diff_delta*, const git_diff_hunk* hunk, void* payload) {
    auto& hunks = *static_cast<std::vector<Hunk>*>(payload);
    // A hunk without lines on one side names the line before it; with lines, its first line (1-based).
    const auto begin = [](int start, int count) {
        return static_cast<std::size_t>(count > 0 ? start - 1 : start);
    };
    hunks.push_back({begin(hunk->old_start, hunk->old_lines), static_cast<std::size_t>(hunk->old_lines),
                     begin(hunk->new_start, hunk->new_lines), static_cast<std::size_t>(hunk->new_lines)});
    return 0;
}

// libgit2 is set up for the program's whole life the first time a diff needs it.
void InitGit() {
    static const int once = git_libgit2_init();
    (void)once;
}

}  // namespace

bool DiffLines(const engine::BufferLines& oldLines, const engine::BufferLines& newLines, DiffCounts& counts,
               std::string& error) {
    InitGit();
    git_diff_options options;
    git_diff_options_init(&options, GIT_DIFF_OPTIONS_VERSION);
    options.context_lines = 0;
    options.interhunk_lines = 0;
    // Every file is text here: a NUL byte must not turn the diff into "binary files differ".
    options.flags = GIT_DIFF_PATIENCE | GIT_DIFF_FORCE_TEXT;
    std::vector<Hunk> hunks;
    if (git_diff_buffers(oldLines.text.data(), oldLines.text.size(), nullptr, newLines.text.data(),
                         newLines.text.size(), nullptr, &options, nullptr, nullptr, OnHunk, nullptr, &hunks) != 0) {
        error = LastGitError();
        return false;
    }
    const auto& oldCats = oldLines.categories;
    const auto& newCats = newLines.categories;
    std::size_t o = 0, n = 0;
    // Lines outside the hunks are equal on both sides, in the same order.
    const auto equalRun = [&](std::size_t oldEnd) {
        for (; o < oldEnd && o < oldCats.size() && n < newCats.size(); ++o, ++n) {
            if (oldCats[o] == newCats[n]) {
                counts.Add(oldCats[o], Change::Same);
            } else {
                counts.Add(oldCats[o], Change::Removed);
                counts.Add(newCats[n], Change::Added);
            }
        }
    };
    for (const Hunk& h : hunks) {
        if (h.oldBegin < o || h.newBegin < n || h.oldBegin - o != h.newBegin - n ||
            h.oldBegin + h.oldCount > oldCats.size() || h.newBegin + h.newCount > newCats.size()) {
            error = "the line diff gave hunks out of order";
            return false;
        }
        equalRun(h.oldBegin);
        const std::size_t paired = std::min(h.oldCount, h.newCount);
        for (std::size_t k = 0; k < paired; ++k) {
            const LineCategory before = oldCats[h.oldBegin + k];
            const LineCategory after = newCats[h.newBegin + k];
            if (before == after) {
                counts.Add(before, Change::Modified);
            } else {
                counts.Add(before, Change::Removed);
                counts.Add(after, Change::Added);
            }
        }
        for (std::size_t k = paired; k < h.oldCount; ++k) counts.Add(oldCats[h.oldBegin + k], Change::Removed);
        for (std::size_t k = paired; k < h.newCount; ++k) counts.Add(newCats[h.newBegin + k], Change::Added);
        o = h.oldBegin + h.oldCount;
        n = h.newBegin + h.newCount;
    }
    if (oldCats.size() - o != newCats.size() - n) {
        error = "the line diff does not cover both versions";
        return false;
    }
    equalRun(oldCats.size());
    return true;
}

}  // namespace kordel::cli
