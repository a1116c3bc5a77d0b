// The main window's commands, driven headless through a scripted desktop.
#include <filesystem>
#include <set>

#include <gtest/gtest.h>

#include "engine/path_split.h"
#include "fake_desktop.h"
#include "ui/core/commands.h"
#include "ui/core/main_logic.h"
#include "ui/core/result_cells.h"
#include "ui/core/messages.h"
#include "ui/core/open_rules.h"
#include "ui/core/version_check.h"
#include "tests/support/files.h"

using namespace kordel::ui;
using test_support::FakeDesktop;
namespace fs = std::filesystem;

namespace {

// A path in the system's own form: with backslashes on Windows.
std::string Native(const char* path) { return fs::path(path).make_preferred().string(); }

class RecordingView : public MainView {
public:
    void TextsChanged() override { ++texts; }
    void ScrollTo(std::size_t row) override { scrolled.push_back(row); }
    void CloseWindow() override { ++closeRequests; }
    void QuitNow() override { ++quits; }
    void SortDirectionChanged() override { ++directionChanges; }
    std::vector<std::size_t> SelectedRows() const override { return selected; }
    void SelectOnly(std::size_t row) override {
        selected = {row};
        scrolled.push_back(row);
    }
    int ChooseFromMenu(const std::vector<ContextItem>& items) override {
        menus.push_back(items.size());
        return menuChoice;
    }
    std::vector<std::size_t> selected;
    std::vector<std::size_t> menus;  // the size of each context menu shown
    int menuChoice = 0;
    int texts = 0, closeRequests = 0, quits = 0, directionChanges = 0;
    std::vector<std::size_t> scrolled;
};

class MainLogic : public ::testing::Test {
protected:
    void SetUp() override { logic.SetView(&view); }

    fs::path WriteSource(const std::string& name, const std::string& text) { return temp.Write(name, text); }

    test_support::TempDir temp{"logic"};
    MemorySettingsStore store;
    FakeDesktop desktop;
    MainWindowLogic logic{store, desktop};
    RecordingView view;
};

// Every cell of a row as the views show it.
std::vector<std::string> RowTexts(const ResultList& list, std::size_t row) {
    std::vector<std::string> texts;
    for (std::size_t column = 0; column < list.ColumnCount(); ++column) texts.push_back(CellText(list, row, column));
    return texts;
}

}  // namespace

TEST_F(MainLogic, StartsUntitledWithWelcomeAndSixColumns) {
    EXPECT_EQ(logic.texts().title, std::string(kCaption) + " - Untitled Project List");
    EXPECT_EQ(logic.texts().status0, "Welcome to Kordel");
    EXPECT_EQ(logic.texts().projectName, "Unspecified");
    EXPECT_EQ(logic.texts().totals.code, "0 (0.00%)");
    EXPECT_EQ(logic.texts().totals.lines, "0");
    EXPECT_EQ(logic.list().ColumnCount(), 6u);
    EXPECT_FALSE(logic.settings().asce);
}

