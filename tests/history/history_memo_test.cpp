// The history's blob memo, its cache file and its dates.
#include <fstream>
#include <random>

#include <gtest/gtest.h>

#include "history/history_cache.h"
#include "history/history_memo.h"
#include "history/history_points.h"
#include "tests/support/files.h"

namespace kordel::cli::test {
namespace {

BlobId IdNumber(std::uint32_t n) {
    BlobId id{};
    std::mt19937 rng(n);
    for (unsigned char& b : id) b = static_cast<unsigned char>(rng());
    return id;
}

TEST(HistoryMemo, FindsEveryEntryAfterGrowingAndKeepsHugeCounts) {
    BlobMemo memo;
    bool added = false;
    for (std::uint32_t i = 0; i < 20000; ++i) {
        MemoEntry& e = memo.Find(IdNumber(i / 2), static_cast<std::uint16_t>(i % 2), added);
        ASSERT_TRUE(added);
        memo.Store(e, {i, 1, 2, 3, i + 6});
    }
    for (std::uint32_t i = 0; i < 20000; ++i) {
        const MemoEntry& e = memo.Find(IdNumber(i / 2), static_cast<std::uint16_t>(i % 2), added);
        ASSERT_FALSE(added);
        EXPECT_EQ(memo.Counts(e).ii, i);
    }
    EXPECT_LE(memo.BytesPerEntry(), 44 + 4 / 0.375);
    MemoEntry& huge = memo.Find(IdNumber(99999), 0, added);
    memo.Store(huge, {std::int64_t{5} << 32, 0, 0, 0, std::int64_t{5} << 32});
    EXPECT_EQ(memo.Counts(huge).ii, std::int64_t{5} << 32);
}

// The cache file round trip, and each way of damage it must see.
TEST(HistoryCacheFile, ReadsBackWhatItWroteAndRefusesDamage) {
    test_support::TempDir dir("history-cache");
    const std::string path = (dir / "c").string();
    engine::CountOptions options;
    HistoryLanguages languages(options, nullptr);
    BlobMemo memo;
    bool added = false;
    for (std::uint32_t i = 0; i < 100; ++i)
        memo.Store(memo.Find(IdNumber(i), languages.Intern(i % 3 ? "C" : "Mine", i % 3 == 0), added), {i, 2, 3, 4, 9 + i});
    HistoryCache cache;
    ASSERT_TRUE(cache.Write(path, "key", languages, memo));
    const auto read = [&](std::string& bytes, HistoryLanguages& into, BlobMemo& memoInto) {
        test_support::TempDir other("history-cache-read");
        const std::string file = (other / "c").string();
        std::ofstream(file, std::ios::binary) << bytes;
        std::string reason;
        HistoryCache reader;
        return reader.Read(file, "key", into, memoInto, reason);
    };
    std::ifstream in(path, std::ios::binary);
    const std::string good((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(good.size(), 8 + 4 + 4 + 4 + 3 + 4 + 2 * (1 + 4) + 1 + 4 + 8 + 100 * kCacheEntryBytes + 8);
    {
        HistoryLanguages back(options, nullptr);
        BlobMemo memoBack;
        std::string bytes = good;
        ASSERT_EQ(read(bytes, back, memoBack), HistoryCache::Load::Loaded);
        ASSERT_EQ(memoBack.size(), 100u);
        const MemoEntry& e = memoBack.Find(IdNumber(7), back.Intern("C", false), added);
        EXPECT_FALSE(added);
        EXPECT_EQ(memoBack.Counts(e).nl3, 16);
        EXPECT_TRUE(back.User(back.Intern("Mine", true)));
    }
    std::vector<std::string> damaged = {good.substr(0, good.size() - 1), good + "x", good};
    damaged[2][good.size() / 2] ^= 1;
    std::string version = good;
    version[8] = 2;
    damaged.push_back(version);
    for (std::string& bytes : damaged) {
        HistoryLanguages back(options, nullptr);
        BlobMemo memoBack;
        EXPECT_EQ(read(bytes, back, memoBack), HistoryCache::Load::Damaged);
        EXPECT_EQ(memoBack.size(), 0u);
    }
    std::string other = "int main() {}\n";
    HistoryLanguages back(options, nullptr);
    BlobMemo memoBack;
    EXPECT_EQ(read(other, back, memoBack), HistoryCache::Load::NotACache);
}

TEST(HistoryDates, ParsesAndFormatsUtcDates) {
    EXPECT_EQ(ParseHistoryDate("1970-01-01", false), 0);
    EXPECT_EQ(ParseHistoryDate("1970-01-01", true), 86399);
    EXPECT_EQ(ParseHistoryDate("2024-02-29T12:30:15Z", false), 1709209815);
    EXPECT_EQ(ParseHistoryDate("2024-02-29 12:30", false), 1709209800);
    for (const char* bad : {"2023-02-29", "2024-13-01", "2024-1-01", "2024-01-01T25:00", "2024-01-01T10:00:00+01"})
        EXPECT_FALSE(ParseHistoryDate(bad, false)) << bad;
    EXPECT_EQ(FormatHistoryDate(1709209815), "2024-02-29T12:30:15Z");
    EXPECT_EQ(FormatHistoryDate(-1), "1969-12-31T23:59:59Z");
}

}  // namespace
}  // namespace kordel::cli::test
