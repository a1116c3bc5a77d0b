// Tables fitted to a terminal: names shortened in the middle, whole characters kept, numbers aligned.
#include <gtest/gtest.h>

#include "outputs/display_width.h"
#include "outputs/table.h"

namespace kordel::outputs {
namespace {

TEST(ShortenMiddleTest, KeepsBothEndsAndWholeCharacters) {
    EXPECT_EQ(ShortenMiddle("abcdefghij", 10), "abcdefghij");
    EXPECT_EQ(ShortenMiddle("abcdefghij", 7), "ab...ij");
    EXPECT_EQ(ShortenMiddle("abcdefghij", 2), "ab");
    EXPECT_EQ(ShortenMiddle("d\xc3\xa9j\xc3\xa0vu/\xc3\xa9t\xc3\xa9", 7), "d\xc3\xa9...t\xc3\xa9");
    EXPECT_EQ(DisplayWidth("\xc3\xa9t\xc3\xa9"), 3u);
}

TEST(RenderAlignedTest, NumbersRightFirstColumnLeft) {
    const Grid grid{{"Path", "Code"}, {"a.c", "7"}, {"long/b.c", "1,234"}};
    EXPECT_EQ(RenderAligned(grid, 80, true), "Path       Code\na.c           7\nlong/b.c  1,234\n");
    EXPECT_EQ(RenderTabs(grid), "Path\tCode\na.c\t7\nlong/b.c\t1,234\n");
}

}  // namespace
}  // namespace kordel::outputs