TEST_F(MainLogic, RefusalsChangeNothing) {
    struct Case {
        int command;
        std::string_view message;
    };
    for (const Case& c : {Case{cmd::kCount, msg::kAddFirst}, Case{cmd::kCountKey, msg::kAddFirst},
                          Case{cmd::kRemove, msg::kSelectItems}, Case{cmd::kOpenSelected, msg::kSelectItem},
                          Case{cmd::kOpenFolder, msg::kSelectItemFolder}}) {
        desktop.messages.clear();
        logic.Dispatch(c.command);
        ASSERT_EQ(desktop.messages.size(), 1u) << c.command;
        EXPECT_EQ(desktop.messages[0].text, c.message);
        EXPECT_EQ(desktop.messages[0].icon, Icon::Stop);
    }
    EXPECT_TRUE(desktop.progressRuns.empty());
    EXPECT_EQ(logic.uspl(), kordel::projects::ListChanges::Saved);
    desktop.messages.clear();
    logic.Dispatch(cmd::kDoubleClick);  // double click on empty space: nothing
    logic.Dispatch(cmd::kEscape);
    logic.Dispatch(12345);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(MainLogic, CountFillsRowsTotalsAndReportsCompletion) {
    const fs::path a = WriteSource("a.c", "int x; /* c */\n\n// only\n");
    const fs::path b = WriteSource("b.c", "");
    logic.list().AddPath(b.string());
    logic.list().AddPath(a.string());
    logic.SetProjectName("Demo");
    logic.Dispatch(cmd::kCount);
    ASSERT_EQ(desktop.progressRuns, std::vector<bool>{false});
    EXPECT_EQ(logic.list().Path(0), a.string());
    EXPECT_EQ(CellText(logic.list(), 0, 1), "0");
    EXPECT_EQ(CellText(logic.list(), 0, 2), "1");
    EXPECT_EQ(CellText(logic.list(), 0, 3), "1");
    EXPECT_EQ(CellText(logic.list(), 0, 5), "3");
    EXPECT_EQ(CellText(logic.list(), 1, 5), "0");
    EXPECT_EQ(logic.texts().totals.comment, "1 (33.33%)");
    EXPECT_EQ(logic.texts().totals.lines, "3");
    EXPECT_TRUE(logic.cy());
    EXPECT_EQ(logic.pn(), "Demo");
    EXPECT_EQ(logic.texts().status0, "2 items");
    EXPECT_EQ(desktop.LastMessage(), "Kordel completed in 0 seconds.");
    EXPECT_EQ(desktop.messages.back().icon, Icon::Information);
    EXPECT_EQ(desktop.details.front(), "Counting source file 1 of 2");
    EXPECT_EQ(desktop.percents, (std::vector<int>{50, 100}));
    // The list followed the rows, then went back to the first.
    EXPECT_EQ(view.scrolled, (std::vector<std::size_t>{0, 1, 0}));
}

TEST_F(MainLogic, CancelledCountSaysSoAndKeepsResults) {
    logic.list().AddPath(WriteSource("a.c", "x;\n").string());
    desktop.cancelBeforeRun = true;
    logic.Dispatch(cmd::kCountButton);
    EXPECT_EQ(desktop.LastMessage(), "The process was canceled.");
    EXPECT_TRUE(logic.cy());
    EXPECT_EQ(CellText(logic.list(), 0, 1), "");
}

// The worker counted every row before the window showed the third: Cancel drops the rows not yet
// shown, the totals are those of the rows shown, and the list is not sent back to its first row.
TEST_F(MainLogic, CancelDropsTheRowsCountedAheadAndTotalsTheRowsShown) {
    // Names built by appending: g++ 12 warns falsely (-Wrestrict) on a chain of + here.
    for (char c = 'a'; c < 'g'; ++c) logic.list().AddPath(WriteSource(std::string(1, c).append(".c"), "x;\n// c\n").string());
    desktop.cancelAfterShownRows = 2;
    logic.Dispatch(cmd::kCount);
    EXPECT_EQ(desktop.LastMessage(), "The process was canceled.");
    EXPECT_EQ(CellText(logic.list(), 1, 5), "2");
    for (std::size_t row = 2; row < 6; ++row) EXPECT_EQ(CellText(logic.list(), row, 5), "") << row;
    EXPECT_EQ(logic.texts().totals.lines, "4");
    EXPECT_EQ(logic.totals().ntl, 4);
    EXPECT_TRUE(logic.cy());
    EXPECT_EQ(view.scrolled, (std::vector<std::size_t>{0, 1}));
}

TEST_F(MainLogic, AFaultInTheWorkerShowsTheCrashMessageThenClosesThroughThePrompt) {
    logic.list().AddPath(WriteSource("a.c", "x;\n").string());
    logic.UpdateWindowName(kordel::projects::ListChanges::Unsaved);
    desktop.faultInWorker = true;
    logic.Dispatch(cmd::kCount);
    EXPECT_EQ(desktop.LastMessage().substr(0, 35), "Kordel has crashed and must close! ");
    EXPECT_EQ(view.closeRequests, 1);
    EXPECT_EQ(view.quits, 0);
    EXPECT_EQ(logic.uspl(), kordel::projects::ListChanges::Unsaved);  // still unsaved: the close will ask
    EXPECT_FALSE(logic.cy());
}

TEST(OpenRules, RunnableFilesAreKnownPerShell) {
    EXPECT_TRUE(IsRunnableExtension(".BAT", Shell::Windows));
    EXPECT_TRUE(IsRunnableExtension(".vbs", Shell::Windows));
    EXPECT_TRUE(IsRunnableExtension(".js", Shell::Windows));
    EXPECT_FALSE(IsRunnableExtension(".c", Shell::Windows));
    EXPECT_TRUE(IsRunnableExtension(".desktop", Shell::FreeDesktop));
    EXPECT_FALSE(IsRunnableExtension(".js", Shell::FreeDesktop));
    EXPECT_FALSE(IsRunnableExtension("", Shell::FreeDesktop));
}

TEST_F(MainLogic, DisabledScrollingLeavesTheListUntilTheEnd) {
    store.Write("dls", "1");
    MainWindowLogic quiet(store, desktop);
    quiet.SetView(&view);
    quiet.list().AddPath(WriteSource("a.c", "x;\n").string());
    quiet.list().AddPath(WriteSource("b.c", "x;\n").string());
    quiet.Dispatch(cmd::kCount);
    EXPECT_EQ(view.scrolled, std::vector<std::size_t>{0});
}

TEST_F(MainLogic, RemoveDeletesSelectedRowsAndMarksTheTitle) {
    for (const char* p : {"/s/a.c", "/s/b.c", "/s/c.c"}) logic.list().AddPath(p);
    view.selected = {0, 2};
    logic.Dispatch(cmd::kRemove);
    ASSERT_EQ(logic.list().RowCount(), 1u);
    EXPECT_EQ(logic.list().Path(0), "/s/b.c");
    EXPECT_EQ(logic.texts().title, std::string(kCaption) + " - Untitled Project List *");
    EXPECT_EQ(logic.uspl(), kordel::projects::ListChanges::Unsaved);
    EXPECT_EQ(logic.texts().status0, "1 item");
}

TEST_F(MainLogic, NewClearsListTotalsAndProjectNameAfterThePrompt) {
    logic.list().AddPath("/s/a.c");
    logic.SetProjectName("Old");
    logic.UpdateWindowName(kordel::projects::ListChanges::Unsaved);
    desktop.answers = {Answer::Cancel};
    logic.Dispatch(cmd::kNew);
    EXPECT_EQ(desktop.LastMessage(), "Do you want to save changes to \"Untitled Project List\"?");
    EXPECT_EQ(logic.list().RowCount(), 1u);  // Cancel keeps everything
    desktop.answers = {Answer::No};
    logic.Dispatch(cmd::kNew);
    EXPECT_EQ(logic.list().RowCount(), 0u);
    EXPECT_EQ(logic.texts().projectName, "Unspecified");
    EXPECT_EQ(logic.texts().title, std::string(kCaption) + " - Untitled Project List");
    EXPECT_EQ(logic.texts().status0, "0 items");
    EXPECT_EQ(logic.uspl(), kordel::projects::ListChanges::Declined);
    EXPECT_FALSE(logic.cy());
}

TEST_F(MainLogic, FindAndFindNextWalkTheListWithoutWrapping) {
    for (const char* p : {"/src/Alpha.c", "/src/beta.c", "/src/alphabet.c"}) logic.list().AddPath(Native(p));
    // Rows in path order: Alpha.c, alphabet.c, beta.c.
    desktop.findRequest = FindRequest{"alpha", false};
    logic.Dispatch(cmd::kFind);
    EXPECT_EQ(view.selected, std::vector<std::size_t>{0});
    EXPECT_EQ(view.scrolled.back(), 0u);
    logic.Dispatch(cmd::kFindNextKey);
    EXPECT_EQ(view.selected, std::vector<std::size_t>{1});
    EXPECT_EQ(logic.texts().status1, "Selected: alphabet.c");
    desktop.messages.clear();
    logic.Dispatch(cmd::kFindNext);
    logic.Dispatch(cmd::kFindNext);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[1].text, "Could not locate \"alpha\".");
    EXPECT_EQ(view.selected, std::vector<std::size_t>{1});  // selection unchanged

    desktop.findRequest = FindRequest{"alpha", true};
    logic.Dispatch(cmd::kFind);
    EXPECT_EQ(view.selected, std::vector<std::size_t>{1});  // "Alpha.c" does not match case-sensitively
}

