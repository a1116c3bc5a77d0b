// The count run with a user language database: counted rows, the built-in table first, the prompt.
#include <filesystem>
#include <map>

#include <gtest/gtest.h>

#include "engine/count_run.h"
#include "tests/support/files.h"
#include "tests/support/scripted_observer.h"
#include "userlang/custom_counter.h"

using namespace kordel::engine;
using Recorder = test_support::ScriptedObserver;
using kordel::userlang::DatabaseLanguages;
namespace fs = std::filesystem;

namespace {


class CustomRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        // ".c" here never wins over the built-in table; ".lst" is a user language with ";" comments.
        Write("udlangdb.ini", "Fake C\r\n.c\r\n;\r\n0\r\n\r\n0\r\n\r\nNo\r\n"
                              "Listing\r\n.lst;.LOG\r\n;\r\n0\r\n<\r\n0\r\n>\r\nNo\r\n");
    }
    std::string Write(const std::string& name, const std::string& text) { return m_temp.Write(name, text).string(); }
    RunResult Run(const std::vector<std::string>& paths, Recorder& obs, unsigned jobs = 1) {
        const DatabaseLanguages db(m_dir / "udlangdb.ini");
        return CountLineT(paths, m_options, m_canc, obs, jobs, &db);
    }
    test_support::TempDir m_temp{"crun"};
    fs::path m_dir = m_temp.path();
    std::atomic<int> m_canc{0};
    CountOptions m_options;
};

}  // namespace

TEST_F(CustomRunTest, UserLanguageCountsAndBuiltinTableWins) {
    for (const unsigned jobs : {1u, 3u}) {
        const std::vector<std::string> paths{Write("a.lst", "; note\nx ; y\n< a\nb >\n\n"), Write("b.c", "; x\n// y\n"),
                                             Write("c.log", "z\n")};
        Recorder obs;
        const RunResult r = Run(paths, obs, jobs);
        EXPECT_TRUE(obs.asked.empty());
        EXPECT_EQ(obs.rows[0], (std::vector<std::string>{"0", "3", "1", "1", "5"}));
        EXPECT_EQ(obs.rows[1], (std::vector<std::string>{"1", "1", "0", "0", "2"}));
        EXPECT_EQ(obs.rows[2], (std::vector<std::string>{"1", "0", "0", "0", "1"}));
        EXPECT_EQ(r.languages, (std::vector<std::string>{"Listing", "", "Listing"}));
        EXPECT_EQ(r.totals.ntl, 8);
    }
}

TEST_F(CustomRunTest, UnknownExtensionAnsweredOkSkipsOnlyThatRow) {
    const std::vector<std::string> paths{Write("a.gz", "x\n"), Write("b.lst", "x\n")};
    Recorder obs;
    const RunResult r = Run(paths, obs);
    EXPECT_EQ(obs.asked, (std::vector<std::string>{
                             "The extension .gz is unknown and could not be found in the User Defined Language "
                             "Database.  Please add this extension to the User Defined Language Database."}));
    EXPECT_EQ(obs.rows.count(0), 0u);
    EXPECT_EQ(obs.rows.count(1), 1u);
    EXPECT_EQ(r.totals.ntl, 1);
    EXPECT_EQ(obs.finished, (std::vector<std::string>{"Kordel completed in 0 seconds."}));
}

TEST_F(CustomRunTest, UnknownExtensionAnsweredCancelStopsWithTotalsSoFar) {
    const std::vector<std::string> paths{Write("a.lst", "x\n"), Write("b.xyz", "x\n"), Write("c.lst", "x\n")};
    Recorder obs;
    obs.answerUnknown = false;
    const RunResult r = Run(paths, obs);
    EXPECT_EQ(obs.rows.size(), 1u);
    ASSERT_TRUE(obs.totals);
    EXPECT_EQ(obs.totals->lines, "1");
    EXPECT_FALSE(r.cancelled);
    EXPECT_EQ(obs.finished, (std::vector<std::string>{"Kordel completed in 0 seconds."}));
}

