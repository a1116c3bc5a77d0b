// A run observer that records what the count run reports and answers its questions from flags.
#pragma once

#include <atomic>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/count_run.h"

namespace test_support {

using kordel::engine::RunObserver;
using kordel::engine::TotalsTexts;

class ScriptedObserver final : public RunObserver {
public:
    std::vector<std::string> statuses, asked, finished;
    std::map<std::size_t, std::vector<std::string>> rows;
    std::optional<TotalsTexts> totals;
    std::vector<int> progress;
    std::vector<std::size_t> started;    ///< the rows the run said it starts, in order
    std::vector<std::size_t> askedRows;  ///< per question, the row started last
    bool answerMissing = false, answerOpen = false, answerUnknown = true;
    std::atomic<int>* cancelOnFirstRow = nullptr;
    std::atomic<int>* cancelOnFirstStatus = nullptr;

    void StartRow(std::size_t row) override { started.push_back(row); }
    void SetStatus(const std::string& text) override {
        statuses.push_back(text);
        if (cancelOnFirstStatus) cancelOnFirstStatus->store(1);
    }
    void WriteRow(std::size_t row, const std::vector<std::string>& cells) override {
        rows[row] = cells;
        if (cancelOnFirstRow) cancelOnFirstRow->store(1);
    }
    void WriteTotals(const TotalsTexts& t) override { totals = t; }
    void SetProgress(int p) override { progress.push_back(p); }
    bool AskMissing(const std::string& m) override { return Ask(m, answerMissing); }
    bool AskOpenFailed(const std::string& m) override { return Ask(m, answerOpen); }
    bool AskUnknownExtension(const std::string& m) override { return Ask(m, answerUnknown); }
    void Finished(const std::string& m, bool) override { finished.push_back(m); }

private:
    bool Ask(const std::string& m, bool answer) {
        asked.push_back(m);
        askedRows.push_back(started.empty() ? ~std::size_t{0} : started.back());
        return answer;
    }
};

}  // namespace test_support
