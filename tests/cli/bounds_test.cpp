// kordelc against inputs that once hung it or grew without bound: FIFOs where git keeps a file,
// damaged objects, deep trees, huge blobs, endless lists. The binary runs under a time limit, so a
// hang fails the test instead of stopping the suite.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <csignal>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <zlib.h>

#include "tests/cli/cli_support.h"
#include "tests/cli/git_support.h"

namespace kordel::cli::test {
namespace {

// Under AddressSanitizer a process keeps freed memory in quarantine and shadows the rest: the peak
// memory bounds are checked in the plain build only.
#ifdef __SANITIZE_ADDRESS__
constexpr bool kMeasuresMemory = false;
#else
constexpr bool kMeasuresMemory = true;
#endif

struct BinaryRun {
    int code = -1;  ///< 137 when the time limit killed it
    std::string out;
    std::string err;
    long peakKiB = 0;  ///< the largest resident size the run reached
};

std::string Slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// Runs kordelc in `folder` with standard input from `input` (or nothing), killed after 300 s: a run
/// that hangs ends as status 137.
BinaryRun RunBinary(const fs::path& folder, std::vector<std::string> args, const fs::path& input = "/dev/null") {
    args.insert(args.begin(), {"kordelc", "--languages", "../empty-udlangdb.ini"});
    const fs::path out = folder / "../run.out", err = folder / "../run.err";
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        if (::chdir(folder.c_str()) != 0 || !std::freopen(input.c_str(), "rb", stdin) ||
            !std::freopen(out.c_str(), "wb", stdout) || !std::freopen(err.c_str(), "wb", stderr))
            ::_exit(126);
        ::execv(KORDELC_BINARY, argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    for (int waited = 0; ::wait4(child, &status, WNOHANG, &usage) == 0; ++waited) {
        if (waited == 300 * 20) ::kill(child, SIGKILL);
        ::usleep(50 * 1000);
    }
    BinaryRun run;
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.out = Slurp(out);
    run.err = Slurp(err);
    run.peakKiB = usage.ru_maxrss;
    return run;
}

void MakeFifo(const fs::path& path) {
    std::error_code ec;
    fs::remove(path, ec);
    fs::create_directories(path.parent_path(), ec);
    ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
}

class BoundsTest : public CliTest {
protected:
    /// A repository in `name` with a.c and sub/b.c committed; the work tree is its folder.
    fs::path MakeRepository(const std::string& name) {
        WriteC(name + "/a.c", 2);
        WriteC(name + "/sub/b.c", 3);
        Write(name + "/.gitignore", "*.o\n");
        Write(name + "/sub/.gitignore", "*.tmp\n");
        TestRepository repo(Path(name));
        repo.Commit("first");
        return Path(name);
    }
};

TEST_F(BoundsTest, FifosWhereGitKeepsAFileAreReportedInsteadOfHanging) {
    struct Case {
        std::string fifo;    // relative to the work tree
        std::string config;  // appended to .git/config before the FIFO is made
        std::vector<std::string> args;
    };
    const std::vector<Case> cases = {
        {".gitignore", "", {"."}},
        {"sub/.gitignore", "", {"."}},
        {".git/info/exclude", "", {"."}},
        {".git/config", "", {"."}},
        {".git/index", "", {"."}},
        {"excludes.fifo", "", {"."}},
        {"included.fifo", "[include]\n\tpath = ../included.fifo\n", {"."}},
        {".git/config", "", {"git:HEAD"}},
        {".git/objects/info/alternates", "", {"git:HEAD"}},
        {".git/objects/info/alternates", "", {"--diff", "git:HEAD", "."}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fifo + " with " + c.args.front());
        const fs::path tree = MakeRepository("repo" + std::to_string(n++));
        if (!c.config.empty()) std::ofstream(tree / ".git/config", std::ios::app) << c.config;
        // core.excludesFile is relative to the work tree where git runs; here it is made absolute.
        if (c.fifo == "excludes.fifo")
            std::ofstream(tree / ".git/config", std::ios::app) << "[core]\n\texcludesFile = " << (tree / c.fifo).string() << "\n";
        MakeFifo(tree / c.fifo);
        const BinaryRun run = RunBinary(tree, c.args);
        ASSERT_NE(run.code, 137) << "kordelc hung";
        EXPECT_NE(run.err.find("is not a regular file"), std::string::npos) << run.err;
        EXPECT_NE(run.code, 0);
    }
}

TEST_F(BoundsTest, IgnoreFilesThatLibgit2CannotReadAreReportedInsteadOfHangingOrCrashing) {
    // libgit2 1.5.1 loops for ever on an ignore rule that begins with a vertical tab or a form feed.
    const std::vector<std::pair<std::string, std::string>> cases = {
        {".gitignore", "*.o\n\v\n"},
        {"sub/.gitignore", "\f*.tmp\n"},
        {".git/info/exclude", "!\v\n"},
        {"excludes.txt", " \vx\n"},
        {".gitignore", "*.o\n!\\"},  // this one crashed libgit2 (a null pointer)
    };
    int n = 0;
    for (const auto& [file, text] : cases) {
        SCOPED_TRACE(file);
        const fs::path tree = MakeRepository("vt" + std::to_string(n++));
        if (file == "excludes.txt")
            std::ofstream(tree / ".git/config", std::ios::app) << "[core]\n\texcludesFile = " << (tree / file).string() << "\n";
        fs::create_directories((tree / file).parent_path());
        std::ofstream(tree / file, std::ios::binary | std::ios::trunc) << text;
        const BinaryRun run = RunBinary(tree, {"-f", "json", "."});
        ASSERT_NE(run.code, 137) << "kordelc hung";
        ASSERT_NE(run.code, 128 + SIGSEGV) << "kordelc crashed";
        EXPECT_EQ(run.code, 1);
        EXPECT_NE(run.err.find("on which libgit2 fails"), std::string::npos) << run.err;
        EXPECT_NE(run.out.find("\"./a.c\""), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("\"./sub/b.c\""), std::string::npos) << run.out;
    }
}

// Commits a.c `depth` folders down ("d/d/.../a.c") in a new repository at `folder`, built from tree
// objects (no file system allows such a path).
void CommitDeepTree(const fs::path& folder, int depth) {
    git_libgit2_init();
    git_repository* repo = nullptr;
    ASSERT_EQ(git_repository_init(&repo, folder.c_str(), 0), 0);
    git_oid id;
    const std::string code = "int a;\n// deep\n";
    ASSERT_EQ(git_blob_create_from_buffer(&id, repo, code.data(), code.size()), 0);
    const char* name = "a.c";
    git_filemode_t mode = GIT_FILEMODE_BLOB;
    for (int level = 0; level <= depth; ++level) {
        git_treebuilder* builder = nullptr;
        ASSERT_EQ(git_treebuilder_new(&builder, repo, nullptr), 0);
        ASSERT_EQ(git_treebuilder_insert(nullptr, builder, name, &id, mode), 0);
        ASSERT_EQ(git_treebuilder_write(&id, builder), 0);
        git_treebuilder_free(builder);
        name = "d";
        mode = GIT_FILEMODE_TREE;
    }
    git_tree* tree = nullptr;
    ASSERT_EQ(git_tree_lookup(&tree, repo, &id), 0);
    git_signature* who = nullptr;
    ASSERT_EQ(git_signature_new(&who, "Test", "test@example.invalid", 1700000000, 0), 0);
    git_oid commit;
    ASSERT_EQ(git_commit_create(&commit, repo, "HEAD", who, who, nullptr, "deep", tree, 0, nullptr), 0);
    git_signature_free(who);
    git_tree_free(tree);
    git_repository_free(repo);
    git_libgit2_shutdown();
}

TEST_F(BoundsTest, ADeepRevisionTreeCostsMemoryLinearInItsDepth) {
    // Copying the growing path at every level took 518 MB at this depth; a path of 20,000 bytes and
    // 10,000 open levels take a few.
    const fs::path tree = Path("deep");
    fs::create_directories(tree);
    CommitDeepTree(tree, 10000);
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--by-file", "git:HEAD"},
                                                 std::vector<std::string>{"--diff", "git:HEAD", "git:HEAD"}}) {
        const BinaryRun run = RunBinary(tree, args);
        ASSERT_EQ(run.code, 0) << run.err;
        EXPECT_NE(run.out.find(args.front() == "--diff" ? "C\tsame\t1\t1\t1" : "/d/a.c\t1\t1\t0\t0\t2"), std::string::npos)
            << run.out.substr(0, 300);
        if (kMeasuresMemory) {
            EXPECT_LT(run.peakKiB, 150 * 1024);
        }
    }
}

// `data` compressed as git stores a loose object (the header is the caller's, true or not).
std::string Deflate(const std::string& data) {
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string packed(size, '\0');
    EXPECT_EQ(compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
                       static_cast<uLong>(data.size())),
              Z_OK);
    packed.resize(size);
    return packed;
}