TEST_F(CustomRunTest, WithoutDatabaseEveryOtherExtensionIsUnknown) {
    const std::vector<std::string> paths{Write("a.lst", "x\n")};
    Recorder obs;
    const DatabaseLanguages missing(m_dir / "none.ini");
    CountLineT(paths, m_options, m_canc, obs, 1, &missing);
    EXPECT_EQ(obs.asked.size(), 1u);
    Recorder noLookup;
    CountLineT(paths, m_options, m_canc, noLookup);
    EXPECT_EQ(noLookup.asked, obs.asked);
}

TEST_F(CustomRunTest, CancelInsideAUserLanguageFileStillWritesTheTotalsSoFar) {
    const std::vector<std::string> paths{Write("a.c", "x;\n"), Write("b.lst", "x\ny\n")};
    Recorder obs;
    const DatabaseLanguages db(m_dir / "udlangdb.ini");
    // Cancel as the second file starts: its row is not written, the first file's totals are shown.
    struct Late final : RunObserver {
        Recorder& r;
        std::atomic<int>& canc;
        int statuses = 0;
        Late(Recorder& rec, std::atomic<int>& c) : r(rec), canc(c) {}
        void SetStatus(const std::string& t) override {
            if (++statuses == 2) canc.store(1);
            r.SetStatus(t);
        }
        void WriteRow(std::size_t row, const std::vector<std::string>& c) override { r.WriteRow(row, c); }
        void WriteTotals(const TotalsTexts& t) override { r.WriteTotals(t); }
        void SetProgress(int p) override { r.SetProgress(p); }
        bool AskMissing(const std::string& m) override { return r.AskMissing(m); }
        bool AskOpenFailed(const std::string& m) override { return r.AskOpenFailed(m); }
        bool AskUnknownExtension(const std::string& m) override { return r.AskUnknownExtension(m); }
        void Finished(const std::string& m, bool e) override { r.Finished(m, e); }
    } late(obs, m_canc);
    const RunResult r = CountLineT(paths, m_options, m_canc, late, 1, &db);
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(obs.rows.count(1), 0u);
    ASSERT_TRUE(obs.totals);
    EXPECT_EQ(obs.totals->lines, "1");
    EXPECT_EQ(obs.finished, (std::vector<std::string>{"The process was canceled."}));
}

TEST_F(CustomRunTest, TheDatabaseIsReadOncePerRunWhateverTheNumberOfFiles) {
    std::vector<std::string> paths;
    for (int i = 0; i < 40; ++i) paths.push_back(Write(std::string("f") + std::to_string(i) + ".lst", "; note\nx\n"));
    paths.push_back(Write("g.c", "x;\n"));
    paths.push_back(Write("h.xyz", "x\n"));
    for (const unsigned jobs : {1u, 3u}) {
        int reads = 0;
        const DatabaseLanguages db(m_dir / "udlangdb.ini", [&reads](const fs::path& p) {
            ++reads;
            return kordel::userlang::ReadUDLangDb(p);
        });
        Recorder obs;
        const RunResult r = CountLineT(paths, m_options, m_canc, obs, jobs, &db);
        EXPECT_EQ(reads, 1);
        EXPECT_EQ(obs.asked.size(), 1u);  // .xyz
        EXPECT_EQ(obs.rows[39], (std::vector<std::string>{"1", "1", "0", "0", "2"}));
        EXPECT_EQ(r.totals.ntl, 40 * 2 + 1);
        // A run without user language files does not read the database at all.
        int idleReads = 0;
        const DatabaseLanguages idle(m_dir / "udlangdb.ini", [&idleReads](const fs::path& p) {
            ++idleReads;
            return kordel::userlang::ReadUDLangDb(p);
        });
        CountLineT({paths[40]}, m_options, m_canc, obs, jobs, &idle);
        EXPECT_EQ(idleReads, 0);
    }
}
