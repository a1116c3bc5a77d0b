// Writes a whole file atomically: a temporary file beside the target, checked, then renamed.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kordel {

/// The file operations an atomic write uses; tests replace them to inject failures.
class FileOps {
public:
    virtual ~FileOps() = default;
    /// Opens `path` for writing (truncating it); returns false on failure.
    virtual bool Open(const std::filesystem::path& path) = 0;
    /// Writes all of `bytes` to the open file; returns false on failure.
    virtual bool Write(std::string_view bytes) = 0;
    /// Flushes and closes the open file; returns false on failure.
    virtual bool Close() = 0;
    /// Replaces `to` by `from` in one step; returns false on failure.
    virtual bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    /// Removes `path`, ignoring failures.
    virtual void Remove(const std::filesystem::path& path) = 0;
};

/// The real file system.
FileOps& RealFileOps();

/// Converts LF line ends to CR LF, as text-mode writing does.
std::string ToCrLf(std::string_view text);

/// Writes a file atomically piece by piece: a temporary file beside the target, renamed over it at
/// Commit. Until then the old target is untouched; a writer destroyed without Commit removes its
/// temporary file.
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(FileOps& ops = RealFileOps()) : m_ops(ops) {}
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
    ~AtomicFileWriter();
    /// Creates the temporary file for `target`; false when it cannot be.
    bool Open(const std::filesystem::path& target);
    /// Appends `bytes`; once a write has failed the writer stays failed and writes nothing more.
    bool Write(std::string_view bytes);
    /// Closes the temporary file and renames it over the target; false (temporary removed) on any failure.
    bool Commit();

private:
    FileOps& m_ops;
    bool m_open = false;
    bool m_ok = false;
    std::filesystem::path m_temp;
    std::filesystem::path m_destination;
    std::string m_tempText;
    unsigned m_mode = 0;
    std::optional<std::pair<unsigned, unsigned>> m_owner;  // the replaced file's user and group
};

/// Writes `bytes` to `target` through a temporary file in the same folder.
/// On any failure the old target is untouched, the temporary file is removed and false is returned.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         FileOps& ops = RealFileOps());

}  // namespace kordel
