// The repository types over one libgit2 handle: each opens and reads on its own, and libgit2 stays
// set up while any of them lives, whichever goes first.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/cli/git_support.h"
#include "tests/support/files.h"
#include "vcs/git_files.h"
#include "vcs/git_repository.h"
#include "vcs/history_walker.h"
#include "vcs/revision.h"
#include "vcs/work_tree.h"

namespace fs = std::filesystem;
using namespace kordel::vcs;

namespace {

class Repositories : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test_support::WriteBytes(repo / ".gitignore", "*.o\n"));
        ASSERT_TRUE(test_support::WriteBytes(repo / "a.c", "int a;\n"));
        ASSERT_TRUE(test_support::WriteBytes(repo / "src" / "b.c", "int b;\n"));
        // The helper sets libgit2 up itself: it is gone before the types under test are used.
        kordel::cli::test::TestRepository maker(repo);
        maker.Commit("first", 1700000000);
        ASSERT_TRUE(test_support::WriteBytes(repo / "a.c", "int a;\nint c;\n"));
        maker.Commit("second", 1700000100);
    }

    test_support::TempDir temp{"vcs"};
    fs::path repo = temp.path() / "repo";
};

TEST_F(Repositories, EachTypeReadsTheRepositoryAndLibgit2OutlivesTheFirstToGo) {
    std::string error;
    const std::unique_ptr<WorkTree> tree = WorkTree::Open(repo / "src", error);
    ASSERT_TRUE(tree) << error;
    {
        // A reader opened and closed while the work tree lives must leave libgit2 set up for it.
        const std::unique_ptr<RevisionReader> reader = RevisionReader::Open(repo, error);
        ASSERT_TRUE(reader) << error;
        std::vector<RevisionFile> files;
        ASSERT_TRUE(reader->ListFiles({"HEAD~1", ""}, [](const std::string&, bool) { return true; }, false, files,
                                      error))
            << error;
        ASSERT_EQ(files.size(), 3u);
        EXPECT_EQ(files[1].relative, "a.c");
        EXPECT_EQ(reader->ReadBlob(files[1].blob).view(), "int a;\n");
        EXPECT_EQ(reader->BlobSize(files[1].blob), 7u);
        EXPECT_EQ(fs::path(reader->GitFolder()), fs::canonical(repo / ".git") / "");
    }
    {
        const std::unique_ptr<HistoryWalker> walker = HistoryWalker::Open(repo.string(), error);
        ASSERT_TRUE(walker) << error;
        std::vector<HistoryCommit> commits;
        ASSERT_TRUE(walker->FirstParentCommits("HEAD", commits, error)) << error;
        ASSERT_EQ(commits.size(), 2u);
        EXPECT_EQ(commits[0].time, 1700000000);
        EXPECT_EQ(HexId(commits[1].id).size(), 40u);
    }
    EXPECT_EQ(tree->Relative(fs::canonical(repo / "src" / "b.c")), "src/b.c");
    EXPECT_TRUE(tree->IsTracked("src/b.c"));
    EXPECT_TRUE(tree->IsIgnored("src/b.o", false));
    EXPECT_FALSE(tree->IsIgnored("src/b.c", false));
    const std::optional<std::vector<std::string>> listed = tree->ListFiles("src");
    ASSERT_TRUE(listed);
    EXPECT_EQ(*listed, std::vector<std::string>{"b.c"});
}

TEST_F(Repositories, AFolderOutsideEveryRepositoryIsRefusedWithLibgit2sReason) {
    const fs::path outside = temp.path() / "plain";
    fs::create_directories(outside);
    // Discovery stops at the temporary folder, so a repository around it is not found.
    ::setenv("GIT_CEILING_DIRECTORIES", temp.path().c_str(), 1);
    std::string error;
    EXPECT_FALSE(WorkTree::Open(outside, error));
    // Built by appending: g++ 12 warns falsely on "\"" + text.
    EXPECT_EQ(error, std::string(1, '"').append(outside.string()).append("\" is not in a git repository"));
    ::unsetenv("GIT_CEILING_DIRECTORIES");

    int status = 0;
    std::string reason;
    EXPECT_FALSE(GitRepository::Open(outside.string(), temp.path().c_str(), status, reason));
    EXPECT_LT(status, 0);
    EXPECT_NE(reason.find("could not find repository"), std::string::npos) << reason;
    EXPECT_TRUE(GitSupported());
}

TEST(MayBeInRepository, AnyDotGitOrGitFolderAboveCountsWithoutLibgit2) {
    test_support::TempDir temp{"vcs-maybe"};
    const auto deep = [&](const char* top) {
        const fs::path folder = temp.path() / top / "src" / "deep";
        fs::create_directories(folder);
        return folder;
    };
    fs::create_directories(temp.path() / "work/.git");
    EXPECT_TRUE(MayBeInRepository(deep("work")));
    // A linked work tree's .git file, and a .git that is no repository at all: libgit2 decides.
    temp.Write("linked/.git", "gitdir: /elsewhere\n");
    EXPECT_TRUE(MayBeInRepository(deep("linked")));
    temp.Write("odd/.git", "not a git file\n");
    EXPECT_TRUE(MayBeInRepository(deep("odd")));
    // A bare repository, and a folder inside a git folder.
    temp.Write("bare.git/HEAD", "ref: refs/heads/main\n");
    fs::create_directories(temp.path() / "bare.git/objects");
    EXPECT_TRUE(MayBeInRepository(deep("bare.git")));
    if (!MayBeInRepository(temp.path())) {
        EXPECT_FALSE(MayBeInRepository(deep("plain")));
    }
}

}  // namespace
