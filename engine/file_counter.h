// The shared file frame: locate, measure, open and read one file, classifying each line.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "engine/classifier.h"
#include "engine/results.h"

namespace kordel::platform {
class RecentFolder;
}

namespace kordel::engine {

/// Unrecognised: the file's first bytes named no language (CountFile with a chooser only).
enum class FileStatus { Counted, Missing, OpenFailed, NotRegular, Cancelled, Unrecognised };

struct FileOutcome {
    FileStatus status = FileStatus::Counted;
    FileCounts counts;
    bool waitedForDisk = false;  ///< the file was not in the system's cache
};

/// Counts one file with `classifier`. `canc` is checked before each line outside a block comment.
/// The path is UTF-8 text, as the file lists hold it, or a path. A thread counting many files passes
/// its `recent` folder, from which the next file of the same folder is opened by its name.
FileOutcome CountFile(const std::string& path, LineClassifier& classifier, bool cnoml, const std::atomic<int>& canc,
                      platform::RecentFolder* recent = nullptr);
FileOutcome CountFile(const std::filesystem::path& path, LineClassifier& classifier, bool cnoml,
                      const std::atomic<int>& canc);

/// Picks a file's classifier from its first bytes (the read buffer's start); nullptr when none fits.
using ClassifierChooser = std::function<LineClassifier*(std::string_view firstBytes)>;

/// Counts one file with the classifier `choose` picks once the file is open, from the bytes already read.
FileOutcome CountFile(const std::string& path, const ClassifierChooser& choose, bool cnoml,
                      const std::atomic<int>& canc, platform::RecentFolder* recent = nullptr);
FileOutcome CountFile(const std::filesystem::path& path, const ClassifierChooser& choose, bool cnoml,
                      const std::atomic<int>& canc);

}  // namespace kordel::engine
