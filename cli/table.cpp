// Building and printing the per-file and per-language tables.
#include "cli/table.h"

#include <algorithm>

#include "cli/progress.h"
#include "cli/text_bytes.h"

namespace kordel::cli {
namespace {

std::vector<std::string> Header(const char* first, bool files, bool sps) {
    std::vector<std::string> header{first};
    if (files) header.push_back("Files");
    for (const char* name : {"Code", "Comment", "Mixed", "Blank"}) {
        header.push_back(name);
        if (sps) header.push_back(std::string("%") + name);
    }
    header.push_back("Lines");
    return header;
}

engine::FileCounts AsCounts(const engine::RunTotals& t) { return {t.ncl, t.ncol, t.nml, t.ncbl, t.ntl}; }

constexpr std::size_t kGap = 2;
constexpr std::size_t kMinFirstColumn = 12;

}  // namespace

Grid FileGrid(const std::vector<Row>& rows, const engine::TotalsTexts& totals, bool sps,
              const engine::RunTotals* columnTotals) {
    Grid grid{Header("Path", false, sps)};
    for (const Row& row : rows) {
        if (!row.counted) continue;
        std::vector<std::string> line{row.path};
        for (std::string& cell : engine::RowCellTexts(row.counts, sps)) line.push_back(std::move(cell));
        grid.push_back(std::move(line));
    }
    if (columnTotals) {
        std::vector<std::string> line{"Total"};
        for (std::string& cell : engine::RowCellTexts(AsCounts(*columnTotals), sps)) line.push_back(std::move(cell));
        grid.push_back(std::move(line));
    } else {
        grid.push_back({"Total", totals.code, totals.comment, totals.mixed, totals.blank, totals.lines});
    }
    return grid;
}

Grid LanguageGrid(const std::vector<LanguageSummary>& summaries, bool sps) {
    Grid grid{Header("Language", true, sps)};
    engine::RunTotals totals;
    std::size_t files = 0;
    for (const LanguageSummary& sum : summaries) {
        std::vector<std::string> line{sum.language, engine::CountText(static_cast<std::int64_t>(sum.files))};
        for (std::string& cell : engine::RowCellTexts(sum.counts, sps)) line.push_back(std::move(cell));
        grid.push_back(std::move(line));
        totals.Add(sum.counts);
        files += sum.files;
    }
    std::vector<std::string> total{"Total", engine::CountText(static_cast<std::int64_t>(files))};
    for (std::string& cell : engine::RowCellTexts(AsCounts(totals), sps)) total.push_back(std::move(cell));
    grid.push_back(std::move(total));
    return grid;
}

std::string RenderTabs(const Grid& grid) {
    std::string text;
    for (const auto& line : grid) {
        for (std::size_t c = 0; c < line.size(); ++c) {
            if (c > 0) text += '\t';
            text += line[c];
        }
        text += '\n';
    }
    return text;
}

std::string RenderAligned(const Grid& rawGrid, std::size_t width) {
    // Names reach a terminal here: control bytes are shown escaped, never sent.
    Grid grid = rawGrid;
    for (auto& line : grid)
        for (std::string& cell : line) cell = EscapeForTerminal(cell);
    std::vector<std::size_t> widths;
    for (const auto& line : grid) {
        if (widths.size() < line.size()) widths.resize(line.size(), 0);
        for (std::size_t c = 0; c < line.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(line[c]));
    }
    if (widths.empty()) return {};
    std::size_t rest = 0;
    for (std::size_t c = 1; c < widths.size(); ++c) rest += kGap + widths[c];
    if (widths[0] + rest > width) widths[0] = std::max(kMinFirstColumn, width > rest ? width - rest : 0);

    std::string text;
    for (const auto& line : grid) {
        for (std::size_t c = 0; c < line.size(); ++c) {
            if (c == 0) {
                const std::string first = ShortenMiddle(line[0], widths[0]);
                text += first;
                if (line.size() > 1) text.append(widths[0] - DisplayWidth(first), ' ');
            } else {
                text.append(kGap + widths[c] - DisplayWidth(line[c]), ' ');
                text += line[c];
            }
        }
        text += '\n';
    }
    return text;
}

}  // namespace kordel::cli
