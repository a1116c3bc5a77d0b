// Which files a run takes: default and named exclusions, globs, extensions, symbolic links, git lists.
#include <algorithm>
#include <cstdlib>

#include "sources/walk.h"
#include "cli_support.h"

namespace kordel::cli::test {
namespace {

using Set = std::set<std::string>;

class FilterTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        for (const char* file : {"tree/src/main.c", "tree/src/main_test.c", "tree/lib/util.h", "tree/build/gen.c",
                                 "tree/.git/hooks/hook.c", "tree/.svn/x.c", "tree/.hg/y.c", "tree/bin/tool.py"})
            WriteC(file, 1);
        Write("tree/notes.xyz", "no language claims this\n");
    }
    std::string Tree() const { return Path("tree").string(); }
};

TEST_F(FilterTest, EachOptionTakesTheExpectedFiles) {
    const Set all{"tree/bin/tool.py", "tree/build/gen.c", "tree/lib/util.h", "tree/src/main.c", "tree/src/main_test.c"};
    const struct {
        std::vector<std::string> args;
        Set expected;
    } cases[] = {
        {{}, all},
        // The options may stand before the folder without taking it as their value.
        {{"--exclude-dir", "build"}, {"tree/bin/tool.py", "tree/lib/util.h", "tree/src/main.c", "tree/src/main_test.c"}},
        {{"--exclude-dir", "build", "--exclude-dir", "lib"}, {"tree/bin/tool.py", "tree/src/main.c", "tree/src/main_test.c"}},
        {{"--exclude-dir", "b*"}, {"tree/lib/util.h", "tree/src/main.c", "tree/src/main_test.c"}},
        {{"--no-default-excludes"},
         {"tree/.git/hooks/hook.c", "tree/.svn/x.c", "tree/.hg/y.c", "tree/bin/tool.py", "tree/build/gen.c",
          "tree/lib/util.h", "tree/src/main.c", "tree/src/main_test.c"}},
        {{"--no-default-excludes", "--exclude-dir", ".svn"},
         {"tree/.git/hooks/hook.c", "tree/.hg/y.c", "tree/bin/tool.py", "tree/build/gen.c", "tree/lib/util.h",
          "tree/src/main.c", "tree/src/main_test.c"}},
        {{"--exclude", "*_test.c"}, {"tree/bin/tool.py", "tree/build/gen.c", "tree/lib/util.h", "tree/src/main.c"}},
        {{"--exclude", "*_test.c", "--exclude", "*.py"}, {"tree/build/gen.c", "tree/lib/util.h", "tree/src/main.c"}},
        {{"--exclude", "src/*"}, {"tree/bin/tool.py", "tree/build/gen.c", "tree/lib/util.h"}},
        {{"--include-ext", ".h,.py"}, {"tree/bin/tool.py", "tree/lib/util.h"}},
        {{"--include-ext", "H"}, {"tree/lib/util.h"}},
        {{"--include-ext", ".c", "--exclude", "main*"}, {"tree/build/gen.c"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        args.push_back(Tree());
        EXPECT_EQ(CountedSet(args), c.expected) << ::testing::PrintToString(c.args);
    }
}

TEST_F(FilterTest, FilesNamedOnTheCommandLineAreTakenAsGiven) {
    EXPECT_EQ(CountedSet({"--exclude", "*.c", Path("tree/src/main.c").string()}), Set{"tree/src/main.c"});
    EXPECT_EQ(CountedSet({Path("tree/.git").string()}), Set{"tree/.git/hooks/hook.c"});
}

TEST_F(FilterTest, AnIncludedExtensionNoLanguageKnowsIsReportedAsSkipped) {
    const CliRun run = Run({"--include-ext", ".xyz", Tree()});
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.err.find("The extension .xyz is unknown"), std::string::npos) << run.err;
}

TEST_F(FilterTest, OverlappingFoldersCountEachFileOnce) {
    EXPECT_EQ(CountedFiles({Tree(), Path("tree/src").string(), Tree()}).size(), 5u);
}

// Hard links: a file reached by two names in the walks is counted once; one whose other name lies
// outside them is counted as any file.
TEST_F(FilterTest, HardLinkedNamesOfOneFileCountItOnce) {
    WriteC("elsewhere/shared.c", 1);
    fs::create_hard_link(Path("tree/src/main.c"), Path("tree/lib/main_again.c"));
    fs::create_hard_link(Path("elsewhere/shared.c"), Path("tree/lib/shared.c"));
    const Set files = CountedSet({"--include-ext", ".c", Tree()});
    EXPECT_EQ(files.size(), 4u) << ::testing::PrintToString(files);
    EXPECT_EQ(files.count("tree/src/main.c") + files.count("tree/lib/main_again.c"), 1u);
    EXPECT_EQ(files.count("tree/lib/shared.c"), 1u);
}

// A folder whose entries take many reads of the folder: every one of them is found.
TEST_F(FilterTest, AFolderOfThousandsOfEntriesIsReadToItsEnd) {
    const std::string longName(60, 'n');
    for (int i = 0; i < 2500; ++i) Write("big/" + longName + std::to_string(i) + ".c", "x;\n");
    for (int i = 0; i < 50; ++i) fs::create_directories(Path("big/" + longName + std::to_string(i) + ".d"));
    WriteC("big/" + longName + "7.d/deeper.c", 1);
    const std::vector<std::string> files = CountedFiles({Path("big").string()});
    EXPECT_EQ(files.size(), 2501u);
    EXPECT_EQ(Set(files.begin(), files.end()).size(), files.size());
    EXPECT_EQ(std::count(files.begin(), files.end(), "big/" + longName + "7.d/deeper.c"), 1);
}

class SymlinkTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        WriteC("tree/a.c", 2);
        WriteC("tree/sub/b.c", 1);
        WriteC("outside/c.c", 1);
        fs::create_directory_symlink("..", Path("tree/sub/loop"));         // back to tree: a loop
        fs::create_directory_symlink(Path("outside"), Path("tree/ext"));   // a folder elsewhere
        fs::create_symlink("a.c", Path("tree/alias.c"));                   // a.c a second time
        fs::create_symlink("missing.c", Path("tree/dangling.c"));
    }
};

