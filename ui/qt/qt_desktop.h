// The desktop services of the main window, with Qt's windows.
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include <QString>

#include "ui/core/desktop.h"

class QDialog;
class QWidget;

namespace kordel::ui {
class MainWindowLogic;
}  // namespace kordel::ui

namespace kordel::qt {

class ProgressDialog;

/// A file dialog's filter line: "description (patterns)", the patterns given once.
QString FilterLine(const std::string& description, const std::string& patterns);

class QtDesktop : public ui::Desktop {
public:
    explicit QtDesktop(QWidget* owner);
    ~QtDesktop() override;

    void SetLogic(ui::MainWindowLogic* logic) { m_logic = logic; }
    /// The version check's deadline for the whole check (tests shorten it).
    void SetVersionDeadline(std::chrono::milliseconds deadline) { m_versionDeadline = deadline; }
    ProgressDialog* progress() const { return m_progress; }

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

protected:
    QWidget* owner() const { return m_owner; }

private:
    /// Runs `body` on a worker thread while the progress window is shown modally.
    void RunUnderProgress(bool sorting, std::atomic<int>& canc, const std::function<void(ProgressDialog&)>& body);

private:
    QWidget* m_owner;
    ui::MainWindowLogic* m_logic = nullptr;
    ProgressDialog* m_progress = nullptr;
    std::unique_ptr<QDialog> m_busy;
    std::chrono::milliseconds m_versionDeadline{ui::kVersionDeadline};
};

}  // namespace kordel::qt
