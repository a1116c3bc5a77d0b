// The logic of the user language dialogs: the form's checks and the list being edited.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "userlang/udlangdb.h"

namespace kordel::userlang {

/// The seven texts of the add/edit form, as typed.
struct LanguageForm {
    std::string name;
    std::string extensions;
    std::string olcop;
    std::string olfc;
    std::string mlbcop;
    std::string fcmlb;
    std::string mlecop;
};

/// The form's longest text.
inline constexpr std::size_t kFieldLimit = 2047;

/// The outcome of the form's OK: the language to store, or the message of the first failed check.
struct FormCheck {
    std::optional<UserLanguage> language;
    std::string message;
};

/// Checks the form in the dialog's order; `wholeLine` is the flag the stored record keeps
/// (a new language gets "No", an edited one keeps its own).
FormCheck CheckLanguageForm(const LanguageForm& form, std::string_view wholeLine = "No");

/// "%d user defined languages", singular for exactly one.
std::string LanguageCountText(std::size_t count);

inline constexpr std::string_view kSelectFirstMessage = "Please select an item first.";
inline constexpr std::string_view kLineBreakMessage =
    "A language's texts must each fit on one line: remove the line break from the text you entered.";

/// The column titles and widths of the list dialog.
struct LanguageColumn {
    std::string_view title;
    int width;
};
inline constexpr LanguageColumn kLanguageColumns[7] = {
    {"Language Name", 120},
    {"Extension(s)", 90},
    {"One-Line Comment Signal", 230},
    {"One-Line Comment Fixed Column", 230},
    {"Multi-Line Begin Comment Signal", 250},
    {"Multi-Line Begin Comment Fixed Column", 250},
    {"Multi-Line End Comment Signal", 250},
};

/// The texts of a language's seven visible columns.
std::vector<std::string> LanguageCells(const UserLanguage& language);

/// The list dialog's rows: loaded when it opens, changed in memory, written only by OK.
class LanguageListEditor {
public:
    /// Reads `read` and writes `write`; they differ while a read-only default is in use.
    LanguageListEditor(std::filesystem::path read, std::filesystem::path write, FileOps& ops = RealFileOps())
        : m_read(std::move(read)), m_db(std::move(write)), m_ops(ops) {}
    explicit LanguageListEditor(const std::filesystem::path& db) : LanguageListEditor(db, db) {}

    /// Loads the database (an empty one is created when there is none); false when it cannot be read.
    bool Load();
    const std::vector<UserLanguage>& rows() const { return m_rows; }
    /// The file OK writes.
    const std::filesystem::path& path() const { return m_db; }

    /// The form's OK in add mode (index empty) or edit mode; the message when a check fails.
    FormCheck Store(const LanguageForm& form, std::optional<std::size_t> editIndex);
    void Delete(std::size_t index);
    /// OK: writes every row; false (old file kept) when the write failed.
    bool Save() { return WriteUDList(m_db, m_rows, m_ops); }

private:
    std::filesystem::path m_read;
    std::filesystem::path m_db;
    FileOps& m_ops;
    std::vector<UserLanguage> m_rows;
};

}  // namespace kordel::userlang
