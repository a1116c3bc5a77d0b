// The count run with scripted answers: rows, totals, prompts, cancel and the closing message.
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "engine/count_run.h"
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
