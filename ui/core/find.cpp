// Find and Find Next over the result list's paths, going on from the row after the last hit.
#include "ui/core/find.h"

#include "engine/scan.h"

namespace kordel::ui {

void Finder::Start(std::string text, bool caseSensitive) {
    m_whattf = std::move(text);
    m_is = caseSensitive;
    m_nexti = 0;
}

std::optional<std::size_t> Finder::Next(const ResultList& list) {
    if (!m_whattf) return std::nullopt;
    const long long hit = SearchList(list, m_nexti, *m_whattf, m_is);
    if (hit < 0) return std::nullopt;
    m_nexti = static_cast<std::size_t>(hit) + 1;
    return static_cast<std::size_t>(hit);
}

long long SearchList(const ResultList& list, std::size_t start, std::string_view text, bool caseSensitive) {
    for (std::size_t row = start; row < list.RowCount(); ++row)
        if (engine::instr(list.Path(row), text, 0, !caseSensitive) != 0) return static_cast<long long>(row);
    return -1;
}

}  // namespace kordel::ui
