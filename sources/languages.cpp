// Short names for the languages of the built-in table. Several languages share a counter there
// (Java and C# are counted by the C family's rules), so a name comes from the extension, not the counter.
#include "sources/languages.h"

#include <algorithm>

#include "common/ascii.h"
#include "engine/dispatch.h"
#include "engine/known_languages.h"

namespace kordel::sources {

const std::vector<NamedLanguage>& BuiltinLanguages() {
    // The table's extensions grouped under their names, in table order, the names in alphabetical order
    // without regard to case.
    static const std::vector<NamedLanguage> languages = [] {
        std::vector<NamedLanguage> named;
        for (const engine::BuiltinExtension& e : engine::BuiltinExtensions()) {
            auto same =
                std::find_if(named.begin(), named.end(), [&](const NamedLanguage& l) { return l.name == e.name; });
            if (same == named.end()) named.push_back({e.name, {e.extension}});
            else same->extensions.push_back(e.extension);
        }
        std::stable_sort(named.begin(), named.end(), [](const NamedLanguage& a, const NamedLanguage& b) {
            return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                                [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
        });
        return named;
    }();
    return languages;
}

std::string_view BuiltinLanguageName(std::string_view extension, int dotf) {
    // The entry of the counter that counts the extension: ".f" stands under Forth and Fortran 77.
    const engine::BuiltinLanguage* counter = engine::FindBuiltin(extension, dotf);
    for (const engine::BuiltinExtension& e : engine::BuiltinExtensions())
        if (e.language == counter && EqualIgnoringCase(e.extension, extension)) return e.name;
    return {};
}

std::string LanguageListing(const std::vector<userlang::UserLanguage>& userLanguages, const std::string& database,
                            bool knownLanguages) {
    std::string text = "Built-in languages (counted by the rules named after the extensions):\n";
    for (const NamedLanguage& language : BuiltinLanguages()) {
        text += "  ";
        text += language.name;
        text.append(language.name.size() < 14 ? 14 - language.name.size() : 1, ' ');
        bool first = true;
        for (std::string_view e : language.extensions) {
            if (!first) text += ' ';
            first = false;
            text += e;
            if (e == ".f") text += language.name == "Forth" ? " (unless --fortran77)" : " (with --fortran77)";
        }
        const engine::BuiltinLanguage* counter =
            engine::FindBuiltin(language.extensions.front(), language.name == "Fortran 77" ? 1 : 0);
        text += "  [";
        text += counter ? counter->counter : std::string_view("?");
        text += "]\n";
    }
    text += "User languages (" + database + "):\n";
    if (userLanguages.empty()) text += "  none\n";
    for (const userlang::UserLanguage& language : userLanguages) {
        text += "  " + language.name;
        text.append(language.name.size() < 14 ? 14 - language.name.size() : 1, ' ');
        text += language.extensions + "\n";
    }
    if (!knownLanguages) return text + "Further languages: not used (--builtin-only)\n";
    text += "Further languages (kordelc's table; file names and #! lines too):\n";
    for (const engine::LanguageRow& row : engine::KnownLanguages()) {
        text += "  ";
        text += row.name;
        text.append(row.name.size() < 14 ? 14 - row.name.size() : 1, ' ');
        text += row.extensions;
        if (!row.fileNames.empty()) text += std::string(row.extensions.empty() ? "" : " ") + "files: " + std::string(row.fileNames);
        if (!row.interpreters.empty()) text += " #!: " + std::string(row.interpreters);
        if (!row.builtin.empty()) text += "  [counted as " + std::string(row.builtin) + "]";
        text += "\n";
    }
    return text;
}

}  // namespace kordel::sources
