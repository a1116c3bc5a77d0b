// Counting bytes held in memory, with every line's category in order and the lines as the counter read them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/classifier.h"
#include "engine/line_category.h"
#include "engine/results.h"
#include "engine/text_reader.h"

namespace kordel::engine {

/// What counting a buffer gives when the caller needs more than the counts.
struct BufferLines {
    std::vector<LineCategory> categories;  ///< one per line read, in order
    /// The lines as read in text mode (CR LF as LF, up to a Ctrl-Z, long lines in 4095-character
    /// pieces), each ending in exactly one LF: line i of this text is the line of `categories[i]`.
    std::string text;
};

/// Counts `data` as the file frame counts a file with the same bytes; fills `lines` when given.
FileCounts CountBuffer(std::string_view data, LineClassifier& classifier, bool cnoml, BufferLines* lines = nullptr);

/// Counts what the opened `reader` has still to give, as CountBuffer counts the same bytes; fills
/// `lines` when given.
FileCounts CountReader(TextModeReader& reader, LineClassifier& classifier, bool cnoml, BufferLines* lines = nullptr);

}  // namespace kordel::engine
