// The one place a file's extension becomes a language and its counter.
#include "cli/file_language.h"

#include "cli/languages.h"
#include "engine/dispatch.h"

namespace kordel::cli {

std::optional<FileLanguage> LanguageOf(std::string_view extension, const engine::CountOptions& options,
                                       const engine::UserLanguageLookup* userLanguages) {
    if (const engine::BuiltinLanguage* builtin = engine::FindBuiltin(extension, options.dotf))
        return FileLanguage{std::string(BuiltinLanguageName(extension, options.dotf)), false, builtin->make(options)};
    if (userLanguages) {
        if (std::optional<engine::UserLanguageMatch> match = userLanguages->Find(extension, options))
            return FileLanguage{std::move(match->name), true, std::move(match->classifier)};
    }
    return std::nullopt;
}

}  // namespace kordel::cli
