// Writing kordelc's rows: per language, streamed row by row, or held for a sort or a terminal table.
#include "outputs/row_output.h"

#include "outputs/table.h"
#include "engine/number_text.h"
#include "platform/files.h"
#include "reports/report.h"

namespace kordel::outputs {
namespace {

engine::FileCounts Plus(const engine::FileCounts& a, const engine::FileCounts& b) {
    return {a.ii + b.ii, a.inoc + b.inoc, a.inoml + b.inoml, a.inos + b.inos, a.nl3 + b.nl3};
}

bool IsReport(Format format) { return format == Format::Txt || format == Format::Csv || format == Format::Html; }

reports::ReportRow ReportRowOf(const sources::Row& row) {
    return {row.path, row.counted ? std::optional(row.counts) : std::nullopt, true};
}

// The whole output from all rows at once.
std::string Render(const RowStyle& o, std::vector<sources::Row>& rows, const engine::RunTotals& runTotals,
                   const std::vector<sources::Skipped>& skipped, const std::vector<sources::Skipped>& leftOut,
                   const std::string& name, std::size_t skippedNotListed) {
    const std::string project = name.empty() ? "Unspecified" : name;
    const bool terminal = o.aligned;
    const sources::SortKey key = o.sort.value_or(sources::SortKey::Code);
    if (o.format == Format::Json) {
        const std::vector<LanguageSummary> summaries = SummarizeByLanguage(rows, key, o.ascending);
        if (o.sort) sources::SortRows(rows, key, o.ascending);
        return RunJson(project, rows, summaries, skipped, leftOut, skippedNotListed);
    }
    if (o.format == Format::Table || o.format == Format::Md) {
        const Layout layout = terminal && o.format == Format::Table ? Layout::Terminal : Layout::Plain;
        if (o.sort) sources::SortRows(rows, key, o.ascending);
        const Grid grid = FileGrid(rows, layout, o.percent);
        if (o.format == Format::Md) return RenderMarkdown(grid);
        return terminal ? RenderAligned(grid, o.width, true) : RenderTabs(grid);
    }
    if (o.sort) sources::SortRows(rows, key, o.ascending);
    reports::ReportInput report{{}, MakeTotalsTexts(runTotals), name, o.percent};
    for (const sources::Row& row : rows) report.rows.push_back(ReportRowOf(row));
    if (o.format == Format::Txt) return ToCrLf(reports::ReportText(report, reports::SystemClock().Now()));
    if (o.format == Format::Csv) return reports::ReportCSV(report);  // CR LF already, LF kept in names
    return ToCrLf(reports::ReportHTM(report));
}

}  // namespace

bool OutputTarget::OpenFile(const std::string& path) {
    m_file = std::make_unique<AtomicFileWriter>();
    return m_file->Open(platform::PathFromText(path));
}

void OutputTarget::Write(std::string_view text) {
    if (m_file) m_file->Write(text);
    else m_out << text;
}

bool OutputTarget::Commit() { return !m_file || m_file->Commit(); }

RowOutput::RowOutput(const RowStyle& style, const std::string& name, bool hold, std::size_t rowCount,
                     OutputTarget& target)
    : m_style(style), m_name(name), m_target(target), m_key(style.sort.value_or(sources::SortKey::Code)) {
    const bool summary =
        !m_style.byFile && (m_style.format == Format::Table || m_style.format == Format::Md || (m_style.format == Format::Csv && m_style.byLanguage));
    m_mode = summary ? Mode::Summary : hold ? Mode::Held : Mode::Streamed;
    if (m_mode != Mode::Streamed) return;
    const std::string project = m_name.empty() ? "Unspecified" : m_name;
    if (m_style.format == Format::Json) Write(RunJsonHead(project));
    else if (m_style.format == Format::Table) Write(RenderTabs(FileGridHeader(Layout::Plain, m_style.percent)));
    else if (m_style.format == Format::Md) {
        const Grid header = FileGridHeader(Layout::Plain, m_style.percent);
        Write(MarkdownLine(header[0], false) + MarkdownRule(header[0].size()));
    } else if (m_style.format == Format::Txt) {
        Write(ToCrLf(reports::ReportTextHead(m_name, rowCount, reports::SystemClock().Now())));
    } else if (m_style.format == Format::Csv) {
        Write(reports::ReportCSVHead(m_style.percent));
    } else {
        Write(ToCrLf(reports::ReportHTMHead(m_name, m_style.percent)));
    }
}

void RowOutput::Write(const std::string& text) { m_target.Write(text); }

void RowOutput::Add(sources::Row row) {
    if (m_mode == Mode::Held) {
        m_rows.push_back(std::move(row));
        return;
    }
    m_languages.Add(row);
    if (row.counted) m_counted = Plus(m_counted, row.counts);
    if (m_mode == Mode::Summary) return;
    const bool first = m_written++ == 0;
    if (IsReport(m_style.format)) {
        const reports::ReportRow report = ReportRowOf(row);
        if (m_style.format == Format::Txt) Write(ToCrLf(reports::ReportTextRow(report, m_style.percent)));
        else if (m_style.format == Format::Csv) Write(reports::ReportCSVRow(report, m_style.percent));
        else Write(ToCrLf(reports::ReportHTMRow(report, first, m_style.percent)));
        return;
    }
    if (!row.counted) return;
    if (m_style.format == Format::Json) {
        Write(RunJsonFile(row, m_files == 0));
    } else {
        Grid line;
        AddFileLine(line, row, Layout::Plain, m_style.percent);
        Write(m_style.format == Format::Md ? MarkdownLine(line[0], false) : RenderTabs(line));
    }
    ++m_files;
}

void RowOutput::Finish(const engine::RunTotals& totals, const std::vector<sources::Skipped>& skipped,
                       const std::vector<sources::Skipped>& leftOut, std::size_t skippedNotListed) {
    if (m_mode == Mode::Held) {
        Write(Render(m_style, m_rows, totals, skipped, leftOut, m_name, skippedNotListed));
        return;
    }
    if (m_mode == Mode::Summary) {
        const bool terminal = m_style.aligned;
        const Layout layout = terminal && m_style.format == Format::Table ? Layout::Terminal : Layout::Plain;
        const Grid grid = LanguageGrid(m_languages.Summaries(m_key, m_style.ascending), layout, m_style.percent);
        if (m_style.format == Format::Md) Write(RenderMarkdown(grid));
        else if (m_style.format == Format::Csv) Write(RenderCsv(grid));
        else Write(terminal ? RenderAligned(grid, m_style.width, false) : RenderTabs(grid));
        return;
    }
    if (m_style.format == Format::Json) {
        Write(RunJsonTail(m_files, m_counted, m_languages.Summaries(m_key, m_style.ascending), skipped, leftOut,
                          skippedNotListed));
    } else if (m_style.format == Format::Table || m_style.format == Format::Md) {
        Grid line;
        AddTotalsLine(line, m_counted, Layout::Plain, m_style.percent);
        Write(m_style.format == Format::Md ? MarkdownLine(line[0], true) : RenderTabs(line));
    } else if (m_style.format == Format::Txt) {
        Write(ToCrLf(reports::ReportTextTail(MakeTotalsTexts(totals))));
    } else if (m_style.format == Format::Csv) {
        Write(reports::ReportCSVTail(m_written, MakeTotalsTexts(totals)));
    } else {
        Write(ToCrLf(reports::ReportHTMTail(MakeTotalsTexts(totals))));
    }
}

}  // namespace kordel::outputs
