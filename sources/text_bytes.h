// Texts whose bytes come from file names and user files: UTF-8 checks and safe forms for JSON and terminals.
#pragma once

#include <string>
#include <string_view>

namespace kordel::sources {

/// True when `text` is well-formed UTF-8 (no overlong forms, surrogates or code points past U+10FFFF).
bool IsValidUtf8(std::string_view text);

/// `text` with every byte that is not part of a well-formed UTF-8 sequence replaced by U+FFFD.
std::string ReplaceInvalidUtf8(std::string_view text);

/// `text` as it may be shown on a terminal: control bytes (C0, DEL, C1) and bytes that are not
/// well-formed UTF-8 are written as \xNN, so no name can move the cursor or change colours.
std::string EscapeForTerminal(std::string_view text);

}  // namespace kordel::sources
