// One file through the text-mode reader and a line classifier.
#include "engine/file_counter.h"

#include <cstring>

#include "engine/text_reader.h"
#include "platform/files.h"

namespace kordel::engine {

bool DoesFileExist(const std::filesystem::path& path) { return platform::DoesFileExist(platform::PathText(path)); }

FileOutcome CountFile(const std::filesystem::path& path, LineClassifier& classifier, bool cnoml,
                      const std::atomic<int>& canc) {
    FileOutcome outcome;
    // The file is opened first and what was opened is checked: a FIFO put in its place is refused
    // without blocking, and the size read is the size of the file opened.
    TextModeReader reader;
    switch (reader.Open(path)) {
        case platform::InputFile::Status::Opened: break;
        case platform::InputFile::Status::Missing: outcome.status = FileStatus::Missing; return outcome;
        case platform::InputFile::Status::Folder:
        case platform::InputFile::Status::Failed: outcome.status = FileStatus::OpenFailed; return outcome;
        case platform::InputFile::Status::NotRegular: outcome.status = FileStatus::NotRegular; return outcome;
    }
    classifier.Reset();
    Tally tally(outcome.counts, cnoml);
    std::string_view line;
    for (;;) {
        if (!classifier.InBlock() && canc.load(std::memory_order_relaxed) == 1) {
            outcome.status = FileStatus::Cancelled;
            return outcome;
        }
        if (!reader.NextLine(line)) break;
        ++outcome.counts.nl3;
        // Bytes behind a NUL are not seen by any search or blank test.
        if (const void* nul = std::memchr(line.data(), '\0', line.size()))
            line = line.substr(0, static_cast<const char*>(nul) - line.data());
        classifier.Classify(line, tally);
    }
    if (canc.load(std::memory_order_relaxed) == 1) outcome.status = FileStatus::Cancelled;
    return outcome;
}

}  // namespace kordel::engine
