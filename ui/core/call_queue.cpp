// The call queue: calls kept in order under a lock and handed over in slices.
#include "ui/core/call_queue.h"

#include <condition_variable>
#include <iterator>

namespace kordel::ui {

void CallQueue::Post(Kind kind, std::function<void()> run) {
    bool first = false;
    std::vector<Call> spent;  // destroyed on leaving, by the thread that allocated their captures
    {
        std::lock_guard lock(m_mutex);
        first = !m_delivering;
        m_delivering = true;
        m_calls.push_back({kind, std::move(run)});
        spent.swap(m_spent);
    }
    // A delivery asked for or under way takes this call too.
    if (first) m_wake();
}

bool CallQueue::Ask(const std::function<bool()>& f) {
    std::mutex mutex;
    std::condition_variable answered;
    bool done = false;
    bool answer = false;
    Post(Kind::Other, [&] {
        const bool a = f();
        std::lock_guard lock(mutex);
        answer = a;
        done = true;
        answered.notify_one();
    });
    std::unique_lock lock(mutex);
    answered.wait(lock, [&] { return done; });
    return answer;
}

void CallQueue::Flush() {
    Ask([] { return true; });
}

void CallQueue::OnSliceEnd(std::function<void()> f) {
    std::lock_guard lock(m_mutex);
    m_sliceEnd = std::move(f);
}

void CallQueue::Take() {
    {
        std::lock_guard lock(m_mutex);
        m_taken.swap(m_calls);
    }
    const std::size_t n = m_taken.size();
    std::size_t last[3] = {n, n, n};
    for (std::size_t i = 0; i < n; ++i)
        if (m_taken[i].kind != Kind::Other) last[static_cast<int>(m_taken[i].kind)] = i;
    for (std::size_t i = 0; i < n; ++i) {
        const bool replaced = m_taken[i].kind != Kind::Other && last[static_cast<int>(m_taken[i].kind)] != i;
        if (replaced)
            m_made.push_back(std::move(m_taken[i]));
        else
            m_ready.push_back(std::move(m_taken[i]));
    }
    m_taken.clear();  // keeps its buffer
}

void CallQueue::HandBack() {
    std::lock_guard lock(m_mutex);
    if (m_spent.empty()) {
        m_spent.swap(m_made);
    } else {
        std::move(m_made.begin(), m_made.end(), std::back_inserter(m_spent));
        m_made.clear();
    }
}

bool CallQueue::Deliver(std::chrono::milliseconds slice) {
    Take();
    const auto end = std::chrono::steady_clock::now() + slice;
    std::size_t made = 0;
    while (!m_ready.empty()) {
        // The clock is read every 64 calls: most calls take microseconds.
        if (++made % 64 == 0 && std::chrono::steady_clock::now() > end) break;
        Call call = std::move(m_ready.front());
        m_ready.pop_front();
        call.run();
        m_made.push_back(std::move(call));
    }
    HandBack();
    if (made > 0) {
        std::function<void()> sliceEnd;
        {
            std::lock_guard lock(m_mutex);
            sliceEnd = m_sliceEnd;
        }
        if (sliceEnd) sliceEnd();
    }
    if (!m_ready.empty()) return true;
    std::lock_guard lock(m_mutex);
    if (!m_calls.empty()) return true;  // posted during this slice
    m_delivering = false;
    return false;
}

}  // namespace kordel::ui
