// The one place a file's name becomes a language and its counter, for counts that never read a #! line.
#include "sources/file_language.h"

#include "sources/languages.h"
#include "engine/language_resolver.h"
#include "engine/path_split.h"

namespace kordel::sources {

std::optional<FileLanguage> LanguageOf(std::string_view lookupName, const engine::CountOptions& options,
                                       const engine::UserLanguageLookup* userLanguages) {
    const std::string_view extension = engine::PathExtension(lookupName);
    std::optional<engine::ChosenLanguage> chosen =
        engine::LanguageResolver(options, userLanguages).ByName(lookupName, extension);
    if (!chosen) return std::nullopt;
    std::string name = chosen->name.empty() ? std::string(BuiltinLanguageName(extension, options.dotf)) : chosen->name;
    return FileLanguage{std::move(name), chosen->source == engine::LanguageSource::User, std::move(chosen->classifier)};
}

}  // namespace kordel::sources
