// Inputs no source tree should hold, counted or read without a crash, a hang or a wrong total.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "cli/kordelc.h"
#include "engine/dispatch.h"
#include "engine/file_counter.h"
#include "engine/text_reader.h"
#include "projects/project_list.h"
#include "tests/support/files.h"
#include "tests/support/scripted_questions.h"
#include "userlang/udlangdb.h"

namespace fs = std::filesystem;
using namespace kordel;
using test_support::ScriptedQuestions;
using namespace std::chrono_literals;

namespace {

class HostileInput : public ::testing::Test {
protected:
    fs::path Write(const std::string& name, const std::string& bytes) { return temp.Write(name, bytes); }
    test_support::TempDir temp{"hostile"};
    fs::path dir = temp.path();
};

engine::FileOutcome Count(const fs::path& p, std::string_view ext = ".c") {
    const engine::BuiltinLanguage* lang = engine::FindBuiltin(ext, 0);
    auto classifier = lang->make(engine::CountOptions{});
    std::atomic<int> canc{0};
    return engine::CountFile(p, *classifier, false, canc);
}

void ExpectEveryLineOnce(const engine::FileCounts& c) {
    EXPECT_EQ(c.ii + c.inoc + c.inoml + c.inos, c.nl3);
}

/// Runs `work` on its own thread; fails instead of hanging when it takes longer than `limit`.
template <typename F>
bool FinishesWithin(std::chrono::seconds limit, F work) {
    auto done = std::async(std::launch::async, work);
    if (done.wait_for(limit) == std::future_status::ready) return true;
    // A blocked reader cannot be stopped; end the test run loudly.
    std::fprintf(stderr, "blocked for more than %d seconds\n", static_cast<int>(limit.count()));
    std::quick_exit(99);
}

TEST_F(HostileInput, BinaryBytesAreCountedAsLines) {
    std::mt19937 rng(7);
    std::string bytes(256 * 1024, '\0');
    for (char& c : bytes) c = static_cast<char>(rng() & 0xff);
    for (char& c : bytes)
        if (c == '\x1a') c = 'z';  // a Ctrl-Z would end the data early
    const fs::path p = Write("blob.c", bytes);
    for (std::string_view ext : {".c", ".py", ".pas", ".lisp", ".html", ".f77", ".cob"}) {
        SCOPED_TRACE(std::string(ext));
        const engine::FileOutcome out = Count(p, ext);
        ASSERT_EQ(out.status, engine::FileStatus::Counted);
        EXPECT_GT(out.counts.nl3, 0);
        ExpectEveryLineOnce(out.counts);
    }
}

TEST_F(HostileInput, NulBytesHideTheRestOfTheirLine) {
    const fs::path p = Write("nul.c", std::string("int a;\0 // hidden\n\0\0\n/\0* not a block\ncode();\n", 44));
    const engine::FileOutcome out = Count(p);
    ASSERT_EQ(out.status, engine::FileStatus::Counted);
    EXPECT_EQ(out.counts.nl3, 4);
    EXPECT_EQ(out.counts.inoc + out.counts.inoml, 0);  // no comment marker survives the cut
    ExpectEveryLineOnce(out.counts);
}

TEST_F(HostileInput, FiftyMegabyteLineIsCountedInPieces) {
    const std::size_t size = 50u * 1024 * 1024;
    {
        std::ofstream out(dir / "long.c", std::ios::binary);
        const std::string chunk(1 << 20, 'x');
        for (std::size_t i = 0; i < size / chunk.size(); ++i) out << chunk;
    }
    const engine::FileOutcome out = Count(dir / "long.c");
    fs::remove(dir / "long.c");
    ASSERT_EQ(out.status, engine::FileStatus::Counted);
    EXPECT_EQ(out.counts.nl3, static_cast<std::int64_t>((size + engine::kMaxPiece - 1) / engine::kMaxPiece));
    EXPECT_EQ(out.counts.ii, out.counts.nl3);
}

TEST_F(HostileInput, FolderInPlaceOfAFile) {
    fs::create_directories(dir / "was_a_file.c");
    EXPECT_EQ(Count(dir / "was_a_file.c").status, engine::FileStatus::OpenFailed);

    fs::create_directories(dir / "list.kpl");
    std::vector<std::string> rows;
    projects::ListState state;
    ScriptedQuestions q;
    projects::GetProject(dir / "list.kpl", rows, state, q);
    EXPECT_TRUE(state.openFailed);
    EXPECT_EQ(q.retryReads, 1);

    projects::ListSettings settings;
    EXPECT_FALSE(projects::ExportProject(dir / "list.kpl", {"/a.c"}, state, settings, q));
    EXPECT_TRUE(fs::is_directory(dir / "list.kpl"));
}

TEST_F(HostileInput, FifoIsSkippedWithoutBlocking) {
    ASSERT_EQ(::mkfifo((dir / "pipe.c").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "pipe.kpl").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((dir / "udlangdb.ini").c_str(), 0600), 0);
    EXPECT_TRUE(FinishesWithin(5s, [&] { EXPECT_EQ(Count(dir / "pipe.c").status, engine::FileStatus::NotRegular); }));
    EXPECT_TRUE(FinishesWithin(5s, [&] {
        std::vector<std::string> rows;
        projects::ListState state;
        ScriptedQuestions q;
        projects::GetProject(dir / "pipe.kpl", rows, state, q);
        EXPECT_TRUE(state.openFailed);
    }));
    EXPECT_TRUE(FinishesWithin(5s, [&] {
        EXPECT_EQ(userlang::ReadUDLangDb(dir / "udlangdb.ini").status, userlang::DbStatus::Unreadable);
    }));
    // The command line names the skipped file and goes on.
    Write("real.c", "int x;\n");
    EXPECT_TRUE(FinishesWithin(10s, [&] {
        std::ostringstream out, err;
        std::string a0 = "kordelc", byFile = "--by-file", a1 = (dir / "pipe.c").string(), a2 = (dir / "real.c").string();
        std::vector<char*> argv{a0.data(), byFile.data(), a1.data(), a2.data()};
        EXPECT_EQ(cli::Run(static_cast<int>(argv.size()), argv.data(), out, err), 1);
        EXPECT_NE(err.str().find("pipe.c"), std::string::npos) << err.str();
        EXPECT_NE(out.str().find("real.c"), std::string::npos) << out.str();
    }));
}

TEST_F(HostileInput, UnreadableFileReportsOpenFailure) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not stop the superuser";
    const fs::path p = Write("locked.c", "int x;\n");
    fs::permissions(p, fs::perms::none);
    EXPECT_EQ(Count(p).status, engine::FileStatus::OpenFailed);
}

