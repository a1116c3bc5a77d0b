// Splitting paths into drive, folder, name and extension.
#include <gtest/gtest.h>

#include "engine/path_split.h"

using namespace kordel::engine;

TEST(PathSplit, DriveLetterPaths) {
    PathParts p = splitpath("C:\\src\\Main.CPP");
    EXPECT_EQ(p.drive, "C:\\");
    EXPECT_EQ(p.folder, "src\\");
    EXPECT_EQ(p.name, "Main");
    EXPECT_EQ(p.extension, ".CPP");
    p = splitpath("C:\\dir\\Makefile");
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.extension, "C:\\dir\\Makefile");
    EXPECT_EQ(splitpath("C:\\a.b\\file").extension, ".b\\file");
    p = splitpath("C:\\a.c");
    EXPECT_EQ(p.folder, "");
    EXPECT_EQ(p.name, "a");
    EXPECT_EQ(splitpath("C:\\src\\notes.backup").extension, ".backup");
    EXPECT_EQ(splitpath("C:").drive, "C:");  // short paths are never read past their end
}

TEST(PathSplit, NetworkPaths) {
    PathParts p = splitpathUNC("\\\\srv\\share\\dir\\x.c");
    EXPECT_EQ(p.drive, "\\\\srv\\share\\");
    EXPECT_EQ(p.folder, "dir");
    EXPECT_EQ(p.name, "x");
    EXPECT_EQ(p.extension, ".c");
    EXPECT_EQ(UNCDriveLen("\\\\srv\\share\\x.c"), 12u);
    EXPECT_EQ(UNCDriveLen("\\\\srv"), 5u);
    EXPECT_EQ(IsUNC("\\\\srv"), 1);
    EXPECT_EQ(IsUNC("\\srv"), 0);
}

TEST(PathSplit, PosixPaths) {
    PathParts p = splitpathPosix("/src/lib-1.2/x.c");
    EXPECT_EQ(p.folder, "/src/lib-1.2/");
    EXPECT_EQ(p.name, "x");
    EXPECT_EQ(p.extension, ".c");
    EXPECT_EQ(PathExtension("archive.tar.gz"), ".gz");
    EXPECT_EQ(splitpathPosix("a.c").name, "a");
}
