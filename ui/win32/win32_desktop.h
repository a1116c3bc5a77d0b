// The desktop services of the main window, with Windows dialogs from the program's resources. Its
// members live by concern: win32_desktop.cpp (message boxes, the program's folder), dialogs.cpp,
// file_dialogs.cpp, progress_window.cpp, shell_open.cpp, thread_hand_off.cpp and version_fetch.cpp.
#pragma once

#include <windows.h>

#include "ui/core/desktop.h"
#include "ui/core/call_queue.h"

namespace kordel::ui {
class MainWindowLogic;
}

namespace kordel::win32 {

class Win32Desktop final : public ui::Desktop {
public:
    explicit Win32Desktop(HINSTANCE instance) : m_instance(instance) {}

    /// The owner of the dialogs and message boxes; set once the main window exists.
    void SetMainWindow(HWND window) { m_main = window; }
    void SetLogic(ui::MainWindowLogic* logic) { m_logic = logic; }

    ui::Answer Message(std::string_view text, ui::Icon icon, ui::Buttons buttons = ui::Buttons::Ok) override;
    void RunWithProgress(bool sorting, std::atomic<int>& canc, const std::function<void(engine::RunObserver&)>& work,
                         engine::RunObserver& uiObserver) override;
    void RunSortWithProgress(std::atomic<int>& canc, const std::function<void(engine::SortObserver&)>& work,
                             engine::SortObserver& uiObserver) override;
    void SetProgressDetail(const std::string& text) override;
    void SetProgressPercent(int percent) override;
    ui::VersionReply FetchVersionFile(const std::string& url) override;
    void OpenDocument(const std::string& path) override;
    void OpenUrl(const std::string& url) override;
    std::optional<std::string> AskOpenPath(std::string_view title, const ui::FileType& type) override;
    std::optional<std::string> AskSavePath(std::string_view title, const ui::FileType& type) override;
    ui::AddChoice AskSourceFiles(std::string_view title, const std::vector<ui::FileFilter>& filters, int filter,
                                 const std::string& folder) override;
    void RunAside(const std::function<void()>& work) override;
    void RunOnInterface(const std::function<void()>& call) override;
    void ShowBusy(std::string_view text) override;
    std::optional<std::string> AskProjectName() override;
    std::optional<ui::FindRequest> AskFind() override;
    void ShowOptions() override;
    void ShowAbout() override;
    void ShowLanguages(userlang::LanguageListEditor& editor) override;
    std::filesystem::path ProgramFolder() override;

private:
    /// The window that owns a message: the active window of this thread, else the main window.
    HWND Owner() const;
    /// Runs `body` on a worker thread while the progress window is shown modally.
    void RunUnderProgress(bool sorting, std::atomic<int>& canc, const std::function<void(ui::CallQueue&)>& body);

    HINSTANCE m_instance;
    DWORD m_interfaceThread = GetCurrentThreadId();  // the desktop lives on the thread of its windows
    HWND m_main = nullptr;
    ui::MainWindowLogic* m_logic = nullptr;
    HWND m_progress = nullptr;
    HWND m_busy = nullptr;
};

}  // namespace kordel::win32
