// The Export commands: the shown results as a CSV, HTML or text report.
#include "ui/core/main_logic.h"
#include "platform/files.h"
#include "ui/core/result_cells.h"

namespace kordel::ui {

void MainWindowLogic::Export(int command) {
    const bool csv = command == cmd::kExportCsv || command == cmd::kExportCsvKey;
    const bool html = command == cmd::kExportHtml || command == cmd::kExportHtmlKey;
    const FileType type = csv    ? FileType{"Comma Seperated Value Files (*.csv)", "*.csv", "csv"}
                          : html ? FileType{"Hypertext Markup Files (*.htm)", "*.htm", "htm"}
                                 : FileType{"Text File", "*.txt", "txt"};
    const auto path = m_desktop.AskSavePath("Specify a filename for the export...", type);
    if (!path) return;
    m_canc = 0;
    reports::ReportInput input;
    input.rows.reserve(list().RowCount());
    for (std::size_t row = 0; row < list().RowCount(); ++row) input.rows.push_back(ReportRowOf(list(), row));
    input.totals = texts().totals;
    input.pn = m_pn;
    input.sps = list().percentColumns();
    const std::filesystem::path target = platform::PathFromText(*path);
    if (csv) reports::SaveReportCSV(target, input, m_questions);
    else if (html) reports::SaveReportHTM(target, input, m_questions);
    else reports::SaveReport(target, input, *m_clock, m_questions);
}

}  // namespace kordel::ui
