// The fast sort order against a plain selection sort with exchanges.
#include <atomic>
#include <random>

#include <gtest/gtest.h>

#include "engine/sort_order.h"

using namespace kordel::engine;

namespace {

// The reference: scan the unsorted part for the first largest key, exchange, one pass at a time.
std::vector<std::size_t> PlainSelectionSort(std::vector<std::uint64_t> keys, bool ascending, std::size_t maxPasses) {
    std::vector<std::size_t> rows(keys.size());
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = i;
    const long long n = static_cast<long long>(keys.size());
    long long last = n - 1;
    for (std::size_t pass = 0; pass < maxPasses; ++pass) {
        long long from = 0, to = last, target = last;
        if (ascending) {
            if (last < 0) break;
        } else {
            if (static_cast<long long>(pass) >= n) break;
            from = static_cast<long long>(pass);
            to = n - 1;
            target = from;
        }
        long long best = -1, chosen = from;
        for (long long r = from; r <= to; ++r)
            if (static_cast<long long>(keys[static_cast<std::size_t>(r)]) > best) {
                best = static_cast<long long>(keys[static_cast<std::size_t>(r)]);
                chosen = r;
            }
        std::swap(keys[static_cast<std::size_t>(chosen)], keys[static_cast<std::size_t>(target)]);
        std::swap(rows[static_cast<std::size_t>(chosen)], rows[static_cast<std::size_t>(target)]);
        if (ascending) --last;
    }
    return rows;
}

// Applies the swaps to row identities and presses Cancel once `cancelAt` passes are made.
class Recorder final : public SortObserver {
public:
    Recorder(std::size_t n, std::atomic<int>& canc, long long cancelAt) : rows(n), m_canc(canc), m_cancelAt(cancelAt) {
        for (std::size_t i = 0; i < n; ++i) rows[i] = i;
    }
    void SetStatus(const std::string& text) override { statuses.push_back(text); }
    void SetProgress(int percent) override {
        percents.push_back(percent);
        if (static_cast<long long>(percents.size()) == m_cancelAt) m_canc = 1;
    }
    void SwapRows(std::size_t a, std::size_t b) override { std::swap(rows[a], rows[b]); }

    std::vector<std::size_t> rows;
    std::vector<std::string> statuses;
    std::vector<int> percents;

private:
    std::atomic<int>& m_canc;
    long long m_cancelAt;
};

std::vector<std::size_t> FastSort(const std::vector<std::uint64_t>& keys, bool ascending, long long cancelAt,
                                  bool* cancelled = nullptr) {
    std::atomic<int> canc{0};
    Recorder recorder(keys.size(), canc, cancelAt);
    const SortOutcome outcome = SortResults(keys, ascending, canc, recorder);
    if (cancelled) *cancelled = outcome.cancelled;
    return recorder.rows;
}

}  // namespace

TEST(SortResults, MatchesThePlainSelectionSortOnRandomListsAndCancels) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 400; ++round) {
        const std::size_t n = random() % 60;
        const std::uint64_t range = 1 + random() % (round % 3 == 0 ? 3 : 1000);  // many ties in a third
        std::vector<std::uint64_t> keys(n);
        for (auto& key : keys) key = random() % range;
        for (bool ascending : {false, true}) {
            EXPECT_EQ(FastSort(keys, ascending, -1), PlainSelectionSort(keys, ascending, n + 1)) << round;
            if (n == 0) continue;
            const std::size_t k = 1 + random() % n;
            bool cancelled = false;
            EXPECT_EQ(FastSort(keys, ascending, static_cast<long long>(k), &cancelled), PlainSelectionSort(keys, ascending, k))
                << round << " cancelled after " << k;
            EXPECT_TRUE(cancelled);
        }
    }
}

TEST(SortResults, WorkedExamplesAndProgress) {
    EXPECT_EQ(FastSort({10, 30, 20}, false, -1), (std::vector<std::size_t>{1, 2, 0}));
    EXPECT_EQ(FastSort({10, 30, 20}, true, -1), (std::vector<std::size_t>{0, 2, 1}));
    EXPECT_EQ(FastSort({5, 5}, true, -1), (std::vector<std::size_t>{1, 0}));   // B, A
    EXPECT_EQ(FastSort({5, 5}, false, -1), (std::vector<std::size_t>{0, 1}));  // A, B
    std::atomic<int> canc{1};  // cleared at the start
    Recorder one(1, canc, -1);
    EXPECT_FALSE(SortResults({7}, false, canc, one).cancelled);
    EXPECT_EQ(one.statuses, (std::vector<std::string>{"Sorting source file 0 of 1", "Sorting source file 1 of 1"}));
    EXPECT_EQ(one.percents, std::vector<int>{100});
    Recorder none(0, canc, -1);
    EXPECT_EQ(SortResults({}, true, canc, none).passes, 0u);
    EXPECT_TRUE(none.percents.empty());
}

