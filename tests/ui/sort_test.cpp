// The fast sort against a plain selection sort with exchanges, and the sort command.
#include <random>

#include <gtest/gtest.h>

#include "fake_desktop.h"
#include "ui/core/commands.h"
#include "ui/core/main_logic.h"
#include "ui/core/messages.h"
#include "ui/core/sort_results.h"

using namespace kordel::ui;

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

TEST(SortKeys, TakeEveryDigitOfTheText) {
    EXPECT_EQ(aatoi("1,234"), 1234u);
    EXPECT_EQ(aatoi("12.34%"), 1234u);
    EXPECT_EQ(aatoi("9.50%"), 950u);
    EXPECT_EQ(aatoi("10.25%"), 1025u);
    EXPECT_EQ(aatoi(""), 0u);
    EXPECT_EQ(aatoi("no digits"), 0u);
    EXPECT_EQ(aatoi("99999999999999999999999"), ~std::uint64_t{0});
}

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

TEST(SortCommand, RefusesWithoutResultsOrPercentColumnsAndSortsTheRows) {
    MemorySettingsStore store;
    test_support::FakeDesktop desktop;
    MainWindowLogic logic(store, desktop);
    logic.Dispatch(cmd::kSortCodePercent);
    EXPECT_EQ(desktop.LastMessage(), msg::kPercentBeforeSort);
    logic.Dispatch(cmd::kSortCode);
    EXPECT_EQ(desktop.LastMessage(), msg::kCountBeforeSort);

    logic.list().AddPaths({"/a.c", "/b.c", "/c.c"});
    logic.Dispatch(cmd::kCount);  // missing files: skipped, counts stay empty
    desktop.messages.clear();
    logic.list().SetCounts(0, {"999", "1", "0", "0", "1,000"});
    logic.list().SetCounts(1, {"1,200", "3", "0", "0", "1,203"});
    logic.list().SetCounts(2, {"5", "2", "0", "0", "7"});
    logic.Dispatch(cmd::kSortCode);
    EXPECT_EQ(logic.list().Paths(), (std::vector<std::string>{"/b.c", "/a.c", "/c.c"}));
    EXPECT_EQ(logic.list().Cell(0, 1), "1,200");
    logic.Dispatch(cmd::kAscending);
    logic.Dispatch(cmd::kSortComment);
    EXPECT_EQ(logic.list().Paths(), (std::vector<std::string>{"/a.c", "/c.c", "/b.c"}));
    EXPECT_TRUE(desktop.messages.empty());
    EXPECT_EQ(logic.uspl(), 0);  // sorting does not mark the list as changed

    desktop.cancelAfterPasses = 1;
    logic.Dispatch(cmd::kDescending);
    logic.Dispatch(cmd::kSortTotal);
    EXPECT_EQ(desktop.LastMessage(), kSortCanceledMessage);
    EXPECT_EQ(logic.list().Path(0), "/b.c");
    EXPECT_EQ(logic.canc().load(), 0);
}
