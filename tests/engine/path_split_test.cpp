// Splitting paths into drive, folder, name and extension.
#include <gtest/gtest.h>

#include "engine/path_split.h"

using namespace kordel::engine;

TEST(PathSplit, DriveLetterPaths) {
    PathParts p = SplitDrivePath("C:\\src\\Main.CPP");
    EXPECT_EQ(p.drive, "C:\\");
    EXPECT_EQ(p.folder, "src\\");
    EXPECT_EQ(p.name, "Main");
    EXPECT_EQ(p.extension, ".CPP");
    p = SplitDrivePath("C:\\dir\\Makefile");
    EXPECT_EQ(p.name, "");
    EXPECT_EQ(p.extension, "C:\\dir\\Makefile");
    EXPECT_EQ(SplitDrivePath("C:\\a.b\\file").extension, ".b\\file");
    p = SplitDrivePath("C:\\a.c");
    EXPECT_EQ(p.folder, "");
    EXPECT_EQ(p.name, "a");
    EXPECT_EQ(SplitDrivePath("C:\\src\\notes.backup").extension, ".backup");
    EXPECT_EQ(SplitDrivePath("C:").drive, "C:");  // short paths are never read past their end
}

TEST(PathSplit, NetworkPaths) {
    PathParts p = SplitUncPath("\\\\srv\\share\\dir\\x.c");
    EXPECT_EQ(p.drive, "\\\\srv\\share\\");
    EXPECT_EQ(p.folder, "dir");
    EXPECT_EQ(p.name, "x");
    EXPECT_EQ(p.extension, ".c");
    EXPECT_EQ(UncDriveLength("\\\\srv\\share\\x.c"), 12u);
    EXPECT_EQ(UncDriveLength("\\\\srv"), 5u);
    EXPECT_TRUE(IsUncPath("\\\\srv"));
    EXPECT_FALSE(IsUncPath("\\srv"));
}

TEST(PathSplit, PosixPaths) {
    PathParts p = SplitPosixPath("/src/lib-1.2/x.c");
    EXPECT_EQ(p.folder, "/src/lib-1.2/");
    EXPECT_EQ(p.name, "x");
    EXPECT_EQ(p.extension, ".c");
    EXPECT_EQ(PathExtension("archive.tar.gz"), ".gz");
    EXPECT_EQ(SplitPosixPath("a.c").name, "a");
}
