// Building and printing the per-file and per-language tables.
#include "outputs/table.h"

#include <algorithm>

#include "outputs/display_width.h"
#include "sources/text_bytes.h"
#include "engine/number_text.h"
#include "reports/report.h"

namespace kordel::outputs {
namespace {

constexpr std::size_t kGap = 2;
constexpr std::size_t kMinFirstColumn = 16;
constexpr std::size_t kNarrowestFirstColumn = 8;

std::vector<std::string> Header(const char* first, bool files, Layout layout, bool percent) {
    std::vector<std::string> header{first};
    if (files) header.push_back("Files");
    for (const char* name : {"Code", "Comment", "Mixed", "Blank"}) {
        header.push_back(name);
        if (percent && layout == Layout::Plain) header.push_back(std::string("%") + name);
    }
    header.push_back("Lines");
    return header;
}

std::string Number(std::int64_t value, Layout layout) {
    return layout == Layout::Terminal ? engine::CountText(value) : std::to_string(value);
}

// The line of one row (after its name cells) and, on a terminal with shares, the row of shares.
void AddRow(Grid& grid, std::vector<std::string> line, const engine::FileCounts& c, Layout layout, bool percent,
            bool sharesBelow) {
    const std::size_t lead = line.size();
    std::vector<std::string> shares(lead);
    for (std::int64_t value : {c.ii, c.inoc, c.inoml, c.inos}) {
        line.push_back(Number(value, layout));
        const std::string share = engine::PercentText(value, c.nl3) + "%";
        if (percent && layout == Layout::Plain) line.push_back(share);
        shares.push_back(share);
    }
    line.push_back(Number(c.nl3, layout));
    grid.push_back(std::move(line));
    if (layout == Layout::Terminal && (percent || sharesBelow)) grid.push_back(std::move(shares));
}

engine::FileCounts Sum(const engine::FileCounts& a, const engine::FileCounts& b) {
    return {a.ii + b.ii, a.inoc + b.inoc, a.inoml + b.inoml, a.inos + b.inos, a.nl3 + b.nl3};
}

bool IsNumberCell(const std::string& cell) {
    return !cell.empty() && cell.find_first_not_of("0123456789,.%") == std::string::npos;
}

std::vector<std::size_t> Widths(const Grid& grid) {
    std::vector<std::size_t> widths;
    for (const auto& line : grid) {
        if (widths.size() < line.size()) widths.resize(line.size(), 0);
        for (std::size_t c = 0; c < line.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(line[c]));
    }
    return widths;
}

std::size_t RestWidth(const std::vector<std::size_t>& widths) {
    std::size_t rest = 0;
    for (std::size_t c = 1; c < widths.size(); ++c) rest += kGap + widths[c];
    return rest;
}

// Narrows the first column towards `width` but not below `floor`; true when the table then fits.
bool NarrowFirst(std::vector<std::size_t>& widths, std::size_t width, std::size_t floor) {
    const std::size_t rest = RestWidth(widths);
    if (widths[0] + rest <= width) return true;
    const std::size_t room = width > rest ? width - rest : 0;
    widths[0] = std::min(widths[0], std::max(floor, room));
    return widths[0] + rest <= width;
}

// The first `width` characters of a line.
std::string CutTo(const std::string& line, std::size_t width) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < line.size(); ++i)
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80 && chars++ == width) return line.substr(0, i);
    return line;
}

}  // namespace

Grid FileGridHeader(Layout layout, bool percent) { return {Header("Path", false, layout, percent)}; }

void AddFileLine(Grid& grid, const sources::Row& row, Layout layout, bool percent) {
    AddRow(grid, {row.path}, row.counts, layout, percent, false);
}

void AddTotalsLine(Grid& grid, const engine::FileCounts& totals, Layout layout, bool percent) {
    AddRow(grid, {"Total"}, totals, layout, percent, true);
}

Grid FileGrid(const std::vector<sources::Row>& rows, Layout layout, bool percent) {
    Grid grid = FileGridHeader(layout, percent);
    engine::FileCounts totals;
    for (const sources::Row& row : rows) {
        if (!row.counted) continue;
        AddFileLine(grid, row, layout, percent);
        totals = Sum(totals, row.counts);
    }
    AddTotalsLine(grid, totals, layout, percent);
    return grid;
}

