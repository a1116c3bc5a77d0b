// Test support: counts an in-memory text with a classifier, as the file frame counts a file.
#pragma once

#include "engine/classifier.h"
#include "engine/line_runs.h"
#include "engine/text_reader.h"

namespace kordel::engine::test_support {

inline FileCounts CountMemory(LineClassifier& classifier, std::string_view text, bool cnoml = false) {
    FileCounts counts;
    TextModeReader reader;
    reader.OpenMemory(text);
    CountLines(reader, classifier, counts, cnoml, nullptr);
    return counts;
}

}  // namespace kordel::engine::test_support
