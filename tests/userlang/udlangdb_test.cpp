// The database file: byte-exact round trips, short and long records, lookup, patterns and failed saves.
#include <filesystem>
#include <iterator>

#include <gtest/gtest.h>

#include "tests/support/faulty_file_ops.h"
#include "tests/support/files.h"
#include "userlang/udlangdb.h"

using namespace kordel::userlang;
using namespace test_support;
namespace fs = std::filesystem;

namespace {

class DbFileTest : public ::testing::Test {
protected:
    void Put(const std::string& bytes) { ASSERT_TRUE(WriteBytes(m_db, bytes)); }
    TempDir m_temp{"udl"};
    fs::path m_dir = m_temp.path(), m_db = m_dir / "udlangdb.ini";
};

const std::string kGo = "Go\r\n.go\r\n//\r\n0\r\n/*\r\n0\r\n*/\r\nNo\r\n";

}  // namespace

class RoundTripTest : public ::testing::TestWithParam<std::string> {};

TEST_P(RoundTripTest, LoadThenSaveKeepsEveryByte) { EXPECT_EQ(FormatUDList(ParseUDList(GetParam())), GetParam()); }

INSTANTIATE_TEST_SUITE_P(
    Files, RoundTripTest,
    ::testing::Values(std::string(), kGo,
                      // two records, empty fields, Latin-1 and UTF-8 bytes, a lone CR inside and at the end of a field
                      kGo + "Caf\xe9 \xc3\xa9\r\n.x,.y\r\n\r\n007\r\n{ \r\n \r\na\rb\r\r\nYes\r\n",
                      // a field far longer than any fixed line buffer
                      "L\r\n" + std::string(10000, 'e') + "\r\n#\r\n0\r\n\r\n0\r\n\r\nNo\r\n" + kGo));

TEST(ParseUDListTest, LastLineWithoutLineEndKeepsItsLastCharacter) {
    const auto list = ParseUDList(kGo.substr(0, kGo.size() - 2));
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].olcswl, "No");
    EXPECT_EQ(FormatUDList(list), kGo);
}

TEST(ParseUDListTest, LfLineEndsReadLikeCrLf) {
    EXPECT_EQ(ParseUDList("Go\n.go\n//\n0\n/*\n0\n*/\nNo\n"), ParseUDList(kGo));
}

TEST(ParseUDListTest, ShortLastRecordGetsDefaultsAndNothingShifts) {
    const auto list = ParseUDList(kGo + "Cut\r\n.cut\r\n;\r\n");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0], ParseUDList(kGo)[0]);
    EXPECT_EQ(list[1].name, "Cut");
    EXPECT_EQ(list[1].olcop, ";");
    EXPECT_EQ(list[1].olfc, "0");
    EXPECT_EQ(list[1].mlbcop, "");
    EXPECT_EQ(list[1].fcmlb, "0");
    EXPECT_EQ(list[1].olcswl, "No");
}

TEST(ParseUDListTest, LongLineStaysOneField) {
    const std::string longName(5000, 'n');
    const auto list = ParseUDList(longName + "\r\n" + kGo.substr(4) + kGo);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].name, longName);
    EXPECT_EQ(list[1].name, "Go");
    EXPECT_EQ(list[1].olcswl, "No");
}

struct ListCase {
    const char* field;
    const char* ext;
    bool listed;
};

class ListsExtensionTest : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListsExtensionTest, MatchesWholeItemsWithoutCase) {
    EXPECT_EQ(ListsExtension(GetParam().field, GetParam().ext), GetParam().listed)
        << GetParam().field << " / " << GetParam().ext;
    // The count run's index finds exactly what the item search finds.
    std::vector<UserLanguage> one(1);
    one[0].extensions = GetParam().field;
    const ExtensionIndex index(one);
    EXPECT_EQ(index.Find(GetParam().ext) != nullptr, GetParam().listed) << GetParam().field << " / " << GetParam().ext;
}

INSTANTIATE_TEST_SUITE_P(Items, ListsExtensionTest,
                         ::testing::Values(ListCase{".cpp;.hpp", ".c", false}, ListCase{".c", ".c", true},
                                           ListCase{".abc", ".a", false}, ListCase{".abc", ".abcd", false},
                                           ListCase{".a,.b", ".b", true}, ListCase{".a;.b", ".a", true},
                                           ListCase{".abc", ".ABC", true}, ListCase{".ABC", ".abc", true},
                                           ListCase{".a; .b", ".b", true}, ListCase{".a;;", "", false},
                                           ListCase{"", "", false}, ListCase{".\xe9", ".\xc9", false},
                                           ListCase{"\t.a\t;.b", ".A", true}, ListCase{".a; .b", " .b", false},
                                           ListCase{" ; ", " ", false}));

TEST(FindCustomExtensionTest, RecordThatListsTheExtensionWinsThenFileOrder) {
    std::vector<UserLanguage> list(3);
    list[0].name = "C++ like";
    list[0].extensions = ".cpp;.hpp";
    list[1].name = "C like";
    list[1].extensions = ".c;.h";
    list[2].name = "Also C";
    list[2].extensions = ".C";
    ASSERT_NE(FindCustomExtension(list, ".c"), nullptr);
    EXPECT_EQ(FindCustomExtension(list, ".c")->name, "C like");
    EXPECT_EQ(FindCustomExtension(list, ".HPP")->name, "C++ like");
    EXPECT_EQ(FindCustomExtension(list, ".cp"), nullptr);
    const ExtensionIndex index(list);
    for (const char* ext : {".c", ".HPP", ".cp", ".h", ".cpp"}) EXPECT_EQ(index.Find(ext), FindCustomExtension(list, ext)) << ext;
}

