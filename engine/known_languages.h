// The table of further languages: finding a file's row by its name, its extension or its #! line.
#pragma once

#include <span>
#include <string_view>

#include "engine/language_row.h"

namespace kordel::engine {

/// Every row of the table (known_languages.inc), in table order.
std::span<const LanguageRow> KnownLanguages();

/// The row whose extension is the longest suffix of `fileName` (case-insensitive; ".d.ts" before
/// ".ts"), or nullptr.
const LanguageRow* FindKnownByExtension(std::string_view fileName);

/// The longest suffix of `fileName` that a row claims as its extension, empty when none does.
std::string_view KnownExtensionOf(std::string_view fileName);

/// The row that claims the exact file name ("Makefile", ".bashrc"), or nullptr.
const LanguageRow* FindKnownByFileName(std::string_view fileName);

/// The program a "#!" line at the start of `firstBytes` runs ("python3" for "#!/usr/bin/env -S
/// python3 -u"), empty when the bytes do not start with one.
std::string_view InterpreterOf(std::string_view firstBytes);

/// The row whose interpreter the "#!" line at the start of `firstBytes` names, or nullptr. A versioned
/// program ("python3.11") also matches its shorter names ("python3", "python").
const LanguageRow* FindKnownByInterpreter(std::string_view firstBytes);

/// The row a file name calls for: its exact name first, then its extension; nullptr when neither.
const LanguageRow* FindKnownByName(std::string_view fileName);

/// True when `fileName` has no extension ("configure", ".profile"): only its #! line can tell its language.
bool HasNoExtension(std::string_view fileName);

/// Calls `each` with every word of a space-separated row list.
template <typename Each>
void ForEachWord(std::string_view list, Each each) {
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(' ', start);
        if (end == std::string_view::npos) end = list.size();
        if (end > start) each(list.substr(start, end - start));
        start = end + 1;
    }
}

}  // namespace kordel::engine
