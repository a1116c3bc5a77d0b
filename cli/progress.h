// The progress line on a terminal's standard error, and the warnings that must not garble it.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <ostream>
#include <string>
#include <thread>

#include "outputs/display_width.h"
#include "sources/activity.h"

namespace kordel::cli {

/// Shows what the run is doing on one line of standard error, redrawn in place, once the run has
/// lasted `delay`; with `live` false (not a terminal, or --quiet) it never writes a progress line.
/// Every message of the run goes through it so that a message never lands inside the line.
class Progress final : public sources::Activity {
public:
    Progress(std::ostream& err, bool live, bool quiet, std::size_t width,
             std::chrono::milliseconds delay = std::chrono::milliseconds(1000));
    ~Progress();
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    /// The folder walk found `found` files so far and is in `folder`.
    void Walking(std::size_t found, const std::string& folder) override;
    /// `done` of `total` files are counted; the next is in `folder`.
    void Counting(std::size_t done, std::size_t total, const std::string& folder) override;
    /// Any other state of the run, shown as it stands (cut to the width).
    void Status(const std::string& text);
    /// A warning ("kordelc: " is put before it); --quiet silences it.
    void Warn(const std::string& message);
    /// An error, shown even with --quiet.
    void Error(const std::string& message) override;
    /// Clears the line and stops redrawing; later messages are written plainly.
    void Stop();

    /// The line's text for a state, cut to `width` - 1 characters (the folder shortened in the middle).
    static std::string LineText(bool counting, std::size_t done, std::size_t total, const std::string& folder,
                                std::size_t width);

private:
    void Tick();
    void DrawLocked();
    void ClearLocked();
    void Message(const std::string& message);

    std::ostream& m_err;
    bool m_terminal;  // messages are escaped: a name must not drive the terminal
    bool m_live;
    bool m_quiet;
    std::size_t m_width;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::milliseconds m_delay;

    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopped = false;
    bool m_counting = false;
    bool m_changed = false;
    std::size_t m_done = 0;
    std::size_t m_total = 0;
    std::string m_folder;
    std::string m_status;  // when set, the line shows it instead of the walk's or the count's state
    bool m_shown = false;  // the line is on the screen now
    std::thread m_ticker;
};

}  // namespace kordel::cli