TEST_F(MainLogic, FindNextBeforeAnyFindOpensTheDialog) {
    logic.Dispatch(cmd::kFindNext);
    EXPECT_EQ(desktop.findDialogs, 1);
    EXPECT_TRUE(desktop.messages.empty());
}

TEST_F(MainLogic, OpenCommandsHandTheFileOrItsFolderToTheDesktop) {
    logic.list().AddPath(Native("/home/u/src/main.c"));
    view.selected = {0};
    logic.Dispatch(cmd::kOpenSelected);
    logic.Dispatch(cmd::kDoubleClick);
    logic.Dispatch(cmd::kOpenFolder);
    EXPECT_EQ(desktop.opened, (std::vector<std::string>{Native("/home/u/src/main.c"), Native("/home/u/src/main.c"),
                                                        Native("/home/u/src/")}));
    logic.Dispatch(cmd::kManual);
    EXPECT_EQ(desktop.opened.back(), Native("/opt/kordel/share/doc/kordel/kordel-manual.html"));
}

// The manual beside the program (a build tree) is taken only when a file opens there: a folder of
// that name is passed over for the installed one.
TEST_F(MainLogic, TheManualBesideTheProgramIsTakenWhenItIsAFile) {
    const std::filesystem::path program = temp.path() / "bin";
    desktop.programFolder = program;
    std::filesystem::create_directories(program / "kordel-manual.html");
    logic.Dispatch(cmd::kManual);
    EXPECT_EQ(desktop.opened.back(), (temp.path() / "share" / "doc" / "kordel" / "kordel-manual.html").string());
    std::filesystem::remove(program / "kordel-manual.html");
    ASSERT_TRUE(test_support::WriteBytes(program / "kordel-manual.html", "<html></html>"));
    logic.Dispatch(cmd::kManual);
    EXPECT_EQ(desktop.opened.back(), (program / "kordel-manual.html").string());
}

