// Answers to the questions of the count run and of the project list reader, without asking anyone.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "outputs/json_output.h"
#include "cli/progress.h"
#include "engine/count_run.h"
#include "projects/project_list.h"

namespace kordel::cli {

/// Skips what cannot be counted and notes why; feeds the progress line.
class BatchObserver final : public engine::RunObserver {
public:
    using PathOf = std::function<std::string(std::size_t row)>;
    using OnRow = std::function<void(std::size_t row, const engine::FileCounts&, const std::string& userLanguage)>;
    /// `pathOf` names the row as shown of `count` rows; `onRow` hears of each counted row in order.
    /// `filePathOf`, when given, names the file the row reads (where it differs from the shown name).
    BatchObserver(PathOf pathOf, std::size_t count, Progress& progress, OnRow onRow = {}, PathOf filePathOf = {})
        : m_pathOf(std::move(pathOf)), m_filePathOf(std::move(filePathOf)), m_count(count), m_progress(progress),
          m_onRow(std::move(onRow)) {}

    void StartRow(std::size_t row) override;
    void SetStatus(const std::string&) override {}
    void WriteRow(std::size_t, const std::vector<std::string>&) override {}
    void WriteTotals(const engine::TotalsTexts& totals) override { m_totals = totals; }
    void SetProgress(int) override { ++m_done; }
    bool AskMissing(const std::string& message) override { return Skip(message, "missing"); }
    /// The run writes such a row with zeros; it is listed as skipped only, not among the counted files.
    bool AskOpenFailed(const std::string& message) override {
        Skip(message, "unreadable");
        m_unreadableRow = m_current;
        return false;
    }
    /// The extension is looked at before the file: a path that names nothing is reported as missing.
    bool AskUnknownExtension(const std::string& message) override;
    void Finished(const std::string& message, bool isError) override {
        if (isError) m_progress.Error(message);
    }
    void RowCounted(std::size_t row, const engine::FileCounts& counts, const std::string& userLanguage) override {
        if (m_onRow && row != m_unreadableRow) m_onRow(row, counts, userLanguage);
    }
    void RowLeftOut(std::size_t row) override {
        if (m_onLeftOut) m_onLeftOut(row);
    }
    /// `onLeftOut` hears of each row a walk found for its #! line that named no language.
    void OnLeftOut(std::function<void(std::size_t row)> onLeftOut) { m_onLeftOut = std::move(onLeftOut); }

    /// The first kMaxSkippedListed files skipped; the others are only counted.
    const std::vector<sources::Skipped>& skipped() const { return m_skipped; }
    std::size_t skippedNotListed() const { return m_notListed; }
    /// Skipped files kept by path: a list of ten million missing paths must not be kept whole.
    static constexpr std::size_t kMaxSkippedListed = 10000;
    const engine::TotalsTexts& totals() const { return m_totals; }

private:
    bool Skip(const std::string& message, const char* reason);

    PathOf m_pathOf;
    PathOf m_filePathOf;
    std::size_t m_count;
    Progress& m_progress;
    OnRow m_onRow;
    std::function<void(std::size_t row)> m_onLeftOut;
    std::size_t m_current = 0;
    std::size_t m_unreadableRow = SIZE_MAX;
    std::size_t m_done = 0;
    std::vector<sources::Skipped> m_skipped;
    std::size_t m_notListed = 0;
    engine::TotalsTexts m_totals;
};

/// Reads project lists: missing files are skipped; every message goes to the progress's messages.
class BatchListQuestions final : public projects::ListQuestions {
public:
    explicit BatchListQuestions(Progress& progress) : m_progress(progress) {}
    void ShowError(const std::string& message) override { m_progress.Error(message); }
    bool AskRetryRead(const std::string& message) override { return Say(message, false); }
    bool AskRetryWrite(const std::string& message) override { return Say(message, false); }
    bool AskMissing(const std::string& message) override {
        m_progress.Warn(message);
        return true;
    }
    bool AskYesNo(const std::string&) override { return false; }
    std::optional<std::string> AskProjectName() override { return std::nullopt; }

private:
    bool Say(const std::string& message, bool answer) {
        ShowError(message);
        return answer;
    }
    Progress& m_progress;
};

}  // namespace kordel::cli
