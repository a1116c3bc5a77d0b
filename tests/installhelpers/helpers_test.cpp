// The helpers' jobs over a scripted key store, temporary folders and injected file failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iterator>
#include <map>
#include <new>
#include <sstream>
#include <stdexcept>
#include <utility>
#include <vector>

#include "installhelpers/core/helpers.h"
#include "tests/support/faulty_file_ops.h"
#include "tests/support/files.h"

using namespace kordel;
using namespace kordel::installcore;
using test_support::FailAt;
using test_support::FaultyFileOps;
using test_support::ReadBytes;
using test_support::WriteBytes;
namespace fs = std::filesystem;

namespace {

class ScriptedKeys final : public UninstallKeys {
public:
    void Set(std::string_view key, std::string_view name, std::string value) {
        m_values[{std::string(key), std::string(name)}] = std::move(value);
    }
    std::string Read(std::string_view key, std::string_view name) override {
        auto found = m_values.find({std::string(key), std::string(name)});
        return found == m_values.end() ? std::string() : found->second;
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> m_values;
};

class FixedTempFolder final : public TempFolder {
public:
    std::string Path() override { return m_path; }
    std::string m_path;
};

class RecordingStarter final : public ProgramStarter {
public:
    bool RunAndWait(const Command& command) override {
        m_runs.push_back(command);
        if (m_onRun) m_onRun();
        return m_starts;
    }
    std::vector<Command> m_runs;
    std::function<void()> m_onRun;
    bool m_starts = true;
};

// `"path" arguments`, as setup programs write uninstall commands.
std::string QuotedCommand(const fs::path& program, std::string_view arguments) {
    std::string command(1, '"');
    command += program.string();
    command += "\" ";
    command += arguments;
    return command;
}

const std::string kEarlierDb = "Foo\r\n.foo\r\n#\r\n(*\r\n*)\r\n\r\n";
const std::string kCurrentDb = "Foo\r\n.foo\r\n#\r\n0\r\n(*\r\n0\r\n*)\r\nNo\r\n";

class Helpers : public testing::Test {
protected:
    void SetUp() override {
        for (const fs::path& dir : {Earlier(), Current(), Temp()}) fs::create_directories(dir);
        m_temp.m_path = Temp().string();
        // The earlier setup writes the folder with its trailing separator, the current one a quoted command.
        m_keys.Set(kEarlierKey, "InstallLocation", Earlier().string() + "/");
        m_keys.Set(kCurrentKey, "UninstallString", QuotedCommand(Current() / "unins000.exe", "/x"));
    }

    fs::path Earlier() const { return m_root / "old install"; }
    fs::path Current() const { return m_root / "new install"; }
    fs::path Temp() const { return m_root / "temp"; }
    std::size_t FilesIn(const fs::path& dir) const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
    }

    test_support::TempDir m_temp_root{"helpers"};
    fs::path m_root = m_temp_root.path();
    ScriptedKeys m_keys;
    FixedTempFolder m_temp;
    std::ostringstream m_why;
};

}  // namespace

TEST_F(Helpers, SaveCopiesTheEarlierDatabaseOverAnOldCopy) {
    WriteBytes(Earlier() / "udlangdb.ini", kEarlierDb);
    WriteBytes(Temp() / "udlangdb.ini", "stale");
    EXPECT_EQ(SaveDatabase(m_keys, m_temp, m_why), Outcome::Done);
    EXPECT_EQ(ReadBytes(Temp() / "udlangdb.ini"), kEarlierDb);
    EXPECT_EQ(ReadBytes(Earlier() / "udlangdb.ini"), kEarlierDb);
}

TEST_F(Helpers, SaveWithoutDatabaseOrLocationCreatesNothing) {
    EXPECT_EQ(SaveDatabase(m_keys, m_temp, m_why), Outcome::NothingToDo);
    EXPECT_EQ(FilesIn(Temp()), 0u);
    ScriptedKeys none;
    EXPECT_EQ(SaveDatabase(none, m_temp, m_why), Outcome::NothingToDo);
    EXPECT_EQ(FilesIn(Temp()), 0u);
}

