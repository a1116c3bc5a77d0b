// The count run's observer for kordelc.
#include "cli/batch.h"
#include "platform/files.h"

#include <filesystem>

#include "engine/count_run.h"

namespace kordel::cli {

void BatchObserver::StartRow(std::size_t row) {
    m_current = row;
    if (m_current < m_count)
        m_progress.Counting(m_done, m_count, platform::PathText(platform::PathFromText(m_pathOf(m_current)).parent_path()));
}

bool BatchObserver::AskUnknownExtension(const std::string& message) {
    std::error_code ec;
    const std::string file = m_filePathOf ? m_filePathOf(m_current) : m_pathOf(m_current);
    if (std::filesystem::symlink_status(file, ec).type() == std::filesystem::file_type::not_found) {
        Skip(engine::MissingMessage(m_pathOf(m_current)), "missing");
        return true;
    }
    Skip(message, "unknown extension");
    return true;
}

bool BatchObserver::Skip(const std::string& message, const char* reason) {
    m_progress.Warn(message);
    if (m_skipped.size() < kMaxSkippedListed) m_skipped.push_back({m_pathOf(m_current), reason});
    else ++m_notListed;
    return false;
}

}  // namespace kordel::cli
