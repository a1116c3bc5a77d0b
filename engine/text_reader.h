// Reads a file the way text mode does: CR LF reads as LF, Ctrl-Z ends the data, lines in pieces of 4095.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kordel::engine {

inline constexpr std::size_t kMaxPiece = 4095;

/// A text-mode line reader over one open file. Not thread-safe; one per file being counted.
class TextModeReader {
public:
    TextModeReader() = default;
    TextModeReader(const TextModeReader&) = delete;
    TextModeReader& operator=(const TextModeReader&) = delete;
    ~TextModeReader();

    /// Opens `path` for reading. At most `limit` raw bytes are read (the size measured before
    /// opening); no limit when it is empty. Returns false when the file can't be opened.
    bool Open(const std::filesystem::path& path, std::optional<std::uint64_t> limit);

    /// Reads over an in-memory buffer instead of a file.
    void OpenMemory(std::string_view data);

    /// The next line or piece (at most 4095 characters; the LF is kept when it fits).
    /// The view stays valid until the next call. Returns false at the end of the data.
    bool NextLine(std::string_view& line);

    /// The bytes read but not yet handed out, reading more when there are none; empty at the end of
    /// the data. Lines taken from it directly are given back with Skip.
    std::string_view Buffered();
    void Skip(std::size_t n) { m_pos += n; }

    void Close();

private:
    bool Fill();
    int Peek();
    bool NextLineCopied(std::string_view& line);

    std::FILE* m_file = nullptr;
    std::unique_ptr<char[]> m_buffer;  // left uninitialised: only the bytes read are looked at
    std::size_t m_capacity = 0;
    std::string_view m_memory;
    const char* m_data = nullptr;
    std::size_t m_pos = 0;
    std::size_t m_len = 0;
    std::uint64_t m_remaining = 0;
    bool m_ended = false;
    std::string m_line;
};

}  // namespace kordel::engine
