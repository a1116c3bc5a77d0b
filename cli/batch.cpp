// The count run's observer for kordelc.
#include "cli/batch.h"
#include "platform/files.h"

#include <filesystem>

namespace kordel::cli {

void BatchObserver::StartRow(std::size_t row) {
    m_current = row;
    if (m_current < m_count)
        m_progress.Counting(m_done, m_count, platform::PathText(platform::PathFromText(m_pathOf(m_current)).parent_path()));
}

bool BatchObserver::Skip(const std::string& message, const char* reason) {
    m_progress.Warn(message);
    m_skipped.push_back({m_pathOf(m_current), reason});
    return false;
}

}  // namespace kordel::cli
