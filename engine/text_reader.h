// Reads a file the way text mode does: CR LF reads as LF, Ctrl-Z ends the data, lines in pieces of 4095.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/files.h"

namespace kordel::engine {

inline constexpr std::size_t kMaxPiece = 4095;

/// A text-mode line reader over one open file. Not thread-safe; one per file being counted.
class TextModeReader {
public:
    TextModeReader() = default;
    TextModeReader(const TextModeReader&) = delete;
    TextModeReader& operator=(const TextModeReader&) = delete;
    ~TextModeReader();

    /// Opens the regular file `path` for reading (anything else is refused once it is open, without
    /// blocking). At most `limit` raw bytes are read; without one, the size of the opened file.
    platform::InputFile::Status Open(const std::filesystem::path& path,
                                     std::optional<std::uint64_t> limit = std::nullopt);

    /// Reads over an in-memory buffer instead of a file.
    void OpenMemory(std::string_view data);

    /// The next line or piece (at most 4095 characters; the LF is kept when it fits).
    /// The view stays valid until the next call. Returns false at the end of the data.
    bool NextLine(std::string_view& line);

    void Close();

private:
    bool Fill();
    int Peek();
    bool NextLineCopied(std::string_view& line);

    platform::InputFile m_file;
    std::unique_ptr<char[]> m_buffer;  // left uninitialised: only the bytes read are looked at
    std::size_t m_capacity = 0;
    const char* m_data = nullptr;
    std::size_t m_pos = 0;
    std::size_t m_len = 0;
    std::uint64_t m_remaining = 0;
    bool m_ended = false;
    std::string m_line;
};

}  // namespace kordel::engine
