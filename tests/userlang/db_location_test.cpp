// Where the database is looked for: beside the program, else the user's data folder.
#include <filesystem>

#include <gtest/gtest.h>

#include "tests/support/files.h"
#include "userlang/db_location.h"

using namespace kordel::userlang;
using namespace test_support;
namespace fs = std::filesystem;

namespace {

struct LocationCase {
    const char* name;
    bool fileBesideProgram;
    bool programFolderWritable;
    std::optional<std::string> userData;
    std::string expected;  ///< relative to the test folder; "prog" is the program folder
};

class DbLocationTest : public ::testing::TestWithParam<LocationCase> {
protected:
    void SetUp() override { fs::create_directories(m_dir / "prog"); }
    TempDir m_temp{"loc"};
    fs::path m_dir = m_temp.path();
};

}  // namespace

TEST_P(DbLocationTest, Chooses) {
    const LocationCase& c = GetParam();
    if (c.fileBesideProgram) m_temp.Write(fs::path("prog") / kDbFileName, "");
    DbEnvironment env;
    env.programFolder = m_dir / "prog";
    if (c.userData) env.userDataFolder = *c.userData;
    env.isWritableFolder = [&](const fs::path&) { return c.programFolderWritable; };
    EXPECT_EQ(UDLangDbPath(env), c.expected.front() == '/' ? fs::path(c.expected) : m_dir / c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DbLocationTest,
    ::testing::Values(
        LocationCase{"FileBesideReadOnlyProgram", true, false, "/data", "prog/udlangdb.ini"},
        LocationCase{"WritableProgramFolder", false, true, "/data", "prog/udlangdb.ini"},
        LocationCase{"UserDataFolder", false, false, "/data", "/data/kordel/udlangdb.ini"},
        LocationCase{"NoHomeAtAll", false, false, std::nullopt, "prog/udlangdb.ini"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DbPaths, AnInstalledProgramReadsOnlyTheUsersOwnDatabase) {
    const TempDir temp("paths");
    const fs::path dir = temp.path();
    fs::create_directories(dir / "usr" / "bin");
    temp.Write(fs::path("usr") / "share" / "kordel" / kDbFileName, "");
    DbEnvironment env;
    env.programFolder = dir / "usr" / "bin";
    env.userDataFolder = dir / "home" / ".local" / "share";
    env.isWritableFolder = [](const fs::path&) { return false; };
    const fs::path user = dir / "home" / ".local" / "share" / "kordel" / kDbFileName;
    // A database an earlier installation left in share/kordel is not read.
    DbPaths paths = UDLangDbPaths(env);
    EXPECT_EQ(paths.read, user);
    EXPECT_EQ(paths.write, user);
    ASSERT_TRUE(WriteBytes(user, ""));
    paths = UDLangDbPaths(env);
    EXPECT_EQ(paths.read, user);
    EXPECT_EQ(paths.write, user);
}

TEST(DbPaths, AnInstalledProgramRunByRootIsNoPortableCopy) {
    // Root can write the program folder; the installed program still reads and saves the user's copy,
    // never a file beside the program.
    const TempDir temp("root");
    const fs::path dir = temp.path();
    temp.Write(fs::path("usr") / "share" / "kordel" / kDbFileName, "");
    temp.Write(fs::path("usr") / "bin" / kDbFileName, "");  // a stray file beside it is ignored
    DbEnvironment env;
    env.programFolder = dir / "usr" / "bin";
    env.userDataFolder = dir / "root" / ".local" / "share";
    env.isWritableFolder = [](const fs::path&) { return true; };
    const fs::path user = dir / "root" / ".local" / "share" / "kordel" / kDbFileName;
    DbPaths paths = UDLangDbPaths(env);
    EXPECT_EQ(paths.read, user);
    EXPECT_EQ(paths.write, user);
    env.userDataFolder.reset();  // no home: the installation's folder is the only place left
    EXPECT_EQ(UDLangDbPaths(env).read, dir / "usr" / "share" / "kordel" / kDbFileName);
    // A copy unpacked anywhere else with a writable folder keeps its own file.
    env.programFolder = dir / "portable";
    fs::create_directories(env.programFolder);
    env.userDataFolder = dir / "root" / ".local" / "share";
    EXPECT_EQ(UDLangDbPaths(env).write, env.programFolder / kDbFileName);
}
