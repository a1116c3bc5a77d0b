// The count run with scripted answers: rows, totals, prompts, cancel and the closing message.
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>

#include <gtest/gtest.h>

#include "engine/count_run.h"
#include "engine/dispatch.h"
#include "engine/path_split.h"
#include "tests/support/files.h"
#include "tests/support/scripted_observer.h"

using namespace kordel::engine;
using test_support::ScriptedObserver;
namespace fs = std::filesystem;

namespace {


class CountRunTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& text) { return m_temp.Write(name, text).string(); }
    test_support::TempDir m_temp{"run"};
    fs::path m_dir = m_temp.path();
    std::atomic<int> m_canc{0};
    CountOptions m_options;
};

}  // namespace

TEST_F(CountRunTest, CountsRowsAndTotals) {
    const std::vector<std::string> paths{Write("a.c", "int a; // x\n\n"), Write("b.CPP", "/* c */\nx;\ny;\n"),
                                         Write("e.h", "")};
    ScriptedObserver obs;
    const RunResult r = CountLineT(paths, m_options, m_canc, obs);
    EXPECT_EQ(obs.rows[0], (std::vector<std::string>{"0", "0", "1", "1", "2"}));
    EXPECT_EQ(obs.rows[1], (std::vector<std::string>{"2", "1", "0", "0", "3"}));
    EXPECT_EQ(obs.rows[2], (std::vector<std::string>{"0", "0", "0", "0", "0"}));
    ASSERT_TRUE(obs.totals);
    EXPECT_EQ(obs.totals->code, "2 (40.00%)");
    EXPECT_EQ(obs.totals->lines, "5");
    EXPECT_EQ(obs.statuses.front(), "Counting source file 1 of 3");
    ASSERT_EQ(obs.progress.size(), 3u);
    EXPECT_EQ(obs.progress[0], 33);
    EXPECT_EQ(obs.progress[1], 66);
    EXPECT_EQ(obs.finished, (std::vector<std::string>{"Kordel completed in 0 seconds."}));
    EXPECT_EQ(r.totals.ntl, 5);
}

