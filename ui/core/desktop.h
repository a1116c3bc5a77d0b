// The platform services the main window's commands use. The desktop program implements them with
// windows; tests implement them with scripted answers.
#pragma once

#include <atomic>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/count_run.h"
#include "engine/sort_order.h"
#include "kordel/version.h"
#include "ui/core/add_files.h"
#include "ui/core/version_check.h"
#include "userlang/language_form.h"

namespace kordel::ui {

enum class Icon { Stop, Information, Warning, Question };
enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };

inline constexpr std::string_view kCaption = kNameAndVersion;

/// A file dialog's single file type.
struct FileType {
    std::string description;  ///< "Project List File (*.kpl)"
    std::string pattern;      ///< "*.kpl"
    std::string defaultExtension;  ///< "kpl"; empty for none
};

/// What the add dialog returns: the chosen files (none when cancelled) and the filter it closed with.
struct AddChoice {
    std::vector<std::string> paths;
    int filter = 1;  ///< 1-based
};

/// What the Find dialog returns when its OK is pressed with a text.
struct FindRequest {
    std::string text;
    bool caseSensitive = false;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    /// A message box with the caption kCaption ("Kordel" and the version).
    virtual Answer Message(std::string_view text, Icon icon, Buttons buttons = Buttons::Ok) = 0;

    /// Runs `work` on a worker thread under the modal progress window ("Counting..." or "Sorting...")
    /// whose Cancel sets `canc`. Every call the work makes on the observer it is given reaches
    /// `uiObserver` on the interface thread, in order; questions wait for their answers.
    virtual void RunWithProgress(bool sorting, std::atomic<int>& canc,
                                 const std::function<void(engine::RunObserver&)>& work,
                                 engine::RunObserver& uiObserver) = 0;
    /// The same for a sort: the swaps reach `uiObserver` on the interface thread, in order.
    virtual void RunSortWithProgress(std::atomic<int>& canc, const std::function<void(engine::SortObserver&)>& work,
                                     engine::SortObserver& uiObserver) = 0;
    /// The progress window's detail line and bar, while it is shown.
    virtual void SetProgressDetail(const std::string& text) = 0;
    virtual void SetProgressPercent(int percent) = 0;

    /// Fetches the version file (an http or https `url`) under the wait window, within the check's
    /// deadline and size cap (version_check.h); the window's close box and Escape cancel it.
    virtual VersionReply FetchVersionFile(const std::string& url) = 0;

    /// Opens a file or folder for viewing with the desktop's default application (never runs it).
    virtual void OpenDocument(const std::string& path) = 0;
    virtual void OpenUrl(const std::string& url) = 0;

    /// The open and save dialogs for one file type; nothing when cancelled.
    virtual std::optional<std::string> AskOpenPath(std::string_view title, const FileType& type) = 0;
    virtual std::optional<std::string> AskSavePath(std::string_view title, const FileType& type) = 0;
    /// The add dialog: several files, the filters in order, the one shown first and the start folder.
    virtual AddChoice AskSourceFiles(std::string_view title, const std::vector<FileFilter>& filters, int filter,
                                     const std::string& folder) = 0;
    /// Runs `work`, which touches no window, off the interface thread while that thread keeps painting
    /// (user input waits until it is done), so a long step over many rows does not freeze the window.
    /// This default runs it in place.
    virtual void RunAside(const std::function<void()>& work) { work(); }
    /// From work that RunAside runs: runs `call` (a question to the user) on the interface thread and
    /// waits for it; an exception it throws reaches the work. This default runs it in place.
    virtual void RunOnInterface(const std::function<void()>& call) { call(); }
    /// A modeless notice ("Adding source files to the list...") while a step runs; empty text hides it.
    virtual void ShowBusy(std::string_view text) = 0;
    /// "Would you like to specify a project name?" and then the name entry: the typed text, or
    /// nothing for No or Cancel.
    virtual std::optional<std::string> AskProjectName() = 0;

    /// The Find dialog; nothing when it was cancelled.
    virtual std::optional<FindRequest> AskFind() = 0;
    /// The Options dialog (modal); it changes the settings through the main window's logic.
    virtual void ShowOptions() = 0;
    virtual void ShowAbout() = 0;
    /// The User Defined Languages dialog over a loaded list; its OK saves through the editor.
    virtual void ShowLanguages(userlang::LanguageListEditor& editor) = 0;

    /// The folder the running program lives in.
    virtual std::filesystem::path ProgramFolder() = 0;
};

}  // namespace kordel::ui
