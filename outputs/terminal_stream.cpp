// Whole UTF-8 characters for a terminal.
#include "outputs/terminal_stream.h"

namespace kordel::outputs {

std::size_t WholeUtf8Prefix(std::string_view text) {
    // A lead byte within the last three bytes whose sequence runs past the end is held back;
    // anything else (complete, or not UTF-8 at all) goes as it is.
    const std::size_t n = text.size();
    for (std::size_t back = 1; back <= 3 && back <= n; ++back) {
        const auto byte = static_cast<unsigned char>(text[n - back]);
        if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? n - back : n;
    }
    return n;
}

TerminalStreamBuf::~TerminalStreamBuf() {
    WriteWhole();
    if (!m_pending.empty()) m_write(m_pending);
}

TerminalStreamBuf::int_type TerminalStreamBuf::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    m_pending += traits_type::to_char_type(c);
    if (m_pending.size() >= kFlushAt && !WriteWhole()) return traits_type::eof();
    return c;
}

std::streamsize TerminalStreamBuf::xsputn(const char* s, std::streamsize n) {
    m_pending.append(s, static_cast<std::size_t>(n));
    if (m_pending.size() >= kFlushAt && !WriteWhole()) return 0;
    return n;
}

int TerminalStreamBuf::sync() { return WriteWhole() ? 0 : -1; }

bool TerminalStreamBuf::WriteWhole() {
    const std::size_t whole = WholeUtf8Prefix(m_pending);
    if (whole == 0) return true;
    const bool written = m_write(std::string_view(m_pending).substr(0, whole));
    m_pending.erase(0, whole);
    return written;
}

}  // namespace kordel::outputs
