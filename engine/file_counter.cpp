// One file through the text-mode reader and a line classifier.
#include "engine/file_counter.h"

#include <cstring>
#include <system_error>

#include "engine/text_reader.h"

namespace kordel::engine {

bool DoesFileExist(const std::filesystem::path& path) {
    // A NUL cannot be part of a name: the system would see only the part before it.
    if (path.native().find('\0') != std::string::npos) return false;
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec)) && !ec;
}

FileOutcome CountFile(const std::filesystem::path& path, LineClassifier& classifier, bool cnoml,
                      const std::atomic<int>& canc) {
    FileOutcome outcome;
    if (!DoesFileExist(path)) {
        outcome.status = FileStatus::Missing;
        return outcome;
    }
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    // Folders, FIFOs and devices are not source files: opening a FIFO would block forever.
    if (ec || !std::filesystem::is_regular_file(status)) {
        outcome.status = std::filesystem::is_directory(status) ? FileStatus::OpenFailed : FileStatus::NotRegular;
        return outcome;
    }
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    TextModeReader reader;
    if (!reader.Open(path, ec ? std::nullopt : std::optional<std::uint64_t>(size))) {
        outcome.status = FileStatus::OpenFailed;
        return outcome;
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
