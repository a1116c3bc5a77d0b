// Test support: counts an in-memory text with a classifier, as the file frame counts a file.
#pragma once

#include "engine/classifier.h"
#include "engine/text_reader.h"

namespace kordel::engine::test_support {

inline FileCounts CountMemory(LineClassifier& classifier, std::string_view text, bool cnoml = false) {
    FileCounts counts;
    Tally tally(counts, cnoml);
    TextModeReader reader;
    reader.OpenMemory(text);
    std::string_view line;
    while (reader.NextLine(line)) {
        ++counts.nl3;
        classifier.Classify(line, tally);
    }
    return counts;
}

}  // namespace kordel::engine::test_support
