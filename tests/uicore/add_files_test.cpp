// Adding files from the add dialog and by dropping folders, and counting a user language.
#include <filesystem>

#include <gtest/gtest.h>

#include "platform/os.h"
#include "fake_desktop.h"
#include "ui/core/add_files.h"
#include "ui/core/commands.h"
#include "ui/core/main_logic.h"
#include "ui/core/result_cells.h"
#include "tests/support/files.h"
#include "userlang/udlangdb.h"

using namespace kordel::ui;
namespace fs = std::filesystem;

namespace {

class AddFiles : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"tree/a.c", "tree/sub/b.py", "tree/sub/notes.xyz", "tree/readme.md"})
            temp.Write(name, "x = 1 # note\n");
        db = dir / "udlangdb.ini";
        logic.SetLanguageDatabase(db);
    }

    test_support::TempDir temp{"add"};
    fs::path dir = temp.path(), db;
    MemorySettingsStore store;
    test_support::FakeDesktop desktop;
    MainWindowLogic logic{store, desktop};
};

}  // namespace

TEST(AddFilters, UserPatternsComeFirstAndTheTableIsComplete) {
    const auto filters = AddFilters("*.xyz;");
    ASSERT_EQ(filters.size(), 57u);
    EXPECT_EQ(filters[0].description, "All Compatible and User Defined Source Files");
    EXPECT_EQ(filters[0].patterns.substr(0, 13), "*.xyz;*.c;*.c");
    EXPECT_EQ(filters[4].description, "Pascal / Delphi Source Files");
    EXPECT_EQ(filters[38].patterns, "*.tex; *.sty");
    EXPECT_EQ(filters[56].description, "Pike Source Files");
}

TEST_F(AddFiles, DialogChoiceAddsNewPathsRemembersFilterAndFolder) {
    const std::string a = (dir / "tree" / "a.c").string();
    logic.list().AddPath(a);
    desktop.addChoice = {{a, (dir / "tree" / "sub" / "b.py").string()}, 5};
    logic.Dispatch(cmd::kAdd);
    EXPECT_EQ(desktop.addShownFilter, 1);
    EXPECT_EQ(desktop.addShownFolder, "");
    EXPECT_EQ(logic.list().RowCount(), 2u);  // the path already there is skipped
    EXPECT_EQ(logic.uspl(), kordel::projects::ListChanges::Unsaved);
    EXPECT_EQ(logic.texts().status0, "2 items");
    EXPECT_EQ(store.Read("filtin").value_or(""), "5");
    EXPECT_EQ(desktop.busy, (std::vector<std::string>{"Adding source files to the list...", ""}));

    desktop.addChoice = {{}, 7};  // cancelled: nothing added, the filter is still stored
    logic.Dispatch(cmd::kAdd);
    EXPECT_EQ(desktop.addShownFilter, 5);
    EXPECT_EQ(desktop.addShownFolder, (dir / "tree" / "").string());
    EXPECT_EQ(store.Read("filtin").value_or(""), "7");
}

TEST_F(AddFiles, ChoosingOnlyKnownPathsStillMarksTheList) {
    logic.list().AddPath("/s/a.c");
    logic.AddPaths({"/s/a.c"});
    EXPECT_EQ(logic.list().RowCount(), 1u);
    EXPECT_EQ(logic.uspl(), kordel::projects::ListChanges::Unsaved);
    logic.AddPaths({"/s/A.c"});  // another file off Windows
    EXPECT_EQ(logic.list().RowCount(), kordel::platform::kCaseSensitivePaths ? 2u : 1u);
}

TEST_F(AddFiles, DroppedFolderAddsFilesOfKnownLanguagesAndUserOnes) {
    logic.DropPaths({(dir / "tree").string()});
    EXPECT_EQ(logic.list().Paths(),
              (std::vector<std::string>{(dir / "tree" / "a.c").string(), (dir / "tree" / "sub" / "b.py").string()}));
    kordel::userlang::UserLanguage xyz;
    xyz.name = "Xyz";
    xyz.extensions = ".xyz";
    xyz.olcop = "#";
    ASSERT_TRUE(kordel::userlang::WriteUDList(db, {xyz}));
    logic.DropPaths({(dir / "tree").string()});
    ASSERT_EQ(logic.list().RowCount(), 3u);
    EXPECT_EQ(logic.list().Path(2), (dir / "tree" / "sub" / "notes.xyz").string());

    logic.Dispatch(cmd::kCount);
    EXPECT_EQ(CellText(logic.list(), 2, 3), "1");  // "x = 1 # note" is mixed by the user language's "#"
    EXPECT_EQ(desktop.LastMessage(), "Kordel completed in 0 seconds.");
}

TEST_F(AddFiles, LanguagesDialogNeedsAReadableDatabase) {
    logic.Dispatch(cmd::kLanguagesKey);
    EXPECT_EQ(desktop.languageRows, 0u);
    EXPECT_TRUE(fs::exists(db));  // an empty database is made on first use
    fs::remove(db);
    fs::create_directory(db);  // a folder in its place cannot be read
    logic.Dispatch(cmd::kLanguages);
    EXPECT_EQ(desktop.LastMessage(), kordel::userlang::kOpenDbMessage);
    logic.Dispatch(cmd::kAdd);
    EXPECT_EQ(desktop.LastMessage(), kordel::userlang::kOpenDbMessage);
    EXPECT_TRUE(desktop.dialogs.empty());
}

TEST_F(AddFiles, OtherKnownLanguagesAreAnAdditionOfTheToolsMenu) {
    temp.Write("tree/Makefile", "all:\n\t@true # done\n");
    const std::string readme = (dir / "tree" / "readme.md").string();
    const auto firstFilter = [&] {
        desktop.addChoice = {{}, 1};
        logic.Dispatch(cmd::kAdd);
        return desktop.addFilters.at(0).patterns;
    };
    // Off by default: the desktop program's own languages only.
    EXPECT_FALSE(logic.settings().okl);
    EXPECT_EQ(firstFilter().find("*.rs"), std::string::npos);
    logic.DropPaths({(dir / "tree").string()});
    EXPECT_EQ(logic.list().RowCount(), 2u);

    logic.Dispatch(cmd::kKnownLanguages);
    EXPECT_EQ(store.Read("okl").value_or(""), "1");
    const std::string patterns = firstFilter();
    EXPECT_NE(patterns.find(";*.rs;"), std::string::npos);
    EXPECT_NE(patterns.find(";Makefile;"), std::string::npos);
    logic.DropPaths({(dir / "tree").string()});
    EXPECT_EQ(logic.list().Paths(),
              (std::vector<std::string>{(dir / "tree" / "a.c").string(), (dir / "tree" / "Makefile").string(), readme,
                                        (dir / "tree" / "sub" / "b.py").string()}));
    // Counting takes the table before it asks about an unknown extension.
    logic.Dispatch(cmd::kCount);
    EXPECT_EQ(CellText(logic.list(), 1, 5), "2");
    EXPECT_EQ(CellText(logic.list(), 2, 5), "1");
    EXPECT_EQ(desktop.LastMessage(), "Kordel completed in 0 seconds.");

    // Turned off again, the same list asks about the files only the table knows.
    logic.Dispatch(cmd::kKnownLanguages);
    EXPECT_EQ(store.Read("okl").value_or(""), "0");
    desktop.messages.clear();
    logic.Dispatch(cmd::kCount);
    ASSERT_FALSE(desktop.messages.empty());
    EXPECT_NE(desktop.messages[0].text.find("Makefile is unknown"), std::string::npos) << desktop.messages[0].text;
}
