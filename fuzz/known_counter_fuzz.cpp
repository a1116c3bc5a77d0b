// The generic counter of the further languages: a row of the table, or a row made of the input's first
// line (line comment, block open and close, string open and close, escape), counts the rest. The counts
// add up, and lines from the read buffer count as lines handed over one by one.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/known_language_counter.h"
#include "engine/known_languages.h"
#include "engine/line_categories.h"
#include "fuzz_support.h"

using namespace kordel::engine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const bool cblib = (data[0] & 1) != 0, nested = (data[0] & 2) != 0, multiline = (data[0] & 4) != 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 2, size - 2);
    LanguageRow row;
    std::string_view text = bytes;
    const auto table = KnownLanguages();
    if (data[1] < 128 && !table.empty()) {
        row = table[data[1] % table.size()];
    } else {
        // Markers from the first line, separated by blanks; they live in `bytes`, which outlives the row.
        const std::size_t lf = bytes.find('\n');
        const std::string_view first = bytes.substr(0, lf);
        text = lf == std::string_view::npos ? std::string_view() : bytes.substr(lf + 1);
        std::vector<std::string_view> words;
        ForEachWord(first, [&](std::string_view w) { words.push_back(w); });
        words.resize(6);
        row.lineComments = words[0];
        row.blocks[0] = {words[1], words[2]};
        row.nested = nested;
        row.strings[0] = {words[3], words[4], words[5].empty() ? '\0' : words[5][0], multiline, (data[0] & 8) != 0};
        if (row.blocks[0].open.empty() != row.blocks[0].close.empty()) row.blocks[0] = {};
        if (row.strings[0].open.empty() || row.strings[0].close.empty()) row.strings[0] = {};
    }
    KnownLanguageClassifier fast(row, cblib), single(row, cblib);
    const FileCounts a = CountBuffer(text, fast, false);
    BufferLines lines;
    const FileCounts b = CountBuffer(text, single, false, &lines);
    FUZZ_CHECK(a.ii + a.inoc + a.inoml + a.inos == a.nl3);
    FUZZ_CHECK(a.ii == b.ii && a.inoc == b.inoc && a.inoml == b.inoml && a.inos == b.inos && a.nl3 == b.nl3);
    return 0;
}
