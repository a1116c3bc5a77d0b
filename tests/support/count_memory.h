// Counts an in-memory text with a classifier, as the file frame counts a file.
#pragma once

#include "engine/classifier.h"
#include "engine/line_runs.h"
#include "engine/text_reader.h"

namespace test_support {

inline kordel::engine::FileCounts CountMemory(kordel::engine::LineClassifier& classifier, std::string_view text,
                                              bool cnoml = false) {
    kordel::engine::FileCounts counts;
    kordel::engine::TextModeReader reader;
    reader.OpenMemory(text);
    kordel::engine::CountLines(reader, classifier, counts, cnoml, nullptr);
    return counts;
}

}  // namespace test_support
