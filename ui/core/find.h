// Find and Find Next over the paths of the result list.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "ui/core/result_list.h"

namespace kordel::ui {

/// The search text and where the next search starts; kept until the program ends.
class Finder {
public:
    /// A new search from the first row.
    void Start(std::string text, bool caseSensitive);
    bool HasText() const { return m_whattf.has_value(); }
    const std::string& text() const { return *m_whattf; }
    /// The next row holding the text, from the row after the last hit; nothing when there is none
    /// (the start stays, so a search never wraps around).
    std::optional<std::size_t> Next(const ResultList& list);

private:
    std::optional<std::string> m_whattf;
    bool m_is = false;
    std::size_t m_nexti = 0;
};

/// The first row at or after `start` whose path contains `text` (letter case ignored unless
/// `caseSensitive`), or -1.
long long SearchList(const ResultList& list, std::size_t start, std::string_view text, bool caseSensitive);

}  // namespace kordel::ui
