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
