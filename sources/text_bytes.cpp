// UTF-8 decoding by hand: the length of the well-formed sequence at a position, or 0.
#include "sources/text_bytes.h"

#include <cstdio>

namespace kordel::sources {
namespace {

// The length of the well-formed UTF-8 sequence at `i`, 0 when the byte there starts none;
// `codePoint` receives its value.
std::size_t SequenceAt(std::string_view text, std::size_t i, char32_t& codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    char32_t min = 0;
    if (lead < 0x80) {
        codePoint = lead;
        return 1;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, min = 0x80, codePoint = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, min = 0x800, codePoint = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, min = 0x10000, codePoint = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
        codePoint = (codePoint << 6) | (byte(i + k) & 0x3F);
    }
    if (codePoint < min || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return 0;
    return length;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
    char32_t cp = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = SequenceAt(text, i, cp);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

std::string ReplaceInvalidUtf8(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    char32_t cp = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = SequenceAt(text, i, cp);
        if (n == 0) {
            result += "\xEF\xBF\xBD";
            ++i;
        } else {
            result.append(text.substr(i, n));
            i += n;
        }
    }
    return result;
}

std::string EscapeForTerminal(std::string_view text) {
    std::string result;
    result.reserve(text.size());
    char32_t cp = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = SequenceAt(text, i, cp);
        if (n == 0 || cp < 0x20 || cp == 0x7F || (cp >= 0x80 && cp <= 0x9F)) {
            // One byte at a time: a C1 control is escaped as both of its bytes.
            const std::size_t bytes = n == 0 ? 1 : n;
            for (std::size_t k = 0; k < bytes; ++k) {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(text[i + k]));
                result += hex;
            }
            i += bytes;
        } else {
            result.append(text.substr(i, n));
            i += n;
        }
    }
    return result;
}

}  // namespace kordel::sources
