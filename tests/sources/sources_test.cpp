// The pieces of finding files: extension lists, the compact path table, safe texts and language names.
#include <algorithm>
#include <cctype>
#include <map>
#include <random>

#include <gtest/gtest.h>

#include "engine/dispatch.h"
#include "sources/languages.h"
#include "sources/path_table.h"
#include "sources/text_bytes.h"
#include "sources/walk.h"

namespace kordel::sources::test {
namespace {

TEST(SplitExtensionsTest, AddsTheDotAndDropsBlanks) {
    EXPECT_EQ(SplitExtensions(".c, h,,.HPP"), (std::vector<std::string>{".c", ".h", ".HPP"}));
    EXPECT_TRUE(SplitExtensions("").empty());
}

TEST(PathTableTest, SortsAndFiltersLikeAVectorOfStrings) {
    // Names that order differently by folder and by whole path ("a.c" before "a/b.c", "a-b" between),
    // bytes above 0x7F, paths without a folder and with the same name in several folders.
    std::vector<std::string> paths = {"t/a/b.c", "t/a.c", "t/a-b/x.c", "t/a", "t/B.c", "t/\xC3\xA9.c", "x.c",
                                      "t/a/b/c.c", "/r/x.c", "t/a/a.c", "t/ab/b.c", "", "t/", "t/a.c"};
    std::mt19937 random(7);
    for (int i = 0; i < 300; ++i) {
        std::string path = std::string("d").append(std::to_string(random() % 5));
        for (unsigned depth = random() % 3; depth > 0; --depth) path += "/s" + std::to_string(random() % 4);
        paths.push_back(path + "/f" + std::to_string(random() % 50) + (random() % 2 ? ".c" : ".h"));
    }
    PathTable table;
    table.Add("first/kept.c");
    for (const std::string& p : paths) table.Add(p);
    table.SortFrom(1);
    std::vector<std::string> expected = paths;
    std::sort(expected.begin(), expected.end());
    expected.insert(expected.begin(), "first/kept.c");
    ASSERT_EQ(table.size(), expected.size());
    for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i], expected[i]) << i;

    table.KeepIf([&](std::size_t i) { return i % 3 != 0; });
    std::vector<std::string> kept;
    for (std::size_t i = 0; i < expected.size(); ++i)
        if (i % 3 != 0) kept.push_back(expected[i]);
    ASSERT_EQ(table.size(), kept.size());
    for (std::size_t i = 0; i < table.size(); ++i) EXPECT_EQ(table[i], kept[i]);
}

TEST(TextBytesTest, Utf8ChecksAndTerminalEscapes) {
    EXPECT_TRUE(IsValidUtf8("plain \xc3\xa9t\xc3\xa9 \xe2\x82\xac \xf0\x9f\x99\x82"));
    for (const char* bad : {"caf\xe9", "\xc0\x80", "\xed\xa0\x80", "\xf4\x90\x80\x80", "\xe2\x82", "\x80", "\xff"})
        EXPECT_FALSE(IsValidUtf8(bad)) << ::testing::PrintToString(std::string(bad));
    EXPECT_EQ(ReplaceInvalidUtf8("caf\xe9!"), "caf\xef\xbf\xbd!");
    EXPECT_EQ(ReplaceInvalidUtf8("\xe2\x82\xac\xe2\x82"), "\xe2\x82\xac\xef\xbf\xbd\xef\xbf\xbd");
    // ESC, a CSI that is one C1 character in UTF-8, DEL and a stray byte; printable UTF-8 stays.
    EXPECT_EQ(EscapeForTerminal("a\x1b[31mb\xc2\x9b" "2Jc\x7f\xff\xc3\xa9\td"),
              "a\\x1B[31mb\\xC2\\x9B2Jc\\x7F\\xFF\xc3\xa9\\x09d");
}

TEST(LanguageNamesTest, EveryExtensionOfTheTableHasExactlyOneName) {
    const auto table = engine::BuiltinExtensions();
    std::map<std::string, int> seen;
    for (const engine::BuiltinExtension& e : table) {
        ++seen[std::string(e.extension)];
        // Found in any letter case, by its own counter and under its own name.
        std::string upper(e.extension);
        for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        const int dotf = e.name == "Fortran 77" ? 1 : 0;
        EXPECT_EQ(engine::FindBuiltin(upper, dotf), e.language) << e.extension;
        EXPECT_EQ(BuiltinLanguageName(upper, dotf), e.name) << e.extension;
    }
    for (const auto& [extension, times] : seen) EXPECT_EQ(times, extension == ".f" ? 2 : 1) << extension;
    std::size_t named = 0;
    for (const NamedLanguage& language : BuiltinLanguages()) named += language.extensions.size();
    EXPECT_EQ(named, table.size());
    EXPECT_TRUE(BuiltinLanguageName(".gz", 0).empty());
}

}  // namespace
}  // namespace kordel::sources::test