// An earlier key without InstallLocation: its uninstaller's folder is the installation's, so the
// database is saved before the uninstaller runs; an uninstaller without a folder is not run at all.
TEST_F(Helpers, WithoutInstallLocationTheUninstallersFolderIsTheEarlierOne) {
    WriteBytes(Earlier() / "udlangdb.ini", kEarlierDb);
    ScriptedKeys keys;
    keys.Set(kEarlierKey, "QuietUninstallString", QuotedCommand(Earlier() / "unins000.exe", "/VERYSILENT"));
    EXPECT_EQ(SaveDatabase(keys, m_temp, m_why), Outcome::Done);
    EXPECT_EQ(ReadBytes(Temp() / "udlangdb.ini"), kEarlierDb);
    RecordingStarter uninstaller;
    EXPECT_EQ(RunQuietUninstall(keys, m_temp, uninstaller, m_why), Outcome::Done);
    EXPECT_EQ(uninstaller.m_runs.size(), 1u);

    ScriptedKeys nowhere;
    nowhere.Set(kEarlierKey, "QuietUninstallString", "unins000.exe /VERYSILENT");
    EXPECT_EQ(RunQuietUninstall(nowhere, m_temp, uninstaller, m_why), Outcome::Refused);
    EXPECT_EQ(uninstaller.m_runs.size(), 1u);
    EXPECT_NE(m_why.str().find("no folder is known"), std::string::npos) << m_why.str();
}

TEST_F(Helpers, RestoreMovesTheCopyAndASecondRunChangesNothing) {
    WriteBytes(Temp() / "udlangdb.ini", kEarlierDb);
    EXPECT_EQ(RestoreDatabase(m_keys, m_temp, m_why), Outcome::Done);
    EXPECT_EQ(ReadBytes(Current() / "udlangdb.ini"), kEarlierDb);
    EXPECT_FALSE(fs::exists(Temp() / "udlangdb.ini"));

    WriteBytes(Current() / "udlangdb.ini", kCurrentDb);
    EXPECT_EQ(RestoreDatabase(m_keys, m_temp, m_why), Outcome::NothingToDo);
    EXPECT_EQ(ReadBytes(Current() / "udlangdb.ini"), kCurrentDb);
}

TEST_F(Helpers, FailedRestoreKeepsTheTemporaryCopy) {
    WriteBytes(Temp() / "udlangdb.ini", kEarlierDb);
    WriteBytes(Current() / "udlangdb.ini", kCurrentDb);
    FaultyFileOps failing(FailAt::EveryWrite);
    EXPECT_EQ(RestoreDatabase(m_keys, m_temp, m_why, failing), Outcome::Failed);
    EXPECT_TRUE(m_why.str().starts_with("could not write a copy beside " + (Current() / "udlangdb.ini").string() + ": "))
        << m_why.str();
    EXPECT_EQ(ReadBytes(Temp() / "udlangdb.ini"), kEarlierDb);
    EXPECT_EQ(ReadBytes(Current() / "udlangdb.ini"), kCurrentDb);
    EXPECT_EQ(FilesIn(Current()), 1u);  // no work file left behind
}

