// Reading, writing and searching the user language database.
#include "userlang/udlangdb.h"

#include <array>
#include <limits>
#include <system_error>

#include "common/ascii.h"
#include "platform/files.h"

namespace kordel::userlang {
namespace {

namespace fs = std::filesystem;

std::string_view TrimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

std::array<std::string*, kFieldsPerRecord> Fields(UserLanguage& l) {
    return {&l.name, &l.extensions, &l.olcop, &l.olfc, &l.mlbcop, &l.fcmlb,
            &l.mlecop, &l.olcswl};
}

std::array<const std::string*, kFieldsPerRecord> Fields(const UserLanguage& l) {
    return {&l.name, &l.extensions, &l.olcop, &l.olfc, &l.mlbcop, &l.fcmlb, &l.mlecop, &l.olcswl};
}

}  // namespace

std::size_t ParseColumn(std::string_view field) {
    std::size_t i = 0;
    while (i < field.size() && (field[i] == ' ' || field[i] == '\t' || field[i] == '\n' || field[i] == '\r' ||
                                field[i] == '\f' || field[i] == '\v'))
        ++i;
    constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max();
    std::size_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        const std::size_t digit = static_cast<std::size_t>(field[i] - '0');
        if (value > (kMax - digit) / 10) return kNeverColumn;
        value = value * 10 + digit;
    }
    return value;
}

bool IsWholeLineFlag(std::string_view field) { return field == "Yes"; }

std::vector<UserLanguage> ParseUDList(std::string_view bytes) {
    std::vector<UserLanguage> languages;
    std::size_t field = 0;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t lf = bytes.find('\n', at);
        std::string_view line = bytes.substr(at, lf == std::string_view::npos ? std::string_view::npos : lf - at);
        at = lf == std::string_view::npos ? bytes.size() : lf + 1;
        // The CR of a CR LF pair belongs to the line end; a lone CR elsewhere is data.
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (field == 0) languages.emplace_back();
        *Fields(languages.back())[field] = std::string(line);
        field = (field + 1) % kFieldsPerRecord;
    }
    return languages;
}

std::string FormatUDList(const std::vector<UserLanguage>& languages) {
    std::string out;
    for (const UserLanguage& l : languages) {
        for (const std::string* f : Fields(l)) {
            out += *f;
            out += "\r\n";
        }
    }
    return out;
}

bool ListsExtension(std::string_view extensions, std::string_view extension) {
    if (TrimBlanks(extension).empty()) return false;
    std::size_t at = 0;
    for (;;) {
        const std::size_t sep = extensions.find_first_of(";,", at);
        const std::string_view item =
            extensions.substr(at, sep == std::string_view::npos ? std::string_view::npos : sep - at);
        if (EqualIgnoringCase(TrimBlanks(item), extension)) return true;
        if (sep == std::string_view::npos) return false;
        at = sep + 1;
    }
}

const UserLanguage* FindCustomExtension(const std::vector<UserLanguage>& languages, std::string_view extension) {
    for (const UserLanguage& l : languages)
        if (ListsExtension(l.extensions, extension)) return &l;
    return nullptr;
}

ExtensionIndex::ExtensionIndex(const std::vector<UserLanguage>& languages) : m_languages(&languages) {
    for (std::size_t i = 0; i < languages.size(); ++i) {
        const std::string_view extensions = languages[i].extensions;
        std::size_t at = 0;
        for (;;) {
            const std::size_t sep = extensions.find_first_of(";,", at);
            const std::string_view item = TrimBlanks(
                extensions.substr(at, sep == std::string_view::npos ? std::string_view::npos : sep - at));
            // The same items ListsExtension compares with; the first language to list one keeps it.
            if (!item.empty()) m_first.try_emplace(AsciiLowered(item), i);
            if (sep == std::string_view::npos) break;
            at = sep + 1;
        }
    }
}

const UserLanguage* ExtensionIndex::Find(std::string_view extension) const {
    // An extension with blanks around it equals no trimmed item, so it is looked up as it is.
    const auto found = m_first.find(AsciiLowered(extension));
    return found == m_first.end() ? nullptr : &(*m_languages)[found->second];
}

DbContents ReadUDLangDb(const fs::path& path) {
    DbContents contents;
    // Opened first, then checked: a missing file and one that is there but can't be read differ.
    const std::string text = platform::PathText(path);
    const std::optional<std::string> bytes = platform::ReadWholeFile(text);
    if (!bytes) {
        contents.status = platform::DoesFileExist(text) ? DbStatus::Unreadable : DbStatus::Missing;
        return contents;
    }
    contents.status = DbStatus::Loaded;
    contents.languages = ParseUDList(*bytes);
    return contents;
}

bool PopulateUDList(const fs::path& path, std::vector<UserLanguage>& languages) {
    DbContents contents = ReadUDLangDb(path);
    languages = std::move(contents.languages);
    if (contents.status == DbStatus::Missing) return WriteUDList(path, {});
    return contents.status == DbStatus::Loaded;
}

bool WriteUDList(const fs::path& path, const std::vector<UserLanguage>& languages, FileOps& ops) {
    for (const UserLanguage& l : languages)
        for (const std::string* f : Fields(l))
            if (f->find('\n') != std::string::npos) return false;
    // The per-user folder may not exist yet; a failure here shows up as a failed write.
    std::error_code ec;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    return WriteFileAtomically(path, FormatUDList(languages), ops);
}

std::string UserExtensionPatterns(const std::vector<UserLanguage>& languages) {
    std::string patterns;
    for (const UserLanguage& l : languages) {
        for (const char c : l.extensions) {
            if (c == '.') patterns += "*.";
            else if (c == ',') patterns += ';';
            else patterns += c;
        }
        patterns += ';';
    }
    return patterns;
}


}  // namespace kordel::userlang
