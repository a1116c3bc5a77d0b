// The progress line: a ticker thread redraws it in place after the delay; messages clear it first.
#include "cli/progress.h"

#include "sources/text_bytes.h"

namespace kordel::cli {

std::string Progress::LineText(bool counting, std::size_t done, std::size_t total, const std::string& folder,
                               std::size_t width) {
    std::string text = counting ? "Counting: " + std::to_string(done) + " of " + std::to_string(total) + " files done"
                                : "Looking for files: " + std::to_string(done) + " found";
    const std::size_t room = width > 1 ? width - 1 : 0;
    if (!folder.empty() && outputs::DisplayWidth(text) + 3 < room) {
        text += " (" +
                outputs::ShortenMiddle(sources::EscapeForTerminal(folder), room - outputs::DisplayWidth(text) - 3) +
                ")";
    }
    return outputs::ShortenMiddle(text, room);
}

Progress::Progress(std::ostream& err, bool live, bool quiet, std::size_t width, std::chrono::milliseconds delay)
    : m_err(err), m_terminal(live), m_live(live && !quiet), m_quiet(quiet), m_width(width), m_start(std::chrono::steady_clock::now()),
      m_delay(delay) {
    if (m_live) m_ticker = std::thread([this] { Tick(); });
}

Progress::~Progress() { Stop(); }

void Progress::Tick() {
    std::unique_lock lock(m_mutex);
    while (!m_stopped) {
        m_wake.wait_for(lock, std::chrono::milliseconds(100));
        if (m_stopped) break;
        if (std::chrono::steady_clock::now() - m_start < m_delay) continue;
        if (m_changed || !m_shown) DrawLocked();
    }
}

void Progress::DrawLocked() {
    const std::string text = m_status.empty() ? LineText(m_counting, m_done, m_total, m_folder, m_width)
                                              : outputs::ShortenMiddle(m_status, m_width > 1 ? m_width - 1 : 0);
    m_err << '\r' << text << "\x1b[K" << std::flush;
    m_shown = true;
    m_changed = false;
}

void Progress::ClearLocked() {
    if (!m_shown) return;
    m_err << "\r\x1b[K" << std::flush;
    m_shown = false;
}

void Progress::Walking(std::size_t found, const std::string& folder) {
    if (!m_live) return;
    std::lock_guard lock(m_mutex);
    m_done = found;
    m_folder = folder;
    m_changed = true;
}

void Progress::Counting(std::size_t done, std::size_t total, const std::string& folder) {
    if (!m_live) return;
    std::lock_guard lock(m_mutex);
    const bool phaseChanged = !m_counting;
    m_counting = true;
    m_done = done;
    m_total = total;
    m_folder = folder;
    m_changed = true;
    // Once the line is up, the start of the count is shown at once rather than at the next tick.
    if (phaseChanged && m_shown) DrawLocked();
}

void Progress::Status(const std::string& text) {
    if (!m_live) return;
    std::lock_guard lock(m_mutex);
    m_status = text;
    m_changed = true;
}

void Progress::Message(const std::string& message) {
    std::lock_guard lock(m_mutex);
    ClearLocked();
    m_err << "kordelc: " << (m_terminal ? sources::EscapeForTerminal(message) : message) << '\n' << std::flush;
    m_changed = true;
}

void Progress::Warn(const std::string& message) {
    if (!m_quiet) Message(message);
}

void Progress::Error(const std::string& message) { Message(message); }

void Progress::Stop() {
    {
        std::lock_guard lock(m_mutex);
        if (m_stopped) return;
        m_stopped = true;
        ClearLocked();
    }
    m_wake.notify_all();
    if (m_ticker.joinable()) m_ticker.join();
}

}  // namespace kordel::cli