TEST_F(CountRunTest, PromptsForMissingUnreadableAndUnknownFiles) {
    const std::vector<std::string> paths{(m_dir / "gone.c").string(), Write("x.gz", "x\n"), m_dir.string() + "/",
                                         Write("ok.java", "x;\n")};
    fs::create_directories(m_dir / "dir.c");
    std::vector<std::string> withFolder = paths;
    withFolder[2] = (m_dir / "dir.c").string();
    ScriptedObserver obs;
    const RunResult r = CountLineT(withFolder, m_options, m_canc, obs);
    ASSERT_EQ(obs.asked.size(), 3u);
    EXPECT_EQ(obs.asked[0], "\"" + withFolder[0] + "\" does not exist.");
    EXPECT_EQ(obs.asked[1].rfind("The extension .gz is unknown", 0), 0u);
    EXPECT_EQ(obs.asked[2], "Could not open \"" + withFolder[2] +
                                "\" for reading.  Make sure that all programs that may be using this file are closed.");
    EXPECT_FALSE(obs.rows.count(0));                                                  // skipped: row unchanged
    EXPECT_EQ(obs.rows[2], (std::vector<std::string>{"0", "0", "0", "0", "0"}));  // unreadable: zeros
    EXPECT_EQ(obs.rows[3][0], "1");                                                   // next file, own row
    // Each row is announced before its question, the unknown extension's too.
    EXPECT_EQ(obs.started, (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_EQ(obs.askedRows, (std::vector<std::size_t>{0, 1, 2}));
    EXPECT_EQ(r.totals.ntl, 1);
    EXPECT_EQ(obs.finished.back(), "Kordel completed in 0 seconds.");
}

TEST_F(CountRunTest, CancelAtTheUnknownExtensionStopsWithTotalsSoFar) {
    ScriptedObserver obs;
    obs.answerUnknown = false;
    CountLineT({Write("a.c", "x;\n"), Write("b.zz", "x\n"), Write("c.c", "y;\n")}, m_options, m_canc, obs);
    EXPECT_EQ(obs.rows.size(), 1u);
    EXPECT_EQ(obs.totals->lines, "1");
    EXPECT_EQ(obs.finished.back(), "Kordel completed in 0 seconds.");
}

TEST_F(CountRunTest, CancelBetweenFilesKeepsTheRowsCounted) {
    ScriptedObserver obs;
    obs.cancelOnFirstRow = &m_canc;
    const RunResult r = CountLineT({Write("a.c", "x;\n"), Write("b.c", "y;\n")}, m_options, m_canc, obs);
    EXPECT_EQ(obs.rows.size(), 1u);
    EXPECT_EQ(obs.started, std::vector<std::size_t>{0});  // the second row is never begun
    ASSERT_TRUE(obs.totals);
    EXPECT_EQ(obs.totals->lines, "1");
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(obs.finished.back(), "The process was canceled.");
}

TEST_F(CountRunTest, CancelInsideAFileWritesNeitherRowNorTotals) {
    ScriptedObserver obs;
    m_canc = 1;
    // Already cancelled before the run: nothing is counted and the totals are left alone.
    CountLineT({Write("a.c", "/* open\nbody\n")}, m_options, m_canc, obs);
    EXPECT_TRUE(obs.rows.empty());
    EXPECT_EQ(obs.finished.back(), "The process was canceled.");
}

TEST(CountRunMessages, Texts) {
    EXPECT_EQ(CompletedMessage(1), "Kordel completed in 1 second.");
    EXPECT_EQ(CompletedMessage(2), "Kordel completed in 2 seconds.");
}

TEST_F(CountRunTest, ReadAheadGivesTheSameRowsAndQuestionsAsOneJob) {
    std::vector<std::string> paths;
    for (int i = 0; i < 60; ++i) {
        static constexpr std::string_view kLines[] = {"/* c\n*/ x;\n", "y; // z\n", "\n"};
        std::string text;
        for (int k = 0; k < i; ++k) text.append(kLines[k % 3]);
        std::string name = std::to_string(i);
        name.insert(0, 1, 'f');
        name.append(i % 7 == 0 ? ".zz" : ".c");
        paths.push_back(Write(name, text));
    }
    paths.insert(paths.begin() + 5, (m_dir / "missing.c").string());
    ScriptedObserver one, four;
    const RunResult a = CountLineT(paths, m_options, m_canc, one, 1);
    const RunResult b = CountLineT(paths, m_options, m_canc, four, 4);
    EXPECT_EQ(one.rows, four.rows);
    EXPECT_EQ(one.asked, four.asked);
    EXPECT_EQ(one.statuses, four.statuses);
    EXPECT_EQ(one.askedRows, four.askedRows);
    EXPECT_EQ(one.started.size(), paths.size());
    EXPECT_EQ(one.totals->code, four.totals->code);
    EXPECT_EQ(a.totals.ntl, b.totals.ntl);
}

TEST_F(CountRunTest, ReadAheadNamesTheFileBeforeWaitingForIt) {
    // The progress line must name a large first file while it is read, not after: a Cancel pressed
    // as soon as "1 of 2" shows stops the run before that file's row is written.
    std::string big;
    for (int i = 0; i < 8'000'000; ++i) big.append("x;\n");
    const std::vector<std::string> paths = {Write("big.c", big), Write("small.c", "y;\n")};
    big.clear();
    ScriptedObserver obs;
    obs.cancelOnFirstStatus = &m_canc;
    CountLineT(paths, m_options, m_canc, obs, 2);
    ASSERT_FALSE(obs.statuses.empty());
    EXPECT_EQ(obs.statuses.front(), "Counting source file 1 of 2");
    EXPECT_TRUE(obs.rows.empty());
    EXPECT_EQ(obs.finished.back(), "The process was canceled.");
}

namespace {

// Records the rows the run hands over one by one, in the order they come.
class RowRecorder final : public RunObserver {
public:
    std::vector<std::tuple<std::size_t, std::int64_t, std::string>> rows;
    void SetStatus(const std::string&) override {}
    void WriteRow(std::size_t, const std::vector<std::string>&) override {}
    void WriteTotals(const TotalsTexts&) override {}
    void SetProgress(int) override {}
    bool AskMissing(const std::string&) override { return false; }
    bool AskOpenFailed(const std::string&) override { return false; }
    bool AskUnknownExtension(const std::string&) override { return true; }
    void Finished(const std::string&, bool) override {}
    void RowCounted(std::size_t row, const FileCounts& counts, const std::string& userLanguage) override {
        rows.emplace_back(row, counts.nl3, userLanguage);
    }
};

// ".ul" files are a user language counted with the C rules.
class UlLanguage final : public UserLanguageLookup {
public:
    std::optional<UserLanguageMatch> Find(std::string_view extension, const CountOptions& options) const override {
        if (extension != ".ul") return std::nullopt;
        return UserLanguageMatch{"Ul", FindBuiltin(".c", 0)->make(options)};
    }
};

class ListedFiles final : public RunFiles {
public:
    explicit ListedFiles(std::vector<std::string> paths) : m_paths(std::move(paths)) {}
    std::size_t size() const override { return m_paths.size(); }
    std::string Path(std::size_t row) const override { return m_paths[row]; }
    std::string Extension(std::size_t row) const override { return std::string(PathExtension(m_paths[row])); }

private:
    std::vector<std::string> m_paths;
};

}  // namespace

TEST_F(CountRunTest, RowsWithoutKeptResultsComeInOrderPastTheReadAheadWindow) {
    // Two jobs read at most 128 rows ahead, and their outcomes wait in a ring of that many slots.
    // Rows the run counts itself (the user language) and missing files leave slots untaken, so a
    // stale outcome would show up in a later row with the same slot. Every file's line count is its
    // row number, so each row tells whose counts it got.
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < 700; ++i) {
        std::string text;
        for (std::size_t k = 0; k < i; ++k) text += "x;\n";
        const char* ext = i % 129 == 5 ? ".ul" : ".c";
        const std::string name = std::string("f").append(std::to_string(i)).append(ext);
        paths.push_back(i % 200 == 7 ? (m_dir / "gone.c").string() : Write(name, text));
    }
    const UlLanguage ul;
    RowRecorder one, two;
    const RunResult kept = CountLineT(ListedFiles(paths), m_options, m_canc, one, 1, &ul, true);
    const RunResult streamed = CountLineT(ListedFiles(paths), m_options, m_canc, two, 2, &ul, false);
    EXPECT_EQ(one.rows, two.rows);
    ASSERT_EQ(two.rows.size(), 700u - 4u);
    std::size_t expectedRow = 0;
    for (const auto& [row, lines, language] : two.rows) {
        if (expectedRow % 200 == 7) ++expectedRow;
        EXPECT_EQ(row, expectedRow);
        EXPECT_EQ(lines, static_cast<std::int64_t>(row)) << row;
        EXPECT_EQ(language, row % 129 == 5 ? "Ul" : "") << row;
        ++expectedRow;
    }
    EXPECT_EQ(streamed.totals.ntl, kept.totals.ntl);
    EXPECT_TRUE(streamed.counts.empty());
    EXPECT_TRUE(streamed.counted.empty());
    ASSERT_EQ(kept.languages.size(), 700u);
    EXPECT_EQ(kept.languages[5], "Ul");
}

namespace {

// Files whose Path() holds threads back at chosen moments, to replay one interleaving: a worker takes
// a row the run counts itself (a user language's) and stores it late, after another worker stored the
// row a whole window further on, into the same slot.
class LateWorkerFiles final : public RunFiles {
public:
    LateWorkerFiles(std::vector<std::string> paths, std::size_t late, std::size_t window)
        : m_paths(std::move(paths)), m_late(late), m_later(late + window) {}
    std::size_t size() const override { return m_paths.size(); }
    std::string Extension(std::size_t row) const override { return std::string(PathExtension(m_paths[row])); }
    std::string Path(std::size_t row) const override {
        const bool worker = std::this_thread::get_id() != m_runThread;
        if (worker && row == m_later) Signal(m_laterClaimed);
        if (worker && row == m_late) {
            // Held until another worker has the later row, and long enough for it to store it.
            Await(m_laterClaimed);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            Signal(m_lateDone);
        }
        // The run goes slowly up to the later row, so that workers claim the rows before it.
        if (!worker && row < m_later) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!worker && row == m_later) {
            // The run takes the later row only after the late worker had time to store its row.
            Await(m_lateDone);
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return m_paths[row];
    }

private:
    void Signal(bool& flag) const {
        std::lock_guard lock(m_mutex);
        flag = true;
        m_changed.notify_all();
    }
    // Waits for `flag`, or two seconds: an interleaving that did not come about must not hang the test.
    void Await(const bool& flag) const {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(2), [&] { return flag; });
    }

    std::vector<std::string> m_paths;
    std::size_t m_late, m_later;
    std::thread::id m_runThread = std::this_thread::get_id();
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    mutable bool m_laterClaimed = false, m_lateDone = false;
};

}  // namespace

TEST_F(CountRunTest, AWorkersLateRowNeverTakesTheSlotOfARowAWindowFurtherOn) {
    // Three jobs keep 192 rows ahead; row 10 is a user language's, which the run counts itself.
    constexpr std::size_t kWindow = 3 * 64, kLate = 10;
    std::vector<std::string> paths;
    for (std::size_t i = 0; i < kLate + kWindow + 20; ++i) {
        std::string text;
        for (std::size_t k = 0; k <= i % 5; ++k) text += "x;\n";
        paths.push_back(Write(std::string("f").append(std::to_string(i)).append(i == kLate ? ".ul" : ".c"), text));
    }
    const UlLanguage ul;
    RowRecorder one, three;
    CountLineT(ListedFiles(paths), m_options, m_canc, one, 1, &ul, false);
    // Before the mend, the run waited for ever at row kLate + kWindow.
    CountLineT(LateWorkerFiles(paths, kLate, kWindow), m_options, m_canc, three, 3, &ul, false);
    EXPECT_EQ(three.rows, one.rows);
}
