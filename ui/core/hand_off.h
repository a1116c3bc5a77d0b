// The message a later start sends to the running copy: a file to open. Four bytes of length
// (big-endian), then the path's bytes; the running copy answers one byte once it has queued the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kordel::ui {

inline constexpr std::uint32_t kMaxHandOffPath = 64 * 1024;
inline constexpr char kHandOffTaken = 'k';

/// The bytes that hand `path` over; empty when the path is empty or longer than kMaxHandOffPath.
std::string HandOffMessage(std::string_view path);

/// Reads messages from the bytes of one connection as they arrive, keeping at most one message.
class HandOffReader {
public:
    enum class Result { NeedMore, Path, Refused };

    /// Takes the next bytes. Path: `path` holds a whole message's path and the bytes after it are
    /// kept for the next call (call again with no bytes to read them). Refused: the length is 0 or
    /// over the bound; nothing more should be read from the connection.
    Result Feed(std::string_view bytes, std::string& path);

    /// Bytes held: never more than 4 + kMaxHandOffPath (plus those of the call being fed).
    std::size_t buffered() const { return m_data.size(); }

private:
    std::string m_data;
};

}  // namespace kordel::ui
