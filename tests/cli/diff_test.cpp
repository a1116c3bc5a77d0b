// kordelc --diff and git revisions as inputs: change counts derived by hand for every kind of move,
// on folders, project lists and revisions; a revision counted from git against its checked-out tree.
#include <array>
#include <fstream>

#include "diff/diff_lines.h"
#include "cli_support.h"
#include "engine/dispatch.h"
#include "git_support.h"

namespace kordel::cli::test {
namespace {

using Block = std::array<std::array<std::int64_t, 4>, 4>;  // [code, comment, mixed, blank][same, modified, added, removed]

Block BlockOf(const nlohmann::json& counts) {
    Block block{};
    const char* categories[] = {"code", "comment", "mixed", "blank"};
    const char* changes[] = {"same", "modified", "added", "removed"};
    for (int c = 0; c < 4; ++c)
        for (int k = 0; k < 4; ++k) block[c][k] = counts.at(categories[c]).at(changes[k]).get<std::int64_t>();
    return block;
}

std::string Show(const Block& b) {
    std::string text;
    for (const auto& row : b) {
        for (auto v : row) text += std::to_string(v) + " ";
        text += "| ";
    }
    return text;
}

class DiffTest : public CliTest {
protected:
    // The two versions: one file per kind of move, an unchanged file, and one with other line ends only.
    static constexpr const char* kOld[][2] = {
        {"edit.c", "int a;\n// old note\nint b;\n"},      // a comment line edited
        {"mixed.c", "x = 1;\ny = 2;\n"},                   // a code line turned mixed
        {"blank.c", "a();\nb();\n"},                       // a blank line added
        {"block.c", "int k;\nint m;\n"},                   // a line moved into a block comment
        {"gone.c", "int g;\n// g\n"},                      // only in the old version
        {"same.c", "int s;\n"},
        {"lines.c", "int t;\r\n"},
    };
    static constexpr const char* kNew[][2] = {
        {"edit.c", "int a;\n// new note\nint b;\n"},
        {"mixed.c", "x = 1; // why\ny = 2;\n"},
        {"blank.c", "a();\n\nb();\n"},
        {"block.c", "/* off\nint k;\n*/\nint m;\n"},
        {"fresh.c", "int f;\n\n"},                         // only in the new version
        {"same.c", "int s;\n"},
        {"lines.c", "int t;\n"},
    };

    void WriteVersion(const std::string& folder, bool newer) const {
        if (newer)
            for (const auto& f : kNew) Write(folder + "/" + f[0], f[1]);
        else
            for (const auto& f : kOld) Write(folder + "/" + f[0], f[1]);
    }

    void WriteList(const std::string& name, const std::string& folder, bool newer) const {
        std::string text = "Kordel Project List\r\n\r\nANY EDITS THAT ARE DONE TO THIS FILE ARE DONE AT YOUR OWN RISK.\r\n\r\n"
                           "31214729602::FN\r\n";
        for (const auto& f : newer ? kNew : kOld) text += Path(folder + "/" + f[0]).string() + "\r\n";
        text += "31214729604::PN\r\nLists\r\n\r\n";
        Write(name, text);
    }

    nlohmann::json DiffJson(const std::string& before, const std::string& after) const {
        const CliRun run = Run({"--diff", before, after, "-f", "json", "--by-file"});
        EXPECT_EQ(run.code, 0) << run.err;
        return nlohmann::json::parse(run.out);
    }

