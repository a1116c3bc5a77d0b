// The category a counter gives one line, for callers that need every line's category in order.
#pragma once

#include <cstdint>

namespace kordel::engine {

enum class LineCategory : std::uint8_t { Code, Comment, Mixed, Blank };

}  // namespace kordel::engine
