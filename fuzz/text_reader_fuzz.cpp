// The text-mode reader: pieces of at most 4095 characters that put back together give the text-mode data.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/text_reader.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // What text mode makes of the bytes: CR LF reads as LF, a Ctrl-Z ends the data.
    std::string expected;
    for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\x1a'; ++i)
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) expected += bytes[i];

    kordel::engine::TextModeReader reader;
    reader.OpenMemory(bytes);
    std::string joined;
    std::string_view line;
    while (reader.NextLine(line)) {
        FUZZ_CHECK(!line.empty());
        const std::size_t text = line.size() - (line.back() == '\n' ? 1 : 0);
        FUZZ_CHECK(text <= kordel::engine::kMaxPiece);
        FUZZ_CHECK(line.find('\n') == std::string_view::npos || line.find('\n') == line.size() - 1);
        joined += line;
    }
    FUZZ_CHECK(joined == expected);
    return 0;
}