TEST_F(MainLogic, ContextMenuDependsOnTheSelection) {
    for (const char* p : {"/a.c", "/b.c", "/c.c"}) logic.list().AddPath(p);
    EXPECT_TRUE(logic.ContextMenu().empty());
    view.selected = {1};
    const auto one = logic.ContextMenu();
    ASSERT_EQ(one.size(), 3u);
    EXPECT_EQ(one[0].text, "&Open");
    EXPECT_TRUE(one[0].isDefault);
    EXPECT_TRUE(one[2].separatorBefore);
    view.selected = {0, 1, 2};
    const auto three = logic.ContextMenu();
    ASSERT_EQ(three.size(), 1u);
    EXPECT_EQ(three[0].text, "&Remove selected files from list");
    logic.SelectionChanged();
    EXPECT_EQ(logic.texts().status1, "3 items selected");

    // The menu command shows the menu and runs the item chosen; dismissed, it runs nothing.
    logic.Dispatch(cmd::kContextMenu);
    view.selected = {1};
    view.menuChoice = cmd::kOpenSelected;
    logic.Dispatch(cmd::kContextMenu);
    view.selected = {};
    logic.Dispatch(cmd::kContextMenu);  // no selection: no menu
    EXPECT_EQ(view.menus, (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(desktop.opened, std::vector<std::string>{"/b.c"});
    EXPECT_EQ(logic.list().RowCount(), 3u);
}

// A double-click or a context menu posted before a count began, a drop, the close box or a list
// handed over by a second start arrive while the work runs: none may start anything, and nothing
// is said. Once the work is over the same commands run again.
TEST_F(MainLogic, NothingStartsWhileWorkRuns) {
    const std::string file = WriteSource("a.c", "int a;\n").string();
    const std::string other = WriteSource("b.c", "int b;\n").string();
    logic.AddPaths({file});
    view.selected = {0};
    view.menuChoice = cmd::kRemove;
    bool closable = true;
    bool handedOver = true;
    int interruptions = 0;
    desktop.duringWork = [&] {
        ++interruptions;
        EXPECT_TRUE(logic.working());
        for (int command : {cmd::kDoubleClick, cmd::kContextMenu, cmd::kOpenSelected, cmd::kRemove, cmd::kCount,
                            cmd::kSortCode, cmd::kNew, cmd::kExit, cmd::kOk})
            logic.Dispatch(command);
        logic.DropPaths({other});
        closable = logic.QueryClose();
        handedOver = logic.OpenNamed(other);
    };
    logic.Dispatch(cmd::kCount);  // under the progress window
    desktop.asideOnWorker = true;
    logic.AddPaths({file});  // aside, on a worker
    desktop.duringWork = nullptr;
    EXPECT_EQ(interruptions, 3);  // the count, finding the new paths, placing them
    EXPECT_FALSE(closable);
    EXPECT_FALSE(handedOver);
    EXPECT_EQ(desktop.progressRuns.size(), 1u);
    EXPECT_TRUE(view.menus.empty());
    EXPECT_TRUE(desktop.opened.empty());
    EXPECT_EQ(view.closeRequests + view.quits, 0);
    ASSERT_EQ(logic.list().RowCount(), 1u);
    EXPECT_EQ(logic.list().Path(0), file);
    for (const test_support::ShownMessage& shown : desktop.messages) EXPECT_EQ(shown.icon, Icon::Information) << shown.text;

    EXPECT_FALSE(logic.working());
    logic.Dispatch(cmd::kDoubleClick);
    EXPECT_EQ(desktop.opened, std::vector<std::string>{file});
    logic.Dispatch(cmd::kContextMenu);
    EXPECT_EQ(logic.list().RowCount(), 0u);
}

TEST_F(MainLogic, SelectionOfAPathWithoutDotShowsItAsExtension) {
    logic.list().AddPath("noext");
    view.selected = {0};
    logic.SelectionChanged();
    EXPECT_EQ(logic.texts().status1, "Selected: " + [] {
        const auto parts = kordel::engine::SplitPath("noext");
        return parts.name + parts.extension;
    }());
}

TEST_F(MainLogic, VersionCheckAnswersEachReply) {
    struct Case {
        std::optional<std::string> reply;
        std::string_view message;
    };
    const std::string own = kordel::kShortVersion;
    // The first line is compared as read, its line break included: only the bare version is the latest.
    for (const Case& c : {Case{own, kLatestVersionMessage}, Case{own + "\x1a" + "junk", kLatestVersionMessage},
                          Case{own + "\r\n", kNewerVersionMessage}, Case{own + "\n", kNewerVersionMessage},
                          Case{"99.0\n", kNewerVersionMessage}, Case{std::nullopt, kCouldNotConnectMessage},
                          Case{"", kNewerVersionMessage}, Case{"\n" + own, kNewerVersionMessage},
                          Case{"\r\n", kNewerVersionMessage}, Case{own + std::string(300, ' '), kNewerVersionMessage}}) {
        desktop.versionReply = c.reply;
        desktop.answers = {Answer::Yes};
        desktop.urls.clear();
        logic.Dispatch(cmd::kCheckVersion);
        EXPECT_EQ(desktop.LastMessage(), c.message) << c.reply.value_or("(failed)");
        EXPECT_EQ(desktop.urls.size(), c.message == kNewerVersionMessage ? 1u : 0u);
        desktop.answers.clear();
    }
    EXPECT_EQ(desktop.fetchedUrls.back(), kDefaultVersionUrl);
    store.Write("verurl", "http://127.0.0.1:9/v.txt");
    logic.Dispatch(cmd::kCheckVersion);
    EXPECT_EQ(desktop.fetchedUrls.back(), "http://127.0.0.1:9/v.txt");
}

TEST_F(MainLogic, VersionCheckFetchesOnlyHttpAndIsQuietWhenCancelled) {
    for (const char* url : {"file:///tmp/fifo", "FILE:///etc/passwd", "ftp://example.org/v.txt", "/tmp/v.txt",
                            "http:///v.txt", "javascript:alert(1)", ""}) {
        store.Write("verurl", url);
        const std::size_t fetched = desktop.fetchedUrls.size();
        logic.Dispatch(cmd::kCheckVersion);
        EXPECT_EQ(desktop.fetchedUrls.size(), fetched) << url;
        EXPECT_EQ(desktop.LastMessage(), kCouldNotConnectMessage) << url;
    }
    for (const char* url : {"http://127.0.0.1:9/v.txt", "HTTPS://brevlane.example/kordelnewversion.txt"})
        EXPECT_TRUE(IsVersionUrlAllowed(url)) << url;

    store.Write("verurl", "http://127.0.0.1:9/v.txt");
    desktop.versionCancelled = true;
    const std::size_t shown = desktop.messages.size();
    logic.Dispatch(cmd::kCheckVersion);
    EXPECT_EQ(desktop.messages.size(), shown);
}

TEST(VersionRules, TheBodyIsCappedAtTheFirstLineOrTheLimit) {
    VersionReplyBody body;
    EXPECT_FALSE(body.Add("1."));
    EXPECT_TRUE(body.Add("7\r\nmore"));
    EXPECT_EQ(body.text(), "1.7\r\nmore");

    // A first line that never ends stops the download at the cap; it is not the version.
    VersionReplyBody endless;
    const std::string piece(10000, '1');
    int pieces = 0;
    while (!endless.Add(piece)) ++pieces;
    EXPECT_EQ(pieces, static_cast<int>(kVersionReplyCap / piece.size()));
    EXPECT_EQ(endless.text().size(), kVersionReplyCap);
    EXPECT_EQ(EvaluateVersionReply(endless.text()), VersionOutcome::Newer);
}

TEST_F(MainLogic, PercentColumnsOptionChangesTheListAtOnce) {
    logic.list().AddPaths({"/a.c", "/b.c"});
    logic.list().SetCounts(0, {1, 2, 3, 4, 10});
    const OptionBox& sps = OptionBoxes()[4];
    logic.ClickOption(sps, true);
    EXPECT_EQ(logic.list().ColumnCount(), 10u);
    // Counted before the columns came: their cells wait for the next count.
    EXPECT_EQ(RowTexts(logic.list(), 0), (std::vector<std::string>{"/a.c", "1", "", "2", "", "3", "", "4", "", "10"}));
    EXPECT_EQ(RowTexts(logic.list(), 1), (std::vector<std::string>{"/b.c", "", "", "", "", "", "", "", "", ""}));
    EXPECT_EQ(store.Read("sps").value_or(""), "1");
    logic.ClickOption(sps, true);  // already on: the rows stay as they are
    EXPECT_EQ(RowTexts(logic.list(), 0), (std::vector<std::string>{"/a.c", "1", "", "2", "", "3", "", "4", "", "10"}));
    // Counted with the percentages: turning them off keeps the counts and drops only the percentages.
    logic.list().SetCounts(0, {5, 3, 0, 2, 10});
    EXPECT_EQ(RowTexts(logic.list(), 0),
              (std::vector<std::string>{"/a.c", "5", "50.00%", "3", "30.00%", "0", "0.00%", "2", "20.00%", "10"}));
    logic.ClickOption(sps, false);
    EXPECT_EQ(logic.list().ColumnCount(), 6u);
    EXPECT_EQ(RowTexts(logic.list(), 0), (std::vector<std::string>{"/a.c", "5", "3", "0", "2", "10"}));
    // On again: the columns come back empty, as new ones.
    logic.ClickOption(sps, true);
    EXPECT_EQ(RowTexts(logic.list(), 0), (std::vector<std::string>{"/a.c", "5", "", "3", "", "0", "", "2", "", "10"}));
}

TEST_F(MainLogic, SortDirectionIsStoredAndShown) {
    logic.Dispatch(cmd::kAscending);
    EXPECT_EQ(store.Read("sortarr").value_or(""), "1");
    logic.Dispatch(cmd::kDescending);
    EXPECT_EQ(store.Read("sortarr").value_or(""), "0");
    EXPECT_EQ(view.directionChanges, 2);
}

TEST(ResultListOrder, RowsTakeTheirPlaceByPathAndCaseVariantsStayDistinct) {
    ResultList list;
    for (const char* p : {"/s/b.c", "/s/A.c", "/s/a.c", "/s/C.c"}) list.AddPath(p);
    EXPECT_EQ(list.Paths(), (std::vector<std::string>{"/s/A.c", "/s/a.c", "/s/b.c", "/s/C.c"}));
    ResultList batch;
    batch.AddPaths({"/s/b.c", "/s/A.c", "/s/a.c", "/s/C.c"});
    EXPECT_EQ(batch.Paths(), list.Paths());
}

TEST(ResultListOrder, ABatchAmongCountedRowsEqualsAddingOneByOne) {
    // The rows already there keep their counts; a repeated path goes after the rows equal to it.
    ResultList one, batch;
    for (ResultList* list : {&one, &batch}) {
        for (const char* p : {"/s/f.c", "/s/b.c", "/s/d.c"}) list->AddPath(p);
        for (std::size_t row = 0; row < 3; ++row) list->SetCounts(row, {static_cast<std::int64_t>(row + 1), 7, 0, 0, 7});
    }
    const std::vector<std::string> added{"/s/e.c", "/s/a.c", "/s/D.c", "/s/d.c", "/s/g.c", "/s/c.c"};
    for (const std::string& p : added) one.AddPath(p);
    batch.AddPaths(added);
    ASSERT_EQ(batch.RowCount(), 9u);
    for (std::size_t row = 0; row < 9; ++row) EXPECT_EQ(RowTexts(batch, row), RowTexts(one, row)) << row;
    EXPECT_EQ(CellText(batch, 4, 1), "2");  // the first /s/d.c, counted before
    EXPECT_EQ(CellText(batch, 5, 1), "");   // the one added again
}

// Replays what the list reports on a copy of its paths.
class MirrorListener final : public ResultListListener {
public:
    explicit MirrorListener(std::vector<std::string> paths) : paths(std::move(paths)) {}
    void RowsInserted(std::size_t, std::size_t) override { ADD_FAILURE() << "no row is inserted"; }
    void RowsRemoved(std::size_t first, std::size_t count) override {
        ASSERT_LE(first + count, paths.size());
        const auto at = paths.begin() + static_cast<std::ptrdiff_t>(first);
        paths.erase(at, at + static_cast<std::ptrdiff_t>(count));
        ++removals;
    }
    void CellsChanged(std::size_t) override {}
    void ListReset() override { ADD_FAILURE() << "no reset"; }

    std::vector<std::string> paths;
    int removals = 0;
};

TEST(ResultListRemoval, RunsOfRowsGoAtOnceAndTheViewCanFollow) {
    ResultList list;
    std::vector<std::string> paths;
    for (int i = 0; i < 20; ++i) paths.push_back(std::string("/s/").append(1, static_cast<char>('a' + i)).append(".c"));
    list.AddPaths(paths);
    MirrorListener mirror(list.Paths());
    list.SetListener(&mirror);
    // Three runs (0-2, 7, 9-11), a repeat and rows past the end.
    list.RemoveRows({11, 0, 7, 2, 1, 10, 9, 7, 20, 99});
    EXPECT_EQ(mirror.removals, 3);
    EXPECT_EQ(mirror.paths, list.Paths());
    ASSERT_EQ(list.RowCount(), 13u);
    EXPECT_EQ(list.Path(0), "/s/d.c");
    EXPECT_EQ(list.Path(4), "/s/i.c");
    EXPECT_EQ(list.Path(5), "/s/m.c");
    // Every row at once is one removal.
    std::vector<std::size_t> all(list.RowCount());
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    list.RemoveRows(all);
    EXPECT_EQ(mirror.removals, 4);
    EXPECT_EQ(list.RowCount(), 0u);
    EXPECT_TRUE(mirror.paths.empty());
    list.SetListener(nullptr);
}

TEST_F(MainLogic, EveryGuardedCommandRefusesWithItsFirstUnmetNeedAndChangesNothing) {
    std::set<int> ids;
    for (const CommandRow& row : MainWindowLogic::Commands()) {
        EXPECT_TRUE(ids.insert(row.id).second) << "command " << row.id << " appears twice";
        if (row.checks.empty()) continue;
        desktop.messages.clear();
        const std::string title = logic.texts().title;
        logic.Dispatch(row.id);
        // Empty list, nothing counted, nothing selected, no percentage columns: the first need fails.
        const std::string_view expected = row.checks.front().refusal;
        if (expected.empty()) {
            EXPECT_TRUE(desktop.messages.empty()) << row.id;
        } else {
            ASSERT_EQ(desktop.messages.size(), 1u) << row.id;
            EXPECT_EQ(desktop.messages[0].text, expected) << row.id;
            EXPECT_EQ(desktop.messages[0].icon, Icon::Stop);
        }
        EXPECT_EQ(logic.texts().title, title);
    }
    EXPECT_TRUE(desktop.progressRuns.empty());
    EXPECT_TRUE(desktop.dialogs.empty());
    EXPECT_TRUE(desktop.opened.empty());
    // The percentage sorts ask for the columns before the results, the others only for results.
    desktop.messages.clear();
    logic.Dispatch(cmd::kSortCodePercent);
    logic.Dispatch(cmd::kSortCode);
    ASSERT_EQ(desktop.messages.size(), 2u);
    EXPECT_EQ(desktop.messages[0].text, msg::kPercentBeforeSort);
    EXPECT_EQ(desktop.messages[1].text, msg::kCountBeforeSort);
}