TEST_F(BoundsTest, ATruncatedObjectEndsTheRunWithAnErrorNamingIt) {
    std::string code;
    for (int i = 0; i < 3000; ++i) code += "int a" + std::to_string(i) + ";\n";
    Write("repo/a.c", code);
    WriteC("repo/b.c", 1);
    {
        TestRepository repo(Path("repo"));
        repo.Commit("first");
    }
    git_oid id;
    ASSERT_EQ(git_odb_hash(&id, code.data(), code.size(), GIT_OBJECT_BLOB), 0);
    char text[GIT_OID_HEXSZ + 1];
    const std::string hex = git_oid_tostr(text, sizeof text, &id);  // git_oid_tostr_s keeps a buffer for good
    const fs::path object = Path("repo/.git/objects") / hex.substr(0, 2) / hex.substr(2);
    fs::permissions(object, fs::perms::owner_write, fs::perm_options::add);
    const std::string whole = Slurp(object);
    // Cut in half (libgit2 inflates that for ever); whole data under a header that gives one byte
    // less, or one more, than there is.
    const std::string damages[] = {whole.substr(0, whole.size() / 2),
                                   Deflate("blob " + std::to_string(code.size() - 1) + '\0' + code),
                                   Deflate("blob " + std::to_string(code.size() + 1) + '\0' + code)};
    for (const std::string& damaged : damages) {
        std::ofstream(object, std::ios::binary | std::ios::trunc) << damaged;
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{"git:HEAD"}, std::vector<std::string>{"--diff", "git:HEAD", "."}}) {
            const BinaryRun run = RunBinary(Path("repo"), args);
            ASSERT_NE(run.code, 137) << "kordelc spun for ever";
            EXPECT_EQ(run.code, args.size() == 1 ? 2 : 1);
            EXPECT_NE(run.err.find("the git object " + hex + " is damaged"), std::string::npos) << run.err;
        }
        // The history counts the other files and says that one could not be read.
        const BinaryRun history = RunBinary(Path("repo"), {"--history", "-f", "json"});
        ASSERT_NE(history.code, 137) << "kordelc --history spun for ever";
        EXPECT_EQ(history.code, 1);
        EXPECT_NE(history.err.find("1 file of the history could not be read"), std::string::npos) << history.err;
    }
}

