// Writing kordelc's rows: per language, streamed row by row, or held for a sort or a terminal table.
#include "cli/row_output.h"

#include "cli/table.h"
#include "engine/number_text.h"
#include "platform/files.h"
#include "reports/report.h"

namespace kordel::cli {
namespace {

engine::FileCounts Plus(const engine::FileCounts& a, const engine::FileCounts& b) {
    return {a.ii + b.ii, a.inoc + b.inoc, a.inoml + b.inoml, a.inos + b.inos, a.nl3 + b.nl3};
}

bool IsReport(Format format) { return format == Format::Txt || format == Format::Csv || format == Format::Html; }

reports::ReportRow ReportRowOf(const Row& row) {
    return {row.path, row.counted ? std::optional(row.counts) : std::nullopt, true};
}

// The whole output from all rows at once.
std::string Render(const Options& o, std::vector<Row>& rows, const engine::RunTotals& runTotals,
                   const std::vector<Skipped>& skipped, const std::vector<Skipped>& leftOut, const std::string& name,
                   const Console& console, std::size_t skippedNotListed) {
    const std::string project = name.empty() ? "Unspecified" : name;
    const bool terminal = console.outIsTerminal && o.output.empty();
    const SortKey key = o.sort.value_or(SortKey::Code);
    if (o.format == Format::Json) {
        const std::vector<LanguageSummary> summaries = SummarizeByLanguage(rows, key, o.ascending);
        if (o.sort) SortRows(rows, key, o.ascending);
        return RunJson(project, rows, summaries, skipped, leftOut, skippedNotListed);
    }
    if (o.format == Format::Table || o.format == Format::Md) {
        const Layout layout = terminal && o.format == Format::Table ? Layout::Terminal : Layout::Plain;
        if (o.sort) SortRows(rows, key, o.ascending);
        const Grid grid = FileGrid(rows, layout, o.percent);
        if (o.format == Format::Md) return RenderMarkdown(grid);
        return terminal ? RenderAligned(grid, console.outWidth, true) : RenderTabs(grid);
    }
    if (o.sort) SortRows(rows, key, o.ascending);
    reports::ReportInput report{{}, MakeTotalsTexts(runTotals), name, o.percent};
    for (const Row& row : rows) report.rows.push_back(ReportRowOf(row));
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

RowOutput::RowOutput(const Options& options, const std::string& name, const Console& console, bool hold,
                     std::size_t rowCount, OutputTarget& target)
    : m_o(options), m_name(name), m_console(console), m_target(target),
      m_key(options.sort.value_or(SortKey::Code)) {
    const bool summary =
        !m_o.byFile && (m_o.format == Format::Table || m_o.format == Format::Md || (m_o.format == Format::Csv && m_o.byLanguage));
    m_mode = summary ? Mode::Summary : hold ? Mode::Held : Mode::Streamed;
    if (m_mode != Mode::Streamed) return;
    const std::string project = m_name.empty() ? "Unspecified" : m_name;
    if (m_o.format == Format::Json) Write(RunJsonHead(project));
    else if (m_o.format == Format::Table) Write(RenderTabs(FileGridHeader(Layout::Plain, m_o.percent)));
    else if (m_o.format == Format::Md) {
        const Grid header = FileGridHeader(Layout::Plain, m_o.percent);
        Write(MarkdownLine(header[0], false) + MarkdownRule(header[0].size()));
    } else if (m_o.format == Format::Txt) {
        Write(ToCrLf(reports::ReportTextHead(m_name, rowCount, reports::SystemClock().Now())));
    } else if (m_o.format == Format::Csv) {
        Write(reports::ReportCSVHead(m_o.percent));
    } else {
        Write(ToCrLf(reports::ReportHTMHead(m_name, m_o.percent)));
    }
}

void RowOutput::Write(const std::string& text) { m_target.Write(text); }

void RowOutput::Add(Row row) {
    if (m_mode == Mode::Held) {
        m_rows.push_back(std::move(row));
        return;
    }
    m_languages.Add(row);
    if (row.counted) m_counted = Plus(m_counted, row.counts);
    if (m_mode == Mode::Summary) return;
    const bool first = m_written++ == 0;
    if (IsReport(m_o.format)) {
        const reports::ReportRow report = ReportRowOf(row);
        if (m_o.format == Format::Txt) Write(ToCrLf(reports::ReportTextRow(report, m_o.percent)));
        else if (m_o.format == Format::Csv) Write(reports::ReportCSVRow(report, m_o.percent));
        else Write(ToCrLf(reports::ReportHTMRow(report, first, m_o.percent)));
        return;
    }
    if (!row.counted) return;
    if (m_o.format == Format::Json) {
        Write(RunJsonFile(row, m_files == 0));
    } else {
        Grid line;
        AddFileLine(line, row, Layout::Plain, m_o.percent);
        Write(m_o.format == Format::Md ? MarkdownLine(line[0], false) : RenderTabs(line));
    }
    ++m_files;
}

void RowOutput::Finish(const engine::RunTotals& totals, const std::vector<Skipped>& skipped,
                       const std::vector<Skipped>& leftOut, std::size_t skippedNotListed) {
    if (m_mode == Mode::Held) {
        Write(Render(m_o, m_rows, totals, skipped, leftOut, m_name, m_console, skippedNotListed));
        return;
    }
    if (m_mode == Mode::Summary) {
        const bool terminal = m_console.outIsTerminal && m_o.output.empty();
        const Layout layout = terminal && m_o.format == Format::Table ? Layout::Terminal : Layout::Plain;
        const Grid grid = LanguageGrid(m_languages.Summaries(m_key, m_o.ascending), layout, m_o.percent);
        if (m_o.format == Format::Md) Write(RenderMarkdown(grid));
        else if (m_o.format == Format::Csv) Write(RenderCsv(grid));
        else Write(terminal ? RenderAligned(grid, m_console.outWidth, false) : RenderTabs(grid));
        return;
    }
    if (m_o.format == Format::Json) {
        Write(RunJsonTail(m_files, m_counted, m_languages.Summaries(m_key, m_o.ascending), skipped, leftOut,
                          skippedNotListed));
    } else if (m_o.format == Format::Table || m_o.format == Format::Md) {
        Grid line;
        AddTotalsLine(line, m_counted, Layout::Plain, m_o.percent);
        Write(m_o.format == Format::Md ? MarkdownLine(line[0], true) : RenderTabs(line));
    } else if (m_o.format == Format::Txt) {
        Write(ToCrLf(reports::ReportTextTail(MakeTotalsTexts(totals))));
    } else if (m_o.format == Format::Csv) {
        Write(reports::ReportCSVTail(m_written, MakeTotalsTexts(totals)));
    } else {
        Write(ToCrLf(reports::ReportHTMTail(MakeTotalsTexts(totals))));
    }
}

}  // namespace kordel::cli
