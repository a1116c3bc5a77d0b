// kordelc's terminal and process services, over the platform layer.
#include "cli/platform.h"

#include <cstdlib>

#include "platform/files.h"
#include "platform/system.h"

namespace kordel::cli {
namespace {

platform::StdStream Stream(StdStream stream) {
    return stream == StdStream::Out ? platform::StdStream::Out : platform::StdStream::Err;
}

}  // namespace

ReadStatus ReadRegularFile(const std::string& path, std::string& bytes, std::uint64_t maxSize) {
    bytes.clear();
    platform::InputFile file;
    switch (file.Open(path)) {
    case platform::InputFile::Status::Opened: break;
    case platform::InputFile::Status::Missing: return ReadStatus::Missing;
    case platform::InputFile::Status::Folder:
    case platform::InputFile::Status::NotRegular: return ReadStatus::NotRegular;
    case platform::InputFile::Status::Failed: return ReadStatus::Unreadable;
    }
    if (maxSize > 0 && file.Size() > maxSize) return ReadStatus::TooLarge;
    // As the counter does, the file is read up to the size it had when it was opened.
    bytes.resize(static_cast<std::size_t>(file.Size()));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const std::ptrdiff_t got = file.Read(bytes.data() + done, bytes.size() - done);
        if (got < 0) return ReadStatus::Unreadable;
        if (got == 0) break;
        done += static_cast<std::size_t>(got);
    }
    bytes.resize(done);
    return ReadStatus::Ok;
}

bool IsTerminal(StdStream stream) { return platform::IsTerminal(Stream(stream)); }

bool WriteToTerminal(StdStream stream, std::string_view text) { return platform::WriteToTerminal(Stream(stream), text); }

std::vector<std::string> CommandLineArguments(int argc, char** argv) { return platform::CommandLineArguments(argc, argv); }

std::size_t TerminalWidth(StdStream stream) {
    if (const std::size_t columns = platform::TerminalColumns(Stream(stream)); columns > 0) return columns;
    if (const std::optional<std::string> columns = platform::Environment("COLUMNS")) {
        char* end = nullptr;
        const long value = std::strtol(columns->c_str(), &end, 10);
        if (end != columns->c_str() && *end == '\0' && value > 0 && value < 10000) return static_cast<std::size_t>(value);
    }
    return 80;
}

}  // namespace kordel::cli
