// Counting change between two sides: files paired by relative path, lines by the line diff.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "diff/diff_lines.h"
#include "diff/diff_sides.h"
#include "sources/skipped.h"
#include "engine/count_run.h"

namespace kordel::diff {

/// One file of either side: same (identical lines), modified, added (new side only) or removed.
struct DiffFile {
    std::string relative;
    std::string language;
    Change change = Change::Same;
    DiffCounts counts;
    std::string oldLanguage;  ///< the old file's language when it differs (two single files)
};

/// Files per change and their lines.
struct DiffSum {
    std::string language;  ///< empty for the total
    std::array<std::size_t, 4> files{};
    DiffCounts counts;
    void Add(const DiffFile& file);
};

struct DiffReport {
    std::vector<DiffFile> files;        ///< by relative path
    std::vector<DiffSum> languages;     ///< the most new code first, as a plain count orders them
    DiffSum total;
    std::vector<sources::Skipped> skipped;  ///< files that could not be read or have no language
};

using ExtensionOf = std::function<std::string(std::string_view path)>;

/// Pairs the files of the two sides by relative path (two single files are paired whatever their
/// names) and counts every pair's change on `jobs` threads; the report is the same for every number
/// of jobs. A pair of the same blob or the same bytes is not diffed.
DiffReport DiffSides(const Side& oldSide, const Side& newSide, const engine::CountOptions& options,
                     const engine::UserLanguageLookup* userLanguages, const ExtensionOf& extensionOf,
                     sources::Activity* progress, unsigned jobs = 1);

}  // namespace kordel::diff