TEST_F(SymlinkTest, LinksAreNotFollowedByDefault) {
    EXPECT_EQ(CountedFiles({Path("tree").string()}), (std::vector<std::string>{"tree/a.c", "tree/sub/b.c"}));
}

TEST_F(SymlinkTest, FollowedLinksEndLoopsAndCountEachFileOnce) {
    const Set files = CountedSet({"--follow-symlinks", Path("tree").string()});
    // alias.c is a.c again and loop/ is tree/ again: either path may be the one kept, but only one.
    EXPECT_EQ(files.size(), 3u) << ::testing::PrintToString(files);
    EXPECT_EQ(files.count("tree/a.c") + files.count("tree/alias.c"), 1u);
    EXPECT_EQ(files.count("tree/ext/c.c"), 1u);
    EXPECT_EQ(files.count("tree/sub/b.c"), 1u);
}

TEST_F(SymlinkTest, ALinkNamedOnTheCommandLineIsEntered) {
    EXPECT_EQ(CountedSet({Path("tree/ext").string()}), Set{"tree/ext/c.c"});
}

class GitTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        if (std::system("git --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "git is not installed";
        WriteC("repo/tracked.c", 2);
        WriteC("repo/sub dir/spaced name.c", 1);
        WriteC("repo/new.c", 1);
        WriteC("repo/ignored.c", 5);
        WriteC("repo/gen/out.c", 5);
        WriteC("repo/vendor/lib.c", 1);
        WriteC("repo/deleted.c", 1);
        Write("repo/.gitignore", "ignored.c\ngen/\n");
        const std::string repo = std::string(1, '\'').append(Path("repo").string()).append(1, '\'');
        ASSERT_EQ(std::system(("git -C " + repo + " init -q && git -C " + repo +
                               " add tracked.c deleted.c 'sub dir' vendor .gitignore").c_str()),
                  0);
        fs::remove(Path("repo/deleted.c"));  // still in the index, gone from the tree: not a missing file
    }
};

TEST_F(GitTest, TakesTrackedAndNewFilesButNotIgnoredOnes) {
    EXPECT_EQ(CountedFiles({"--vcs", "git", Path("repo").string()}),
              (std::vector<std::string>{"repo/new.c", "repo/sub dir/spaced name.c", "repo/tracked.c",
                                        "repo/vendor/lib.c"}));
    EXPECT_EQ(CountedFiles({"--vcs", "git", "--exclude-dir", "vendor", "--exclude", "new.*", Path("repo").string()}),
              (std::vector<std::string>{"repo/sub dir/spaced name.c", "repo/tracked.c"}));
    EXPECT_EQ(CountedFiles({"--vcs", "git", Path("repo/sub dir").string()}),
              (std::vector<std::string>{"repo/sub dir/spaced name.c"}));
}

TEST_F(GitTest, AFileOutsideAnyRepositoryIsAnError) {
    WriteC("plain/x.c", 1);
    // GIT_CEILING_DIRECTORIES keeps git from finding a repository above the temporary folder.
    ::setenv("GIT_CEILING_DIRECTORIES", m_dir.string().c_str(), 1);
    const CliRun run = Run({"--vcs", "git", Path("plain").string()});
    ::unsetenv("GIT_CEILING_DIRECTORIES");
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("is not in a git repository"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

TEST_F(GitTest, TheGitProgramIsNotNeeded) {
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", Path("no-such-bin").c_str(), 1);
    const std::vector<std::string> files = CountedFiles({"--vcs", "git", Path("repo").string()});
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(files.size(), 4u) << ::testing::PrintToString(files);
}

}  // namespace
}  // namespace kordel::cli::test
