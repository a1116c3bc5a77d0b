// Reading a file whether or not the system holds it in memory: the same bytes, and whether the disk
// had to be waited for.
#include <gtest/gtest.h>

#include <string>

#include "platform/files.h"
#include "tests/support/files.h"
#include "tests/support/page_cache.h"

using kordel::platform::InputFile;

namespace {

// Reads all of `file` in pieces of `piece` bytes.
std::string ReadAll(InputFile& file, std::size_t piece) {
    std::string bytes, buffer(piece, '\0');
    for (std::ptrdiff_t got; (got = file.Read(buffer.data(), buffer.size())) > 0;)
        bytes.append(buffer, 0, static_cast<std::size_t>(got));
    return bytes;
}

TEST(InputFile, AFileOutOfTheCacheReadsTheSameAndSaysItWaitedForTheDisk) {
    test_support::TempDir temp{"input"};
    std::string text;
    for (int i = 0; i < 40000; ++i) text += "line " + std::to_string(i) + "\n";
    const auto path = temp.Write("cold.c", text);
    const auto empty = temp.Write("empty.c", "");

    InputFile cached;
    ASSERT_EQ(cached.Open(path.string()), InputFile::Status::Opened);
    EXPECT_EQ(ReadAll(cached, 4096), text);
    EXPECT_FALSE(cached.WaitedForDisk());
    ASSERT_EQ(cached.Open(empty.string()), InputFile::Status::Opened);
    EXPECT_EQ(ReadAll(cached, 4096), "");
    EXPECT_FALSE(cached.WaitedForDisk());

    ASSERT_TRUE(test_support::DropFromCache(path));
    InputFile cold;
    ASSERT_EQ(cold.Open(path.string()), InputFile::Status::Opened);
    EXPECT_EQ(ReadAll(cold, 65536), text);
    const bool waited = cold.WaitedForDisk();
    cold.Close();
    EXPECT_FALSE(cold.WaitedForDisk());
    if (!waited) GTEST_SKIP() << "this file system kept the file in memory";
}

}  // namespace
