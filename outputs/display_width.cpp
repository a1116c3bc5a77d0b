// Character counts of UTF-8 text, for columns and lines fitted to a terminal.
#include "outputs/display_width.h"

namespace kordel::outputs {
namespace {

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The byte length of the first `count` characters of `text`.
std::size_t PrefixBytes(const std::string& text, std::size_t count) {
    std::size_t i = 0;
    for (std::size_t chars = 0; i < text.size() && chars < count; ++chars) {
        ++i;
        while (i < text.size() && IsContinuation(text[i])) ++i;
    }
    return i;
}

}  // namespace

std::size_t DisplayWidth(const std::string& text) {
    std::size_t width = 0;
    for (char c : text)
        if (!IsContinuation(c)) ++width;
    return width;
}

std::string ShortenMiddle(const std::string& text, std::size_t width) {
    const std::size_t have = DisplayWidth(text);
    if (have <= width) return text;
    if (width <= 3) return text.substr(0, PrefixBytes(text, width));
    const std::size_t keep = width - 3;
    const std::size_t head = keep / 2;
    const std::size_t tail = keep - head;
    return text.substr(0, PrefixBytes(text, head)) + "..." + text.substr(PrefixBytes(text, have - tail));
}

}  // namespace kordel::outputs
