// Project list files: written bytes, accepted layouts, validation messages, missing files and failed writes.
#include "platform/files.h"
#include "platform/os.h"
#include "platform/system.h"

#include <filesystem>

#include <gtest/gtest.h>

#include "common/file_messages.h"
#include "projects/project_list.h"
#include "tests/support/faulty_file_ops.h"
#include "tests/support/files.h"
#include "tests/support/scripted_questions.h"

using namespace kordel;
using namespace kordel::projects;
using namespace test_support;
namespace fs = std::filesystem;

namespace {

class ProjectListTest : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const std::string& bytes) { return m_temp.Write(name, bytes).string(); }
    // A list file with the given header and body lines (CR LF ends), and no line end after the last one.
    std::string WriteList(const std::string& header, const std::vector<std::string>& body, bool lastEnd = true) {
        std::string bytes = header + "\r\n";
        for (std::size_t i = 0; i < body.size(); ++i)
            bytes += body[i] + (i + 1 < body.size() || lastEnd ? "\r\n" : "");
        return Write("list.kpl", bytes);
    }
    TempDir m_temp{"kpl"};
    fs::path m_dir = m_temp.path();
    ListState m_state;
    ListSettings m_settings;
    ScriptedQuestions m_q;
    std::vector<std::string> m_rows;
};

}  // namespace

TEST_F(ProjectListTest, WritesTheLayoutByteForByte) {
    const std::vector<std::string> rows{"C:\\src\\a.c", "C:\\src\\b.c"};
    m_settings.llp = true;
    m_state.uspl = ListChanges::Unsaved;
    m_state.cy = true;
    m_state.PN = "Widget";
    const fs::path named = m_dir / "named.kpl";
    ASSERT_TRUE(ExportProject(named, rows, m_state, m_settings, m_q));
    EXPECT_EQ(ReadBytes(named), ReadBytes(KORDEL_PROJECT_DATA "/widget.kpl"));
    EXPECT_EQ(m_state.pfn, named.string());
    EXPECT_EQ(m_state.nameField, "Widget");
    EXPECT_EQ(m_state.uspl, ListChanges::Saved);
    EXPECT_FALSE(m_state.cy);
    EXPECT_EQ(m_settings.lsp, named.string());

    m_state.PN.clear();
    m_settings.llp = false;
    const fs::path unnamed = m_dir / "unnamed.kpl";
    ASSERT_TRUE(ExportProject(unnamed, rows, m_state, m_settings, m_q));
    EXPECT_EQ(ReadBytes(unnamed), ReadBytes(KORDEL_PROJECT_DATA "/unnamed.kpl"));
    EXPECT_EQ(m_settings.lsp, named.string());  // only recorded while llp is on
    EXPECT_TRUE(m_q.shown.empty());
}

TEST_F(ProjectListTest, OpenedListSavesBackToTheSameBytes) {
    const std::vector<std::string> files{Write("b.c", ""), Write("a.c", ""), Write("A.c", "")};
    m_state.PN = "Widget 2";
    const fs::path list = m_dir / "w.kpl";
    ASSERT_TRUE(ExportProject(list, files, m_state, m_settings, m_q));
    const std::string first = ReadBytes(list);
    // a.c and A.c are two files where names keep their case; on Windows they are one, read once.
    std::string expected = first;
    std::vector<std::string> kept = files;
    if (!platform::kCaseSensitivePaths) {
        expected.erase(expected.find(files[2] + "\r\n"), files[2].size() + 2);
        kept.pop_back();
    }

    ListState fresh;
    fresh.cy = true;
    EXPECT_FALSE(OpenProject(list, m_rows, fresh, m_settings, m_q));
    EXPECT_FALSE(fresh.openFailed);
    EXPECT_EQ(m_rows, kept);  // in the order of the list
    EXPECT_EQ(fresh.PN, "Widget 2");
    EXPECT_EQ(fresh.nameField, "Widget 2");
    EXPECT_EQ(fresh.pfn, list.string());
    EXPECT_FALSE(fresh.cy);
    ASSERT_TRUE(ExportProject(list, m_rows, fresh, m_settings, m_q));
    EXPECT_EQ(ReadBytes(list), expected);
    EXPECT_TRUE(m_q.shown.empty());
}

