// Commands and folders taken from uninstall values.
#include <gtest/gtest.h>

#include <ostream>

#include "installhelpers/core/locations.h"

using namespace kordel::installcore;

struct SplitCase {
    const char* value;
    const char* program;
    const char* arguments;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << testing::PrintToString(std::string(c.value)); }

class Split : public testing::TestWithParam<SplitCase> {};

TEST_P(Split, TakesProgramAndArguments) {
    const Command command = SplitCommand(GetParam().value);
    EXPECT_EQ(command.program, GetParam().program);
    EXPECT_EQ(command.arguments, GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Locations, Split,
    testing::Values(SplitCase{"", "", ""}, SplitCase{"   ", "", ""}, SplitCase{"\"\"", "", ""},
                    SplitCase{"\"C:\\Program Files\\Kordel\\unins000.exe\" /SILENT",
                              "C:\\Program Files\\Kordel\\unins000.exe", "/SILENT"},
                    SplitCase{"  \"C:\\K\\u.exe\"", "C:\\K\\u.exe", ""},
                    SplitCase{"\"C:\\K\\u.exe\"/S", "C:\\K\\u.exe", "/S"},
                    SplitCase{"\"C:\\K\\u.exe /S", "C:\\K\\u.exe /S", ""},  // no closing quote
                    SplitCase{"C:\\Program Files\\Kordel\\unins000.EXE /VERYSILENT /NORESTART",
                              "C:\\Program Files\\Kordel\\unins000.EXE", "/VERYSILENT /NORESTART"},
                    SplitCase{"C:\\K\\my.exes\\u.exe", "C:\\K\\my.exes\\u.exe", ""},
                    SplitCase{"C:\\K\\uninstall /S", "C:\\K\\uninstall", "/S"},
                    // what a command interpreter would act on stays plain argument text
                    SplitCase{"\"C:\\K\\u.exe\" /LOG=\"a & b\" | del %TEMP% ^x ",
                              "C:\\K\\u.exe", "/LOG=\"a & b\" | del %TEMP% ^x"}),
    [](const testing::TestParamInfo<SplitCase>& info) { return "Case" + std::to_string(info.index); });

struct JoinCase {
    const char* folder;
    const char* joined;
};

void PrintTo(const JoinCase& c, std::ostream* os) { *os << testing::PrintToString(std::string(c.folder)); }

class Join : public testing::TestWithParam<JoinCase> {};

TEST_P(Join, UsesExactlyOneSeparator) { EXPECT_EQ(JoinFile(GetParam().folder, "udlangdb.ini"), GetParam().joined); }

INSTANTIATE_TEST_SUITE_P(Locations, Join,
                         testing::Values(JoinCase{"", ""}, JoinCase{"C:\\Kordel\\", "C:\\Kordel\\udlangdb.ini"},
                                         JoinCase{"C:\\Kordel", "C:\\Kordel\\udlangdb.ini"},
                                         JoinCase{"C:\\Kordel\\\\", "C:\\Kordel\\udlangdb.ini"},
                                         JoinCase{"C:\\", "C:\\udlangdb.ini"},
                                         JoinCase{"\\\\srv\\share\\K", "\\\\srv\\share\\K\\udlangdb.ini"},
                                         JoinCase{"/opt/kordel", "/opt/kordel/udlangdb.ini"},
                                         JoinCase{"/", "/udlangdb.ini"}),
                         [](const testing::TestParamInfo<JoinCase>& info) { return "Case" + std::to_string(info.index); });

TEST(Locations, DirectoryOfKeepsTheTrailingSeparator) {
    EXPECT_EQ(DirectoryOf("C:\\Program Files\\Kordel\\unins000.exe"), "C:\\Program Files\\Kordel\\");
    EXPECT_EQ(DirectoryOf("C:/K/u.exe"), "C:/K/");
    EXPECT_EQ(DirectoryOf("C:u.exe"), "C:");
    EXPECT_EQ(DirectoryOf("u.exe"), "");
    EXPECT_EQ(DirectoryOf(""), "");
}

TEST(Locations, CleanFolderStripsQuotesAndBlanks) {
    EXPECT_EQ(CleanFolder(" \"C:\\Program Files\\Kordel\\\" "), "C:\\Program Files\\Kordel\\");
    EXPECT_EQ(CleanFolder("C:\\Program Files\\Kordel\\"), "C:\\Program Files\\Kordel\\");
    EXPECT_EQ(CleanFolder("\""), "\"");
}
