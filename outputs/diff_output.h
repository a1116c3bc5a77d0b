// Printing a diff report: the table (aligned or tab-separated), Markdown, CSV and JSON.
#pragma once

#include <cstddef>
#include <string>

#include "outputs/format.h"

#include "diff/diff_run.h"

namespace kordel::outputs {

struct DiffOutputStyle {
    Format format = Format::Table;  ///< table, md, csv or json
    bool byFile = false;           ///< one entry per file instead of one per language
    bool aligned = false;          ///< table: padded columns for a terminal, else tab-separated
    std::size_t width = 80;        ///< terminal width for the aligned table
};

/// The report in the style asked for; each entry (language or file) and the total carry, per category,
/// the lines that are same, modified, added and removed.
std::string RenderDiff(const diff::DiffReport& report, const DiffOutputStyle& style);

}  // namespace kordel::outputs
