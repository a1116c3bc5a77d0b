// Text-mode line reading with large buffered reads and no per-line allocation.
#include "engine/text_reader.h"

#include <cstring>
#include <limits>

namespace kordel::engine {
namespace {
constexpr std::size_t kBufferSize = 256 * 1024;
constexpr char kCtrlZ = 0x1A;
}  // namespace

TextModeReader::~TextModeReader() { Close(); }

bool TextModeReader::Open(const std::filesystem::path& path, std::optional<std::uint64_t> limit) {
    Close();
    m_file = std::fopen(path.c_str(), "rb");
    if (!m_file) return false;
    std::setvbuf(m_file, nullptr, _IONBF, 0);
    m_buffer.resize(kBufferSize);
    m_data = m_buffer.data();
    m_pos = m_len = 0;
    m_remaining = limit.value_or(std::numeric_limits<std::uint64_t>::max());
    m_ended = false;
    m_line.reserve(kMaxPiece + 1);
    return true;
}

void TextModeReader::OpenMemory(std::string_view data) {
    Close();
    m_memory = data;
    m_data = data.data();
    m_pos = 0;
    m_len = data.size();
    m_remaining = 0;
    m_ended = false;
    m_line.reserve(kMaxPiece + 1);
}

void TextModeReader::Close() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
    m_memory = {};
    m_data = nullptr;
    m_pos = m_len = 0;
    m_ended = true;
}

bool TextModeReader::Fill() {
    if (m_ended || !m_file || m_remaining == 0) return false;
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(m_buffer.size(), m_remaining));
    const std::size_t got = std::fread(m_buffer.data(), 1, want, m_file);
    if (got == 0) return false;  // end of data or a read error: the file ends here
    m_remaining -= got;
    m_pos = 0;
    m_len = got;
    return true;
}

int TextModeReader::Peek() {
    if (m_pos == m_len && !Fill()) return -1;
    return static_cast<unsigned char>(m_data[m_pos]);
}

bool TextModeReader::NextLine(std::string_view& line) {
    if (m_ended) return false;
    m_line.clear();
    while (m_line.size() < kMaxPiece) {
        if (m_pos == m_len && !Fill()) {
            m_ended = true;
            break;
        }
        // Copy the run of ordinary bytes up to the next LF, CR or Ctrl-Z in one go.
        const std::size_t room = kMaxPiece - m_line.size();
        const std::size_t avail = std::min(room, m_len - m_pos);
        const char* begin = m_data + m_pos;
        std::size_t run = 0;
        while (run < avail) {
            const char c = begin[run];
            if (c == '\n' || c == '\r' || c == kCtrlZ) break;
            ++run;
        }
        m_line.append(begin, run);
        m_pos += run;
        if (run == avail) continue;
        const char c = m_data[m_pos++];
        if (c == kCtrlZ) {
            m_ended = true;
            break;
        }
        if (c == '\r') {
            if (Peek() == '\n') {
                ++m_pos;
                m_line += '\n';
                break;
            }
            m_line += '\r';  // a lone CR stays
            continue;
        }
        m_line += '\n';
        break;
    }
    if (m_line.empty() && m_ended) return false;
    line = m_line;
    return true;
}

}  // namespace kordel::engine