TEST_F(HostileInput, SymbolicLinkLoopInAFolderWalkEnds) {
    fs::create_directories(dir / "tree" / "sub");
    Write("tree/sub/a.c", "int a;\n");
    fs::create_directory_symlink(dir / "tree", dir / "tree" / "sub" / "loop");
    fs::create_symlink(dir / "tree" / "self.c", dir / "tree" / "self.c");  // a link to itself
    EXPECT_TRUE(FinishesWithin(10s, [&] {
        std::ostringstream out, err;
        std::string a0 = "kordelc", byFile = "--by-file", a1 = (dir / "tree").string();
        std::vector<char*> argv{a0.data(), byFile.data(), a1.data()};
        cli::Run(static_cast<int>(argv.size()), argv.data(), out, err);
        EXPECT_NE(out.str().find("a.c"), std::string::npos) << out.str() << err.str();
    }));
}

TEST_F(HostileInput, NamesThatAreNotUtf8) {
    const std::string name = "caf\xe9-\xff\xfe.c";
    const fs::path p = Write(name, "int x; // note\n");
    const engine::FileOutcome out = Count(p);
    ASSERT_EQ(out.status, engine::FileStatus::Counted);
    EXPECT_EQ(out.counts.inoml, 1);

    // Saved in a project list and read back, the name keeps every byte.
    projects::ListState state;
    projects::ListSettings settings;
    ScriptedQuestions q;
    ASSERT_TRUE(projects::ExportProject(dir / "odd.kpl", {p.string()}, state, settings, q));
    std::vector<std::string> rows;
    projects::GetProject(dir / "odd.kpl", rows, state, q);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], p.string());
}

