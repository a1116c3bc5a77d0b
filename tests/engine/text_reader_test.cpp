// Text-mode reading: CR LF, lone CR, Ctrl-Z, pieces of 4095 and the measured size.
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "engine/text_reader.h"
#include "tests/support/files.h"

using namespace kordel::engine;

namespace {

std::vector<std::string> Lines(TextModeReader& reader) {
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.NextLine(line)) lines.emplace_back(line);
    return lines;
}

std::vector<std::string> MemoryLines(std::string_view data) {
    TextModeReader reader;
    reader.OpenMemory(data);
    return Lines(reader);
}

}  // namespace

TEST(TextReader, LineEnds) {
    EXPECT_EQ(MemoryLines("a\r\nb\n"), (std::vector<std::string>{"a\n", "b\n"}));
    EXPECT_EQ(MemoryLines("a\rb\n"), (std::vector<std::string>{"a\rb\n"}));
    EXPECT_EQ(MemoryLines("a\r"), (std::vector<std::string>{"a\r"}));
    EXPECT_EQ(MemoryLines("a\nb"), (std::vector<std::string>{"a\n", "b"}));
    EXPECT_TRUE(MemoryLines("").empty());
}

TEST(TextReader, CtrlZEndsTheData) {
    EXPECT_EQ(MemoryLines("a\nb\x1a" "c\nd\n"), (std::vector<std::string>{"a\n", "b"}));
    EXPECT_TRUE(MemoryLines("\x1a" "abc\n").empty());
}

TEST(TextReader, LongLinesComeInPieces) {
    const auto lines = MemoryLines(std::string(9000, 'x') + "\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 4095u);
    EXPECT_EQ(lines[1].size(), 4095u);
    EXPECT_EQ(lines[2], std::string(810, 'x') + "\n");
}

TEST(TextReader, FileIsReadUpToItsMeasuredSize) {
    const test_support::TempDir dir("reader");
    // A CR LF pair split across the 256 KiB read buffer still reads as one LF.
    const auto path = dir.Write("test.txt", std::string(256 * 1024 - 1, 'a') + "\r\nlast\n");
    TextModeReader reader;
    ASSERT_EQ(reader.Open(path, std::filesystem::file_size(path)), kordel::platform::InputFile::Status::Opened);
    auto lines = Lines(reader);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "last\n");
    EXPECT_EQ(lines[lines.size() - 2].back(), '\n');
    ASSERT_EQ(reader.Open(path, 10), kordel::platform::InputFile::Status::Opened);
    lines = Lines(reader);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], std::string(10, 'a'));
    std::filesystem::remove(path);
    EXPECT_EQ(reader.Open(path), kordel::platform::InputFile::Status::Missing);
}

// One reader reused across files of many sizes, with and without a measured size, reads each file as
// the same bytes in memory read: lines crossing the read buffer, CR LF pairs split by it and short
// files in a buffer kept from a longer one all give the same pieces.
TEST(TextReader, FilesReadLikeTheSameBytesInMemory) {
    const test_support::TempDir dir("reader");
    const auto path = dir / "sizes.txt";
    std::mt19937 random(7);
    const char alphabet[] = {'a', 'b', ' ', '\t', '\r', '\n', '\n', '\0'};
    TextModeReader reader;
    for (const std::size_t size : {0u, 1u, 15u, 16u, 17u, 4095u, 4096u, 70000u, 262143u, 262145u, 600000u, 3u, 9000u}) {
        std::string data(size, 'a');
        for (char& c : data) c = alphabet[random() % sizeof alphabet];
        // Long runs without a line end make pieces of 4095.
        if (size > 20000) data.replace(size / 2, 9000, std::string(9000, 'x'));
        ASSERT_TRUE(test_support::WriteBytes(path, data));
        const auto expected = MemoryLines(data);
        ASSERT_EQ(reader.Open(path, size), kordel::platform::InputFile::Status::Opened);
        EXPECT_EQ(Lines(reader), expected) << size << " bytes, size measured";
        ASSERT_EQ(reader.Open(path, std::nullopt), kordel::platform::InputFile::Status::Opened);
        EXPECT_EQ(Lines(reader), expected) << size << " bytes, size unknown";
    }
}
