// Line scanning helpers.
#include "engine/scan.h"

#include <algorithm>

#include "common/ascii.h"

namespace kordel::engine {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

}  // namespace

std::size_t instr(std::string_view text, std::string_view match, long long start, bool ignoreCase) {
    if (match.empty()) return 0;
    if (start > static_cast<long long>(text.size())) return 0;
    const std::size_t from = start < 1 ? 0 : static_cast<std::size_t>(start - 1);
    if (!ignoreCase) {
        const std::size_t at = text.find(match, from);
        return at == std::string_view::npos ? 0 : at + 1;
    }
    if (match.size() > text.size()) return 0;
    for (std::size_t i = from; i + match.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < match.size() && AsciiUpper(text[i + k]) == AsciiUpper(match[k])) ++k;
        if (k == match.size()) return i + 1;
    }
    return 0;
}

void RemoveQuotes(std::string_view source, std::string& out, QuoteMark mark) {
    const char q = mark == QuoteMark::Double ? '"' : '\'';
    out.clear();
    bool inside = false;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        if (!inside) {
            out += c;
            if (c == q) inside = true;
        } else if (c == q) {
            out += c;
            inside = false;
            // The character right after a closing quote is kept without being examined.
            if (i + 1 < source.size()) out += source[++i];
        }
    }
}

bool HasTextIn(std::string_view text, long long n) {
    if (n < 1) return false;
    const std::size_t len = std::min<std::size_t>(text.size(), static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < len; ++i)
        if (!IsBlank(text[i])) return true;
    return false;
}

bool HasPascalCodeIn(std::string_view text, long long n) {
    if (n < 1) return false;
    const std::size_t len = std::min<std::size_t>(text.size(), static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < len; ++i) {
        const char c = AsciiUpper(text[i]);
        if ((c >= 'A' && c <= 'Z') || c == '=' || c == '+' || c == '-' || c == ',') return true;
    }
    return false;
}

std::string_view GetPastEndComment(std::size_t start, std::string_view text) {
    return start >= text.size() ? std::string_view() : text.substr(start);
}

std::size_t CountOQuotes(std::string_view text, long long n) {
    const std::size_t len = n < 0 ? text.size() : std::min<std::size_t>(text.size(), static_cast<std::size_t>(n));
    std::size_t count = 0;
    for (std::size_t i = 0; i < len; ++i)
        if (text[i] == '\'') ++count;
    return count;
}

std::size_t LastIndexOf(std::string_view text, char c) {
    const std::size_t at = text.rfind(c);
    return at == std::string_view::npos ? 0 : at;
}

}  // namespace kordel::engine
