// Writers in a folder other users can write, files swapped for FIFOs, and trees deeper than a path holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <thread>

#include <dirent.h>
#include <fcntl.h>
#include <climits>
#include <vector>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "sources/walk.h"
#include "common/atomic_file.h"
#include "engine/dispatch.h"
#include "engine/file_counter.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "tests/support/files.h"
#include "ui/core/add_files.h"
#include "ui/core/settings_store.h"

namespace fs = std::filesystem;
using namespace kordel;
using test_support::ReadBytes;

namespace {

unsigned ModeOf(const fs::path& p) {
    struct stat st {};
    EXPECT_EQ(::lstat(p.c_str(), &st), 0);
    return static_cast<unsigned>(st.st_mode & 07777);
}

class SharedFolder : public ::testing::Test {
protected:
    std::size_t EntriesIn(const fs::path& folder) {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }
    test_support::TempDir temp{"shared"};
    fs::path dir = temp.path();
};

// Links planted at the names writers used to pick (<target>.tmp<pid>-<n>), and at the temporary
// name itself, never lead a write to another file.
TEST_F(SharedFolder, PlantedLinksAreNeverFollowed) {
    const fs::path victim = dir / "victim";
    std::ofstream(victim) << "precious";
    const fs::path target = dir / "report.csv";
    for (int n = 0; n < 64; ++n)
        fs::create_symlink(victim, dir / ("report.csv.tmp" + std::to_string(::getpid()) + "-" + std::to_string(n)));
    for (int i = 0; i < 8; ++i) ASSERT_TRUE(WriteFileAtomically(target, "new " + std::to_string(i)));
    EXPECT_EQ(ReadBytes(victim), "precious");
    EXPECT_EQ(ReadBytes(target), "new 7");

    // The real file operations create the temporary file exclusively: a link there is refused.
    const fs::path planted = dir / "planted";
    fs::create_symlink(victim, planted);
    FileOps& ops = RealFileOps();
    EXPECT_FALSE(ops.Open(planted));
    EXPECT_EQ(ReadBytes(victim), "precious");
}

// A replaced file keeps its permission bits; a new one gets what the umask allows.
TEST_F(SharedFolder, ReplacementKeepsThePermissionBits) {
    const fs::path secret = dir / "secret.kpl";
    std::ofstream(secret) << "old";
    ASSERT_EQ(::chmod(secret.c_str(), 0600), 0);
    ASSERT_TRUE(WriteFileAtomically(secret, "new"));
    EXPECT_EQ(ModeOf(secret), 0600u);
    ASSERT_EQ(::chmod(secret.c_str(), 0640), 0);
    ASSERT_TRUE(WriteFileAtomically(secret, "newer"));
    EXPECT_EQ(ModeOf(secret), 0640u);

    const mode_t old = ::umask(022);
    ASSERT_TRUE(WriteFileAtomically(dir / "fresh.txt", "x"));
    ::umask(old);
    EXPECT_EQ(ModeOf(dir / "fresh.txt"), 0644u);
}

// Root replacing a user's file leaves it the user's (owner and group kept), and no replaced file
// carries setuid, setgid or sticky bits onto a copy that the writer owns.
TEST_F(SharedFolder, ReplacementKeepsTheOwnerAndDropsSpecialBits) {
    const fs::path tool = dir / "tool.txt";
    for (const unsigned special : {04755u, 02755u, 01755u}) {
        std::ofstream(tool) << "old";
        ASSERT_EQ(::chmod(tool.c_str(), special), 0);
        ASSERT_TRUE(WriteFileAtomically(tool, "new"));
        EXPECT_EQ(ModeOf(tool), 0755u) << std::oct << special;
    }
    if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
    const fs::path report = dir / "report.csv";
    std::ofstream(report) << "old";
    ASSERT_EQ(::chown(report.c_str(), 12345, 23456), 0);
    ASSERT_EQ(::chmod(report.c_str(), 0600), 0);
    ASSERT_TRUE(WriteFileAtomically(report, "new"));
    struct stat st {};
    ASSERT_EQ(::stat(report.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 12345u);
    EXPECT_EQ(st.st_gid, 23456u);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_EQ(ReadBytes(report), "new");
}

// A target whose path is longer than the system takes in one call is written through its open
// folder, and no temporary file is left beside it.
TEST_F(SharedFolder, ATargetPathLongerThanTheSystemLimitIsWrittenWithoutALeftover) {
    std::string relative;
    int folder = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(folder, 0);
    for (int i = 0; i < 24; ++i) {  // 24 folders of 200 bytes: about 4,800 bytes
        const std::string name(200, static_cast<char>('a' + i));
        ASSERT_EQ(::mkdirat(folder, name.c_str(), 0700), 0);
        const int inner = ::openat(folder, name.c_str(), O_RDONLY | O_DIRECTORY);
        ::close(folder);
        ASSERT_GE(inner, 0);
        folder = inner;
        relative += name + "/";
    }
    const fs::path target = dir / (relative + "report.csv");
    ASSERT_GT(target.native().size(), static_cast<std::size_t>(PATH_MAX));
    EXPECT_TRUE(WriteFileAtomically(target, "long"));
    EXPECT_EQ(platform::ReadFileContents(target.native()).bytes.value_or("missing"), "long");
    EXPECT_FALSE(WriteFileAtomically(target.native() + "/under/a/file", "never"));
    // What the innermost folder holds: the report alone.
    std::vector<std::string> names;
    if (DIR* listing = ::fdopendir(folder)) {
        while (const dirent* entry = ::readdir(listing))
            if (std::string_view(entry->d_name) != "." && std::string_view(entry->d_name) != "..") names.push_back(entry->d_name);
        ::closedir(listing);
    }
    EXPECT_EQ(names, std::vector<std::string>{"report.csv"});
    // The test folder's own removal takes paths whole; rm walks folder by folder.
    EXPECT_EQ(std::system(("rm -rf '" + (dir / std::string(200, 'a')).string() + "'").c_str()), 0);
}

// A link of the caller's own is written through (it stays a link); a read-only target is refused and
// kept; a target name of 250 bytes is written although the temporary name is longer than that.
TEST_F(SharedFolder, LinksReadOnlyTargetsAndLongNames) {
    const fs::path real = dir / "real.ini";
    std::ofstream(real) << "old";
    fs::create_symlink("real.ini", dir / "link.ini");
    ASSERT_TRUE(WriteFileAtomically(dir / "link.ini", "through the link"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
    EXPECT_EQ(ReadBytes(real), "through the link");

    const fs::path locked = dir / "locked.csv";
    std::ofstream(locked) << "keep";
    ASSERT_EQ(::chmod(locked.c_str(), 0444), 0);
    EXPECT_FALSE(WriteFileAtomically(locked, "lost"));
    EXPECT_EQ(ReadBytes(locked), "keep");

    const fs::path longName = dir / (std::string(246, 'n') + ".csv");
    ASSERT_EQ(longName.filename().native().size(), 250u);
    EXPECT_TRUE(WriteFileAtomically(longName, "long"));
    EXPECT_EQ(ReadBytes(longName), "long");
    EXPECT_EQ(EntriesIn(dir), 4u) << "no temporary file is left";
}

// Writers killed before their rename leave temporary files; the next write in that folder removes
// those of processes that no longer run, and nothing else.
TEST_F(SharedFolder, StaleTemporariesOfDeadWritersAreRemoved) {
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    const std::string dead = std::to_string(child);
    const std::string alive = std::to_string(::getpid());
    std::ofstream(dir / ("list.kpl.~kordel-" + dead + "-0123456789abcdef")) << "stale";
    std::ofstream(dir / ("other.~kordel-" + dead + "-fedcba9876543210")) << "stale";
    std::ofstream(dir / ("list.kpl.~kordel-" + alive + "-0123456789abcdef")) << "in use";
    std::ofstream(dir / ("notes.~kordel-" + dead + "-xyz")) << "not ours";
    ASSERT_TRUE(WriteFileAtomically(dir / "list.kpl", "list"));
    EXPECT_FALSE(fs::exists(dir / ("list.kpl.~kordel-" + dead + "-0123456789abcdef")));
    EXPECT_FALSE(fs::exists(dir / ("other.~kordel-" + dead + "-fedcba9876543210")));
    EXPECT_TRUE(fs::exists(dir / ("list.kpl.~kordel-" + alive + "-0123456789abcdef")));
    EXPECT_TRUE(fs::exists(dir / ("notes.~kordel-" + dead + "-xyz")));
}

// A file swapped for a FIFO again and again while it is counted: every count ends, none blocks.
TEST_F(SharedFolder, FileSwappedForAFifoNeverBlocksTheCount) {
    const fs::path path = dir / "swap.c";
    const fs::path file = dir / "file.c";
    const fs::path fifo = dir / "fifo.c";
    std::atomic<bool> stop{false};
    std::thread swapper([&] {
        for (int i = 0; !stop; ++i) {
            std::error_code ec;
            if (i % 2 == 0) {
                std::ofstream(file) << "int x;\n";
                fs::rename(file, path, ec);
            } else {
                ::mkfifo(fifo.c_str(), 0600);
                fs::rename(fifo, path, ec);
            }
        }
    });
    const engine::BuiltinLanguage* c = engine::FindBuiltin(".c", 0);
    auto classifier = c->make(engine::CountOptions{});
    std::atomic<int> canc{0};
    auto counting = std::async(std::launch::async, [&] {
        for (int i = 0; i < 400; ++i) engine::CountFile(path, *classifier, false, canc);
    });
    const bool finished = counting.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    stop = true;
    swapper.join();
    if (!finished) {
        // Let the blocked open go on: a writer on the FIFO releases it.
        const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0) ::close(fd);
    }
    EXPECT_TRUE(finished) << "a count blocked on a FIFO";
}

// FIFOs where the desktop's settings file and a walked folder's .ignore file belong: both are refused
// without waiting, the walk still takes its files, and no setting is written over the FIFO.
TEST_F(SharedFolder, FifosInPlaceOfSettingsAndIgnoreFilesNeverBlock) {
    const fs::path ini = dir / "kordel.ini";
    const fs::path ignore = dir / "tree" / ".ignore";
    fs::create_directories(dir / "tree");
    std::ofstream(dir / "tree" / "a.c") << "int a;\n";
    ASSERT_EQ(::mkfifo(ini.c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(ignore.c_str(), 0600), 0);
    struct Seen {
        bool read = true;
        bool written = true;
        std::vector<std::string> found;
    };
    auto work = std::async(std::launch::async, [&] {
        Seen seen;
        ui::IniSettingsStore store(ini);
        seen.read = store.Read("sps").has_value();
        seen.written = ui::WriteNumber(store, "sps", 1);
        sources::FileFilters filters;
        filters.ignoreFiles = true;
        sources::FileCollector collector(filters, [](std::string_view name) { return name.ends_with(".c"); });
        collector.WalkFolder(dir / "tree", seen.found);
        return seen;
    });
    const bool finished = work.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    while (work.wait_for(std::chrono::milliseconds(100)) != std::future_status::ready) {
        // Let blocked opens go on: a writer on a FIFO releases its reader.
        for (const fs::path& fifo : {ini, ignore}) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0) ::close(fd);
        }
    }
    ASSERT_TRUE(finished) << "an open blocked on a FIFO";
    const Seen seen = work.get();
    EXPECT_FALSE(seen.read);
    EXPECT_FALSE(seen.written);
    EXPECT_EQ(seen.found, std::vector<std::string>{(dir / "tree" / "a.c").string()});
    struct stat st {};
    ASSERT_EQ(::lstat(ini.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

// A tree 5,000 folders deep: every file is found by both walks and counted, though its path is
// longer than the system's path limit.
TEST_F(SharedFolder, DeepTreesAreWalkedAndCountedToTheBottom) {
    int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
    ASSERT_GE(fd, 0);
    std::string relative;
    for (int depth = 1; depth <= 5000; ++depth) {
        ASSERT_EQ(::mkdirat(fd, "d", 0755), 0);
        const int next = ::openat(fd, "d", O_RDONLY | O_DIRECTORY);
        ::close(fd);
        ASSERT_GE(next, 0);
        fd = next;
        relative += "/d";
        if (depth % 1000 == 0) {
            const int file = ::openat(fd, "x.c", O_WRONLY | O_CREAT, 0644);
            ASSERT_GE(file, 0);
            ASSERT_EQ(::write(file, "int x;\n", 7), 7);
            ::close(file);
        }
    }
    ::close(fd);

    sources::FileCollector collector(sources::FileFilters{},
                                     [](std::string_view name) { return name.ends_with(".c"); });
    std::vector<std::string> found;
    collector.WalkFolder(dir, found);
    EXPECT_EQ(found.size(), 5u);
    EXPECT_TRUE(collector.Unreadable().empty());
    const engine::BuiltinLanguage* c = engine::FindBuiltin(".c", 0);
    auto classifier = c->make(engine::CountOptions{});
    std::atomic<int> canc{0};
    for (const std::string& path : found) {
        const engine::FileOutcome out = engine::CountFile(path, *classifier, false, canc);
        EXPECT_EQ(out.status, engine::FileStatus::Counted) << path.size() << " bytes";
        EXPECT_EQ(out.counts.ii, 1);
    }
    std::vector<std::string> unreadable;
    EXPECT_EQ(ui::FilesUnder(dir, [](std::string_view name) { return name.ends_with(".c"); }, unreadable).size(), 5u);
    EXPECT_TRUE(unreadable.empty());
    // Removing needs no long paths either: fs::remove_all works relative to open folders.
}

// What reading a folder tells of each entry, and the identity looked up only when asked: a FIFO is
// never a file to count (and is not opened to learn it), a link is followed only when asked, a
// hard-linked file says it has other names, and an entry removed since the reading has no identity.
TEST_F(SharedFolder, FolderEntriesAreKnownByKindAndIdentifiedWhenAsked) {
    const fs::path tree = dir / "tree";
    fs::create_directories(tree / "sub");
    std::ofstream(tree / "a.c") << "int a;\n";
    std::ofstream(tree / "gone.c") << "int g;\n";
    fs::create_hard_link(tree / "a.c", tree / "sub" / "b.c");
    ASSERT_EQ(::mkfifo((tree / "pipe.c").c_str(), 0600), 0);
    fs::create_symlink("a.c", tree / "link.c");
    platform::Folder folder;
    ASSERT_EQ(folder.Open(tree.string()), platform::Folder::Status::Opened);
    // Read twice from the same open folder: the second reading starts again at the first entry.
    for (const bool follow : {false, true}) {
        std::vector<platform::FolderEntry> entries;
        ASSERT_TRUE(folder.ReadEntries(entries, follow));
        std::map<std::string, platform::FolderEntry> byName;
        for (const platform::FolderEntry& e : entries) byName[e.name] = e;
        ASSERT_EQ(byName.size(), 5u) << "following links: " << follow;
        EXPECT_EQ(byName["sub"].kind, platform::PathKind::Folder);
        EXPECT_EQ(byName["pipe.c"].kind, platform::PathKind::Other);
        EXPECT_EQ(byName["a.c"].kind, platform::PathKind::Regular);
        EXPECT_TRUE(byName["link.c"].isLink);
        EXPECT_EQ(byName["link.c"].kind, follow ? platform::PathKind::Regular : platform::PathKind::Other);
        ASSERT_TRUE(folder.Identify(byName["a.c"]));
        ASSERT_TRUE(folder.Identify(byName["gone.c"]));
        ASSERT_TRUE(folder.Identify(byName["link.c"]));
        EXPECT_TRUE(byName["a.c"].manyNames);
        EXPECT_FALSE(byName["gone.c"].manyNames);
        EXPECT_EQ(byName["a.c"].id, platform::FileId((tree / "sub" / "b.c").string()));
        EXPECT_NE(byName["gone.c"].id, byName["a.c"].id);
        // A followed link is its target; one not followed is the link itself.
        EXPECT_EQ(byName["link.c"].id == byName["a.c"].id, follow);
    }
    std::vector<platform::FolderEntry> entries;
    ASSERT_TRUE(folder.ReadEntries(entries, false));
    fs::remove(tree / "gone.c");
    const auto gone = std::find_if(entries.begin(), entries.end(), [](const auto& e) { return e.name == "gone.c"; });
    ASSERT_NE(gone, entries.end());
    EXPECT_FALSE(folder.Identify(*gone));

    // The walk takes one name of the hard-linked file and says why it leaves out the rest.
    sources::FileCollector collector(sources::FileFilters{}, [](std::string_view name) { return name.ends_with(".c"); });
    std::map<std::string, std::string> leftOut;
    collector.SetLeftOutSink([&](const std::string& path, const std::string& reason) {
        leftOut[fs::path(path).lexically_relative(tree).generic_string()] = reason;
    });
    std::vector<std::string> found;
    collector.WalkFolder(tree, found);
    ASSERT_EQ(found.size(), 1u);
    const std::string other = found[0] == (tree / "a.c").string() ? "sub/b.c" : "a.c";
    EXPECT_EQ(leftOut[other], "a file taken already under another name or link");
    EXPECT_EQ(leftOut["pipe.c"], "not a regular file");
    EXPECT_EQ(leftOut["link.c"], "a symbolic link (--follow-symlinks follows it)");
    EXPECT_EQ(leftOut.size(), 3u);
}

// Folders that cannot be read are named by both walks, which still take every other file. The walks
// run in a child that gives up root's rights, since root reads every folder.
TEST_F(SharedFolder, UnreadableFoldersAreReported) {
    fs::create_directories(dir / "tree" / "open");
    fs::create_directories(dir / "tree" / "shut" / "inner");
    std::ofstream(dir / "tree" / "open" / "a.c") << "int a;\n";
    std::ofstream(dir / "tree" / "shut" / "inner" / "b.c") << "int b;\n";
    fs::permissions(dir, fs::perms::all);
    fs::permissions(dir / "tree" / "shut", fs::perms::none);
    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(10);
        sources::FileCollector collector(sources::FileFilters{},
                                         [](std::string_view name) { return name.ends_with(".c"); });
        std::vector<std::string> found;
        collector.WalkFolder(dir / "tree", found);
        if (found != std::vector<std::string>{(dir / "tree" / "open" / "a.c").string()}) ::_exit(11);
        if (collector.Unreadable() != std::vector<std::string>{(dir / "tree" / "shut").string()}) ::_exit(12);
        std::vector<std::string> unreadable;
        if (ui::FilesUnder(dir / "tree", [](std::string_view) { return true; }, unreadable).size() != 1) ::_exit(13);
        if (unreadable != std::vector<std::string>{(dir / "tree" / "shut").string()}) ::_exit(14);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    fs::permissions(dir / "tree" / "shut", fs::perms::owner_all);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "10: could not drop rights, 11/13: files, 12/14: unreadable folders";
}

}  // namespace