TEST_F(ProjectListTest, EveryAcceptedHeaderOpens) {
    const std::string file = Write("x.c", "");
    for (const std::string header :
         {"Kordel Project List", "KORDEL PROJECT LIST", "Kordel 1.5 Project List", "Kordel 1.0 Project List",
          "Varnock 2.0 Project List", "pelvo c/c++ line counter 1.0"}) {
        const std::string list = WriteList(header, {"any text", "", "31214729602::FN", file, "31214729604::PN",
                                                    "Unspecified", "", "", "31214729604::END"});
        ListState state;
        state.PN = "old";
        m_rows.clear();
        GetProject(list, m_rows, state, m_q);
        EXPECT_FALSE(state.openFailed) << header;
        EXPECT_EQ(m_rows, std::vector<std::string>{file}) << header;
        EXPECT_EQ(state.nameField, "Unspecified");
        EXPECT_EQ(state.PN, "");  // "Unspecified" means no name
    }
    EXPECT_TRUE(m_q.shown.empty());
}

TEST_F(ProjectListTest, RejectsWhatIsNotAList) {
    const std::string file = Write("x.c", "");
    struct Case {
        const char* what;
        std::string header;
        std::vector<std::string> body;
        std::vector<std::string> messages;
    };
    const std::vector<Case> cases{
        {"unknown header", "Kordel Project List 2", {"31214729602::FN", file, "31214729604::PN", "N"},
         {kNotValidProjectList}},
        {"marker in lower case", "Kordel Project List", {"31214729602::fn", file, "31214729604::PN", "N"},
         {kNotValidProjectList}},
        {"nothing between the markers", "Kordel Project List", {"31214729602::FN", "31214729604::PN", "N"},
         {kNotValidProjectList}},
        {"ends before the name marker", "Kordel Project List", {"31214729602::FN", file}, {kNotValidProjectList}},
        {"every file missing", "Kordel Project List",
         {"31214729602::FN", (m_dir / "gone.c").string(), "31214729604::PN", "N"},
         {"\"" + (m_dir / "gone.c").string() + "\" does not exist.", kNoneFound}},
    };
    for (const Case& c : cases) {
        ScriptedQuestions q;
        q.answers = {true};
        ListState state;
        std::vector<std::string> rows;
        GetProject(WriteList(c.header, c.body), rows, state, q);
        EXPECT_TRUE(state.openFailed) << c.what;
        EXPECT_TRUE(rows.empty()) << c.what;
        EXPECT_EQ(state.nameField, kUnspecified) << c.what;
        EXPECT_EQ(q.shown, c.messages) << c.what;
    }
    ListState state;
    GetProject(Write("list.txt", ""), m_rows, state, m_q);
    EXPECT_TRUE(state.openFailed);
    EXPECT_EQ(m_q.shown, std::vector<std::string>{kNotProjectListFile});
}

TEST_F(ProjectListTest, MissingFilePromptAnswers) {
    const std::string a = Write("a.c", ""), b = Write("b.c", "");
    const std::string gone = (m_dir / "gone.c").string();
    const std::vector<std::string> body{"31214729602::FN", a, gone, a, "", b, "31214729604::PN", "Widget", "",
                                        "31214729604::END"};
    // OK goes on: the other files come in once each, and the name is shown.
    m_q.answers = {true};
    GetProject(WriteList("Kordel Project List", body), m_rows, m_state, m_q);
    EXPECT_FALSE(m_state.openFailed);
    EXPECT_EQ(m_rows, (std::vector<std::string>{a, b}));
    EXPECT_EQ(m_state.nameField, "Widget");
    EXPECT_EQ(m_q.shown, std::vector<std::string>{"\"" + gone + "\" does not exist."});

    // Cancel stops reading: the files before stay, the name is not read.
    ScriptedQuestions cancel;
    ListState state;
    std::vector<std::string> rows;
    GetProject(WriteList("Kordel Project List", body), rows, state, cancel);
    EXPECT_FALSE(state.openFailed);
    EXPECT_EQ(rows, std::vector<std::string>{a});
    EXPECT_EQ(state.nameField, kUnspecified);
}

