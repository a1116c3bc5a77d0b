// Character counts of UTF-8 text, for columns and lines fitted to a terminal.
#pragma once

#include <cstddef>
#include <string>

namespace kordel::outputs {

/// `text` cut to `width` characters (UTF-8 sequences kept whole) by replacing its middle with "...".
std::string ShortenMiddle(const std::string& text, std::size_t width);

/// The number of characters of a UTF-8 text.
std::size_t DisplayWidth(const std::string& text);

}  // namespace kordel::outputs