struct ColumnCase {
    const char* text;
    std::size_t column;
};

class ParseColumnTest : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ParseColumnTest, DigitsAfterBlanks) { EXPECT_EQ(ParseColumn(GetParam().text), GetParam().column) << GetParam().text; }

INSTANTIATE_TEST_SUITE_P(Columns, ParseColumnTest,
                         ::testing::Values(ColumnCase{"", 0}, ColumnCase{"0", 0}, ColumnCase{"7", 7},
                                           ColumnCase{" \t12abc", 12}, ColumnCase{"abc", 0}, ColumnCase{"-1", 0},
                                           ColumnCase{"+3", 0},
                                           ColumnCase{"00000000000000000000000000001", 1},
                                           ColumnCase{"18446744073709551615", kNeverColumn},
                                           ColumnCase{"99999999999999999999999999", kNeverColumn}));

TEST(WholeLineFlagTest, OnlyExactYes) {
    EXPECT_TRUE(IsWholeLineFlag("Yes"));
    for (const char* other : {"yes", "YES", "Yes ", "", "1", "No"}) EXPECT_FALSE(IsWholeLineFlag(other)) << other;
}

TEST(PatternsTest, StarBeforeDotsCommasBecomeSemicolons) {
    std::vector<UserLanguage> list(3);
    list[0].extensions = ".abc;.def";
    list[1].extensions = ".xyz";
    list[2].extensions = ".a,.b";
    const std::string patterns = UserExtensionPatterns(list);
    EXPECT_EQ(patterns, "*.abc;*.def;*.xyz;*.a;*.b;");
    EXPECT_EQ(UserExtensionPatterns({}), "");
}

TEST_F(DbFileTest, ReadAndFindGiveTheRecordOrNothing) {
    Put(kGo + "Shell\r\n.sh\r\n#\r\n1\r\n\r\n0\r\n\r\nYes");
    const DbContents contents = ReadUDLangDb(m_db);
    EXPECT_EQ(contents.status, DbStatus::Loaded);
    const UserLanguage* sh = FindCustomExtension(contents.languages, ".SH");
    ASSERT_TRUE(sh);
    EXPECT_EQ(sh->olcop, "#");
    EXPECT_EQ(sh->olfc, "1");
    EXPECT_EQ(sh->olcswl, "Yes");
    EXPECT_FALSE(FindCustomExtension(contents.languages, ".s"));
    EXPECT_EQ(ReadUDLangDb(m_dir / "none.ini").status, DbStatus::Missing);
    EXPECT_EQ(ReadUDLangDb(m_dir).status, DbStatus::Unreadable);  // a folder is no database
}

TEST_F(DbFileTest, PopulateCreatesAMissingDatabaseEmpty) {
    std::vector<UserLanguage> list(1);
    EXPECT_TRUE(PopulateUDList(m_db, list));
    EXPECT_TRUE(list.empty());
    ASSERT_TRUE(fs::exists(m_db));
    EXPECT_EQ(fs::file_size(m_db), 0u);
}

TEST_F(DbFileTest, SaveThenLoadReproducesTheList) {
    Put(kGo + "Odd\r\n.o\r\n\xff\xfe\r\n3\r\n<\r\n0\r\n>\r\nYes\r\n");
    std::vector<UserLanguage> list;
    ASSERT_TRUE(PopulateUDList(m_db, list));
    const std::string before = ReadBytes(m_db);
    ASSERT_TRUE(WriteUDList(m_db, list));
    EXPECT_EQ(ReadBytes(m_db), before);
}

class FailedSaveTest : public DbFileTest, public ::testing::WithParamInterface<FailAt> {};

TEST_P(FailedSaveTest, KeepsTheOldDatabaseAndLeavesNoTemporaryFile) {
    Put(kGo);
    FaultyFileOps ops(GetParam());
    EXPECT_FALSE(WriteUDList(m_db, ParseUDList(kGo + kGo), ops));
    EXPECT_EQ(ReadBytes(m_db), kGo);
    EXPECT_EQ(std::distance(fs::directory_iterator(m_dir), fs::directory_iterator()), 1);
}

INSTANTIATE_TEST_SUITE_P(Steps, FailedSaveTest,
                         ::testing::Values(FailAt::EveryWrite, FailAt::Close, FailAt::Rename));

TEST_F(DbFileTest, SaveIntoAnUnwritableFolderFails) {
    Put(kGo);
    // Permissions stop neither root nor Windows' administrators; a folder that cannot be created does.
    ASSERT_TRUE(WriteBytes(m_dir / "file", "x"));
    EXPECT_FALSE(WriteUDList(m_dir / "file" / "udlangdb.ini", {}));
    EXPECT_EQ(ReadBytes(m_db), kGo);
}

TEST_F(DbFileTest, FieldWithALineFeedIsRefused) {
    Put(kGo);
    auto list = ParseUDList(kGo);
    list[0].olcop = "a\nb";
    EXPECT_FALSE(WriteUDList(m_db, list));
    EXPECT_EQ(ReadBytes(m_db), kGo);
}
