// Project list files (.kpl): the writer, the reader with its questions, and the open, save and re-open steps.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/atomic_file.h"

namespace kordel::projects {

inline constexpr const char* kUntitled = "Untitled Project List";
inline constexpr const char* kUnspecified = "Unspecified";
inline constexpr std::size_t kMaxProjectName = 254;  ///< limit of the name entry

inline constexpr const char* kNotProjectListFile = "The file you specified is not a project list file.";
inline constexpr const char* kNotValidProjectList = "The specified file is not a valid project list file.";
inline constexpr const char* kNoneFound =
    "Source file(s) from the project list were not added because none of them were found at any of their "
    "locations.";
inline constexpr const char* kCannotSaveEmpty =
    "You cannot save a project list because you have not added any source files yet.";

/// Whether the list has changes the project list file does not hold.
enum class ListChanges {
    Saved,     ///< nothing to save
    Unsaved,   ///< closing asks to save
    Declined,  ///< the user chose not to save them
};

/// The main window's state that opening and saving read and change.
struct ListState {
    std::string pfn = kUntitled;             ///< current project list file
    std::string PN;                          ///< current project name, written on save
    std::string nameField = kUnspecified;    ///< the project name shown in the window
    ListChanges uspl = ListChanges::Saved;
    bool cy = false;                         ///< results present
    bool openFailed = false;
};

/// The options and the remembered list that opening and saving consult.
struct ListSettings {
    bool llp = false;   ///< remember the saved list and re-open it at start
    bool pfpn = false;  ///< ask for a project name when saving
    bool aspn = false;  ///< detect the project name
    bool sspl = false;  ///< suggest where to save
    bool acpl = false;  ///< count after a list is opened
    std::string lsp;    ///< the list saved last (written while llp is on)
};

/// The messages and questions of opening and saving. The desktop shows message boxes; tests script answers.
class ListQuestions {
public:
    virtual ~ListQuestions() = default;
    /// An error with OK only.
    virtual void ShowError(const std::string& message) = 0;
    /// "Could not open ... for reading.": true = OK (retry), false = Cancel.
    virtual bool AskRetryRead(const std::string& message) = 0;
    /// "Could not open ... for writing.": true = OK (retry), false = Cancel.
    virtual bool AskRetryWrite(const std::string& message) = 0;
    /// "\"%s\" does not exist.": true = OK (go on), false = Cancel (stop reading).
    virtual bool AskMissing(const std::string& message) = 0;
    /// A Yes/No question (the detected name, the suggested place): true = Yes.
    virtual bool AskYesNo(const std::string& message) = 0;
    /// "Would you like to specify a project name?", then the entry: the typed name, or nothing for No or Cancel.
    virtual std::optional<std::string> AskProjectName() = 0;
};

/// Off Windows two paths that differ by case are two files.
bool NativeCaseSensitivePaths();

/// A path can go into a list only as a line the reader gives back unchanged: not empty, no line
/// break, Ctrl-Z (text mode ends the data there) or NUL, and not the marker that ends the file list.
bool IsListablePath(std::string_view path);

/// Why `rows` and the project name cannot be saved so that opening the list gives them back (the
/// message shown), or nothing when they can. A name is written whole: it must hold no line feed or
/// Ctrl-Z and must not be the end marker; "Unspecified" reads back as no name, which it means.
std::optional<std::string> WhyNotSavable(const std::vector<std::string>& rows, const std::string& PN);

/// The bytes of a project list (LF line ends) for the rows and the project name, written as given:
/// check them with WhyNotSavable first.
std::string ProjectListText(const std::vector<std::string>& rows, const std::string& PN);

/// Writes the list to `path`. Refuses an empty list and rows or a name that would not read back
/// (with WhyNotSavable's message), asks to retry a failed write; on success updates `pfn`, the name
/// field, `uspl`, `cy` and, while `llp` is on, `lsp`. Returns true when the file was written.
bool ExportProject(const std::filesystem::path& path, const std::vector<std::string>& rows, ListState& state,
                   ListSettings& settings, ListQuestions& questions, FileOps& ops = RealFileOps());

/// Reads the list `path`, appending its files to `rows` (callers clear them first). Sets `openFailed` on failure.
/// A relative path in the list is taken relative to the list's folder.
void GetProject(const std::filesystem::path& path, std::vector<std::string>& rows, ListState& state,
                ListQuestions& questions);

/// The Open command after its file dialog: clears the rows, reads the list, and takes its name as `pfn` on
/// success. Returns true when a count should follow (`acpl`), also after a failed open.
bool OpenProject(const std::filesystem::path& path, std::vector<std::string>& rows, ListState& state,
                 const ListSettings& settings, ListQuestions& questions);

/// The start-up re-open of `lsp`. Returns true when a count should follow.
bool AutoImportProject(std::vector<std::string>& rows, ListState& state, const ListSettings& settings,
                       ListQuestions& questions);

}  // namespace kordel::projects
