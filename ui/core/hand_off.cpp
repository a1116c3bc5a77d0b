// Building and reading hand-off messages.
#include "ui/core/hand_off.h"

namespace kordel::ui {

std::string HandOffMessage(std::string_view path) {
    if (path.empty() || path.size() > kMaxHandOffPath) return {};
    const auto size = static_cast<std::uint32_t>(path.size());
    std::string message{static_cast<char>(size >> 24), static_cast<char>(size >> 16), static_cast<char>(size >> 8),
                        static_cast<char>(size)};
    return message.append(path);
}

HandOffReader::Result HandOffReader::Feed(std::string_view bytes, std::string& path) {
    m_data.append(bytes);
    if (m_data.size() < 4) return Result::NeedMore;
    const auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(m_data[i])); };
    const std::uint32_t size = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    if (size == 0 || size > kMaxHandOffPath) {
        m_data.clear();
        return Result::Refused;
    }
    if (m_data.size() < 4 + static_cast<std::size_t>(size)) return Result::NeedMore;
    path.assign(m_data, 4, size);
    m_data.erase(0, 4 + static_cast<std::size_t>(size));
    return Result::Path;
}

}  // namespace kordel::ui
