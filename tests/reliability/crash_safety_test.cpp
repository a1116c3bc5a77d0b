// A process killed at a random moment while it saves leaves the complete old or the complete new file.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "projects/project_list.h"
#include "tests/support/files.h"
#include "tests/support/scripted_questions.h"
#include "userlang/udlangdb.h"

namespace fs = std::filesystem;
using namespace kordel;

namespace {

std::vector<std::string> Rows(char tag, int n) {
    std::vector<std::string> rows;
    for (int i = 0; i < n; ++i) rows.push_back(std::string("/src/") + tag + "/unit" + std::to_string(i) + ".cpp");
    return rows;
}

std::vector<userlang::UserLanguage> Languages(char tag, int n) {
    std::vector<userlang::UserLanguage> langs;
    for (int i = 0; i < n; ++i) {
        const std::string number = std::to_string(i);
        langs.push_back({std::string(1, tag).append(number), std::string(".q").append(number), "--", "0", "{-", "0",
                         "-}", "No"});
    }
    return langs;
}

using SaveFn = bool (*)(const fs::path&, bool second);

bool SaveList(const fs::path& p, bool second) {
    projects::ListState state;
    projects::ListSettings settings;
    test_support::ScriptedQuestions q;
    return projects::ExportProject(p, Rows(second ? 'b' : 'a', second ? 9000 : 7000), state, settings, q);
}

bool SaveDatabase(const fs::path& p, bool second) {
    return userlang::WriteUDList(p, Languages(second ? 'B' : 'A', second ? 6000 : 5000));
}

void KillWhileSaving(const char* name, SaveFn save) {
    const test_support::TempDir dir("crash");
    const fs::path target = dir / name;

    // The two versions the file may hold.
    ASSERT_TRUE(save(target, true));
    const std::string second = test_support::ReadBytes(target);
    ASSERT_TRUE(save(target, false));
    const std::string first = test_support::ReadBytes(target);
    ASSERT_NE(first, second);

    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> micros(0, 30000);
    // A number of kills, not a time: on a busy machine each fork takes longer. The deadline only
    // keeps a stuck run from going on for ever.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int kills = 0;
    while (kills < 50 && std::chrono::steady_clock::now() < deadline) {
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            for (bool flip = true;; flip = !flip)
                if (!save(target, flip)) ::_exit(3);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(micros(rng)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself: " << status;
        ++kills;
        const std::string now = test_support::ReadBytes(target);
        ASSERT_TRUE(now == first || now == second) << "torn file after kill " << kills << ": " << now.size()
                                                    << " bytes";
    }
    EXPECT_GE(kills, 50);
    // The killed writers' temporary files are cleared by the next write in the folder.
    ASSERT_TRUE(save(target, false));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1) << "temporary files left";
}

TEST(CrashSafety, ProjectListKilledWhileSaving) { KillWhileSaving("list.kpl", SaveList); }
TEST(CrashSafety, DatabaseKilledWhileSaving) { KillWhileSaving("udlangdb.ini", SaveDatabase); }

}  // namespace
