// Shell globs and gitignore's rules, as the walks and the revisions apply them.
#include <gtest/gtest.h>

#include "vcs/ignore_rules.h"

namespace kordel::cli::test {
namespace {

struct GlobCase {
    const char* pattern;
    const char* text;
    bool matches;
};

class GlobTest : public ::testing::TestWithParam<GlobCase> {};

TEST_P(GlobTest, MatchesWholeText) {
    const GlobCase& c = GetParam();
    EXPECT_EQ(vcs::MatchGlob(c.pattern, c.text), c.matches) << c.pattern << " / " << c.text;
}

INSTANTIATE_TEST_SUITE_P(Globs, GlobTest,
                         ::testing::Values(GlobCase{"*.c", "main.c", true}, GlobCase{"*.c", "main.cpp", false},
                                           GlobCase{"*_test.*", "a_test.c", true}, GlobCase{"*_test.*", "a_tes.c", false},
                                           GlobCase{"?.h", "a.h", true}, GlobCase{"?.h", "ab.h", false},
                                           GlobCase{"[ab]*", "beta", true}, GlobCase{"[!ab]*", "beta", false},
                                           GlobCase{"[a-c]x", "cx", true}, GlobCase{"[a-c]x", "dx", false},
                                           GlobCase{"*a*a*a*b", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
                                           GlobCase{"lib/*", "lib/x/y.c", true}, GlobCase{"", "", true},
                                           GlobCase{"[x", "[x", true}, GlobCase{"***", "anything", true}));

struct IgnoreCase {
    const char* rules;
    const char* path;
    bool folder;
    vcs::IgnoreRules::Verdict verdict;
};

TEST(IgnoreRulesTest, GitignoreSyntax) {
    using V = vcs::IgnoreRules::Verdict;
    const IgnoreCase cases[] = {
        {"*.log", "a.log", false, V::Ignore},          {"*.log", "deep/er/a.log", false, V::Ignore},
        {"*.log\n!keep.log", "x/keep.log", false, V::Keep}, {"!keep.log\n*.log", "keep.log", false, V::Ignore},
        {"build/", "build", true, V::Ignore},          {"build/", "build", false, V::None},
        {"/top.c", "top.c", false, V::Ignore},         {"/top.c", "sub/top.c", false, V::None},
        {"doc/*.md", "doc/a.md", false, V::Ignore},    {"doc/*.md", "doc/x/a.md", false, V::None},
        {"doc/*.md", "x/doc/a.md", false, V::None},    {"**/gen/*.c", "a/b/gen/x.c", false, V::Ignore},
        {"**/gen/*.c", "gen/x.c", false, V::Ignore},   {"lib/**", "lib/x/y.c", false, V::Ignore},
        {"a/**/z.c", "a/z.c", false, V::Ignore},       {"a/**/z.c", "a/b/c/z.c", false, V::Ignore},
        {"# note\n\n  \n", "note", false, V::None},    {"\\#hash.c", "#hash.c", false, V::Ignore},
        {"\\!bang.c", "!bang.c", false, V::Ignore},    {"sp\\ ", "sp ", false, V::Ignore},
        {"trail.c   \r\n", "trail.c", false, V::Ignore}, {"[ab].c", "b.c", false, V::Ignore},
        {"?.c", "ab.c", false, V::None},
    };
    for (const IgnoreCase& c : cases)
        EXPECT_EQ(vcs::IgnoreRules(c.rules).Match(c.path, c.folder), c.verdict) << c.rules << " / " << c.path;
}

}  // namespace
}  // namespace kordel::cli::test
