// Inputs that must neither stop kordelc nor leak through it: names that are not UTF-8, lists that are
// no lists, repositories whose configuration names commands, names holding terminal controls.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "sources/path_list.h"
#include "sources/text_bytes.h"
#include "cli_support.h"

namespace kordel::cli::test {
namespace {

using nlohmann::json;

std::string BytesOf(const json& array) {
    std::string text;
    for (const json& b : array) text += static_cast<char>(b.get<int>());
    return text;
}

TEST_F(CliTest, NamesThatAreNotUtf8ReachEveryFormatWithAllTheirBytes) {
    const std::string cName = "caf\xe9.c";          // Latin-1
    const std::string zName = "x\xff\xfe.zz";
    const std::string project = "Proj\xe9t";
    const std::string language = "L\xe4ng";
    WriteC(cName, 2);
    Write(zName, "a\n@@ b\n");
    Write("langs.ini", language + "\r\n.zz\r\n@@\r\n0\r\n\r\n0\r\n\r\nNo\r\n");
    Write("latin1.kpl", "Kordel Project List\r\n\r\nANY EDITS THAT ARE DONE TO THIS FILE ARE DONE AT YOUR OWN RISK.\r\n"
                        "\r\n31214729602::FN\r\n" + cName + "\r\n" + zName + "\r\n31214729604::PN\r\n" + project +
                        "\r\n\r\n");
    const std::string langs = Path("langs.ini").string();
    const CliRun run = Run({"--languages", langs, "-f", "json", Path("latin1.kpl").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const json doc = json::parse(run.out);
    EXPECT_EQ(doc["project"], "Proj\xef\xbf\xbdt");
    EXPECT_EQ(BytesOf(doc["project_bytes"]), project);
    ASSERT_EQ(doc["files"].size(), 2u);
    EXPECT_EQ(BytesOf(doc["files"][0]["path_bytes"]), Path(cName).string());
    EXPECT_EQ(doc["files"][0]["path"], Path("caf\xef\xbf\xbd.c").string());
    EXPECT_EQ(BytesOf(doc["files"][1]["language_bytes"]), language);
    EXPECT_FALSE(doc["files"][0].contains("language_bytes")) << "valid texts carry no second field";
    const json languages = doc["languages"];
    bool languageListed = false;
    for (const json& entry : languages)
        languageListed = languageListed || (entry.contains("language_bytes") && BytesOf(entry["language_bytes"]) == language);
    EXPECT_TRUE(languageListed) << run.out;

    // A missing file with such a name lands under "skipped" the same way.
    const CliRun missing = Run({"-f", "json", Path("gone\xe9.c").string()});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(BytesOf(json::parse(missing.out)["skipped"][0]["path_bytes"]), Path("gone\xe9.c").string());

    // The other formats write the bytes as they are.
    for (const char* format : {"table", "csv", "txt", "html", "md"}) {
        const CliRun other =
            Run({"--languages", langs, "--by-file", "-f", format, Path("latin1.kpl").string()});
        EXPECT_EQ(other.code, 0) << format << other.err;
        EXPECT_NE(other.out.find(cName), std::string::npos) << format;
    }
}

TEST_F(CliTest, AListThatIsNoListIsRefused) {
    fs::create_directories(Path("folder"));
    const CliRun folder = Run({"--list", Path("folder").string()});
    EXPECT_EQ(folder.code, 2);
    EXPECT_NE(folder.err.find("is a folder, not a list of paths"), std::string::npos) << folder.err;
    EXPECT_EQ(folder.out, "");

    // /dev/zero never ends and has no line end: refused after the first long line, not read on.
    const auto start = std::chrono::steady_clock::now();
    const CliRun zero = Run({"--list", "/dev/zero"});
    EXPECT_EQ(zero.code, 2);
    EXPECT_NE(zero.err.find("not a list of paths"), std::string::npos) << zero.err;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));

    std::istringstream endless(std::string(sources::kMaxListLine + 1, 'x'));
    Console console;
    console.in = &endless;
    const CliRun piped = Run({"--list", "-"}, console);
    EXPECT_EQ(piped.code, 2);
    EXPECT_NE(piped.err.find("standard input\" is not a list of paths: line 1 is longer than"), std::string::npos)
        << piped.err;

    // A line of the longest length allowed is still a path (one that does not exist).
    Write("long.txt", std::string(sources::kMaxListLine, 'y') + "\n");
    const CliRun longest = Run({"-q", "--list", Path("long.txt").string()});
    EXPECT_EQ(longest.code, 1);
}

TEST_F(CliTest, ANamedPipeIsReadAsAList) {
    // The writer opens the pipe after kordelc does: the open waits for it, and the list is read to its end.
    WriteC("x/one.c", 1);
    WriteC("x/two.c", 2);
    const std::string pipe = Path("paths.fifo").string();
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    std::thread writer([&] {
        // Opening for writing without blocking succeeds only once a reader has the pipe open; a writer
        // that never finds one gives up, and the list comes out empty instead of the test hanging.
        int fd = -1;
        for (int tries = 0; fd < 0 && tries < 500; ++tries) {
            fd = ::open(pipe.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        if (fd < 0) return;
        const std::string text = Path("x/one.c").string() + "\r\n\n" + Path("x/two.c").string();
        ::fcntl(fd, F_SETFL, 0);
        EXPECT_EQ(::write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
        ::close(fd);
    });
    const std::vector<std::string> files = CountedFiles({"--list", pipe});
    writer.join();
    EXPECT_EQ(files, (std::vector<std::string>{"x/one.c", "x/two.c"}));
}

TEST_F(CliTest, CountingARepositoryRunsNothingItsConfigurationNames) {
    if (std::system("git --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "git is not installed";
    WriteC("repo/a.c", 2);
    WriteC("repo/new.c", 1);
    const std::string repo = std::string(1, '\'').append(Path("repo").string()).append(1, '\'');
    const fs::path marker = Path("ran-a-command");
    ASSERT_EQ(std::system(("git -C " + repo + " init -q && git -C " + repo + " add a.c").c_str()), 0);
    // Set after the add, so that only a reader of the repository can run these.
    const std::string command = "touch '" + marker.string() + "'; false";
    for (const char* key : {"core.fsmonitor", "core.hooksPath", "filter.x.clean", "core.sshCommand"})
        ASSERT_EQ(std::system(("git -C " + repo + " config " + key + " \"" + command + "\"").c_str()), 0);
    Write("repo/.gitattributes", "*.c filter=x\n");

    EXPECT_EQ(CountedFiles({"--vcs", "git", Path("repo").string()}),
              (std::vector<std::string>{"repo/a.c", "repo/new.c"}));
    EXPECT_EQ(CountedFiles({Path("repo").string()}), (std::vector<std::string>{"repo/a.c", "repo/new.c"}));
    EXPECT_FALSE(fs::exists(marker)) << "kordelc ran a command of the repository";

    // The configuration is live: git itself runs it.
    std::system(("git -C " + repo + " status --porcelain > /dev/null 2>&1").c_str());
    EXPECT_TRUE(fs::exists(marker)) << "the test's fsmonitor setting has no effect on this git";
}

TEST_F(CliTest, ControlBytesInNamesAreEscapedOnATerminal) {
    const std::string name = "a\x1b]0;owned\x07\x1b[2J.c";
    WriteC(name, 1);
    Console terminal;
    terminal.outIsTerminal = true;
    terminal.errIsTerminal = true;
    terminal.outWidth = 300;
    const CliRun run = Run({"--by-file", Path(name).string(), Path("gone\x1b[31m.c").string()}, terminal);
    EXPECT_EQ(run.code, 1);
    EXPECT_NE(run.out.find("a\\x1B]0;owned\\x07\\x1B[2J.c"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find('\x1b'), std::string::npos);
    EXPECT_NE(run.err.find("gone\\x1B[31m.c"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("\x1b[31m"), std::string::npos);
    // Piped, the bytes are kept for the program that reads them.
    const CliRun piped = Run({"--by-file", Path(name).string()});
    EXPECT_NE(piped.out.find(Path(name).string() + "\t1"), std::string::npos);
}

}  // namespace
}  // namespace kordel::cli::test
