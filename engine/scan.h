// Line scanning helpers with 1-based positions, on byte strings.
#pragma once

#include <string>
#include <string_view>

namespace kordel::engine {

/// 1-based position of the first `match` at or after 1-based `start` (start < 1 means 1); 0 when absent.
/// A non-zero `sensflag` compares ASCII letters without regard to case.
std::size_t instr(std::string_view text, std::string_view match, long long start = 0, int sensflag = 0);

/// Empties quoted strings: double quotes for mode 0, apostrophes for mode 1. `out` may alias nothing;
/// it is overwritten (its capacity is reused).
void RemoveQuotes(std::string_view source, std::string& out, int mode);

/// 1 when one of the first n characters is not blank (space, tab, LF); 2 when none is.
int FindLetterEx(std::string_view text, long long n);

/// 1 when the first n characters hold a letter or one of "=", "+", "-", ","; 2 otherwise.
int FindLetterExPAS(std::string_view text, long long n);

/// The text from 0-based index `start` to the end (empty when start is at or past the end).
std::string_view GetPastEndComment(std::size_t start, std::string_view text);

/// Number of apostrophes among the first n characters (the whole text for n = -1).
std::size_t CountOQuotes(std::string_view text, long long n);

/// 0-based index of the last occurrence of `c`; 0 when absent.
std::size_t searchforobyter(std::string_view text, char c);

/// True when every character is blank text (space, tab, LF); an empty text is blank.
inline bool IsBlankText(std::string_view text) { return FindLetterEx(text, static_cast<long long>(text.size())) == 2; }

}  // namespace kordel::engine