Grid LanguageGrid(const std::vector<LanguageSummary>& summaries, Layout layout, bool percent) {
    Grid grid{Header("Language", true, layout, percent)};
    engine::FileCounts totals;
    std::int64_t files = 0;
    for (const LanguageSummary& sum : summaries) {
        const auto count = static_cast<std::int64_t>(sum.files);
        AddRow(grid, {sum.language, Number(count, layout)}, sum.counts, layout, percent, false);
        totals = Sum(totals, sum.counts);
        files += count;
    }
    AddRow(grid, {"Total", Number(files, layout)}, totals, layout, percent, true);
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

std::string RenderCsv(const Grid& grid) {
    std::string text;
    for (const auto& row : grid) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) text += ',';
            text += reports::CsvField(row[c]);
        }
        text += "\r\n";  // here, not afterwards: a line feed inside a name stays one
    }
    return text;
}

std::string RenderAligned(const Grid& rawGrid, std::size_t width, bool shortenFirst) {
    // Names reach a terminal here: control bytes are shown escaped, never sent.
    Grid grid = rawGrid;
    for (auto& line : grid)
        for (std::string& cell : line) cell = sources::EscapeForTerminal(cell);
    std::vector<std::size_t> widths = Widths(grid);
    if (widths.empty()) return {};
    bool fits = widths[0] + RestWidth(widths) <= width;
    if (!fits && shortenFirst) fits = NarrowFirst(widths, width, kMinFirstColumn);
    if (!fits) {
        // The separators go before the names shrink further.
        for (auto& line : grid)
            for (std::size_t c = 1; c < line.size(); ++c)
                if (IsNumberCell(line[c])) line[c].erase(std::remove(line[c].begin(), line[c].end(), ','), line[c].end());
        const std::size_t first = widths[0];
        widths = Widths(grid);
        widths[0] = first;
        fits = widths[0] + RestWidth(widths) <= width;
        if (!fits && shortenFirst) fits = NarrowFirst(widths, width, kNarrowestFirstColumn);
    }

    std::string text;
    for (const auto& line : grid) {
        std::string out;
        for (std::size_t c = 0; c < line.size(); ++c) {
            if (c == 0) {
                const std::string first = ShortenMiddle(line[0], widths[0]);
                out += first;
                if (line.size() > 1) out.append(widths[0] - DisplayWidth(first), ' ');
            } else {
                out.append(kGap + widths[c] - DisplayWidth(line[c]), ' ');
                out += line[c];
            }
        }
        while (!out.empty() && out.back() == ' ') out.pop_back();
        text += fits ? out : CutTo(out, width);
        text += '\n';
    }
    return text;
}

const char* MarkdownEntity(char ch) {
    switch (ch) {
        case '<': return "&lt;";
        case '>': return "&gt;";
        case '&': return "&amp;";
        default: return nullptr;
    }
}

std::string MarkdownLine(const std::vector<std::string>& cells, bool bold) {
    std::string text = "|";
    for (const std::string& raw : cells) {
        // A line end or another control byte would break the table; other bytes are kept as they are.
        std::string cell;
        for (char ch : raw) {
            const auto byte = static_cast<unsigned char>(ch);
            if (ch == '|') {
                cell += "\\|";
            } else if (const char* entity = MarkdownEntity(ch)) {
                cell += entity;  // a name never becomes HTML in the rendered table
            } else if (byte < 0x20 || byte == 0x7F) {
                cell += sources::EscapeForTerminal(std::string(1, ch));
            } else {
                cell += ch;
            }
        }
        text += ' ' + (bold && !cell.empty() ? "**" + cell + "**" : cell) + " |";
    }
    return text + '\n';
}

std::string MarkdownRule(std::size_t columns) {
    std::string text = "|";
    for (std::size_t c = 0; c < columns; ++c) text += c == 0 ? " :--- |" : " ---: |";
    return text + '\n';
}

std::string RenderMarkdown(const Grid& grid) {
    std::string text;
    for (std::size_t r = 0; r < grid.size(); ++r) {
        text += MarkdownLine(grid[r], r + 1 == grid.size());
        if (r == 0) text += MarkdownRule(grid[r].size());
    }
    return text;
}

}  // namespace kordel::outputs