// Files named "udlangdb.KIND-*.ini" in `dir`, by name.
std::vector<fs::path> KeptBeside(const fs::path& dir, std::string_view kind) {
    std::vector<fs::path> found;
    const std::string prefix = "udlangdb." + std::string(kind) + "-";
    for (const auto& entry : fs::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (name.starts_with(prefix) && name.ends_with(".ini") && name.size() == prefix.size() + 12)
            found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    return found;
}

// Moves a file's modification time a day back.
void MakeOlder(const fs::path& file) { fs::last_write_time(file, fs::last_write_time(file) - std::chrono::hours(24)); }

// A saved database and a different current one: the later written is used, the other kept beside
// it under a name of its own, and the helper says which is which. Equal ones need no copy.
TEST_F(Helpers, RestoreNeverPutsAnOlderDatabaseOverANewerOneAndKeepsBoth) {
    const fs::path target = Current() / "udlangdb.ini";
    const fs::path saved = Temp() / "udlangdb.ini";
    WriteBytes(saved, kEarlierDb);
    MakeOlder(saved);
    WriteBytes(target, kCurrentDb);
    EXPECT_EQ(RestoreDatabase(m_keys, m_temp, m_why), Outcome::Done);
    EXPECT_EQ(ReadBytes(target), kCurrentDb);
    auto earlier = KeptBeside(Current(), "earlier");
    ASSERT_EQ(earlier.size(), 1u);
    EXPECT_EQ(ReadBytes(earlier[0]), kEarlierDb);
    EXPECT_FALSE(fs::exists(saved));
    EXPECT_EQ(m_why.str(), "kept the newer languages in " + target.string() +
                               "; the older ones saved from the earlier installation are " + earlier[0].string() + "\n");

    // The same again: a second copy of its own, the first one untouched.
    WriteBytes(saved, kEarlierDb + "Bar\r\n.bar\r\n#\r\n\r\n\r\n\r\n");
    MakeOlder(saved);
    EXPECT_EQ(RestoreDatabase(m_keys, m_temp, m_why), Outcome::Done);
    EXPECT_EQ(KeptBeside(Current(), "earlier").size(), 2u);
    EXPECT_EQ(ReadBytes(earlier[0]), kEarlierDb);

    // A saved database written later than the current one replaces it; the current one is kept.
    m_why.str("");
    const std::string newer = kEarlierDb + "New\r\n.new\r\n#\r\n\r\n\r\n\r\n";
    WriteBytes(saved, newer);
    MakeOlder(target);
    EXPECT_EQ(RestoreDatabase(m_keys, m_temp, m_why), Outcome::Done);
    EXPECT_EQ(ReadBytes(target), newer);
    const auto replaced = KeptBeside(Current(), "replaced");
    ASSERT_EQ(replaced.size(), 1u);
    EXPECT_EQ(ReadBytes(replaced[0]), kCurrentDb);
    EXPECT_FALSE(fs::exists(saved));
    EXPECT_NE(m_why.str().find("the older ones that were there are now " + replaced[0].string()), std::string::npos)
        << m_why.str();

    // Equal content: the saved copy goes, nothing is added.
    WriteBytes(saved, newer);
    EXPECT_EQ(RestoreDatabase(m_keys, m_temp, m_why), Outcome::Done);
    EXPECT_FALSE(fs::exists(saved));
    EXPECT_EQ(FilesIn(Current()), 4u);
}

// udsave keeps the earlier database's time on its copy: a database the new installation already
// holds, written after it, stays in place.
TEST_F(Helpers, SavedCopyKeepsItsTimeSoANewerCurrentDatabaseStays) {
    WriteBytes(Earlier() / "udlangdb.ini", kEarlierDb);
    MakeOlder(Earlier() / "udlangdb.ini");
    WriteBytes(Current() / "udlangdb.ini", kCurrentDb);
    EXPECT_EQ(SaveDatabase(m_keys, m_temp, m_why), Outcome::Done);
    EXPECT_EQ(RestoreDatabase(m_keys, m_temp, m_why), Outcome::Done);
    EXPECT_EQ(ReadBytes(Current() / "udlangdb.ini"), kCurrentDb);
    ASSERT_EQ(KeptBeside(Current(), "earlier").size(), 1u);
    EXPECT_EQ(ReadBytes(KeptBeside(Current(), "earlier")[0]), kEarlierDb);
}

// A restore between two databases that fails at any step changes neither and keeps the saved copy.
TEST_F(Helpers, FailedRestoreBetweenTwoDatabasesChangesNothing) {
    const fs::path target = Current() / "udlangdb.ini";
    const fs::path saved = Temp() / "udlangdb.ini";
    for (const bool savedIsNewer : {false, true}) {
        for (const FailAt at : {FailAt::Open, FailAt::Write, FailAt::Close, FailAt::Rename}) {
            WriteBytes(target, kCurrentDb);
            WriteBytes(saved, kEarlierDb);
            MakeOlder(savedIsNewer ? target : saved);
            FaultyFileOps failing(at);
            const Outcome outcome = RestoreDatabase(m_keys, m_temp, m_why, failing);
            // Only the replacement is renamed: a rename failure can stop only the newer saved one.
            if (at == FailAt::Rename && !savedIsNewer) {
                EXPECT_EQ(outcome, Outcome::Done);
                fs::remove(KeptBeside(Current(), "earlier").at(0));
                continue;
            }
            EXPECT_EQ(outcome, Outcome::Failed) << static_cast<int>(at) << savedIsNewer;
            EXPECT_EQ(ReadBytes(target), kCurrentDb);
            EXPECT_EQ(ReadBytes(saved), kEarlierDb);
            EXPECT_EQ(FilesIn(Current()), 1u) << static_cast<int>(at) << savedIsNewer;
            EXPECT_NE(m_why.str().find("nothing was changed; " + saved.string() + " was kept\n"), std::string::npos);
        }
    }
}

TEST_F(Helpers, RestoreWithoutUninstallStringKeepsTheCopy) {
    WriteBytes(Temp() / "udlangdb.ini", kEarlierDb);
    m_keys.Set(kCurrentKey, "UninstallString", "unins000.exe");  // no folder in it
    EXPECT_EQ(RestoreDatabase(m_keys, m_temp, m_why), Outcome::Failed);
    EXPECT_EQ(ReadBytes(Temp() / "udlangdb.ini"), kEarlierDb);
    EXPECT_EQ(m_why.str(), "the current installation's uninstall key names no folder; " +
                               (Temp() / "udlangdb.ini").string() + " was kept\n");
}

TEST_F(Helpers, MigrateConvertsOnceAndLeavesOtherFilesAlone) {
    WriteBytes(Current() / "udlangdb.ini", kEarlierDb);
    EXPECT_EQ(MigrateDatabase(m_keys, m_why), Outcome::Done);
    EXPECT_EQ(ReadBytes(Current() / "udlangdb.ini"), kCurrentDb);
    EXPECT_EQ(MigrateDatabase(m_keys, m_why), Outcome::NothingToDo);
    EXPECT_EQ(ReadBytes(Current() / "udlangdb.ini"), kCurrentDb);
    EXPECT_EQ(FilesIn(Current()), 1u);

    WriteBytes(Current() / "udlangdb.ini", "");
    EXPECT_EQ(MigrateDatabase(m_keys, m_why), Outcome::NothingToDo);
    EXPECT_EQ(ReadBytes(Current() / "udlangdb.ini"), "");
}

TEST_F(Helpers, FailedMigrationKeepsTheOriginal) {
    WriteBytes(Current() / "udlangdb.ini", kEarlierDb);
    FaultyFileOps failing(FailAt::EveryWrite);
    EXPECT_EQ(MigrateDatabase(m_keys, m_why, failing), Outcome::Failed);
    EXPECT_EQ(ReadBytes(Current() / "udlangdb.ini"), kEarlierDb);
    EXPECT_EQ(FilesIn(Current()), 1u);
}

TEST_F(Helpers, MigrateWithoutDatabaseDoesNothing) {
    EXPECT_EQ(MigrateDatabase(m_keys, m_why), Outcome::NothingToDo);
    EXPECT_EQ(FilesIn(Current()), 0u);
}

TEST_F(Helpers, QuietUninstallStartsTheProgramWithItsArgumentsOrNothing) {
    RecordingStarter starter;
    EXPECT_EQ(RunQuietUninstall(m_keys, m_temp, starter, m_why), Outcome::NothingToDo);
    m_keys.Set(kEarlierKey, "QuietUninstallString", "  ");
    EXPECT_EQ(RunQuietUninstall(m_keys, m_temp, starter, m_why), Outcome::NothingToDo);
    EXPECT_TRUE(starter.m_runs.empty());

    m_keys.Set(kEarlierKey, "QuietUninstallString", "\"C:\\Old Kordel\\unins000.exe\" /VERYSILENT & del x");
    EXPECT_EQ(RunQuietUninstall(m_keys, m_temp, starter, m_why), Outcome::Done);
    ASSERT_EQ(starter.m_runs.size(), 1u);
    EXPECT_EQ(starter.m_runs[0].program, "C:\\Old Kordel\\unins000.exe");
    EXPECT_EQ(starter.m_runs[0].arguments, "/VERYSILENT & del x");

    starter.m_starts = false;
    EXPECT_EQ(RunQuietUninstall(m_keys, m_temp, starter, m_why), Outcome::Failed);
}

TEST_F(Helpers, InstallersOrderCarriesTheDatabaseAcross) {
    WriteBytes(Earlier() / "udlangdb.ini", kEarlierDb);
    m_keys.Set(kEarlierKey, "QuietUninstallString", QuotedCommand(Earlier() / "unins000.exe", "/SILENT"));
    RecordingStarter uninstaller;
    uninstaller.m_onRun = [this] { fs::remove_all(Earlier()); };

    EXPECT_EQ(SaveDatabase(m_keys, m_temp, m_why), Outcome::Done);
    EXPECT_EQ(RunQuietUninstall(m_keys, m_temp, uninstaller, m_why), Outcome::Done);
    EXPECT_EQ(RestoreDatabase(m_keys, m_temp, m_why), Outcome::Done);
    EXPECT_EQ(MigrateDatabase(m_keys, m_why), Outcome::Done);
    EXPECT_EQ(m_why.str(), "");  // only failures say anything

    EXPECT_FALSE(fs::exists(Earlier()));
    EXPECT_EQ(ReadBytes(Current() / "udlangdb.ini"), kCurrentDb);
    EXPECT_EQ(FilesIn(Temp()), 0u);
}

TEST_F(Helpers, WithoutAWritableTemporaryFolderTheEarlierDatabaseIsNeverUninstalled) {
    WriteBytes(Earlier() / "udlangdb.ini", kEarlierDb);
    m_keys.Set(kEarlierKey, "QuietUninstallString", QuotedCommand(Earlier() / "unins000.exe", "/SILENT"));
    RecordingStarter uninstaller;
    uninstaller.m_onRun = [this] { fs::remove_all(Earlier()); };
    FaultyFileOps readOnly(FailAt::EveryWrite);
    FixedTempFolder missing;
    missing.m_path = (Temp() / "gone").string();
    FixedTempFolder none;  // no temporary folder at all
    for (auto [temp, ops] : {std::pair<TempFolder*, FileOps*>{&m_temp, &readOnly}, {&missing, &RealFileOps()},
                             {&none, &RealFileOps()}}) {
        EXPECT_EQ(SaveDatabase(m_keys, *temp, m_why, *ops), Outcome::Failed);
        EXPECT_NE(ExitStatus(Outcome::Failed), 0);
        EXPECT_EQ(RunQuietUninstall(m_keys, *temp, uninstaller, m_why), Outcome::Refused);
        EXPECT_NE(ExitStatus(Outcome::Refused), 0);
        EXPECT_NE(m_why.str().find("so the earlier uninstaller was not started\n"), std::string::npos) << m_why.str();
        m_why.str("");
        EXPECT_TRUE(uninstaller.m_runs.empty());
        EXPECT_EQ(ReadBytes(Earlier() / "udlangdb.ini"), kEarlierDb);
    }
    EXPECT_EQ(FilesIn(Temp()), 0u);
}

TEST_F(Helpers, QuietUninstallRunsOnlyOverAnIdenticalCopyOrNoDatabase) {
    m_keys.Set(kEarlierKey, "QuietUninstallString", QuotedCommand(Earlier() / "unins000.exe", "/SILENT"));
    RecordingStarter uninstaller;
    EXPECT_EQ(RunQuietUninstall(m_keys, m_temp, uninstaller, m_why), Outcome::Done);  // no database to lose
    WriteBytes(Earlier() / "udlangdb.ini", kEarlierDb);
    WriteBytes(Temp() / "udlangdb.ini", kEarlierDb.substr(0, kEarlierDb.size() - 2));  // a cut copy
    EXPECT_EQ(RunQuietUninstall(m_keys, m_temp, uninstaller, m_why), Outcome::Refused);
    EXPECT_EQ(uninstaller.m_runs.size(), 1u);
    EXPECT_EQ(SaveDatabase(m_keys, m_temp, m_why), Outcome::Done);
    EXPECT_EQ(RunQuietUninstall(m_keys, m_temp, uninstaller, m_why), Outcome::Done);
    EXPECT_EQ(uninstaller.m_runs.size(), 2u);
}

TEST_F(Helpers, MigrateConvertsEveryEarlierFileAndNoCurrentOne) {
    struct Case {
        std::string before;
        std::string after;  // empty: left untouched
        Outcome outcome;
    };
    const std::string trailing = "Foo\r\n.foo\r\n#\r\n(*\r\n*)\r\n\r\n\r\n\r\n";
    const std::string noLeadingDot = "Asm\r\n*.asm;*.inc\r\n;\r\n\r\n\r\n\r\nFoo\r\nfoo;.fo\r\n#\r\n(*\r\n*)\r\n\r\n";
    const std::vector<Case> cases{
        {trailing, kCurrentDb, Outcome::Done},
        {noLeadingDot,
         "Asm\r\n*.asm;*.inc\r\n;\r\n0\r\n\r\n0\r\n\r\nNo\r\nFoo\r\nfoo;.fo\r\n#\r\n0\r\n(*\r\n0\r\n*)\r\nNo\r\n",
         Outcome::Done},
        {kCurrentDb + "\r\n\r\n", "", Outcome::NothingToDo},
        {"Asm\r\nasm\r\n;\r\n1\r\n\r\n0\r\n\r\nYes\r\n" + kCurrentDb, "", Outcome::NothingToDo},
        {"\r\n\r\n", "", Outcome::NothingToDo},
        // Records without an extension are converted with the others, and named.
        {"Osc\r\nosc\r\n;\r\n\r\n\r\n\r\nFoo\r\n.foo\r\n#\r\n(*\r\n*)\r\n\r\nNone\r\n\r\n;\r\n\r\n\r\n\r\n",
         "Osc\r\nosc\r\n;\r\n0\r\n\r\n0\r\n\r\nNo\r\nFoo\r\n.foo\r\n#\r\n0\r\n(*\r\n0\r\n*)\r\nNo\r\n"
         "None\r\n\r\n;\r\n0\r\n\r\n0\r\n\r\nNo\r\n",
         Outcome::Done},
        // Neither layout: converting it would shift its lines into other fields.
        {"Foo\r\n.foo\r\n#\r\nx\r\n(*\r\n0\r\n*)\r\nNo\r\nBar\r\n.bar\r\n", "", Outcome::Refused},
    };
    for (const Case& c : cases) {
        WriteBytes(Current() / "udlangdb.ini", c.before);
        m_why.str("");
        EXPECT_EQ(MigrateDatabase(m_keys, m_why), c.outcome) << c.before;
        const bool named = c.before.starts_with("Osc");
        EXPECT_EQ(m_why.str().empty(), c.outcome != Outcome::Refused && !named) << m_why.str();
        if (named) {
            EXPECT_NE(m_why.str().find("\"Osc\""), std::string::npos) << m_why.str();
            EXPECT_NE(m_why.str().find("\"None\""), std::string::npos) << m_why.str();
        }
        EXPECT_EQ(ReadBytes(Current() / "udlangdb.ini"), c.after.empty() ? c.before : c.after) << c.before;
        // A converted file is current: a second run leaves it alone.
        if (c.outcome == Outcome::Done) {
            EXPECT_EQ(MigrateDatabase(m_keys, m_why), Outcome::NothingToDo);
        }
    }
    EXPECT_EQ(FilesIn(Current()), 1u);
}

// A job that throws never ends the helper through std::terminate: it says so and exits 2, which the
// installer takes for a failure like any other non-zero status.
TEST(HelperMain, AnExceptionGivesAMessageAndStatusTwo) {
    std::ostringstream err;
    EXPECT_EQ(RunHelper("udsave", [](std::ostream&) { return Outcome::NothingToDo; }, err), 0);
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(RunHelper("udmigrate", [](std::ostream&) -> Outcome { throw std::runtime_error("disk gone"); }, err), 2);
    EXPECT_EQ(RunHelper("udrestore", [](std::ostream&) -> Outcome { throw std::bad_alloc(); }, err), 2);
    EXPECT_EQ(RunHelper("quietuninst", [](std::ostream&) -> Outcome { throw 7; }, err), 2);
    EXPECT_EQ(err.str(), "udmigrate: stopped by an unexpected error: disk gone\n"
                         "udrestore: stopped by an unexpected error: std::bad_alloc\n"
                         "quietuninst: stopped by an unexpected error\n");
}

// What a job says of its failure reaches standard error a line each, under the helper's name, even
// when the job throws after saying it.
TEST(HelperMain, AFailureSaysWhyUnderTheHelpersName) {
    std::ostringstream err;
    const auto failing = [](std::ostream& why) {
        why << "could not read C:\\old\\udlangdb.ini: Access denied.\nsecond line\n";
        return Outcome::Failed;
    };
    EXPECT_EQ(RunHelper("udsave", failing, err), 1);
    const auto throwing = [](std::ostream& why) -> Outcome {
        why << "could not write x\n";
        throw std::runtime_error("disk gone");
    };
    EXPECT_EQ(RunHelper("udrestore", throwing, err), 2);
    EXPECT_EQ(err.str(), "udsave: could not read C:\\old\\udlangdb.ini: Access denied.\n"
                         "udsave: second line\n"
                         "udrestore: could not write x\n"
                         "udrestore: stopped by an unexpected error: disk gone\n");
}
