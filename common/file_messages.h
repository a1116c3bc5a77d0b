// The message shown when a file cannot be written, the same wherever a file is saved.
#pragma once

#include <string>
#include <string_view>

namespace kordel {

/// "Could not open \"PATH\" for writing.  Make sure that all programs that may be using this file are closed."
inline std::string OpenForWritingMessage(std::string_view path) {
    return "Could not open \"" + std::string(path) +
           "\" for writing.  Make sure that all programs that may be using this file are closed.";
}

}  // namespace kordel
