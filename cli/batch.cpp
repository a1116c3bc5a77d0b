// The count run's observer for kordelc.
#include "cli/batch.h"

#include <filesystem>

namespace kordel::cli {

void BatchObserver::StartRow(std::size_t row) {
    m_current = row;
    if (m_current < m_count)
        m_progress.Counting(m_done, m_count, std::filesystem::path(m_pathOf(m_current)).parent_path().string());
}

bool BatchObserver::Skip(const std::string& message, const char* reason) {
    m_progress.Warn(message);
    if (m_skipped.size() < kMaxSkippedListed) m_skipped.push_back({m_pathOf(m_current), reason});
    else ++m_notListed;
    return false;
}

}  // namespace kordel::cli
