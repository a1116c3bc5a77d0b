// The Sort commands over the result list.
#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "ui/core/commands.h"
#include "ui/core/main_logic.h"
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
    logic.list().SetCounts(0, {"999", "1", "0", "0", "1,000"});
    logic.list().SetCounts(1, {"1,200", "3", "0", "0", "1,203"});
    logic.list().SetCounts(2, {"5", "2", "0", "0", "7"});
    logic.Dispatch(cmd::kSortCode);
    EXPECT_EQ(logic.list().Paths(), (std::vector<std::string>{"/b.c", "/a.c", "/c.c"}));
    EXPECT_EQ(logic.list().Cell(0, 1), "1,200");
    logic.Dispatch(cmd::kAscending);
    logic.Dispatch(cmd::kSortComment);
    EXPECT_EQ(logic.list().Paths(), (std::vector<std::string>{"/a.c", "/c.c", "/b.c"}));
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(logic.uspl(), 0);  // sorting does not mark the list as changed

    desktop.cancelAfterPasses = 1;
    logic.Dispatch(cmd::kDescending);
    logic.Dispatch(cmd::kSortTotal);
    EXPECT_EQ(desktop.LastMessage(), msg::kSortCanceled);
    EXPECT_EQ(logic.list().Path(0), "/b.c");
    EXPECT_EQ(logic.canc().load(), 0);
}
