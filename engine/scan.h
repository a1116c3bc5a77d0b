// Line scanning helpers with 1-based positions, on byte strings.
#pragma once

#include <string>
#include <string_view>

namespace kordel::engine {

/// 1-based position of the first `match` at or after 1-based `start` (start < 1 means 1); 0 when absent.
/// With `ignoreCase` ASCII letters compare without regard to case.
std::size_t instr(std::string_view text, std::string_view match, long long start = 0, bool ignoreCase = false);

/// The quote character whose strings RemoveQuotes empties.
enum class QuoteMark { Double, Single };

/// Empties the strings quoted by `mark`. `out` may alias nothing; it is overwritten (its capacity is reused).
void RemoveQuotes(std::string_view source, std::string& out, QuoteMark mark);

/// True when one of the first n characters is not blank (space, tab, LF).
bool HasTextIn(std::string_view text, long long n);

/// True when the first n characters hold a letter or one of "=", "+", "-", ",".
bool HasPascalCodeIn(std::string_view text, long long n);

/// The text from 0-based index `start` to the end (empty when start is at or past the end).
std::string_view GetPastEndComment(std::size_t start, std::string_view text);

/// Number of apostrophes among the first n characters (the whole text for n = -1).
std::size_t CountOQuotes(std::string_view text, long long n);

/// 0-based index of the last occurrence of `c`; 0 when absent.
std::size_t LastIndexOf(std::string_view text, char c);

/// True when every character is blank text (space, tab, LF); an empty text is blank.
inline bool IsBlankText(std::string_view text) { return !HasTextIn(text, static_cast<long long>(text.size())); }

}  // namespace kordel::engine
