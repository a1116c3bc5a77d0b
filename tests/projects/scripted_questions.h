// Scripted answers for the project list questions, recording every message.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "projects/project_list.h"

class ScriptedListQuestions final : public kordel::projects::ListQuestions {
public:
    std::vector<std::string> shown;      // every message and question, in order
    std::deque<bool> answers;            // OK/Yes = true; an empty script answers Cancel/No
    std::optional<std::string> typedName;

    void ShowError(const std::string& m) override { shown.push_back(m); }
    bool AskRetryRead(const std::string& m) override { return Answer(m); }
    bool AskRetryWrite(const std::string& m) override { return Answer(m); }
    bool AskMissing(const std::string& m) override { return Answer(m); }
    bool AskYesNo(const std::string& m) override { return Answer(m); }
    std::optional<std::string> AskProjectName() override {
        shown.push_back("name prompt");
        return typedName;
    }

private:
    bool Answer(const std::string& m) {
        shown.push_back(m);
        if (answers.empty()) return false;
        const bool a = answers.front();
        answers.pop_front();
        return a;
    }
};
