// Cell texts, sort keys and report rows of the result list.
#include "ui/core/result_cells.h"

#include "engine/number_text.h"

namespace kordel::ui {

std::string CellText(const ResultList& list, std::size_t row, std::size_t column) {
    const ColumnContent content = ContentOf(column, list.percentColumns());
    if (content.field == CountField::Path) return column == 0 ? list.Path(row) : std::string();
    const auto& counts = list.Counts(row);
    if (!counts) return {};
    if (!content.percent) return engine::CountText(CountOf(*counts, content.field));
    if (!list.PercentsShown(row)) return {};
    return engine::PercentText(CountOf(*counts, content.field), counts->nl3) + "%";
}

std::uint64_t SortKeyOf(const ResultList& list, std::size_t row, std::size_t column) {
    const ColumnContent content = ContentOf(column, list.percentColumns());
    const auto& counts = list.Counts(row);
    if (content.field == CountField::Path || !counts) return 0;
    if (!content.percent) return static_cast<std::uint64_t>(CountOf(*counts, content.field));
    if (!list.PercentsShown(row)) return 0;
    return static_cast<std::uint64_t>(engine::PercentHundredths(CountOf(*counts, content.field), counts->nl3));
}

reports::ReportRow ReportRowOf(const ResultList& list, std::size_t row) {
    return {list.Path(row), list.Counts(row), list.PercentsShown(row)};
}

}  // namespace kordel::ui
