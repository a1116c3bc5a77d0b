// The file frame's read loop over a buffer in memory.
#include "engine/line_categories.h"

#include <cstring>

#include "engine/line_runs.h"
#include "engine/text_reader.h"

namespace kordel::engine {

FileCounts CountBuffer(std::string_view data, LineClassifier& classifier, bool cnoml, BufferLines* lines) {
    TextModeReader reader;
    reader.OpenMemory(data);
    if (lines) lines->text.reserve(data.size() + data.size() / 32 + 1);
    return CountReader(reader, classifier, cnoml, lines);
}

FileCounts CountReader(TextModeReader& reader, LineClassifier& classifier, bool cnoml, BufferLines* lines) {
    FileCounts counts;
    classifier.Reset();
    // Without the lines wanted, the fast path that counts a file counts the buffer.
    if (!lines) {
        CountLines(reader, classifier, counts, cnoml, nullptr);
        return counts;
    }
    lines->categories.clear();
    lines->text.clear();
    Tally tally(counts, cnoml, &lines->categories);
    std::string_view line;
    while (reader.NextLine(line)) {
        ++counts.nl3;
        lines->text.append(line);
        // A piece of a long line and a last line without line break get one, so that every line of the
        // text is one line read; a line break inside a line can't occur.
        if (line.empty() || line.back() != '\n') lines->text += '\n';
        // Bytes behind a NUL are not seen by any search or blank test.
        if (const void* nul = std::memchr(line.data(), '\0', line.size()))
            line = line.substr(0, static_cast<const char*>(nul) - line.data());
        classifier.Classify(line, tally);
    }
    return counts;
}

}  // namespace kordel::engine