TEST_F(ProjectListTest, LastLineWithoutLineEndKeepsItsLastCharacter) {
    const std::string a = Write("a.c", "");
    GetProject(WriteList("Kordel Project List", {"31214729602::FN", a, "31214729604::PN", "Widget"}, false), m_rows,
               m_state, m_q);
    EXPECT_EQ(m_state.PN, "Widget");
    EXPECT_EQ(m_rows, std::vector<std::string>{a});
}

TEST_F(ProjectListTest, LongPathsAndRelativeEntries) {
    fs::create_directories(m_dir / "sub");
    const std::string part(200, 'n');
    fs::create_directories(m_dir / part / part / part);
    const std::string longFile = Write(part + "/" + part + "/" + part + "/x.c", "");
    Write("sub/r.c", "");
    GetProject(WriteList("Kordel Project List", {"31214729602::FN", longFile, "sub/r.c", "31214729604::PN", "N"}),
               m_rows, m_state, m_q);
    // The relative entry is taken below the list's folder, with the system's separator.
    EXPECT_EQ(m_rows, (std::vector<std::string>{longFile, (m_dir / "sub" / "r.c").string()}));
}

TEST_F(ProjectListTest, RefusesToSaveAnEmptyListOverAGoodOne) {
    const fs::path good = m_dir / "good.kpl";
    ASSERT_TRUE(WriteBytes(good, "good"));
    m_state.pfn = good.string();
    m_state.uspl = ListChanges::Unsaved;
    EXPECT_FALSE(ExportProject(good, {}, m_state, m_settings, m_q));
    EXPECT_EQ(m_q.shown, (std::vector<std::string>{kCannotSaveEmpty}));
    EXPECT_EQ(ReadBytes(good), "good");
    EXPECT_EQ(m_state.uspl, ListChanges::Unsaved);
}

TEST_F(ProjectListTest, RefusesPathsAndNamesTheReaderWouldNotGiveBack) {
    const fs::path good = m_dir / "good.kpl";
    ASSERT_TRUE(WriteBytes(good, "good"));
    const std::string a = Write("a.c", "");
    struct Case {
        std::vector<std::string> rows;
        std::string name;
        std::string message;
    };
    const std::string keep = "which a project list cannot keep.";
    const std::vector<Case> cases{
        // Text mode ends the data at a Ctrl-Z: the rest of the list, markers included, would be lost.
        {{a, "/src/x\x1ay.c"}, "",
         "The project list was not saved: the path \"/src/x\\x1Ay.c\" is empty or holds a line break, a Ctrl-Z "
         "or a NUL character, " + keep},
        {{"/src/b\nc.c"}, "", "The project list was not saved: the path \"/src/b\\x0Ac.c\" is empty or holds a "
                              "line break, a Ctrl-Z or a NUL character, " + keep},
        {{a, "31214729604::PN"}, "",
         "The project list was not saved: the path \"31214729604::PN\" is the line that ends the list of files in "
         "a project list."},
        {{a}, "31214729604::END",
         "The project list was not saved: the project name \"31214729604::END\" is the line that ends a project "
         "list."},
        {{a}, "Widget\x1a", "The project list was not saved: the project name \"Widget\\x1A\" holds a line break "
                           "or a Ctrl-Z character, " + keep},
        {{a}, "Two\nlines", "The project list was not saved: the project name \"Two\\x0Alines\" holds a line "
                            "break or a Ctrl-Z character, " + keep},
    };
    for (const Case& c : cases) {
        m_q.shown.clear();
        m_state.PN = c.name;
        m_state.uspl = ListChanges::Unsaved;
        EXPECT_FALSE(ExportProject(good, c.rows, m_state, m_settings, m_q)) << c.message;
        EXPECT_EQ(m_q.shown, std::vector<std::string>{c.message});
        EXPECT_EQ(WhyNotSavable(c.rows, c.name), c.message);
        EXPECT_EQ(ReadBytes(good), "good");
        EXPECT_EQ(m_state.uspl, ListChanges::Unsaved);
    }
}

