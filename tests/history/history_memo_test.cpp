// The history's blob memo, its cache file and its dates.
#include <fstream>
#include <random>

#include <gtest/gtest.h>

#include "history/history_cache.h"
#include "history/history_memo.h"
#include "history/history_point_totals.h"
#include "history/history_points.h"
#include "tests/support/files.h"

namespace kordel::history::test {
namespace {

vcs::BlobId IdNumber(std::uint32_t n) {
    vcs::BlobId id{};
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

// FNV-1a, as the cache file's checksum.
std::uint64_t Fnv(std::string_view bytes) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : bytes) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

// The cache file round trip (blob counts, "#!" languages, point totals), sections read only under
// their own key, and each way of damage it must see.
TEST(HistoryCacheFile, ReadsBackWhatItWroteAndRefusesDamage) {
    test_support::TempDir dir("history-cache");
    const std::string path = (dir / "c").string();
    engine::CountOptions options;
    HistoryLanguages languages(options, nullptr);
    HistoryMemo memo;
    bool added = false;
    for (std::uint32_t i = 0; i < 100; ++i)
        memo.counts.Store(memo.counts.Find(IdNumber(i), languages.Intern(i % 3 ? "C" : "Mine", i % 3 == 0), added),
                          {i, 2, 3, 4, 9 + i});
    const std::uint16_t c = languages.Intern("C", false);
    memo.lines[IdNumber(7)] = {MemoEntry::State::Counted, memo.counts.Lookup(IdNumber(7), c)};
    memo.lines[IdNumber(900)] = {MemoEntry::State::NoLanguage, nullptr};
    memo.lines[IdNumber(901)] = {MemoEntry::State::Unreadable, nullptr};  // not kept: it may read next time
    PointStore points;
    const LanguageTotal cTotal{2, {3, 4, 5, 6, 18}};
    points.Add(IdNumber(500), PointTotals{{}, cTotal});
    points.Add(IdNumber(501), PointTotals{{1, {1, 0, 0, 0, 1}}, cTotal});
    HistoryCache cache;
    const HistoryCacheKeys keys{"key", "points"};
    ASSERT_TRUE(cache.Write(path, keys, languages, memo, points));
    const auto read = [&](const std::string& bytes, HistoryLanguages& into, HistoryMemo& memoInto, PointStore& pointsInto,
                          const HistoryCacheKeys& readKeys) {
        test_support::TempDir other("history-cache-read");
        const std::string file = (other / "c").string();
        std::ofstream(file, std::ios::binary) << bytes;
        std::string reason;
        HistoryCache reader;
        return reader.Read(file, readKeys, into, memoInto, pointsInto, reason);
    };
    std::ifstream in(path, std::ios::binary);
    const std::string good((std::istreambuf_iterator<char>(in)), {});
    const std::size_t languageBytes = 4 + 2 * (1 + 4) + 1 + 4;
    const std::size_t blobSection =
        1 + 4 + 3 + languageBytes + 8 + 100 * history::kCacheEntryBytes + 8 + 2 * history::kCacheLineEntryBytes;
    // Each point: its commit, a language count, and the one language that changed with six small numbers.
    const std::size_t pointSection = 1 + 4 + 6 + languageBytes + 8 + 2 * (20 + 2 + 2 + 6);
    EXPECT_EQ(good.size(), 8 + 4 + 4 + blobSection + pointSection + 8);
    {
        HistoryLanguages back(options, nullptr);
        HistoryMemo memoBack;
        PointStore pointsBack;
        ASSERT_EQ(read(good, back, memoBack, pointsBack, keys), HistoryCache::Load::Loaded);
        ASSERT_EQ(memoBack.counts.size(), 100u);
        const MemoEntry* e = memoBack.counts.Lookup(IdNumber(7), back.Intern("C", false));
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(memoBack.counts.Counts(*e).nl3, 16);
        EXPECT_TRUE(back.User(back.Intern("Mine", true)));
        ASSERT_EQ(memoBack.lines.size(), 2u);
        EXPECT_EQ(memoBack.lines[IdNumber(7)].counted, e);
        EXPECT_EQ(memoBack.lines[IdNumber(900)].state, MemoEntry::State::NoLanguage);
        ASSERT_EQ(pointsBack.size(), 2u);
        ASSERT_TRUE(pointsBack.Find(IdNumber(501)));
        const auto totalsOf = [&](std::uint32_t n) {
            const std::span<const LanguageTotal> t = *pointsBack.Find(IdNumber(n));
            return PointTotals(t.begin(), t.end());
        };
        EXPECT_EQ(totalsOf(501), (PointTotals{{1, {1, 0, 0, 0, 1}}, cTotal}));
        EXPECT_EQ(totalsOf(500), (PointTotals{{}, cTotal}));
    }
    {
        // Other filters: the blob counts serve, the points do not.
        HistoryLanguages back(options, nullptr);
        HistoryMemo memoBack;
        PointStore pointsBack;
        ASSERT_EQ(read(good, back, memoBack, pointsBack, {"key", "other points"}), HistoryCache::Load::Loaded);
        EXPECT_EQ(memoBack.counts.size(), 100u);
        EXPECT_EQ(pointsBack.size(), 0u);
        // Other counting options: neither.
        HistoryMemo otherMemo;
        ASSERT_EQ(read(good, back, otherMemo, pointsBack, {"other key", "other points"}), HistoryCache::Load::Loaded);
        EXPECT_EQ(otherMemo.counts.size(), 0u);
        EXPECT_EQ(pointsBack.size(), 0u);
    }
    std::vector<std::string> damaged = {good.substr(0, good.size() - 1), good + "x", good};
    damaged[2][good.size() / 2] ^= 1;
    std::string version = good;
    version[8] = 1;
    damaged.push_back(version);
    // Cut inside the last point, with a checksum that matches: the structure itself is checked.
    std::string body = good.substr(0, good.size() - 8 - 3);
    const std::uint64_t sum = Fnv(body);
    for (int i = 0; i < 8; ++i) body += static_cast<char>(sum >> (8 * i));
    damaged.push_back(body);
    for (const std::string& bytes : damaged) {
        HistoryLanguages back(options, nullptr);
        HistoryMemo memoBack;
        PointStore pointsBack;
        EXPECT_EQ(read(bytes, back, memoBack, pointsBack, keys), HistoryCache::Load::Damaged);
        EXPECT_EQ(memoBack.counts.size(), 0u);
        EXPECT_EQ(pointsBack.size(), 0u);
    }
    HistoryLanguages back(options, nullptr);
    HistoryMemo memoBack;
    PointStore pointsBack;
    EXPECT_EQ(read("int main() {}\n", back, memoBack, pointsBack, keys), HistoryCache::Load::NotACache);
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
}  // namespace kordel::history::test