// A history reads trees and .ignore blobs itself: a truncated one ends the run with its name.
TEST_F(BoundsTest, ATruncatedTreeEndsAHistoryWithAnErrorNamingIt) {
    for (int i = 0; i < 40; ++i) WriteC("repo/src/f" + std::to_string(i) + ".c", i + 1);
    {
        TestRepository repo(Path("repo"));
        repo.Commit("first");
    }
    git_libgit2_init();
    git_repository* repository = nullptr;
    ASSERT_EQ(git_repository_open(&repository, Path("repo").string().c_str()), 0);
    git_object* tree = nullptr;
    ASSERT_EQ(git_revparse_single(&tree, repository, "HEAD:src"), 0);
    char text[GIT_OID_HEXSZ + 1];
    const std::string hex = git_oid_tostr(text, sizeof text, git_object_id(tree));
    git_object_free(tree);
    git_repository_free(repository);
    git_libgit2_shutdown();
    const fs::path object = Path("repo/.git/objects") / hex.substr(0, 2) / hex.substr(2);
    fs::permissions(object, fs::perms::owner_write, fs::perm_options::add);
    const std::string whole = Slurp(object);
    std::ofstream(object, std::ios::binary | std::ios::trunc) << whole.substr(0, whole.size() / 2);
    const BinaryRun history = RunBinary(Path("repo"), {"--history", "-f", "json"});
    ASSERT_NE(history.code, 137) << "kordelc --history spun for ever";
    EXPECT_EQ(history.code, 2);
    EXPECT_NE(history.err.find("the git object " + hex + " is damaged"), std::string::npos) << history.err;
}

