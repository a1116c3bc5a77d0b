// Which language counts a file: the built-in table, the user languages, then the table of further
// languages (by extension, file name and #! line).
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/classifier.h"
#include "engine/language_row.h"
#include "engine/results.h"

namespace kordel::engine {

class UserLanguageLookup;
struct BuiltinLanguage;

/// Where a file's language comes from.
enum class LanguageSource { Builtin, User, Known };

/// The language that counts a file, with a classifier of its rules.
struct ChosenLanguage {
    LanguageSource source = LanguageSource::Builtin;
    /// The user language's or the table row's name; empty for the built-in table, which names its
    /// languages by extension.
    std::string name;
    std::unique_ptr<LineClassifier> classifier;
};

/// The file name a table lookup uses: the last part of `path`, or a stand-in name when `extension`
/// (the extension that picks the language, as --map gives it) is not the path's own.
std::string LookupName(std::string_view path, std::string_view extension);

/// The built-in language of a row that is counted as one (its `builtin` field), or nullptr.
const BuiltinLanguage* BuiltinOfRow(const LanguageRow& row, int dotf);

/// A classifier for a table row: the built-in counter it names, or the generic counter.
std::unique_ptr<LineClassifier> MakeKnownClassifier(const LanguageRow& row, const CountOptions& options);

/// Decides the language of files in the order: built-in table (by `extension`), user languages (by
/// `extension`), then, when `options.knownLanguages` is on, the table: a multi-part extension of the
/// table (".d.ts", ".blade.php") is the file's extension before the built-in table is asked, the exact
/// file name, the longest extension, and, for a file no table knows by name, its "#!" line.
class LanguageResolver {
public:
    LanguageResolver(const CountOptions& options, const UserLanguageLookup* userLanguages)
        : m_options(options), m_userLanguages(userLanguages) {}

    /// The language the file's name calls for; nothing when no table knows the name.
    std::optional<ChosenLanguage> ByName(std::string_view path, std::string_view extension) const;

    /// Whether a file that no table knows by name is to be looked at for a "#!" line.
    bool ReadsInterpreterLines() const { return m_options.knownLanguages; }

    /// The language the "#!" line at the start of `firstBytes` names, or nothing.
    std::optional<ChosenLanguage> ByInterpreterLine(std::string_view firstBytes) const;

    /// ByName, then (when allowed) the "#!" line of `content`: for files already in memory.
    std::optional<ChosenLanguage> ForContent(std::string_view path, std::string_view extension,
                                             std::string_view content) const;

private:
    CountOptions m_options;
    const UserLanguageLookup* m_userLanguages;
};

/// Whether a folder walk takes a file: its name is known to a table (`userKnows` answers for the user
/// languages by extension). With the table on and `withInterpreterLines`, every other file is taken too
/// (one without an extension, or with one no table knows), so that its "#!" line can decide when it is
/// counted.
bool IsCountableName(std::string_view fileName, std::string_view extension, const CountOptions& options,
                     const std::function<bool(std::string_view)>& userKnows, bool withInterpreterLines);

}  // namespace kordel::engine
