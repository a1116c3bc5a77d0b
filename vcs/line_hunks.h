// The hunks of a line diff of two texts, by libgit2's patience diff.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kordel::vcs {

/// Lines that differ: `oldCount` lines from `oldBegin` became `newCount` lines from `newBegin` (0-based;
/// a hunk without lines on one side starts after the line before it).
struct LineHunk {
    std::size_t oldBegin, oldCount, newBegin, newCount;
};

/// The hunks, in order, that turn `oldText` into `newText` (no context lines, every byte text).
/// False with `error` set when libgit2 fails.
bool DiffHunks(std::string_view oldText, std::string_view newText, std::vector<LineHunk>& hunks, std::string& error);

}  // namespace kordel::vcs
