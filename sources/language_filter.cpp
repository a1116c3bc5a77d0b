// Names are compared without regard to ASCII case; the language a file gets is the one the lookup
// gave it, so the filter applies after the count's own choice.
#include "sources/language_filter.h"

#include <algorithm>

#include "sources/languages.h"
#include "common/ascii.h"
#include "engine/known_languages.h"

namespace kordel::sources {

bool LanguageFilter::Set(const std::vector<std::string>& include, const std::vector<std::string>& exclude,
                         const std::vector<userlang::UserLanguage>& userLanguages, std::string& error) {
    std::vector<std::string> known;
    for (const NamedLanguage& language : BuiltinLanguages()) known.push_back(AsciiLowered(language.name));
    for (const userlang::UserLanguage& language : userLanguages) known.push_back(AsciiLowered(language.name));
    for (const engine::LanguageRow& row : engine::KnownLanguages()) known.push_back(AsciiLowered(std::string(row.name)));
    const auto take = [&](const std::vector<std::string>& names, std::vector<std::string>& into, const char* option) {
        for (const std::string& name : names) {
            std::string lower = AsciiLowered(name);
            if (std::find(known.begin(), known.end(), lower) == known.end()) {
                error = std::string(option) + ": no language is named \"" + name +
                        "\"\nRun 'kordelc --list-languages' for the languages.";
                return false;
            }
            into.push_back(std::move(lower));
        }
        return true;
    };
    return take(include, m_include, "--include-lang") && take(exclude, m_exclude, "--exclude-lang");
}

std::string LanguageFilter::Refusal(const std::string& language) const {
    const std::string lower = AsciiLowered(language);
    if (std::find(m_exclude.begin(), m_exclude.end(), lower) != m_exclude.end()) return "--exclude-lang " + language;
    if (!m_include.empty() && std::find(m_include.begin(), m_include.end(), lower) == m_include.end())
        return language + " is not among --include-lang";
    return {};
}

}  // namespace kordel::sources
