// Opening, saving and exporting through the main window's commands, with scripted dialogs.
#include <filesystem>

#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "engine/count_run.h"
#include "ui/core/commands.h"
#include "ui/core/main_logic.h"
#include "ui/core/result_cells.h"
#include "ui/core/messages.h"
#include "tests/support/files.h"

using namespace kordel::ui;
using test_support::FakeDesktop;
using test_support::ReadBytes;
namespace fs = std::filesystem;

namespace {

class FixedClock final : public kordel::reports::Clock {
public:
    kordel::reports::LocalTime Now() const override { return {2026, 12, 8, 15, 4}; }
};

class ListCommands : public ::testing::Test {
protected:
    void SetUp() override {
        a = temp.Write(fs::path("MyApp 2.1") / "src" / "a.c", "int a; // x\n").string();
        b = temp.Write(fs::path("MyApp 2.1") / "src" / "b.c", "\n").string();
        logic.SetClock(clock);
    }

    test_support::TempDir temp{"listcmd"};
    fs::path dir = temp.path();
    std::string a, b;
    FixedClock clock;
    MemorySettingsStore store;
    FakeDesktop desktop;
    MainWindowLogic logic{store, desktop};
};

}  // namespace

TEST_F(ListCommands, SaveAsWritesTheListAndCleansTheTitle) {
    logic.Dispatch(cmd::kSave);
    EXPECT_EQ(desktop.LastMessage(), msg::kCannotSaveEmpty);
    logic.AddPaths({a, b});
    EXPECT_EQ(logic.uspl(), kordel::projects::ListChanges::Unsaved);
    const std::string target = (dir / "list.kpl").string();
    desktop.savePaths = {target};
    logic.Dispatch(cmd::kSaveKey);
    ASSERT_TRUE(fs::exists(target));
    EXPECT_EQ(logic.pfn(), target);
    EXPECT_EQ(logic.uspl(), kordel::projects::ListChanges::Saved);
    EXPECT_EQ(logic.texts().title, std::string(kCaption) + " - " + target);
    EXPECT_EQ(desktop.busy, (std::vector<std::string>{"Saving a project list...", ""}));
    const std::string written = ReadBytes(target);
    EXPECT_NE(written.find(a + "\r\n"), std::string::npos);
    EXPECT_TRUE(store.Read("lsp") == std::nullopt);  // remembered only while llp is on

    // Open it again elsewhere: the same rows and the same bytes when saved again.
    MainWindowLogic other(store, desktop);
    desktop.openPaths = {target};
    other.Dispatch(cmd::kOpen);
    EXPECT_EQ(other.list().Paths(), (std::vector<std::string>{a, b}));
    EXPECT_EQ(other.pfn(), target);
    fs::remove(target);
    other.Dispatch(cmd::kSave);
    EXPECT_EQ(ReadBytes(target), written);
}

// Reading a long list takes seconds, so it runs aside; its questions still come from the window's
// thread, and the rows it replaces are freed aside too.
TEST_F(ListCommands, OpeningReadsAsideAndAsksOnTheWindowsThread) {
    logic.AddPaths({a, b});
    const std::string target = (dir / "list.kpl").string();
    desktop.savePaths = {target};
    logic.Dispatch(cmd::kSaveKey);
    ASSERT_TRUE(fs::exists(target));
    fs::remove(b);

    desktop.asideOnWorker = true;
    desktop.openPaths = {target};
    desktop.answers = {Answer::Ok};  // go on past the missing file
    logic.Dispatch(cmd::kOpen);
    EXPECT_EQ(desktop.LastMessage(), kordel::engine::MissingMessage(b));
    EXPECT_EQ(desktop.messagesWhileAside, 1);
    EXPECT_EQ(desktop.messagesOffInterface, 0);
    EXPECT_EQ(logic.list().Paths(), (std::vector<std::string>{a}));
    EXPECT_EQ(logic.pfn(), target);
    EXPECT_EQ(logic.texts().title, std::string(kCaption) + " - " + target);

    logic.Dispatch(cmd::kNew);
    EXPECT_EQ(logic.list().RowCount(), 0u);
    EXPECT_EQ(logic.pfn(), msg::kUntitled);
}

