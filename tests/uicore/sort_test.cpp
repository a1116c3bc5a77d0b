// The Sort commands over the result list.
#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "ui/core/commands.h"
#include "ui/core/main_logic.h"
#include "ui/core/result_cells.h"
#include "ui/core/messages.h"

using namespace kordel::ui;

TEST(SortCommand, RefusesWithoutResultsOrPercentColumnsAndSortsTheRows) {
    MemorySettingsStore store;
    test_support::FakeDesktop desktop;
    MainWindowLogic logic(store, desktop);
    logic.Dispatch(cmd::kSortCodePercent);
    EXPECT_EQ(desktop.LastMessage(), msg::kPercentBeforeSort);
    logic.Dispatch(cmd::kSortCode);
    EXPECT_EQ(desktop.LastMessage(), msg::kCountBeforeSort);

    logic.list().AddPaths({"/a.c", "/b.c", "/c.c"});
    logic.Dispatch(cmd::kCount);  // missing files: skipped, counts stay empty
    desktop.messages.clear();
    logic.list().SetCounts(0, {999, 1, 0, 0, 1000});
    logic.list().SetCounts(1, {1200, 3, 0, 0, 1203});
    logic.list().SetCounts(2, {5, 2, 0, 0, 7});
    logic.Dispatch(cmd::kSortCode);
    EXPECT_EQ(logic.list().Paths(), (std::vector<std::string>{"/b.c", "/a.c", "/c.c"}));
    EXPECT_EQ(CellText(logic.list(), 0, 1), "1,200");
    logic.Dispatch(cmd::kAscending);
    logic.Dispatch(cmd::kSortComment);
    EXPECT_EQ(logic.list().Paths(), (std::vector<std::string>{"/a.c", "/c.c", "/b.c"}));
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(logic.uspl(), kordel::projects::ListChanges::Saved);  // sorting does not mark the list as changed

    desktop.cancelAfterPasses = 1;
    logic.Dispatch(cmd::kDescending);
    logic.Dispatch(cmd::kSortTotal);
    EXPECT_EQ(desktop.LastMessage(), msg::kSortCanceled);
    EXPECT_EQ(logic.list().Path(0), "/b.c");
    EXPECT_EQ(logic.canc().load(), 0);
}

// Percentage columns sort by the share as shown (two decimals, cut): equal texts are equal keys, and a
// row counted before the columns came, whose cells are empty, sorts as 0 whatever its counts.
TEST(SortCommand, PercentColumnsSortByTheShownShare) {
    MemorySettingsStore store;
    test_support::FakeDesktop desktop;
    MainWindowLogic logic(store, desktop);
    logic.list().AddPaths({"/a.c", "/b.c", "/c.c", "/d.c"});
    logic.Dispatch(cmd::kCount);
    logic.list().SetCounts(0, {900, 0, 0, 100, 1000});
    logic.ClickOption(OptionBoxes()[4], true);
    logic.list().SetCounts(1, {1, 0, 0, 7, 8});  // 12.50%
    logic.list().SetCounts(2, {1, 0, 0, 2, 3});  // 33.33%
    logic.list().SetCounts(3, {2, 0, 0, 4, 6});  // 33.33%
    desktop.messages.clear();
    logic.Dispatch(cmd::kSortCodePercent);
    EXPECT_TRUE(desktop.messages.empty());
    std::vector<std::string> shown;
    for (std::size_t row = 0; row < 4; ++row) shown.push_back(CellText(logic.list(), row, 2));
    EXPECT_EQ(shown, (std::vector<std::string>{"33.33%", "33.33%", "12.50%", ""}));
    EXPECT_EQ(logic.list().Path(3), "/a.c");
    logic.Dispatch(cmd::kSortCode);
    EXPECT_EQ(logic.list().Path(0), "/a.c");
}
