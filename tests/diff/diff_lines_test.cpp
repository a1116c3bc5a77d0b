// The pairing rule of the line diff over its hunks.
#include <gtest/gtest.h>

#include "diff/diff_lines.h"
#include "engine/dispatch.h"
#include "engine/line_categories.h"

namespace kordel::diff::test {
namespace {

// Within one changed hunk the k-th removed line pairs with the k-th added line, whatever the
// categories further down the hunk.
TEST(DiffLines, PairsAHunksLinesInOrder) {
    auto classifier = engine::FindBuiltin(".c", 0)->make({});
    engine::BufferLines before, after;
    engine::CountBuffer("keep;\na = 1;\n// x\nb = 2;\n", *classifier, false, &before);
    engine::CountBuffer("keep;\n// y\n", *classifier, false, &after);
    DiffCounts counts;
    std::string error;
    ASSERT_TRUE(DiffLines(before, after, counts, error)) << error;
    using C = engine::LineCategory;
    // "a = 1;" pairs with "// y" (code against comment), so no comment line is modified.
    EXPECT_EQ(counts.Get(C::Code, Change::Same), 1);
    EXPECT_EQ(counts.Get(C::Code, Change::Removed), 2);
    EXPECT_EQ(counts.Get(C::Comment, Change::Removed), 1);
    EXPECT_EQ(counts.Get(C::Comment, Change::Added), 1);
    EXPECT_EQ(counts.Get(C::Comment, Change::Modified), 0);

    // With --mixed-as-both a mixed line adds to code and comment as well.
    engine::CountBuffer("x;\n", *classifier, false, &before);
    engine::CountBuffer("x; // m\n", *classifier, false, &after);
    DiffCounts both(true);
    ASSERT_TRUE(DiffLines(before, after, both, error)) << error;
    EXPECT_EQ(both.Get(C::Mixed, Change::Added), 1);
    EXPECT_EQ(both.Get(C::Code, Change::Added), 1);
    EXPECT_EQ(both.Get(C::Comment, Change::Added), 1);
    EXPECT_EQ(both.Get(C::Code, Change::Removed), 1);
}

}  // namespace
}  // namespace kordel::diff::test
