// The user language database udlangdb.ini: eight-line records, lookup by extension, filter patterns.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "common/atomic_file.h"

namespace kordel::userlang {

/// One user language, its eight fields exactly as stored (line ends removed, every other byte kept).
struct UserLanguage {
    std::string name;        ///< line 1
    std::string extensions;  ///< line 2: ".abc;.def" (a "," separates too)
    std::string olcop;       ///< line 3: one-line comment signal, empty for none
    std::string olfc = "0";  ///< line 4: its fixed column, "0" for any
    std::string mlbcop;      ///< line 5: block begin signal, empty for none
    std::string fcmlb = "0"; ///< line 6: its fixed column, "0" for any
    std::string mlecop;      ///< line 7: block end signal
    std::string olcswl = "No";  ///< line 8: "Yes" makes a signal turn the whole line into a comment

    bool operator==(const UserLanguage&) const = default;
};

inline constexpr std::size_t kFieldsPerRecord = 8;

/// A fixed column that can equal no position: the value of a column field too large to hold.
inline constexpr std::size_t kNeverColumn = static_cast<std::size_t>(-1);

/// A fixed-column field as a number: leading blanks skipped, digits up to the first non-digit,
/// 0 (any column) when there are none; kNeverColumn when the digits exceed what a size holds.
std::size_t ParseColumn(std::string_view field);

/// True when the whole-line field is exactly "Yes".
bool IsWholeLineFlag(std::string_view field);

/// The records of a database's bytes. Only a line end (LF or CR LF) is removed from a line, so a
/// last line without one keeps its last character; a short last record gets the default fields.
std::vector<UserLanguage> ParseUDList(std::string_view bytes);

/// The bytes of a database: eight lines per record, each ending in CR LF.
std::string FormatUDList(const std::vector<UserLanguage>& languages);

/// True when `extensions` lists `extension` as a whole item (items separated by ";" or ",",
/// blanks around an item ignored), without regard to ASCII letter case.
bool ListsExtension(std::string_view extensions, std::string_view extension);

/// The first language that lists `extension`, or nullptr.
const UserLanguage* FindCustomExtension(const std::vector<UserLanguage>& languages, std::string_view extension);

/// FindCustomExtension over a large list in one hash lookup: every listed extension, with its ASCII
/// letters folded, leads to the first language that lists it.
class ExtensionIndex {
public:
    ExtensionIndex() = default;
    explicit ExtensionIndex(const std::vector<UserLanguage>& languages);
    /// The same language as FindCustomExtension(languages, extension), or nullptr.
    const UserLanguage* Find(std::string_view extension) const;

private:
    const std::vector<UserLanguage>* m_languages = nullptr;
    std::unordered_map<std::string, std::size_t> m_first;
};

enum class DbStatus { Loaded, Missing, Unreadable };

struct DbContents {
    DbStatus status = DbStatus::Missing;
    std::vector<UserLanguage> languages;
};

/// Reads the whole database in one pass.
DbContents ReadUDLangDb(const std::filesystem::path& path);

/// Loads the list for editing, creating an empty database first when there is none.
/// False when the file can neither be read nor created; `languages` is then empty.
bool PopulateUDList(const std::filesystem::path& path, std::vector<UserLanguage>& languages);

/// Replaces the database by `languages` through a temporary file; on any failure the old file stays
/// and false is returned. Fields holding a LF cannot be stored and are refused the same way.
bool WriteUDList(const std::filesystem::path& path, const std::vector<UserLanguage>& languages,
                 FileOps& ops = RealFileOps());

/// The add-files filter patterns: "*" before every ".", "," turned into ";", ";" after each record.
std::string UserExtensionPatterns(const std::vector<UserLanguage>& languages);

inline constexpr const char* kOpenDbMessage =
    "Could not open the User Defined Language Database File.  Please close any programs that may be using "
    "this file.";

}  // namespace kordel::userlang