TEST_F(BoundsTest, MaxFileSizeLeavesOutLargeBlobsAndDiffSidesUnread) {
    // 48 MiB of code in the revision and in the work tree: with a limit of 1K neither is read.
    std::string big;
    big.reserve(48u << 20);
    while (big.size() < (48u << 20)) big += "x = 1;\n";
    Write("repo/big.c", big);
    WriteC("repo/small.c", 2);
    {
        TestRepository repo(Path("repo"));
        repo.Commit("first");
    }
    big += "y = 2;\n";
    Write("repo/big.c", big);
    big.clear();
    big.shrink_to_fit();
    const BinaryRun count = RunBinary(Path("repo"), {"--max-file-size", "1K", "-f", "json", "git:HEAD"});
    ASSERT_EQ(count.code, 0) << count.err;
    const nlohmann::json doc = nlohmann::json::parse(count.out);
    ASSERT_EQ(doc["files"].size(), 1u);
    EXPECT_EQ(doc["files"][0]["path"], "HEAD:small.c");
    ASSERT_EQ(doc["left_out"].size(), 1u);
    EXPECT_EQ(doc["left_out"][0]["path"], "HEAD:big.c");
    if (kMeasuresMemory) {
        EXPECT_LT(count.peakKiB, 24 * 1024);
    }

    const BinaryRun diff = RunBinary(Path("repo"), {"--max-file-size", "1K", "--diff", "git:HEAD", ".", "-f", "json"});
    ASSERT_EQ(diff.code, 0) << diff.err;
    EXPECT_NE(diff.err.find("larger than --max-file-size"), std::string::npos) << diff.err;
    if (kMeasuresMemory) {
        EXPECT_LT(diff.peakKiB, 24 * 1024);
    }
}

