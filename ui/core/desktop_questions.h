// The questions of opening, saving and exporting, asked through the desktop's message boxes.
#pragma once

#include <optional>
#include <string>
#include <type_traits>

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

/// The questions of a list read by work that Desktop::RunAside runs: each is put to `questions` on the
/// interface thread, and the work waits for the answer.
class InterfaceListQuestions final : public projects::ListQuestions {
public:
    InterfaceListQuestions(Desktop& desktop, projects::ListQuestions& questions)
        : m_desktop(desktop), m_questions(questions) {}

    void ShowError(const std::string& message) override {
        m_desktop.RunOnInterface([&] { m_questions.ShowError(message); });
    }
    bool AskRetryRead(const std::string& message) override {
        return Ask([&] { return m_questions.AskRetryRead(message); });
    }
    bool AskRetryWrite(const std::string& message) override {
        return Ask([&] { return m_questions.AskRetryWrite(message); });
    }
    bool AskMissing(const std::string& message) override {
        return Ask([&] { return m_questions.AskMissing(message); });
    }
    bool AskYesNo(const std::string& message) override {
        return Ask([&] { return m_questions.AskYesNo(message); });
    }
    std::optional<std::string> AskProjectName() override {
        return Ask([&] { return m_questions.AskProjectName(); });
    }

private:
    template <class Question>
    std::invoke_result_t<const Question&> Ask(const Question& question) {
        decltype(question()) answer{};
        m_desktop.RunOnInterface([&] { answer = question(); });
        return answer;
    }

    Desktop& m_desktop;
    projects::ListQuestions& m_questions;
};

}  // namespace kordel::ui
