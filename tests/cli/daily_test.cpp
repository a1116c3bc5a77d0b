// What users of other counters reach for: languages by name, ignore files, Markdown, --map,
// --stdin-name, --max-file-size, --skip-duplicates, help without noise, a real 80-column terminal.
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>

#include "vcs/ignore_rules.h"
#include "sources/languages.h"
#include "cli/progress.h"
#include "cli_support.h"
#include "engine/dispatch.h"

namespace kordel::cli::test {
namespace {

using nlohmann::json;
using Set = std::set<std::string>;

std::map<std::string, std::string> LanguageOfEachFile(const CliRun& run) {
    std::map<std::string, std::string> languages;
    const json doc = json::parse(run.out);
    for (const json& file : doc["files"])
        languages[fs::path(file["path"].get<std::string>()).filename().string()] = file["language"];
    return languages;
}

TEST_F(CliTest, LanguagesAreNamedByTheirOwnNames) {
    for (const char* name : {"A.java", "b.js", "c.cs", "d.c", "e.cpp", "f.h", "g.hpp", "h.f", "i.F90", "k.zz"})
        WriteC(std::string("src/") + name, 1);
    Write("langs.ini", "Zed Script\r\n.zz\r\n@@\r\n0\r\n\r\n0\r\n\r\nNo\r\n");
    const std::vector<std::string> args{"--languages", Path("langs.ini").string(), "-f", "json", Path("src").string()};
    const std::map<std::string, std::string> expected{
        {"A.java", "Java"}, {"b.js", "JavaScript"}, {"c.cs", "C#"},           {"d.c", "C"},
        {"e.cpp", "C++"},   {"f.h", "C Header"},    {"g.hpp", "C++ Header"}, {"h.f", "Forth"},
        {"i.F90", "Fortran 90"}, {"k.zz", "Zed Script"}};
    EXPECT_EQ(LanguageOfEachFile(Run(args)), expected);
    std::vector<std::string> fortran = args;
    fortran.insert(fortran.begin(), "--fortran77");
    EXPECT_EQ(LanguageOfEachFile(Run(fortran))["h.f"], "Fortran 77");
}

TEST_F(CliTest, ListLanguagesShowsBuiltInAndUserLanguages) {
    Write("langs.ini", "Zed Script\r\n.zz;.zed\r\n@@\r\n0\r\n\r\n0\r\n\r\nNo\r\n");
    const CliRun run = Run({"--languages", Path("langs.ini").string(), "--list-languages"});
    EXPECT_EQ(run.code, 0);
    for (const char* text : {"\n  Java          .java  [CountLinesCJAVA]\n", "\n  Forth         .f (unless --fortran77)",
                             "\n  Fortran 77    .f77 .f (with --fortran77)  [CountLinesFortran77]\n",
                             "\n  Zed Script    .zz;.zed\n"})
        EXPECT_NE(run.out.find(text), std::string::npos) << text << "\n" << run.out;
}

TEST_F(CliTest, FurtherLanguagesByDefaultAndBuiltinOnlyAsTheDesktopCounts) {
    WriteC("src/a.c", 1);
    Write("src/lib.rs", "// a\nfn main() {}\n");
    Write("src/Makefile", "all:\n\ttrue # b\n");
    Write("src/tool", "#!/usr/bin/env -S python3 -u\nprint(1)\n");
    Write("src/README", "words\n");
    Write("src/types.d.ts", "let x: number;\n");
    const std::map<std::string, std::string> expected{{"Makefile", "Make"},  {"a.c", "C"},
                                                      {"lib.rs", "Rust"},    {"tool", "Python"},
                                                      {"types.d.ts", "TypeScript"}};
    const CliRun run = Run({"-f", "json", Path("src").string()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(LanguageOfEachFile(run), expected);
    // A file found for its #! line that names nothing is left out without a word; named, it is skipped.
    EXPECT_EQ(json::parse(run.out)["skipped"].size(), 0u);
    const CliRun named = Run({"-f", "json", Path("src/README").string()});
    EXPECT_EQ(named.code, 1);
    EXPECT_EQ(json::parse(named.out)["skipped"].size(), 1u);
    // The desktop program's languages only: the built-in table and the user languages.
    EXPECT_EQ(LanguageOfEachFile(Run({"-f", "json", "--builtin-only", Path("src").string()})),
              (std::map<std::string, std::string>{{"a.c", "C"}}));

    const std::string listing = Run({"--list-languages"}).out;
    EXPECT_NE(listing.find("\nFurther languages"), std::string::npos) << listing;
    EXPECT_NE(listing.find("\n  Rust          .rs\n"), std::string::npos) << listing;
    EXPECT_NE(Run({"--list-languages", "--builtin-only"}).out.find("Further languages: not used"), std::string::npos);
}

TEST_F(CliTest, AFileOfAnExtensionNoTableKnowsIsCountedByItsInterpreterLine) {
    Write("t/trigger.tc", "#!/bin/sh\necho on # a\n");
    Write("t/tool.zzz", "#!/usr/bin/env -S python3 -u\nprint(1)\n");
    Write("t/data.zzz", "words\n");
    Write("t/plain", "words\n");
    WriteC("t/a.c", 1);
    const CliRun run = Run({"-f", "json", "--ignored", Path("ign.txt").string(), Path("t").string()});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(LanguageOfEachFile(run), (std::map<std::string, std::string>{
                                           {"a.c", "C"}, {"tool.zzz", "Python"}, {"trigger.tc", "Shell"}}));
    // Found by the walk and named by nothing: left out, with its reason in --ignored only.
    EXPECT_EQ(json::parse(run.out)["skipped"].size(), 0u);
    std::ifstream list(Path("ign.txt"));
    Set ignored;
    for (std::string line; std::getline(list, line);) ignored.insert(line.substr(0, line.find('\r')));
    EXPECT_EQ(ignored,
              (Set{Path("t").string() + "/data.zzz\tunknown extension",
                   Path("t").string() + "/plain\tno extension, and no language in its #! line"}));
    // The text report names the files it counts, streamed or not.
    Console terminal;
    terminal.outIsTerminal = true;
    for (const CliRun& txt : {Run({"-f", "txt", Path("t").string()}), Run({"-f", "txt", Path("t").string()}, terminal)})
        EXPECT_NE(txt.out.find("Number of Source Files in project: 3\r\n"), std::string::npos) << txt.out;
    // Named, or asked for with --include-ext, it is reported as skipped.
    EXPECT_EQ(json::parse(Run({"-f", "json", Path("t/data.zzz").string()}).out)["skipped"].size(), 1u);
    const CliRun asked = Run({"-f", "json", "--include-ext", ".zzz", Path("t").string()});
    EXPECT_EQ(json::parse(asked.out)["skipped"].size(), 1u);
    EXPECT_EQ(json::parse(asked.out)["files"].size(), 1u);
    // The desktop program's languages only: no #! lines.
    EXPECT_EQ(LanguageOfEachFile(Run({"-f", "json", "--builtin-only", Path("t").string()})),
              (std::map<std::string, std::string>{{"a.c", "C"}}));
}

class IgnoreTest : public CliTest {
protected:
    void SetUp() override {
        CliTest::SetUp();
        if (std::system("git --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "git is not installed";
        for (const char* file : {"repo/src/main.c", "repo/build/gen.c", "repo/src/debug.c", "repo/tracked_gen.c",
                                 "repo/local.c", "repo/vendor/keep.c", "repo/vendor/drop.c", "repo/sub/inner/x.c",
                                 "repo/nested/n.c", "repo/nested/skip.c"})
            WriteC(file, 1);
        Write("repo/.gitignore", "build/\n*_gen.c\ndebug.c\n");
        Write("repo/vendor/.ignore", "*.c\n!keep.c\n");
        Write("repo/sub/.ignore", "inner/\n");
        const std::string repo = std::string(1, '\'').append(Path("repo").string()).append(1, '\'');
        const std::string nested = std::string(1, '\'').append(Path("repo/nested").string()).append(1, '\'');
        ASSERT_EQ(std::system(("git -C " + repo + " init -q && git -C " + repo + " add -f tracked_gen.c src/main.c && " +
                               "git -C " + nested + " init -q").c_str()),
                  0);
        Write("repo/.git/info/exclude", "local.c\n");
        // The nested repository has rules of its own, which the outer one's do not reach.
        Write("repo/nested/.gitignore", "skip.c\n");
    }
};

TEST_F(IgnoreTest, IgnoreFilesAreHonouredByDefault) {
    const Set expected{"repo/nested/n.c", "repo/src/main.c", "repo/tracked_gen.c", "repo/vendor/keep.c"};
    EXPECT_EQ(CountedSet({Path("repo").string()}), expected);
    // Named from inside, the same rules apply; a folder git ignores is counted when it is named.
    EXPECT_EQ(CountedSet({Path("repo/src").string()}), Set{"repo/src/main.c"});
    EXPECT_EQ(CountedSet({Path("repo/build").string()}), Set{"repo/build/gen.c"});
    // Without git's program.
    const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    ::setenv("PATH", Path("no-such-bin").c_str(), 1);
    const Set withoutGit = CountedSet({Path("repo").string()});
    ::setenv("PATH", path.c_str(), 1);
    EXPECT_EQ(withoutGit, expected);
}

TEST_F(IgnoreTest, NoIgnoreCountsEverything) {
    EXPECT_EQ(CountedSet({"--no-ignore", Path("repo").string()}).size(), 10u);
}

TEST_F(IgnoreTest, IgnoreFilesOutsideARepository) {
    WriteC("plain/a.c", 1);
    WriteC("plain/skip/b.c", 1);
    Write("plain/.ignore", "skip/\n");
    Write("plain/.gitignore", "a.c\n");  // outside a work tree a .gitignore means nothing
    ::setenv("GIT_CEILING_DIRECTORIES", m_dir.string().c_str(), 1);
    const Set files = CountedSet({Path("plain").string()});
    ::unsetenv("GIT_CEILING_DIRECTORIES");
    EXPECT_EQ(files, Set{"plain/a.c"});
}

TEST_F(CliTest, MarkdownTable) {
    WriteC("src/a.c", 3, 1, 1);
    Write("src/p|ipe.py", "x = 1\n");
    EXPECT_EQ(Run({"-f", "md", Path("src").string()}).out,
              "| Language | Files | Code | Comment | Mixed | Blank | Lines |\n"
              "| :--- | ---: | ---: | ---: | ---: | ---: | ---: |\n"
              "| C | 1 | 3 | 1 | 0 | 1 | 5 |\n"
              "| Python | 1 | 1 | 0 | 0 | 0 | 1 |\n"
              "| **Total** | **2** | **4** | **1** | **0** | **1** | **6** |\n");
    const std::string byFile = Run({"-f", "md", "--by-file", "-p", Path("src").string()}).out;
    EXPECT_NE(byFile.find("p\\|ipe.py | 1 | 100.00% | 0 | 0.00% |"), std::string::npos) << byFile;
}

TEST_F(CliTest, MapCountsAnExtensionAsAnotherLanguage) {
    const std::string text = "x; // note\n/* block */\nmore;\n";
    Write("src/a.inc", text);
    Write("src/b.c", text);
    Write("src/c.foo", text);
    const CliRun run = Run({"-f", "json", "--map", ".inc=.c", "--map", ".FOO=.c", Path("src").string()});
    ASSERT_EQ(run.code, 0) << run.err;
    const json doc = json::parse(run.out);
    ASSERT_EQ(doc["files"].size(), 3u) << "a mapped extension is taken by folder walks";
    for (const json& file : doc["files"]) {
        EXPECT_EQ(file["language"], "C") << file;
        EXPECT_EQ(file["code"], doc["files"][1]["code"]);
        EXPECT_EQ(file["comment"], doc["files"][1]["comment"]);
        EXPECT_EQ(file["mixed"], doc["files"][1]["mixed"]);
    }
    EXPECT_NE(LanguageOfEachFile(Run({"-f", "json", Path("src/a.inc").string()}))["a.inc"], "C");
    for (const char* bad : {".inc=.nothing", "inc=.c", ".inc", ".inc="}) {
        const CliRun refused = Run({"--map", bad, Path("src").string()});
        EXPECT_EQ(refused.code, 2) << bad;
    }
}

TEST_F(CliTest, StandardInputCountedUnderAName) {
    std::istringstream in("x = 1\n# note\n\ny = 2  # why\n");
    Console console;
    console.in = &in;
    const CliRun run = Run({"-f", "json", "--stdin-name", "piped.py"}, console);
    ASSERT_EQ(run.code, 0) << run.err;
    const json doc = json::parse(run.out);
    ASSERT_EQ(doc["files"].size(), 1u);
    EXPECT_EQ(doc["files"][0]["path"], "piped.py");
    EXPECT_EQ(doc["files"][0]["language"], "Python");
    EXPECT_EQ(doc["totals"]["code"], 1);
    EXPECT_EQ(doc["totals"]["mixed"], 1);
    EXPECT_EQ(doc["totals"]["lines"], 4);
    // An empty standard input is an empty file.
    std::istringstream nothing;
    console.in = &nothing;
    const CliRun empty = Run({"-f", "json", "--stdin-name", "empty.c"}, console);
    EXPECT_EQ(empty.code, 0) << empty.err;
    EXPECT_EQ(json::parse(empty.out)["files"][0]["lines"], 0);
}

TEST_F(CliTest, MaxFileSizeAndDuplicatesLeaveFilesOut) {
    WriteC("src/big.c", 400);
    WriteC("src/small.c", 2);
    WriteC("src/copy_of_small.c", 2);
    Write("src/same_size.c", "y = 0;\ny = 1;\n");  // as long as small.c, other bytes
    const std::string src = Path("src").string();
    const CliRun limited = Run({"-f", "json", "--max-file-size", "1K", src});
    EXPECT_EQ(limited.code, 0) << "leaving out on purpose is no failure";
    const json doc = json::parse(limited.out);
    EXPECT_EQ(doc["files"].size(), 3u);
    ASSERT_EQ(doc["left_out"].size(), 1u);
    EXPECT_EQ(fs::path(doc["left_out"][0]["path"].get<std::string>()).filename(), "big.c");
    EXPECT_NE(limited.err.find("1 file(s) larger than --max-file-size left out"), std::string::npos) << limited.err;
    for (const char* bad : {"1X", "K", "-1", "99999999999999999999"})
        EXPECT_EQ(Run({"--max-file-size", bad, src}).code, 2) << bad;

    EXPECT_EQ(CountedSet({src}).size(), 4u);
    const CliRun once = Run({"-f", "json", "--skip-duplicates", src});
    const json onceDoc = json::parse(once.out);
    EXPECT_EQ(onceDoc["files"].size(), 3u);
    ASSERT_EQ(onceDoc["left_out"].size(), 1u);
    // The file met first (in walk order) stays; the later copy is named with the file it repeats.
    EXPECT_EQ(onceDoc["left_out"][0]["path"], Path("src/small.c").string());
    EXPECT_EQ(onceDoc["left_out"][0]["reason"], "the same contents as " + Path("src/copy_of_small.c").string());
    EXPECT_NE(once.err.find("1 duplicate file(s) counted once"), std::string::npos) << once.err;
}

TEST(HelpTest, OneHelpWithoutParserNoiseAndCompletionsForEveryOption) {
    std::ostringstream out, err;
    const char* argv[] = {"kordelc", "--help"};
    ASSERT_EQ(kordel::cli::Run(2, const_cast<char**>(argv), out, err), 0);
    const std::string help = out.str();
    for (const char* noise : {"FILE:FILE", ":{", "in [", "TEXT", "UINT", "REQUIRED"})
        EXPECT_EQ(help.find(noise), std::string::npos) << noise << "\n" << help;
    std::set<std::string> options;
    for (std::size_t at = help.find("--"); at != std::string::npos; at = help.find("--", at + 2)) {
        const std::size_t end = help.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-", at + 2);
        if (at > 0 && (help[at - 1] == ' ' || help[at - 1] == ',')) options.insert(help.substr(at, end - at));
    }
    EXPECT_GT(options.size(), 25u);
    for (const char* completion : {"kordelc.bash", "kordelc.zsh", "kordelc.fish"}) {
        const std::string text = test_support::ReadBytes(fs::path(KORDEL_SOURCE_DIR) / "cli" / "completions" / completion);
        ASSERT_FALSE(text.empty()) << completion;
        for (const std::string& option : options) {
            // fish names long options without their dashes.
            const std::string name = std::string(completion) == "kordelc.fish" ? "-l " + option.substr(2) : option;
            EXPECT_NE(text.find(name), std::string::npos) << option << " is missing from " << completion;
        }
    }
}

// kordelc on a pseudo-terminal of 80 columns: what a user sees.
std::string RunOnTerminal(std::vector<std::string> args, unsigned short columns) {
    winsize size{};
    size.ws_col = columns;
    size.ws_row = 50;
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, &size);
    if (pid == 0) {
        std::vector<char*> argv{const_cast<char*>("kordelc")};
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        execv(KORDELC_BINARY, argv.data());
        _exit(127);
    }
    std::string out;
    char buffer[4096];
    ssize_t got;
    while ((got = read(master, buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<std::size_t>(got));
    close(master);
    int status = 0;
    waitpid(pid, &status, 0);
    return out;
}

TEST_F(CliTest, EightyColumnTerminalWithLongPaths) {
    std::string deep = "src";
    for (int i = 0; i < 6; ++i) deep += "/a-folder-name-that-goes-on-and-on-" + std::to_string(i);
    WriteC(deep + "/main.c", 123456, 20000, 3000);
    WriteC(deep + "/util.h", 5, 1);
    Write("src/short.py", "x = 1\n");
    Write("src/x.zz", "code\n");
    Write("langs.ini", "A user language with a long name\r\n.zz\r\n@@\r\n0\r\n\r\n0\r\n\r\nNo\r\n");
    const std::string langs = Path("langs.ini").string();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--languages", langs, Path("src").string()},
          {"--languages", langs, "-p", Path("src").string()},
          {"--languages", langs, "--by-file", Path("src").string()},
          {"--languages", langs, "--by-file", "-p", Path("src").string()}}) {
        const std::string out = RunOnTerminal(args, 80);
        std::istringstream lines(out);
        std::string line;
        int count = 0;
        while (std::getline(lines, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            EXPECT_LE(outputs::DisplayWidth(line), 80u) << line;
            ++count;
        }
        EXPECT_GE(count, 5) << out;
        EXPECT_NE(out.find("123,456"), std::string::npos) << out;
        if (args[2] != "--by-file") {
            EXPECT_NE(out.find("\nA user language with a long name "), std::string::npos) << "names are never cut:\n" << out;
            EXPECT_NE(out.find("\nC Header "), std::string::npos) << out;
        } else {
            EXPECT_NE(out.find("..."), std::string::npos) << "the long path is shortened:\n" << out;
        }
    }
}

}  // namespace
}  // namespace kordel::cli::test