TEST_F(BoundsTest, ABlobIsCountedStreamingWithTheCountsOfItsFile) {
    // 48 MiB of C in a loose object: code, comments, blanks, CR LF, a block comment over two lines and
    // now and then a line of 9,000 characters, so that lines cross every piece the blob is read in.
    std::string big;
    big.reserve((48u << 20) + 16384);
    for (int i = 0; big.size() < (48u << 20); ++i) {
        big += "int a = 1;\n// note\n\n/* one\r\n two */ b();\n";
        if (i % 1000 == 0) big += std::string(9000, 'x') + ";\n";
    }
    std::string mid;
    for (int i = 0; i < 2000; ++i) mid += "m();\n";
    WriteC("repo/small.c", 2);
    TestRepository repo(Path("repo"));
    repo.Commit("first");
    Write("repo/big.c", big);
    Write("repo/mid.c", mid);
    repo.Commit("second");
    big.clear();
    big.shrink_to_fit();
    Write("repo/mid.c", mid + "c();\n// one more\n");
    repo.Commit("third");

    const BinaryRun file = RunBinary(Path("repo"), {"-f", "json", "big.c"});
    ASSERT_EQ(file.code, 0) << file.err;
    const nlohmann::json expected = nlohmann::json::parse(file.out)["files"][0];
    ASSERT_GT(expected["lines"], 5'000'000);
    const auto number = [&](const char* key) { return expected[key].get<std::int64_t>(); };

    const BinaryRun count = RunBinary(Path("repo"), {"-f", "json", "git:HEAD"});
    ASSERT_EQ(count.code, 0) << count.err;
    const nlohmann::json doc = nlohmann::json::parse(count.out);
    ASSERT_EQ(doc["files"].size(), 3u);
    EXPECT_EQ(doc["files"][0]["path"], "HEAD:big.c");
    for (const char* key : {"code", "comment", "mixed", "blank", "lines"}) EXPECT_EQ(doc["files"][0][key], expected[key]) << key;
    if (kMeasuresMemory) {
        EXPECT_LT(count.peakKiB, 24 * 1024);
    }

    // In --diff a file of one side only, and a blob the same on both sides, are counted, not diffed:
    // streamed too. (mid.c, changed, is diffed line by line; small.c has 2 lines of code.)
    const BinaryRun added = RunBinary(Path("repo"), {"-f", "json", "--diff", "git:HEAD~2", "git:HEAD"});
    ASSERT_EQ(added.code, 0) << added.err;
    nlohmann::json totals = nlohmann::json::parse(added.out)["totals"];
    EXPECT_EQ(totals["code"]["added"], number("code") + 2001);
    EXPECT_EQ(totals["comment"]["added"], number("comment") + 1);
    EXPECT_EQ(totals["mixed"]["added"], number("mixed"));
    EXPECT_EQ(totals["blank"]["added"], number("blank"));
    if (kMeasuresMemory) {
        EXPECT_LT(added.peakKiB, 24 * 1024);
    }

    const BinaryRun same = RunBinary(Path("repo"), {"-f", "json", "--diff", "git:HEAD~1", "git:HEAD"});
    ASSERT_EQ(same.code, 0) << same.err;
    totals = nlohmann::json::parse(same.out)["totals"];
    EXPECT_EQ(totals["code"]["same"], number("code") + 2000 + 2);
    EXPECT_EQ(totals["comment"]["same"], number("comment"));
    EXPECT_EQ(totals["code"]["added"], 1);
    EXPECT_EQ(totals["comment"]["added"], 1);
    if (kMeasuresMemory) {
        EXPECT_LT(same.peakKiB, 24 * 1024);
    }
}

TEST_F(BoundsTest, AnEndlessListOfMissingPathsKeepsTenThousandOfThem) {
    // `yes x.c | kordelc --list -`, cut at 300,000 lines: 230 bytes per skipped path came to 70 MB.
    std::string list;
    for (int i = 0; i < 300000; ++i) list += "x.c\n";
    Write("list.txt", list);
    fs::create_directories(Path("here"));
    const BinaryRun run = RunBinary(Path("here"), {"-q", "-f", "json", "--list", "-"}, Path("list.txt"));
    ASSERT_EQ(run.code, 1) << run.err.substr(0, 300);
    const nlohmann::json doc = nlohmann::json::parse(run.out);
    EXPECT_EQ(doc["skipped"].size(), 10000u);
    EXPECT_EQ(doc["skipped"][0]["path"], "x.c");
    EXPECT_EQ(doc["skipped_not_listed"], 290000);
    if (kMeasuresMemory) {
        EXPECT_LT(run.peakKiB, 40 * 1024);
    }
}

}  // namespace
}  // namespace kordel::cli::test
