// One file through the text-mode reader and a line classifier.
#include "engine/file_counter.h"

#include <cstring>
#include <optional>
#include <system_error>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include "engine/line_runs.h"
#include "engine/text_reader.h"

namespace kordel::engine {
namespace {

// What a path names, found before opening it, and the size of a regular file.
struct Probe {
    enum class Kind { Missing, Regular, Folder, Other } kind = Kind::Missing;
    std::optional<std::uint64_t> size;
};

Probe ProbePath(const std::filesystem::path& path) {
    Probe probe;
#ifndef _WIN32
    // One lstat answers for the usual plain file; only a link needs a second look at its target.
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0) return probe;
    if (S_ISLNK(st.st_mode) && ::stat(path.c_str(), &st) != 0) {
        probe.kind = Probe::Kind::Other;  // a dangling link exists but names nothing to read
        return probe;
    }
    if (S_ISREG(st.st_mode)) {
        probe.kind = Probe::Kind::Regular;
        probe.size = static_cast<std::uint64_t>(st.st_size);
    } else {
        probe.kind = S_ISDIR(st.st_mode) ? Probe::Kind::Folder : Probe::Kind::Other;
    }
#else
    if (!DoesFileExist(path)) return probe;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::is_regular_file(status)) {
        probe.kind = std::filesystem::is_directory(status) ? Probe::Kind::Folder : Probe::Kind::Other;
        return probe;
    }
    probe.kind = Probe::Kind::Regular;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec) probe.size = size;
#endif
    return probe;
}

}  // namespace

bool DoesFileExist(const std::filesystem::path& path) {
    // A NUL cannot be part of a name: the system would see only the part before it.
    if (path.native().find('\0') != std::string::npos) return false;
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec)) && !ec;
}

FileOutcome CountFile(const std::filesystem::path& path, LineClassifier& classifier, bool cnoml,
                      const std::atomic<int>& canc) {
    FileOutcome outcome;
    // A NUL cannot be part of a name: the system would see only the part before it.
    const Probe probe = path.native().find('\0') != std::string::npos ? Probe{} : ProbePath(path);
    switch (probe.kind) {
        case Probe::Kind::Missing: outcome.status = FileStatus::Missing; return outcome;
        // Folders, FIFOs and devices are not source files: opening a FIFO would block forever.
        case Probe::Kind::Folder: outcome.status = FileStatus::OpenFailed; return outcome;
        case Probe::Kind::Other: outcome.status = FileStatus::NotRegular; return outcome;
        case Probe::Kind::Regular: break;
    }
    TextModeReader reader;
    if (!reader.Open(path, probe.size)) {
        outcome.status = FileStatus::OpenFailed;
        return outcome;
    }
    classifier.Reset();
    if (!CountLines(reader, classifier, outcome.counts, cnoml, &canc)) {
        outcome.status = FileStatus::Cancelled;
        return outcome;
    }
    if (canc.load(std::memory_order_relaxed) == 1) outcome.status = FileStatus::Cancelled;
    return outcome;
}

}  // namespace kordel::engine
