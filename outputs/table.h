// The table output: aligned and fitted on a terminal, tab-separated for pipes and files, Markdown.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "outputs/by_language.h"
#include "sources/rows.h"

namespace kordel::outputs {

/// Rows of cells; the first row is the header, the first column is left-aligned.
using Grid = std::vector<std::vector<std::string>>;

/// How the counts of a grid are written.
enum class Layout {
    /// For people: thousands separators; the shares in a row of their own below each row with -p,
    /// and below the totals always.
    Terminal,
    /// For programs: plain integers; with -p the shares in columns of their own after each count.
    Plain,
};

/// Header, one line per counted row, and the totals line.
Grid FileGrid(const std::vector<sources::Row>& rows, Layout layout, bool percent);

/// The pieces of FileGrid, for tables written as their rows come: the header line, a counted
/// row's line(s), and the totals line(s) of the summed counts.
Grid FileGridHeader(Layout layout, bool percent);
void AddFileLine(Grid& grid, const sources::Row& row, Layout layout, bool percent);
void AddTotalsLine(Grid& grid, const engine::FileCounts& totals, Layout layout, bool percent);

/// Header, one line per language, and the totals line with every file counted.
Grid LanguageGrid(const std::vector<LanguageSummary>& summaries, Layout layout, bool percent);

/// Cells joined by tabs, one line per row.
std::string RenderTabs(const Grid& grid);

/// CSV: fields holding a comma, a quote or a line end quoted, every row ending in a line end.
std::string RenderCsv(const Grid& grid);

/// Columns padded to line up (numbers right-aligned), two blanks apart, control bytes escaped. A
/// table wider than `width` is fitted: with `shortenFirst` the first column's long texts are
/// shortened in the middle, then the counts lose their separators, and lines still too wide are cut.
std::string RenderAligned(const Grid& grid, std::size_t width, bool shortenFirst);

/// A Markdown table ("|" in a cell escaped), numbers right-aligned, the totals line in bold.
std::string RenderMarkdown(const Grid& grid);

/// The HTML entity that a Markdown cell writes for `ch` ("<", ">" or "&"), or null.
const char* MarkdownEntity(char ch);

/// One line of a Markdown table (in bold for the totals); the header's line is followed by the rule
/// that sets the alignment of its `columns`.
std::string MarkdownLine(const std::vector<std::string>& cells, bool bold);
std::string MarkdownRule(std::size_t columns);

}  // namespace kordel::outputs
