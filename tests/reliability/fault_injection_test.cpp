// Every writer, failed at every point of its atomic write: the old file stays byte for byte, the caller
// hears of the failure, and no temporary file is left beside the target.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "installhelpers/core/helpers.h"
#include "projects/project_list.h"
#include "reports/report.h"
#include "tests/support/faulty_file_ops.h"
#include "tests/support/files.h"
#include "tests/support/scripted_questions.h"
#include "ui/core/settings_store.h"
#include "userlang/udlangdb.h"

namespace fs = std::filesystem;
using namespace kordel;
using namespace test_support;

namespace {

std::vector<std::string> FolderEntries(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct FixedClock final : reports::Clock {
    reports::LocalTime Now() const override { return {2024, 5, 6, 7, 8}; }
};

/// Many rows, so that the new contents take several write pieces.
std::vector<std::string> ManyPaths(const std::string& stem, int n) {
    std::vector<std::string> rows;
    for (int i = 0; i < n; ++i) rows.push_back("/src/" + stem + "/file" + std::to_string(i) + ".c");
    return rows;
}

reports::ReportInput ManyRows(int n) {
    reports::ReportInput input;
    for (const std::string& p : ManyPaths("report", n)) input.rows.push_back({p, engine::FileCounts{1, 2, 3, 4, 10}});
    input.pn = "Reliability";
    return input;
}

std::vector<userlang::UserLanguage> ManyLanguages(const std::string& stem, int n) {
    std::vector<userlang::UserLanguage> langs;
    for (int i = 0; i < n; ++i)
        langs.push_back({stem + std::to_string(i), ".x" + std::to_string(i), "#", "0", "/*", "0", "*/", "No"});
    return langs;
}

/// A writer under test: `write` saves either the small old contents or the large new ones.
/// `reported` is set when the caller was told about a failure (a false result, and a question where the
/// writer asks one).
struct Writer {
    const char* name;
    const char* file;
    std::function<bool(const fs::path&, bool large, FileOps&, bool& reported)> write;
};

bool ViaList(const fs::path& p, bool large, FileOps& ops, bool& reported) {
    projects::ListState state;
    projects::ListSettings settings;
    ScriptedQuestions q;  // Cancel to every retry question
    const bool ok = projects::ExportProject(p, ManyPaths(large ? "new" : "old", large ? 4000 : 3), state, settings,
                                            q, ops);
    reported = !ok && q.retryWrites == 1;
    return ok;
}

template <typename Save>
std::function<bool(const fs::path&, bool, FileOps&, bool&)> ViaReport(Save save) {
    return [save](const fs::path& p, bool large, FileOps& ops, bool& reported) {
        ScriptedQuestions q;
        const bool ok = save(p, ManyRows(large ? 3000 : 2), q, ops);
        reported = !ok && q.retryWrites == 1;
        return ok;
    };
}

bool ViaDatabase(const fs::path& p, bool large, FileOps& ops, bool& reported) {
    const bool ok = userlang::WriteUDList(p, ManyLanguages(large ? "New" : "Old", large ? 4000 : 2), ops);
    reported = !ok;
    return ok;
}

bool ViaSettings(const fs::path& p, bool large, FileOps& ops, bool& reported) {
    ui::IniSettingsStore store(p, ops);
    const bool ok = store.Write("lsp", large ? std::string(200000, 'n') : "/old/list.kpl");
    reported = !ok;
    return ok;
}

// The current installation's keys, with its program in the folder of `database`.
class KeysBeside final : public installcore::UninstallKeys {
public:
    explicit KeysBeside(const fs::path& database) : m_folder(database.parent_path()) {}
    std::string Read(std::string_view key, std::string_view name) override {
        if (key != installcore::kCurrentKey || name != "UninstallString") return {};
        return "\"" + (m_folder / "unins000.exe").string() + "\" /x";
    }

private:
    fs::path m_folder;
};

// The old contents are a database in the earlier layout; the new ones are what the conversion makes of it.
bool ViaConversion(const fs::path& p, bool large, FileOps& ops, bool& reported) {
    if (!large) {
        std::string earlier;
        for (int i = 0; i < 3000; ++i) earlier += "Old" + std::to_string(i) + "\r\n.o" + std::to_string(i) + "\r\n#\r\n(*\r\n*)\r\n\r\n";
        return WriteFileAtomically(p, earlier, ops);
    }
    KeysBeside keys(p);
    std::ostringstream why;
    const installcore::Outcome outcome = installcore::MigrateDatabase(keys, why, ops);
    reported = outcome == installcore::Outcome::Failed && !why.str().empty();
    return outcome == installcore::Outcome::Done;
}

const Writer kWriters[] = {
    {"ProjectList", "list.kpl", ViaList},
    {"ReportTXT", "report.txt",
     ViaReport([](const fs::path& p, const reports::ReportInput& in, ScriptedQuestions& q, FileOps& ops) {
         return reports::SaveReport(p, in, FixedClock(), q, ops);
     })},
    {"ReportCSV", "report.csv",
     ViaReport([](const fs::path& p, const reports::ReportInput& in, ScriptedQuestions& q, FileOps& ops) {
         return reports::SaveReportCSV(p, in, q, ops);
     })},
    {"ReportHTM", "report.htm",
     ViaReport([](const fs::path& p, const reports::ReportInput& in, ScriptedQuestions& q, FileOps& ops) {
         return reports::SaveReportHTM(p, in, q, ops);
     })},
    {"Database", "udlangdb.ini", ViaDatabase},
    {"Settings", "kordel.ini", ViaSettings},
    {"HelpersConversion", "udlangdb.ini", ViaConversion},
};

class WriterFaults : public ::testing::TestWithParam<Writer> {
protected:
    TempDir temp{"faults"};
    fs::path dir = temp.path(), target = dir / GetParam().file;
};

TEST_P(WriterFaults, EveryFailurePointKeepsTheOldFile) {
    const Writer& w = GetParam();
    bool reported = false;
    FaultyFileOps plain;
    ASSERT_TRUE(w.write(target, false, plain, reported));
    const std::string old = ReadBytes(target);
    const std::vector<std::string> before = FolderEntries(dir);

    // A clean run of the large save shows how many write pieces it takes; then put it back.
    FaultyFileOps counting;
    ASSERT_TRUE(w.write(target, true, counting, reported));
    ASSERT_GE(counting.writes, 2) << "the new contents should need several pieces";
    ASSERT_NE(ReadBytes(target), old);
    ASSERT_TRUE(w.write(target, false, plain, reported));
    ASSERT_EQ(ReadBytes(target), old);

    struct Point {
        FailAt at;
        int k;
    };
    std::vector<Point> points{{FailAt::Open, 0}, {FailAt::Close, 0}, {FailAt::Rename, 0}};
    for (int k = 1; k <= counting.writes; ++k) points.push_back({FailAt::Write, k});
    for (const Point& p : points) {
        SCOPED_TRACE("failure kind " + std::to_string(static_cast<int>(p.at)) + " k=" + std::to_string(p.k));
        FaultyFileOps faulty(p.at, p.k);
        reported = false;
        EXPECT_FALSE(w.write(target, true, faulty, reported));
        EXPECT_TRUE(reported);
        EXPECT_EQ(ReadBytes(target), old);
        EXPECT_EQ(FolderEntries(dir), before);
    }
}

INSTANTIATE_TEST_SUITE_P(AllWriters, WriterFaults, ::testing::ValuesIn(kWriters),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
