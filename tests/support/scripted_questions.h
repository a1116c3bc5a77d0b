// Scripted answers to the questions of the project list and report writers, recording every message.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "projects/project_list.h"
#include "reports/report.h"

namespace test_support {

class ScriptedQuestions final : public kordel::projects::ListQuestions, public kordel::reports::ReportQuestions {
public:
    std::vector<std::string> shown;  ///< every message and question, in order
    std::deque<bool> answers;        ///< OK/Yes = true, in the order asked
    bool otherwise = false;          ///< the answer once the script is used up (false: Cancel/No)
    std::optional<std::string> typedName;
    int retryReads = 0, retryWrites = 0, missing = 0;  ///< how often each question was asked

    void ShowError(const std::string& m) override { shown.push_back(m); }
    bool AskRetryRead(const std::string& m) override { return ++retryReads, Answer(m); }
    bool AskRetryWrite(const std::string& m) override { return ++retryWrites, Answer(m); }
    bool AskMissing(const std::string& m) override { return ++missing, Answer(m); }
    bool AskYesNo(const std::string& m) override { return Answer(m); }
    std::optional<std::string> AskProjectName() override {
        shown.push_back("name prompt");
        return typedName;
    }

private:
    bool Answer(const std::string& m) {
        shown.push_back(m);
        if (answers.empty()) return otherwise;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
};

}  // namespace test_support
