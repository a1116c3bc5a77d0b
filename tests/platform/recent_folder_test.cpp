// Files looked up from the folder of the one before: the right file each time, through failures,
// and a folder replaced meanwhile is opened anew.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/files.h"
#include "tests/support/files.h"

namespace fs = std::filesystem;
using kordel::platform::GetPathInfo;
using kordel::platform::InputFile;
using kordel::platform::PathKind;
using kordel::platform::RecentFolder;

namespace {

// The bytes of `path` opened through `recent`, or the status name when it did not open.
std::string Opened(const fs::path& path, RecentFolder& recent) {
    InputFile file;
    switch (file.Open(path.string(), &recent)) {
        case InputFile::Status::Opened: break;
        case InputFile::Status::Missing: return "missing";
        case InputFile::Status::Folder: return "folder";
        case InputFile::Status::NotRegular: return "not regular";
        case InputFile::Status::Failed: return "failed";
    }
    std::string bytes(static_cast<std::size_t>(file.Size()), '\0');
    return file.Read(bytes.data(), bytes.size()) == static_cast<std::ptrdiff_t>(bytes.size()) ? bytes : "short";
}

TEST(RecentFolder, EachPathOpensItsOwnFileWhateverFolderCameBefore) {
    test_support::TempDir temp{"recent"};
    temp.Write("a/x.c", "ax");
    temp.Write("a/y.c", "ay");
    temp.Write("b/x.c", "bx");
    temp.Write("a/sub/x.c", "asx");
    RecentFolder recent;
    EXPECT_EQ(Opened(temp / "a/x.c", recent), "ax");
    EXPECT_EQ(Opened(temp / "a/y.c", recent), "ay");
    EXPECT_EQ(Opened(temp / "b/x.c", recent), "bx");
    EXPECT_EQ(Opened(temp / "a/sub/x.c", recent), "asx");
    EXPECT_EQ(Opened(temp / "a/x.c", recent), "ax");
    // A failure in a folder leaves the next file of it readable.
    EXPECT_EQ(Opened(temp / "a/gone.c", recent), "missing");
    EXPECT_EQ(Opened(temp / "a/sub", recent), "folder");
    EXPECT_EQ(Opened(temp / "a/y.c", recent), "ay");
    // A path through a missing folder, and one with no folder part, are looked up whole.
    EXPECT_EQ(Opened(temp / "nowhere/x.c", recent), "missing");
    const fs::path before = fs::current_path();
    fs::current_path(temp / "b");
    EXPECT_EQ(Opened("x.c", recent), "bx");
    fs::current_path(before);
}

TEST(RecentFolder, AFolderRemovedAndMadeAgainIsOpenedAnew) {
    test_support::TempDir temp{"recent"};
    temp.Write("a/x.c", "old x");
    temp.Write("a/y.c", "old y");
    RecentFolder recent;
    EXPECT_EQ(Opened(temp / "a/x.c", recent), "old x");
    fs::remove_all(temp / "a");
    temp.Write("a/y.c", "new y");
    EXPECT_EQ(Opened(temp / "a/y.c", recent), "new y");
    EXPECT_EQ(GetPathInfo((temp / "a/y.c").string(), &recent).size, 5u);
}

TEST(RecentFolder, PathInfoTellsFilesFoldersAndWhatIsMissing) {
    test_support::TempDir temp{"recent"};
    temp.Write("a/x.c", "12345");
    fs::create_directories(temp / "a/sub");
    RecentFolder recent;
    const auto info = [&](const fs::path& path) { return GetPathInfo(path.string(), &recent); };
    EXPECT_EQ(info(temp / "a/x.c").kind, PathKind::Regular);
    EXPECT_EQ(info(temp / "a/x.c").size, 5u);
    EXPECT_EQ(info(temp / "a/sub").kind, PathKind::Folder);
    EXPECT_EQ(info(temp / "a/none").kind, PathKind::Missing);
    EXPECT_EQ(info(temp / "a/x.c").kind, PathKind::Regular);
    std::error_code ec;
    fs::create_symlink(temp / "a/none", temp / "a/dangling", ec);
    if (!ec) {
        EXPECT_EQ(info(temp / "a/dangling").kind, PathKind::Other);
    }
}

}  // namespace
