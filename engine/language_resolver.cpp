// The lookup order of a file's language over the three tables.
#include "engine/language_resolver.h"

#include "engine/count_run.h"
#include "engine/dispatch.h"
#include "engine/known_language_counter.h"
#include "engine/known_languages.h"
#include "engine/path_split.h"
#include "platform/os.h"

namespace kordel::engine {
namespace {

std::string_view FileNameOf(std::string_view path) {
    const std::size_t slash = path.find_last_of(platform::kWindows ? "/\\" : "/");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

ChosenLanguage Known(const LanguageRow& row, const CountOptions& options) {
    return {LanguageSource::Known, std::string(row.name), MakeKnownClassifier(row, options)};
}

}  // namespace

std::string LookupName(std::string_view path, std::string_view extension) {
    if (extension == PathExtension(path)) return std::string(FileNameOf(path));
    return std::string("x").append(extension);
}

const BuiltinLanguage* BuiltinOfRow(const LanguageRow& row, int dotf) {
    return row.builtin.empty() ? nullptr : FindBuiltin(row.builtin, dotf);
}

std::unique_ptr<LineClassifier> MakeKnownClassifier(const LanguageRow& row, const CountOptions& options) {
    if (const BuiltinLanguage* builtin = BuiltinOfRow(row, options.dotf)) return builtin->make(options);
    return std::make_unique<KnownLanguageClassifier>(row, options.cblib);
}

std::optional<ChosenLanguage> LanguageResolver::ByName(std::string_view path, std::string_view extension) const {
    std::string_view ext = extension;
    std::string name;
    if (m_options.knownLanguages) {
        name = LookupName(path, extension);
        // A file name the table names is more than an extension ("CMakeLists.txt" is CMake, not text).
        if (const LanguageRow* row = FindKnownByFileName(name)) return Known(*row, m_options);
        // A multi-part extension of the table is the file's extension ("a.blade.php" is Blade).
        const std::string_view longest = KnownExtensionOf(name);
        if (longest.find('.', 1) != std::string_view::npos) ext = longest;
    }
    if (const BuiltinLanguage* builtin = FindBuiltin(ext, m_options.dotf))
        return ChosenLanguage{LanguageSource::Builtin, {}, builtin->make(m_options)};
    if (m_userLanguages) {
        if (std::optional<UserLanguageMatch> match = m_userLanguages->Find(ext, m_options))
            return ChosenLanguage{LanguageSource::User, std::move(match->name), std::move(match->classifier)};
    }
    if (m_options.knownLanguages)
        if (const LanguageRow* row = FindKnownByExtension(name)) return Known(*row, m_options);
    return std::nullopt;
}

std::optional<ChosenLanguage> LanguageResolver::ByInterpreterLine(std::string_view firstBytes) const {
    if (!m_options.knownLanguages) return std::nullopt;
    if (const LanguageRow* row = FindKnownByInterpreter(firstBytes)) return Known(*row, m_options);
    return std::nullopt;
}

std::optional<ChosenLanguage> LanguageResolver::ForContent(std::string_view path, std::string_view extension,
                                                           std::string_view content) const {
    if (std::optional<ChosenLanguage> chosen = ByName(path, extension)) return chosen;
    return ByInterpreterLine(content);
}

bool IsCountableName(std::string_view fileName, std::string_view extension, const CountOptions& options,
                     const std::function<bool(std::string_view)>& userKnows, bool withInterpreterLines) {
    if (options.knownLanguages) {
        const std::string name = LookupName(fileName, extension);
        // Any other file may start with a #! line that names its language (a kernel test's ".tc" script).
        if (withInterpreterLines || FindKnownByName(name)) return true;
    }
    return IsBuiltinExtension(extension, options.dotf) || (userKnows && userKnows(extension));
}

}  // namespace kordel::engine
