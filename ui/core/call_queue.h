// Carries a worker's calls over to the interface thread, in order, whatever the window system.
#pragma once

#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <vector>

namespace kordel::ui {

/// Calls for the interface thread, delivered in batches: one wake-up carries every call posted since
/// the last, so a long run does not flood the interface thread. There is one delivery at a time: the
/// worker wakes the interface thread only when no delivery is asked for or under way, so a worker that
/// posts faster than the calls are made never has deliveries pile up in the event loop. Within a batch only the last call of each
/// replaceable kind (status, totals, percent) is made, since nothing is painted between the calls of a
/// batch. A delivery stops after a slice of time and goes on at the next wake-up, so a batch of many
/// thousand rows never holds the window still. Queued calls hold only what outlives the loop that runs
/// them.
///
/// The interface thread frees none of the worker's memory while the worker runs: glibc's free takes the
/// lock of the allocating thread's arena, which a busy worker takes and retakes, and the interface thread
/// waited up to a tenth of a second for it. Made calls go back to the worker, which destroys them at its
/// next post, and the batch buffers go back and forth without being freed.
class CallQueue {
public:
    enum class Kind { Status, Totals, Progress, Other };

    /// `wake` asks the interface thread to call Deliver soon; the worker calls it when a batch begins
    /// and no delivery is asked for or under way.
    explicit CallQueue(std::function<void()> wake) : m_wake(std::move(wake)) {}

    void Post(Kind kind, std::function<void()> run);
    /// Runs `f` on the interface thread after every call posted before it, waiting for its answer.
    /// It travels as one more call, so the calls before it keep their slices.
    bool Ask(const std::function<bool()>& f);
    /// Returns once every call posted so far has been made on the interface thread.
    void Flush();
    /// Has `f` made on the interface thread at the end of every slice that made calls, so that what
    /// follows the calls (scrolling a list to its newest row) is done once per slice, not per call.
    void OnSliceEnd(std::function<void()> f);

    /// Interface thread: makes waiting calls for about `slice`. True when calls are left, which the
    /// caller delivers after whatever else its event loop has to do; false ends the delivery, and
    /// the next post wakes the interface thread again.
    bool Deliver(std::chrono::milliseconds slice);

private:
    struct Call {
        Kind kind;
        std::function<void()> run;
    };
    void Take();
    void HandBack();

    std::function<void()> m_wake;
    std::mutex m_mutex;
    std::vector<Call> m_calls;  // posted by the worker
    std::vector<Call> m_spent;  // made, for the worker to destroy
    bool m_delivering = false;  // a delivery is asked for or under way
    std::function<void()> m_sliceEnd;
    // Interface thread only:
    std::vector<Call> m_taken;  // the last batch taken, emptied
    std::deque<Call> m_ready;   // taken, not yet made
    std::vector<Call> m_made;   // made or replaced since the last hand-back
};

}  // namespace kordel::ui
