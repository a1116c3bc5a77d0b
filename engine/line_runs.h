// Counting the lines of an open reader: whole lines straight from the read buffer, the rest one by one.
#pragma once

#include <atomic>
#include <string_view>

#include "engine/classifier.h"
#include "engine/results.h"
#include "engine/text_reader.h"

namespace kordel::engine {

/// Classifies the whole lines at the start of `data` that end in a LF, hold at most 4094 characters
/// before it and no CR, Ctrl-Z or NUL byte; stops before the first other line. Lines that the
/// classifier's state calls quiet are classified here, the others by Classify. Adds the lines to
/// `counts.nl3` and answers the bytes used.
std::size_t ClassifyRun(std::string_view data, LineClassifier& classifier, Tally& tally, FileCounts& counts);

/// How the buffer is scanned: byte by byte, or 64 bytes at a time with SSE2 or AVX2 compares. ClassifyRun
/// takes the widest that this build and processor run, chosen once.
enum class BufferScan { Bytes, Sse2, Avx2 };
/// True when this build and processor run `scan`.
bool CanRun(BufferScan scan);
/// ClassifyRun with the given scan, which must be one that CanRun (tests compare them).
std::size_t ClassifyRunWith(BufferScan scan, std::string_view data, LineClassifier& classifier, Tally& tally,
                            FileCounts& counts);

/// Reads every line of `reader` into `counts`. `canc` (when given) is checked between runs of lines
/// outside a block comment; false when it was found set.
bool CountLines(TextModeReader& reader, LineClassifier& classifier, FileCounts& counts, bool cnoml,
                const std::atomic<int>* canc);

}  // namespace kordel::engine
