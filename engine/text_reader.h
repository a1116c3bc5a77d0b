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

/// Bytes read in pieces from somewhere other than a file (a compressed object, say).
class ByteSource {
public:
    virtual ~ByteSource() = default;
    /// Up to `n` bytes into `buffer` (all `n` while there are as many: the first read is where a #!
    /// line is looked for); 0 at the end of the data, -1 on a failure (which ends it too).
    virtual std::ptrdiff_t Read(char* buffer, std::size_t n) = 0;
};

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
    /// The same with the path as UTF-8 text, looked up from `recent` (one per thread) when given.
    platform::InputFile::Status Open(const std::string& path, std::optional<std::uint64_t> limit = std::nullopt,
                                     platform::RecentFolder* recent = nullptr);

    /// Reads over an in-memory buffer instead of a file.
    void OpenMemory(std::string_view data);

    /// Reads from `source` (which must outlive the reading) in pieces of the read buffer's size.
    void OpenSource(ByteSource& source);

    /// The next line or piece (at most 4095 characters; the LF is kept when it fits).
    /// The view stays valid until the next call. Returns false at the end of the data.
    bool NextLine(std::string_view& line);

    /// The bytes read but not yet handed out, reading more when there are none; empty at the end of
    /// the data. Lines taken from it directly are given back with Skip.
    std::string_view Buffered();
    void Skip(std::size_t n) { m_pos += n; }

    void Close();

    /// True when the file's bytes had to be read from the disk (see InputFile::WaitedForDisk).
    bool WaitedForDisk() const { return m_file.WaitedForDisk(); }

private:
    void TakeBuffer(std::size_t wanted);
    bool Fill();
    int Peek();
    bool NextLineCopied(std::string_view& line);

    platform::InputFile m_file;
    ByteSource* m_source = nullptr;
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
