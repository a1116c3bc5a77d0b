// The questions of opening, saving and exporting, asked through the desktop's message boxes.
#pragma once

#include "projects/project_list.h"
#include "reports/report.h"
#include "ui/core/desktop.h"

namespace kordel::ui {

class DesktopQuestions final : public projects::ListQuestions, public reports::ReportQuestions {
public:
    explicit DesktopQuestions(Desktop& desktop) : m_desktop(desktop) {}

    void ShowError(const std::string& message) override { m_desktop.Message(message, Icon::Stop); }
    bool AskRetryRead(const std::string& message) override { return OkCancel(message); }
    bool AskRetryWrite(const std::string& message) override { return OkCancel(message); }
    bool AskMissing(const std::string& message) override { return OkCancel(message); }
    bool AskYesNo(const std::string& message) override {
        return m_desktop.Message(message, Icon::Question, Buttons::YesNo) == Answer::Yes;
    }
    std::optional<std::string> AskProjectName() override { return m_desktop.AskProjectName(); }

private:
    bool OkCancel(const std::string& message) {
        return m_desktop.Message(message, Icon::Stop, Buttons::OkCancel) == Answer::Ok;
    }

    Desktop& m_desktop;
};

}  // namespace kordel::ui