TEST_F(HostileInput, PathWithANulByteNamesNoFile) {
    // Cut at the NUL the line would name the list's own folder; it must count as missing instead.
    const std::string nul("\0/etc/hostname", 14);
    Write("nul.kpl", ToCrLf(projects::ProjectListText({nul, (dir / "nul.kpl").string()}, "")));
    std::vector<std::string> rows;
    projects::ListState state;
    ScriptedQuestions q;
    q.answers = {true};  // go on past the missing path
    projects::GetProject(dir / "nul.kpl", rows, state, q);
    EXPECT_EQ(q.missing, 1);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (dir / "nul.kpl").string());
    EXPECT_EQ(Count(dir.string() + nul).status, engine::FileStatus::Missing);
}

TEST_F(HostileInput, ProjectListOfOneMillionPaths) {
    // Every path is the same existing file, so the reader's duplicate check runs a million times.
    const fs::path src = Write("one.c", "x\n");
    const std::vector<std::string> million(1000000, src.string());
    Write("million.kpl", ToCrLf(projects::ProjectListText(million, "Million")));
    std::vector<std::string> rows;
    projects::ListState state;
    ScriptedQuestions q;
    projects::GetProject(dir / "million.kpl", rows, state, q);
    EXPECT_FALSE(state.openFailed);
    EXPECT_EQ(rows.size(), 1u);
    EXPECT_EQ(q.missing, 0);
}

TEST_F(HostileInput, DatabaseWithCrOnlyLineEndsOrATruncatedRecord) {
    // CR alone is not a line end: the whole file is one line, the name of one record.
    Write("cr.ini", "Lang\r.ab\r#\r0\r\r0\r\rNo\r");
    const userlang::DbContents cr = userlang::ReadUDLangDb(dir / "cr.ini");
    ASSERT_EQ(cr.status, userlang::DbStatus::Loaded);
    ASSERT_EQ(cr.languages.size(), 1u);
    EXPECT_EQ(cr.languages[0].extensions, "");
    EXPECT_EQ(userlang::FindCustomExtension(cr.languages, ".ab"), nullptr);

    // A record cut after three lines keeps what it has; the rest are the defaults.
    Write("cut.ini", "Full\r\n.f1\r\n#\r\n0\r\n\r\n0\r\n\r\nNo\r\nCut\r\n.c2\r\n;");
    const userlang::DbContents cut = userlang::ReadUDLangDb(dir / "cut.ini");
    ASSERT_EQ(cut.languages.size(), 2u);
    EXPECT_EQ(cut.languages[1].name, "Cut");
    EXPECT_EQ(cut.languages[1].olcop, ";");
    EXPECT_EQ(cut.languages[1].olfc, "0");
    EXPECT_EQ(cut.languages[1].olcswl, "No");
}

TEST_F(HostileInput, FileThatGrowsWhileCounted) {
    std::string start;
    for (int i = 0; i < 20000; ++i) start += "int v" + std::to_string(i) + ";\n";
    const fs::path p = Write("grow.c", start);
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        std::ofstream out(p, std::ios::binary | std::ios::app);
        while (!stop) out << "// more\n" << std::flush;
    });
    const engine::FileOutcome out = Count(p);
    stop = true;
    writer.join();
    ASSERT_EQ(out.status, engine::FileStatus::Counted);
    EXPECT_GE(out.counts.nl3, 20000);  // what was there when the count started
    ExpectEveryLineOnce(out.counts);
}

TEST_F(HostileInput, FileThatShrinksWhileCounted) {
    std::string start;
    for (int i = 0; i < 200000; ++i) start += "x = 1; /* c */\n";
    const fs::path p = Write("shrink.c", start);
    std::thread cutter([&] {
        std::this_thread::sleep_for(1ms);
        ::truncate(p.c_str(), 100);
    });
    const engine::FileOutcome out = Count(p);
    cutter.join();
    ASSERT_EQ(out.status, engine::FileStatus::Counted);
    EXPECT_LE(out.counts.nl3, 200000);
    ExpectEveryLineOnce(out.counts);
}

}  // namespace