TEST_F(ListCommands, ClosingWithYesOnAnUntitledListRunsSaveAs) {
    logic.AddPaths({a});
    desktop.answers = {Answer::Yes};
    desktop.savePaths = {std::nullopt};  // the save dialog cancelled: stay open
    EXPECT_FALSE(logic.QueryClose());
    desktop.answers = {Answer::Yes};
    desktop.savePaths = {(dir / "x.kpl").string()};
    EXPECT_TRUE(logic.QueryClose());
    EXPECT_EQ(logic.uspl(), kordel::projects::ListChanges::Saved);
}

TEST_F(ListCommands, DetectedNameAndSuggestionSaveWithoutDialogButAskBeforeReplacing) {
    store.Write("aspn", "1");
    store.Write("sspl", "1");
    store.Write("llp", "1");
    MainWindowLogic named(store, desktop);
    named.AddPaths({a});
    const fs::path suggested = dir / "MyApp 2.1" / "src" / "MyApp 2.1.kpl";
    desktop.answers = {Answer::Yes, Answer::Yes};
    named.Dispatch(cmd::kSaveAs);
    EXPECT_EQ(desktop.messages[0].text, "Is \"MyApp 2.1\" the name of your project?");
    EXPECT_TRUE(fs::exists(suggested));
    EXPECT_TRUE(desktop.dialogs.empty());
    EXPECT_EQ(named.texts().projectName, "MyApp 2.1");
    EXPECT_EQ(store.Read("lsp").value_or(""), suggested.string());

    // The suggestion now names an existing file: asked first; No leads to the save dialog.
    desktop.messages.clear();
    desktop.answers = {Answer::Yes, Answer::Yes, Answer::No};
    desktop.savePaths = {std::nullopt};
    named.Dispatch(cmd::kSaveAs);
    ASSERT_EQ(desktop.messages.size(), 3u);
    EXPECT_EQ(desktop.messages[2].text, std::string("\"") + suggested.string() + "\" already exists.  Do you want to replace it?");
    EXPECT_EQ(desktop.dialogs.size(), 1u);
}

TEST_F(ListCommands, ExportNeedsACountThenWritesTheReport) {
    logic.AddPaths({a, b});
    logic.Dispatch(cmd::kExportCsv);
    EXPECT_EQ(desktop.LastMessage(), msg::kCountBeforeExport);
    EXPECT_TRUE(desktop.dialogs.empty());
    logic.SetProjectName("Demo");
    logic.Dispatch(cmd::kCount);
    const fs::path csv = dir / "r.csv";
    const fs::path txt = dir / "r.txt";
    desktop.savePaths = {csv.string(), txt.string(), std::nullopt};
    logic.Dispatch(cmd::kExportCsvKey);
    logic.Dispatch(cmd::kExportTxt);
    logic.Dispatch(cmd::kExportHtml);
    EXPECT_EQ(desktop.dialogs, (std::vector<std::string>{"Specify a filename for the export...|*.csv",
                                                         "Specify a filename for the export...|*.txt",
                                                         "Specify a filename for the export...|*.htm"}));
    const std::string report = ReadBytes(csv);
    EXPECT_NE(report.find(a + ",0,0,1,0,1"), std::string::npos) << report;
    EXPECT_NE(ReadBytes(txt).find("Demo"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "r.htm"));
}

TEST_F(ListCommands, StartUpReopensTheLastListAndCountsWhenAsked) {
    logic.AddPaths({a});
    const std::string target = (dir / "last.kpl").string();
    desktop.savePaths = {target};
    logic.Dispatch(cmd::kSaveAs);
    store.Write("lsp", target);

    MainWindowLogic off(store, desktop);
    off.StartUp();
    EXPECT_EQ(off.list().RowCount(), 0u);  // llp off: nothing re-opened

    store.Write("llp", "1");
    MainWindowLogic reopen(store, desktop);
    reopen.StartUp();
    EXPECT_EQ(reopen.list().Paths(), std::vector<std::string>{a});
    EXPECT_EQ(reopen.pfn(), target);
    EXPECT_FALSE(reopen.cy());

    store.Write("acpl", "1");
    MainWindowLogic counted(store, desktop);
    counted.StartUp();
    EXPECT_TRUE(counted.cy());
    EXPECT_EQ(CellText(counted.list(), 0, 3), "1");
}
