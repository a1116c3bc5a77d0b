// The shared file frame: locate, measure, open and read one file, classifying each line.
#pragma once

#include <atomic>
#include <filesystem>

#include "engine/classifier.h"
#include "engine/results.h"

namespace kordel::engine {

enum class FileStatus { Counted, Missing, OpenFailed, NotRegular, Cancelled };

struct FileOutcome {
    FileStatus status = FileStatus::Counted;
    FileCounts counts;
};

/// Counts one file with `classifier`. `canc` is checked before each line outside a block comment.
FileOutcome CountFile(const std::filesystem::path& path, LineClassifier& classifier, bool cnoml,
                      const std::atomic<int>& canc);

}  // namespace kordel::engine