    // The numbers worked out by hand from the two versions above.
    void ExpectHandCounts(const nlohmann::json& doc, const std::string& what) const {
        // code: same 2 (edit) + 1 (mixed) + 2 (blank) + 1 (block) + 1 (same) + 1 (lines); added 1 (fresh);
        //       removed 1 (mixed: now mixed) + 1 (block: now inside the comment) + 1 (gone).
        // comment: modified 1 (edit); added 3 (block: the opener, the line moved in, the close); removed 1 (gone).
        const Block total = {{{8, 0, 1, 3}, {0, 1, 3, 1}, {0, 0, 1, 0}, {0, 0, 2, 0}}};
        EXPECT_EQ(Show(BlockOf(doc["total"])), Show(total)) << what;
        EXPECT_EQ(doc["total"]["files"], (nlohmann::json{{"same", 2}, {"modified", 4}, {"added", 1}, {"removed", 1}}))
            << what;
        ASSERT_EQ(doc["languages"].size(), 1u) << what;
        EXPECT_EQ(Show(BlockOf(doc["languages"][0])), Show(total)) << what;
        std::map<std::string, std::pair<std::string, Block>> files;
        for (const auto& f : doc["files"]) files[f["path"]] = {f["change"], BlockOf(f)};
        ASSERT_EQ(files.size(), 8u) << what;
        const std::map<std::string, std::pair<std::string, Block>> expected = {
            {"edit.c", {"modified", {{{2, 0, 0, 0}, {0, 1, 0, 0}, {}, {}}}}},
            {"mixed.c", {"modified", {{{1, 0, 0, 1}, {}, {0, 0, 1, 0}, {}}}}},
            {"blank.c", {"modified", {{{2, 0, 0, 0}, {}, {}, {0, 0, 1, 0}}}}},
            {"block.c", {"modified", {{{1, 0, 0, 1}, {0, 0, 3, 0}, {}, {}}}}},
            {"gone.c", {"removed", {{{0, 0, 0, 1}, {0, 0, 0, 1}, {}, {}}}}},
            {"fresh.c", {"added", {{{0, 0, 1, 0}, {}, {}, {0, 0, 1, 0}}}}},
            {"same.c", {"same", {{{1, 0, 0, 0}, {}, {}, {}}}}},
            {"lines.c", {"same", {{{1, 0, 0, 0}, {}, {}, {}}}}},
        };
        for (const auto& [path, want] : expected) {
            EXPECT_EQ(files[path].first, want.first) << what << " " << path;
            EXPECT_EQ(Show(files[path].second), Show(want.second)) << what << " " << path;
        }
    }
};

TEST_F(DiffTest, EveryKindOfMoveCountsTheSameFromFoldersListsAndRevisions) {
    WriteVersion("old", false);
    WriteVersion("new", true);
    ExpectHandCounts(DiffJson(Path("old").string(), Path("new").string()), "folders");
    // Pairs counted on several threads come out in the same order with the same numbers.
    const std::vector<std::string> both = {"--diff", Path("old").string(), Path("new").string(), "--by-file"};
    std::vector<std::string> one = both, four = both;
    one.insert(one.end(), {"-j", "1"});
    four.insert(four.end(), {"-j", "4"});
    EXPECT_EQ(Run(one).out, Run(four).out);

    WriteList("old.kpl", "old", false);
    WriteList("new.kpl", "new", true);
    ExpectHandCounts(DiffJson(Path("old.kpl").string(), Path("new.kpl").string()), "project lists");

    TestRepository repository(Path("repo"));
    WriteVersion("repo", false);
    repository.Commit("old");
    for (const auto& f : kOld) fs::remove(Path("repo") / f[0]);
    WriteVersion("repo/src", true);
    repository.Commit("new");
    const InFolder inRepo(Path("repo"));
    ExpectHandCounts(DiffJson("git:HEAD~1", "git:HEAD:src"), "revisions");
    // A revision against a folder on disk.
    ExpectHandCounts(DiffJson("git:HEAD~1", Path("new").string()), "revision and folder");
}

// Counting a revision reads its blobs from the object database and must give what counting the
// checked-out files gives: line ends, Ctrl-Z, long lines, several languages, and the filters.
TEST_F(DiffTest, RevisionCountsEqualItsCheckedOutTree) {
    TestRepository repository(Path("repo"));
    Write("repo/main.c", "/* head\n * more */\nint main(void) { // entry\r\n  return 0;\r\n}\r\n");
    Write("repo/src/tool.py", "# tool\nimport os\n\n\"\"\"doc\nstring\"\"\"\nprint(1)  # out\n");
    Write("repo/src/deep/page.html", "<!-- c -->\n<p>x</p>\n");
    Write("repo/src/long.c", std::string(5000, 'x') + "\n// tail\x1A" "after\n");
    Write("repo/build/gen.c", "int generated;\n");
    Write("repo/notes.unknown", "not counted\n");
    Write("repo/src/skip_me.c", "int skipped;\n");
    // .ignore files leave files out of a revision as out of a folder; a tracked file stays in
    // whatever .gitignore says.
    Write("repo/src/.ignore", "deep/\n");
    Write("repo/.gitignore", "main.c\n");
    repository.Commit("tree");

    // .gitignore is a language of the table; this is about which files, so the built-in languages only.
    const std::vector<std::string> filters = {"--exclude-dir", "build", "--exclude", "skip_*", "-f", "json",
                                              "--builtin-only"};
    const auto perFile = [&](std::vector<std::string> args, const std::string& prefix) {
        args.insert(args.end(), filters.begin(), filters.end());
        const CliRun run = Run(args);
        EXPECT_EQ(run.code, 0) << run.err;
        std::map<std::string, std::string> counts;
        const nlohmann::json doc = nlohmann::json::parse(run.out);
        for (const auto& f : doc["files"]) {
            std::string path = f["path"];
            EXPECT_EQ(path.rfind(prefix, 0), 0u) << path;
            nlohmann::json c = f;
            c.erase("path");
            counts[path.substr(prefix.size())] = c.dump();
        }
        return counts;
    };
    const auto onDisk = perFile({Path("repo").string()}, Path("repo").string() + "/");
    EXPECT_EQ(onDisk.size(), 3u);
    EXPECT_EQ(onDisk.count("src/deep/page.html"), 0u);
    EXPECT_EQ(onDisk.count("main.c"), 1u);
    const InFolder inRepo(Path("repo"));
    EXPECT_EQ(perFile({"git:HEAD"}, "HEAD:"), onDisk);

    std::map<std::string, std::string> srcOnly;
    for (const auto& [path, c] : onDisk)
        if (path.rfind("src/", 0) == 0) srcOnly[path] = c;
    EXPECT_EQ(perFile({"git:HEAD:src"}, "HEAD:"), srcOnly);
    EXPECT_EQ(perFile({"git:HEAD:src/long.c"}, "HEAD:").size(), 1u);
}

TEST_F(DiffTest, RefusesWhatItCannotRead) {
    WriteC("a/x.c", 1);
    EXPECT_EQ(Run({"--diff", Path("a").string()}).code, 2);
    EXPECT_EQ(Run({"--diff", Path("a").string(), Path("a").string(), Path("a").string()}).code, 2);
    EXPECT_EQ(Run({"--diff", Path("a").string(), Path("none").string()}).code, 2);
    const InFolder here(Path("a"));
    const CliRun outside = Run({"--diff", "git:HEAD", "."});
    EXPECT_EQ(outside.code, 2);
    EXPECT_NE(outside.err.find("not in a git repository"), std::string::npos) << outside.err;

    TestRepository repository(Path("a"));
    repository.Commit("one");
    const CliRun noRevision = Run({"--diff", "git:no-such-branch", "git:HEAD"});
    EXPECT_EQ(noRevision.code, 2);
    EXPECT_NE(noRevision.err.find("no revision \"no-such-branch\""), std::string::npos) << noRevision.err;
    EXPECT_EQ(Run({"git:HEAD:missing/path"}).code, 2);
}

TEST_F(DiffTest, TablesMarkdownAndCsv) {
    Write("a/x.c", "int a;\n");
    Write("b/x.c", "int a; // now\n");
    const std::string a = Path("a").string(), b = Path("b").string();
    EXPECT_EQ(Run({"--diff", a, b}).out,
              "Language\tChange\tFiles\tCode\tComment\tMixed\tBlank\n"
              "C\tsame\t0\t0\t0\t0\t0\n"
              "C\tmodified\t1\t0\t0\t0\t0\n"
              "C\tadded\t0\t0\t0\t1\t0\n"
              "C\tremoved\t0\t1\t0\t0\t0\n"
              "Total\tsame\t0\t0\t0\t0\t0\n"
              "Total\tmodified\t1\t0\t0\t0\t0\n"
              "Total\tadded\t0\t0\t0\t1\t0\n"
              "Total\tremoved\t0\t1\t0\t0\t0\n");
    const std::string md = Run({"--diff", a, b, "--by-file", "-f", "md"}).out;
    EXPECT_EQ(md.substr(0, md.find("| Total")),
              "| File | Change | Code | Comment | Mixed | Blank |\n"
              "| --- | --- | ---: | ---: | ---: | ---: |\n"
              "| x.c | same | 0 | 0 | 0 | 0 |\n"
              "|  | modified | 0 | 0 | 0 | 0 |\n"
              "|  | added | 0 | 0 | 1 | 0 |\n"
              "|  | removed | 1 | 0 | 0 | 0 |\n");
    const std::string csv = Run({"--diff", a, b, "-f", "csv"}).out;
    EXPECT_EQ(csv.substr(0, csv.find("\r\n") + 2), "Language,Change,Files,Code,Comment,Mixed,Blank\r\n");
    EXPECT_NE(csv.find("\r\nTotal,removed,0,1,0,0,0\r\n"), std::string::npos) << csv;
    Console terminal;
    terminal.outIsTerminal = true;
    const std::string aligned = Run({"--diff", a, b}, terminal).out;
    EXPECT_NE(aligned.find("\nC\n  same "), std::string::npos) << aligned;
}

}  // namespace
}  // namespace kordel::cli::test
