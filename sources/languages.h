// The languages kordelc names: a short name for each built-in extension, the user languages' own
// names, and the listing of --list-languages.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "userlang/udlangdb.h"

namespace kordel::sources {

/// A language of the built-in table under its own name, with the extensions counted as it.
struct NamedLanguage {
    std::string_view name;
    std::vector<std::string_view> extensions;
};

/// Every built-in language by name; ".f" stands under Forth and under Fortran 77.
const std::vector<NamedLanguage>& BuiltinLanguages();

/// The name of the language of a built-in extension ("C", "Java", "C Header"...), empty for an
/// extension the built-in table lacks. ".f" is Forth, or Fortran 77 when `dotf` is 1.
std::string_view BuiltinLanguageName(std::string_view extension, int dotf);

/// The text of --list-languages, in the order a file's language is looked up: each built-in language
/// with its extensions and its counter's rules, the user languages of `database`, then the table of
/// further languages with extensions, file names and #! programs (or a note when `knownLanguages` is off).
std::string LanguageListing(const std::vector<userlang::UserLanguage>& userLanguages, const std::string& database,
                            bool knownLanguages = true);

}  // namespace kordel::sources
