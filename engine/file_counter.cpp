// One file through the text-mode reader and a line classifier.
#include "engine/file_counter.h"

#include <cstring>

#include "engine/line_runs.h"
#include "engine/text_reader.h"
#include "platform/files.h"

namespace kordel::engine {

FileOutcome CountFile(const std::string& path, LineClassifier& classifier, bool cnoml, const std::atomic<int>& canc,
                      platform::RecentFolder* recent) {
    return CountFile(path, [&classifier](std::string_view) { return &classifier; }, cnoml, canc, recent);
}

FileOutcome CountFile(const std::filesystem::path& path, LineClassifier& classifier, bool cnoml,
                      const std::atomic<int>& canc) {
    return CountFile(platform::PathText(path), classifier, cnoml, canc);
}

FileOutcome CountFile(const std::filesystem::path& path, const ClassifierChooser& choose, bool cnoml,
                      const std::atomic<int>& canc) {
    return CountFile(platform::PathText(path), choose, cnoml, canc);
}

FileOutcome CountFile(const std::string& path, const ClassifierChooser& choose, bool cnoml,
                      const std::atomic<int>& canc, platform::RecentFolder* recent) {
    FileOutcome outcome;
    // The file is opened first and what was opened is checked: a FIFO put in its place is refused
    // without blocking, and the size read is the size of the file opened.
    TextModeReader reader;
    switch (reader.Open(path, std::nullopt, recent)) {
        case platform::InputFile::Status::Opened: break;
        case platform::InputFile::Status::Missing: outcome.status = FileStatus::Missing; return outcome;
        case platform::InputFile::Status::Folder:
        case platform::InputFile::Status::Failed: outcome.status = FileStatus::OpenFailed; return outcome;
        case platform::InputFile::Status::NotRegular: outcome.status = FileStatus::NotRegular; return outcome;
    }
    LineClassifier* classifier = choose(reader.Buffered());
    if (!classifier) {
        outcome.status = FileStatus::Unrecognised;
        return outcome;
    }
    classifier->Reset();
    const bool counted = CountLines(reader, *classifier, outcome.counts, cnoml, &canc);
    outcome.waitedForDisk = reader.WaitedForDisk();
    if (!counted) {
        outcome.status = FileStatus::Cancelled;
        return outcome;
    }
    if (canc.load(std::memory_order_relaxed) == 1) outcome.status = FileStatus::Cancelled;
    return outcome;
}

}  // namespace kordel::engine
