// The call queue: slices in order, replaced updates dropped, one delivery at a time, calls destroyed by their poster.
#include "ui/core/call_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kordel::ui {
namespace {

using Kind = CallQueue::Kind;

TEST(CallQueue, SlicedDeliveriesKeepTheOrderAndDropOnlyReplacedUpdates) {
    int wakes = 0;
    CallQueue calls([&] { ++wakes; });
    std::vector<std::string> made;
    for (int i = 0; i < 200; ++i) {
        calls.Post(Kind::Status, [&, i] { made.push_back("status " + std::to_string(i)); });
        calls.Post(Kind::Other, [&, i] { made.push_back("row " + std::to_string(i)); });
    }
    EXPECT_EQ(wakes, 1);  // one wake-up for the whole batch
    // A slice of no time still makes some calls, and says that others are left.
    int deliveries = 0;
    while (calls.Deliver(std::chrono::milliseconds(0))) ++deliveries;
    EXPECT_GT(deliveries, 0);
    // Every row in order, and of the statuses only the last, which came just before the last row.
    ASSERT_EQ(made.size(), 201u);
    EXPECT_EQ(made[199], "status 199");
    made.erase(made.begin() + 199);
    for (int i = 0; i < 200; ++i) EXPECT_EQ(made[static_cast<std::size_t>(i)], "row " + std::to_string(i));
    // The next post begins a new batch.
    calls.Post(Kind::Other, [] {});
    EXPECT_EQ(wakes, 2);
}

// What follows the calls (a list scrolled to its newest row) is done once at the end of each slice
// that made calls, after them, and not for a delivery that found nothing.
TEST(CallQueue, TheSliceEndFollowsEachSliceThatMadeCalls) {
    CallQueue calls([] {});
    std::vector<std::string> made;
    calls.OnSliceEnd([&] { made.push_back("end"); });
    EXPECT_FALSE(calls.Deliver(std::chrono::milliseconds(20)));
    EXPECT_TRUE(made.empty());
    for (int i = 0; i < 200; ++i) calls.Post(Kind::Other, [&] { made.push_back("row"); });
    int slices = 0;
    for (bool more = true; more; ++slices) more = calls.Deliver(std::chrono::milliseconds(0));
    ASSERT_GT(slices, 1);
    EXPECT_EQ(std::count(made.begin(), made.end(), "end"), slices);
    EXPECT_EQ(made.back(), "end");
    EXPECT_EQ(std::count(made.begin(), made.end(), "row"), 200);
}

// A worker that posts faster than the calls are made: calls posted while a delivery is under way, even
// after it took the batch, wait for that delivery instead of asking for another, which would pile
// deliveries up in the event loop and keep everything else in it waiting.
TEST(CallQueue, OneDeliveryAtATime) {
    int wakes = 0;
    CallQueue calls([&] { ++wakes; });
    int made = 0;
    calls.Post(Kind::Other, [&] { ++made; });
    EXPECT_EQ(wakes, 1);
    // Posted during the slice, after the batch was taken: the same delivery goes on.
    calls.Post(Kind::Other, [&] {
        ++made;
        calls.Post(Kind::Other, [&] { ++made; });
    });
    EXPECT_TRUE(calls.Deliver(std::chrono::milliseconds(20)));
    EXPECT_EQ(wakes, 1);
    EXPECT_FALSE(calls.Deliver(std::chrono::milliseconds(20)));
    EXPECT_EQ(made, 3);
    // That delivery has ended: the next post asks for a new one.
    calls.Post(Kind::Other, [&] { ++made; });
    EXPECT_EQ(wakes, 2);
}

// Records which thread destroyed the last owner of a capture.
class Witness {
public:
    Witness(std::mutex& mutex, std::vector<std::thread::id>& destroyedOn) : m_mutex(&mutex), m_log(&destroyedOn) {}
    Witness(const Witness& other) = default;
    Witness(Witness&& other) noexcept : m_mutex(other.m_mutex), m_log(std::exchange(other.m_log, nullptr)) {}
    Witness& operator=(const Witness&) = delete;
    ~Witness() {
        if (!m_log) return;
        std::lock_guard lock(*m_mutex);
        m_log->push_back(std::this_thread::get_id());
    }

private:
    std::mutex* m_mutex;
    std::vector<std::thread::id>* m_log;
};

TEST(CallQueue, MadeAndReplacedCallsAreDestroyedByThePostingThread) {
    // Freeing a busy worker's memory on the interface thread made it wait for the worker's allocator.
    std::atomic<bool> woken{false};
    CallQueue calls([&] { woken = true; });
    std::mutex mutex;
    std::vector<std::thread::id> destroyedOn;
    std::atomic<int> phase{0};
    std::thread::id workerId;
    std::thread worker([&] {
        workerId = std::this_thread::get_id();
        Witness witness(mutex, destroyedOn);
        for (int i = 0; i < 100; ++i) {
            calls.Post(Kind::Other, [witness] {});
            calls.Post(Kind::Progress, [witness] {});
        }
        phase = 1;
        while (phase != 2) std::this_thread::yield();
        calls.Post(Kind::Other, [] {});  // takes back what was made
    });
    while (phase != 1) std::this_thread::yield();
    ASSERT_TRUE(woken);
    while (calls.Deliver(std::chrono::milliseconds(20))) {
    }
    {
        std::lock_guard lock(mutex);
        EXPECT_EQ(std::count(destroyedOn.begin(), destroyedOn.end(), std::this_thread::get_id()), 0);
    }
    phase = 2;
    worker.join();
    ASSERT_EQ(destroyedOn.size(), 201u);  // 200 calls and the worker's own copy
    for (const auto id : destroyedOn) EXPECT_EQ(id, workerId);
}

}  // namespace
}  // namespace kordel::ui