TEST_F(ProjectListTest, NamesThatLookLikeMarkersOrHoldACarriageReturnReadBack) {
    // Only the second path is needed, not its file (Windows cannot make one with a CR in its name).
    const std::vector<std::string> files{Write("a.c", ""), (m_dir / "b\rc.c").string()};
    for (const std::string name : {"Unspecified\r", "Unspecified\rWidget", "Widget\r", "\rWidget",
                                   "31214729604::END ", "31214729604::PN", "31214729602::FN", " Unspecified"}) {
        m_state.PN = name;
        const fs::path list = m_dir / "w.kpl";
        // A carriage return in a path is refused, as it always was; in the name it is kept.
        EXPECT_FALSE(ExportProject(list, files, m_state, m_settings, m_q));
        ASSERT_TRUE(ExportProject(list, {files[0]}, m_state, m_settings, m_q));
        ListState fresh;
        m_rows.clear();
        OpenProject(list, m_rows, fresh, m_settings, m_q);
        EXPECT_FALSE(fresh.openFailed);
        EXPECT_EQ(m_rows, std::vector<std::string>{files[0]});
        EXPECT_EQ(fresh.PN, name);
        EXPECT_EQ(fresh.nameField, name);
    }
}

TEST_F(ProjectListTest, FailedWriteKeepsOldFileAndState) {
    const fs::path list = m_dir / "l.kpl";
    ASSERT_TRUE(WriteBytes(list, "old"));
    m_state.uspl = ListChanges::Unsaved;
    m_state.cy = true;
    m_settings.llp = true;
    FaultyFileOps ops(FailAt::EveryWrite);  // a full disk
    m_q.answers = {true};  // OK once (retry), then Cancel
    EXPECT_FALSE(ExportProject(list, {"a.c"}, m_state, m_settings, m_q, ops));
    const std::string message = kordel::OpenForWritingMessage(list.string());
    EXPECT_EQ(m_q.shown, (std::vector<std::string>{message, message}));
    EXPECT_EQ(ReadBytes(list), "old");
    EXPECT_EQ(m_state.pfn, kUntitled);
    EXPECT_EQ(m_state.uspl, ListChanges::Unsaved);
    EXPECT_TRUE(m_state.cy);
    EXPECT_EQ(m_settings.lsp, "");
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);

    // A read-only folder fails the same way.
    const fs::path ro = m_dir / "ro";
    fs::create_directories(ro);
    fs::permissions(ro, fs::perms::owner_read | fs::perms::owner_exec);
    if (!kordel::platform::IsWritableFolder(kordel::platform::PathText(ro))) {
        ScriptedQuestions q;
        EXPECT_FALSE(ExportProject(ro / "x.kpl", {"a.c"}, m_state, m_settings, q));
        EXPECT_EQ(q.shown, std::vector<std::string>{kordel::OpenForWritingMessage((ro / "x.kpl").string())});
    }
    fs::permissions(ro, fs::perms::owner_all);
}

TEST_F(ProjectListTest, StartUpReopen) {
    const std::string a = Write("a.c", "");
    m_settings.acpl = true;
    m_settings.lsp = (m_dir / "deleted.kpl").string();
    EXPECT_FALSE(AutoImportProject(m_rows, m_state, m_settings, m_q));
    EXPECT_EQ(m_state.pfn, kUntitled);
    EXPECT_TRUE(m_q.shown.empty());

    m_settings.lsp = WriteList("Kordel Project List", {"31214729602::FN", a, "31214729604::PN", "N"});
    EXPECT_TRUE(AutoImportProject(m_rows, m_state, m_settings, m_q));
    EXPECT_EQ(m_state.pfn, m_settings.lsp);
    EXPECT_EQ(m_rows, std::vector<std::string>{a});
}
