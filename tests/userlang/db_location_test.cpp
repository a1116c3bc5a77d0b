// Where the database is looked for: beside the program, else the user's data folder.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include "platform/system.h"

#include "userlang/db_location.h"

using namespace kordel::userlang;
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
    void SetUp() override {
        m_dir = fs::temp_directory_path() / ("kordel_loc_" + std::to_string(kordel::platform::ProcessId()));
        fs::create_directories(m_dir / "prog");
    }
    void TearDown() override { fs::remove_all(m_dir); }
    fs::path m_dir;
};

}  // namespace

TEST_P(DbLocationTest, Chooses) {
    const LocationCase& c = GetParam();
    if (c.fileBesideProgram) std::ofstream(m_dir / "prog" / kDbFileName) << "";
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

TEST(DbPaths, ReadOnlyDefaultIsReadUntilTheFirstChangeGoesToTheUsersCopy) {
    const fs::path dir = fs::temp_directory_path() / ("kordel_paths_" + std::to_string(kordel::platform::ProcessId()));
    fs::create_directories(dir / "usr" / "bin");
    fs::create_directories(dir / "usr" / "share" / "kordel");
    std::ofstream(dir / "usr" / "share" / "kordel" / kDbFileName) << "";
    DbEnvironment env;
    env.programFolder = dir / "usr" / "bin";
    env.userDataFolder = dir / "home" / ".local" / "share";
    env.isWritableFolder = [](const fs::path&) { return false; };
    const fs::path user = dir / "home" / ".local" / "share" / "kordel" / kDbFileName;
    DbPaths paths = UDLangDbPaths(env);
    EXPECT_EQ(paths.read, dir / "usr" / "share" / "kordel" / kDbFileName);
    EXPECT_EQ(paths.write, user);
    fs::create_directories(user.parent_path());
    std::ofstream(user) << "";
    paths = UDLangDbPaths(env);
    EXPECT_EQ(paths.read, user);
    EXPECT_EQ(paths.write, user);
    fs::remove_all(dir);
}

TEST(DbPaths, AnInstalledProgramRunByRootIsNoPortableCopy) {
    // Root can write the program folder; the installed program still reads its language pack and
    // saves a change to the user's copy, never to a file beside the program.
    const fs::path dir = fs::temp_directory_path() / ("kordel_root_" + std::to_string(::getpid()));
    fs::create_directories(dir / "usr" / "bin");
    fs::create_directories(dir / "usr" / "share" / "kordel");
    std::ofstream(dir / "usr" / "share" / "kordel" / kDbFileName) << "";
    std::ofstream(dir / "usr" / "bin" / kDbFileName) << "";  // a stray file beside it is ignored
    DbEnvironment env;
    env.programFolder = dir / "usr" / "bin";
    env.userDataFolder = dir / "root" / ".local" / "share";
    env.isWritableFolder = [](const fs::path&) { return true; };
    const fs::path user = dir / "root" / ".local" / "share" / "kordel" / kDbFileName;
    DbPaths paths = UDLangDbPaths(env);
    EXPECT_EQ(paths.read, dir / "usr" / "share" / "kordel" / kDbFileName);
    EXPECT_EQ(paths.write, user);
    env.userDataFolder.reset();  // no home: the pack is read and written in place
    EXPECT_EQ(UDLangDbPaths(env).read, dir / "usr" / "share" / "kordel" / kDbFileName);
    // A copy unpacked anywhere else with a writable folder keeps its own file.
    env.programFolder = dir / "portable";
    fs::create_directories(env.programFolder);
    env.userDataFolder = dir / "root" / ".local" / "share";
    EXPECT_EQ(UDLangDbPaths(env).write, env.programFolder / kDbFileName);
    fs::remove_all(dir);
}
