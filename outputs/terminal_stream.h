// An output stream buffer that hands a terminal whole UTF-8 characters, for terminals that take text
// rather than bytes (a Windows console).
#pragma once

#include <functional>
#include <streambuf>
#include <string>
#include <string_view>

namespace kordel::outputs {

/// Collects what is written and passes it to `write` at each flush (and when the buffer is full),
/// up to the last whole UTF-8 character: a character split between two writes reaches the terminal
/// in one piece.
class TerminalStreamBuf final : public std::streambuf {
public:
    using Writer = std::function<bool(std::string_view)>;
    explicit TerminalStreamBuf(Writer write) : m_write(std::move(write)) {}
    ~TerminalStreamBuf() override;

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;

private:
    bool WriteWhole();

    static constexpr std::size_t kFlushAt = 8192;
    Writer m_write;
    std::string m_pending;
};

/// The length of `text` without an incomplete UTF-8 sequence at its end.
std::size_t WholeUtf8Prefix(std::string_view text);

}  // namespace kordel::outputs
