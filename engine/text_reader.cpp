// Text-mode line reading with large buffered reads and no per-line allocation.
#include "engine/text_reader.h"

#include <cstring>
#include <algorithm>
#include <utility>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace kordel::engine {
namespace {
constexpr std::size_t kBufferSize = 256 * 1024;
constexpr char kCtrlZ = 0x1A;

// The read buffer of the last reader closed on this thread, handed on to the next one: counting many
// files then takes no fresh memory (and no page faults) per file.
struct SpareBuffer {
    std::unique_ptr<char[]> data;
    std::size_t capacity = 0;
};
thread_local SpareBuffer t_spare;

bool IsStop(char c) { return c == '\n' || c == '\r' || c == kCtrlZ; }

// Index of the first LF, CR or Ctrl-Z among the first n bytes; n when there is none.
std::size_t FindStop(const char* p, std::size_t n) {
    std::size_t i = 0;
#ifdef __SSE2__
    const __m128i lf = _mm_set1_epi8('\n');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i eof = _mm_set1_epi8(kCtrlZ);
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)), _mm_cmpeq_epi8(v, eof));
        if (const int mask = _mm_movemask_epi8(hit)) return i + static_cast<std::size_t>(__builtin_ctz(mask));
    }
#endif
    while (i < n && !IsStop(p[i])) ++i;
    return i;
}
}  // namespace

TextModeReader::~TextModeReader() { Close(); }

platform::InputFile::Status TextModeReader::Open(const std::filesystem::path& path,
                                                 std::optional<std::uint64_t> limit) {
    return Open(platform::PathText(path), limit);
}

platform::InputFile::Status TextModeReader::Open(const std::string& path, std::optional<std::uint64_t> limit,
                                                 platform::RecentFolder* recent) {
    Close();
    const platform::InputFile::Status status = m_file.Open(path, recent);
    if (status != platform::InputFile::Status::Opened) return status;
    m_remaining = limit.value_or(m_file.Size());
    // A small file gets a buffer just big enough for it (one more byte sees the end of the data).
    TakeBuffer(m_remaining < kBufferSize ? static_cast<std::size_t>(m_remaining) + 1 : kBufferSize);
    return status;
}

void TextModeReader::OpenSource(ByteSource& source) {
    Close();
    m_source = &source;
    m_remaining = UINT64_MAX;  // the source says where its data ends
    TakeBuffer(kBufferSize);
}

// A read buffer of at least `wanted` bytes: this reader's own, the thread's spare one or a new one.
// The buffer is kept for the next file of this reader.
void TextModeReader::TakeBuffer(std::size_t wanted) {
    if (m_capacity < wanted) {
        if (t_spare.capacity >= wanted) {
            m_buffer = std::move(t_spare.data);
            m_capacity = std::exchange(t_spare.capacity, 0);
        } else {
            m_buffer = std::make_unique_for_overwrite<char[]>(kBufferSize);
            m_capacity = kBufferSize;
        }
    }
    m_data = m_buffer.get();
    m_pos = m_len = 0;
    m_ended = false;
    m_line.reserve(kMaxPiece + 1);
}

void TextModeReader::OpenMemory(std::string_view data) {
    Close();
    m_data = data.data();
    m_pos = 0;
    m_len = data.size();
    m_remaining = 0;
    m_ended = false;
    m_line.reserve(kMaxPiece + 1);
}

void TextModeReader::Close() {
    m_file.Close();
    m_source = nullptr;
    if (m_buffer && m_capacity >= t_spare.capacity) {
        t_spare.data = std::move(m_buffer);
        t_spare.capacity = std::exchange(m_capacity, 0);
    }
    m_data = nullptr;
    m_pos = m_len = 0;
    m_ended = true;
}

std::string_view TextModeReader::Buffered() {
    if (m_ended || (m_pos == m_len && !Fill())) return {};
    return std::string_view(m_data + m_pos, m_len - m_pos);
}

bool TextModeReader::Fill() {
    if (m_ended || (!m_source && !m_file.IsOpen()) || m_remaining == 0) return false;
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(m_capacity, m_remaining));
    const std::ptrdiff_t read = m_source ? m_source->Read(m_buffer.get(), want) : m_file.Read(m_buffer.get(), want);
    if (read <= 0) return false;  // end of data or a read error: the file ends here
    const std::size_t got = static_cast<std::size_t>(read);
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
    if (m_pos == m_len && !Fill()) {
        m_ended = true;
        return false;
    }
    // The common case, a whole line ending in a plain LF inside the buffer, is handed out in place.
    const std::size_t avail = std::min(kMaxPiece, m_len - m_pos);
    const std::size_t run = FindStop(m_data + m_pos, avail);
    if (run < avail && m_data[m_pos + run] == '\n') {
        line = std::string_view(m_data + m_pos, run + 1);
        m_pos += run + 1;
        return true;
    }
    return NextLineCopied(line);
}

// Lines that need a CR LF turned into LF, meet a Ctrl-Z or cross the end of the buffer are put together
// in m_line.
bool TextModeReader::NextLineCopied(std::string_view& line) {
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
        const std::size_t run = FindStop(begin, avail);
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
