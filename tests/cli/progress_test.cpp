// The progress line: drawn in place after the delay, cleared for messages, only on a terminal.
#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "cli/progress.h"
#include "cli_support.h"

namespace kordel::cli::test {
namespace {

using namespace std::chrono_literals;

std::string Script(bool live, std::chrono::milliseconds delay, bool quiet = false) {
    std::ostringstream err;
    Progress progress(err, live, quiet, 80, delay);
    progress.Walking(3, "some/dir");
    std::this_thread::sleep_for(300ms);
    progress.Counting(1, 4, "src");
    progress.Warn("careful");
    progress.Error("broken");
    std::this_thread::sleep_for(300ms);
    progress.Stop();
    return err.str();
}

TEST(ProgressTest, LiveLineIsRedrawnClearedForMessagesAndAtTheEnd) {
    const std::string err = Script(true, 0ms);
    const std::size_t walking = err.find("\rLooking for files: 3 found (some/dir)\x1b[K");
    const std::size_t counting = err.find("\rCounting: 1 of 4 files done (src)\x1b[K");
    const std::size_t warning = err.find("\r\x1b[Kkordelc: careful\nkordelc: broken\n");
    ASSERT_NE(walking, std::string::npos) << err;
    ASSERT_NE(counting, std::string::npos) << err;
    ASSERT_NE(warning, std::string::npos) << err;
    EXPECT_LT(walking, counting);
    EXPECT_LT(counting, warning);
    EXPECT_TRUE(err.ends_with("\r\x1b[K")) << err;
}

TEST(ProgressTest, NothingButMessagesWhenNotLiveOrBeforeTheDelay) {
    EXPECT_EQ(Script(false, 0ms), "kordelc: careful\nkordelc: broken\n");
    EXPECT_EQ(Script(true, 10s), "kordelc: careful\nkordelc: broken\n");
    EXPECT_EQ(Script(true, 0ms, true), "kordelc: broken\n");
}

TEST(ProgressTest, LineFitsTheWidth) {
    EXPECT_EQ(Progress::LineText(true, 2, 10, "a/b", 80), "Counting: 2 of 10 files done (a/b)");
    EXPECT_EQ(Progress::LineText(false, 0, 0, "", 80), "Looking for files: 0 found");
    const std::string narrow = Progress::LineText(true, 2, 10, std::string(100, 'x') + "/end", 40);
    EXPECT_EQ(outputs::DisplayWidth(narrow), 39u) << narrow;
    EXPECT_TRUE(narrow.starts_with("Counting: 2 of 10 files done (xx")) << narrow;
    EXPECT_TRUE(narrow.ends_with("...end)")) << narrow;
}

// Runs kordelc with "--list -" whose standard input stays open for 1.3 s, so that the run lasts
// longer than the progress line's delay; standard error is a pseudo-terminal or a pipe.
struct ChildRun {
    int status = -1;
    std::string err;
    std::string out;
};

ChildRun RunSlowList(const std::string& list, const fs::path& dir, bool terminal) {
    int input[2];
    int errPipe[2] = {-1, -1};
    EXPECT_EQ(pipe(input), 0);
    if (!terminal) {
        EXPECT_EQ(pipe(errPipe), 0);
    }
    const std::string outFile = (dir / "child.out").string();
    const std::string db = (dir / "empty-udlangdb.ini").string();
    int master = -1;
    const pid_t pid = terminal ? forkpty(&master, nullptr, nullptr, nullptr) : fork();
    if (pid == 0) {
        // The child must not hold the write end, or its standard input would never end.
        close(input[1]);
        dup2(input[0], 0);
        if (!terminal) {
            close(errPipe[0]);
            dup2(errPipe[1], 2);
        }
        const int out = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, 1);
        execl(KORDELC_BINARY, "kordelc", "--languages", db.c_str(), "--list", "-", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(input[0]);
    if (!terminal) close(errPipe[1]);
    ChildRun run;
    const int readFd = terminal ? master : errPipe[0];
    char buffer[4096];
    ssize_t got;
    // The list is held back until the progress line of the search shows (on a terminal), or for a
    // while in a pipe, where it must never show: a loaded machine only makes the wait longer.
    const auto heldBack = std::chrono::steady_clock::now() + (terminal ? 60s : 1300ms);
    while (std::chrono::steady_clock::now() < heldBack) {
        if (terminal && run.err.find("Looking for files: 0 found") != std::string::npos) break;
        pollfd ready{readFd, POLLIN, 0};
        if (poll(&ready, 1, 100) > 0 && (got = read(readFd, buffer, sizeof buffer)) > 0)
            run.err.append(buffer, static_cast<std::size_t>(got));
    }
    EXPECT_EQ(write(input[1], list.data(), list.size()), static_cast<ssize_t>(list.size()));
    close(input[1]);
    while ((got = read(readFd, buffer, sizeof buffer)) > 0) run.err.append(buffer, static_cast<std::size_t>(got));
    close(readFd);  // a pty's master reads EIO once the child has gone
    waitpid(pid, &run.status, 0);
    run.out = test_support::ReadBytes(outFile);
    return run;
}

class ProgressRunTest : public CliTest {};

TEST_F(ProgressRunTest, ShownOnATerminalNeverInAPipe) {
    WriteC("src/a.c", 2);
    WriteC("src/b.c", 3);
    const std::string list = Path("src").string() + "\n";

    const ChildRun onTerminal = RunSlowList(list, m_dir, true);
    ASSERT_TRUE(WIFEXITED(onTerminal.status));
    EXPECT_EQ(WEXITSTATUS(onTerminal.status), 0);
    EXPECT_NE(onTerminal.err.find("\rLooking for files: 0 found"), std::string::npos) << onTerminal.err;
    EXPECT_NE(onTerminal.err.find(" of 2 files done ("), std::string::npos) << onTerminal.err;
    EXPECT_TRUE(onTerminal.err.ends_with("\r\x1b[K")) << "the line is cleared at the end";
    // Standard output is a file, so the table is the plain one.
    EXPECT_NE(onTerminal.out.find("Total\t2\t5\t0\t0\t0\t5\n"), std::string::npos) << onTerminal.out;

    const ChildRun inPipe = RunSlowList(list, m_dir, false);
    ASSERT_TRUE(WIFEXITED(inPipe.status));
    EXPECT_EQ(WEXITSTATUS(inPipe.status), 0);
    EXPECT_EQ(inPipe.err, "");
    EXPECT_EQ(inPipe.out, onTerminal.out);
}

}  // namespace
}  // namespace kordel::cli::test
