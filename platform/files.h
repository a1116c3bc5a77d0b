// Files through the operating system: open for reading, size and type, atomic replacement pieces.
// Paths cross this interface as UTF-8 (the bytes as they are on POSIX); on Windows they become
// UTF-16 and long paths are handled.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace kordel::platform {

/// A path as UTF-8 text (its bytes on POSIX).
std::string PathText(const std::filesystem::path& path);

/// A path as UTF-8 text with "/" between its parts on every system.
std::string GenericPathText(const std::filesystem::path& path);

/// A UTF-8 text as a path.
std::filesystem::path PathFromText(std::string_view text);

enum class PathKind { Missing, Regular, Folder, Other };

struct PathInfo {
    PathKind kind = PathKind::Missing;
    std::uint64_t size = 0;  ///< for a regular file
};

/// The folder of the last path looked up through it, kept open for one run of lookups (one per
/// thread): the next path in the same folder is found from there by its last name, instead of
/// through every folder of the path again. Lists and walks give paths grouped by folder, so most
/// lookups take one name. On Windows paths are looked up whole.
class RecentFolder {
public:
    RecentFolder() = default;
    RecentFolder(const RecentFolder&) = delete;
    RecentFolder& operator=(const RecentFolder&) = delete;
    ~RecentFolder() { Forget(); }

    /// The handle of `path`'s folder, opened now unless it is the folder of the last path, and in
    /// `name` the path's last name; -1 when the path is to be looked up whole.
    std::intptr_t HandleFor(std::string_view path, const char*& name);
    /// Closes the folder, so that the next lookup opens its folder anew (after a failure: the
    /// folder may have been moved or replaced meanwhile).
    void Forget();

private:
    std::string m_folder;
    std::string m_name;
    std::intptr_t m_handle = -1;
};

/// What `path` names, links followed; a dangling link is Other. With `recent`, the path is looked
/// up from its folder's handle when it can be.
PathInfo GetPathInfo(std::string_view path, RecentFolder* recent = nullptr);

/// True when something is at `path` (a dangling link too).
bool DoesFileExist(std::string_view path);

/// A file open for reading. The open never blocks (a FIFO or a device is refused after it is opened,
/// by the type of what was opened), so nothing can be swapped in between a check and the open.
class InputFile {
public:
    enum class Status { Opened, Missing, Folder, NotRegular, Failed };

    InputFile() = default;
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;
    InputFile(InputFile&& other) noexcept;
    InputFile& operator=(InputFile&& other) noexcept;
    ~InputFile();

    /// Opens a regular file; any other kind of file is closed again at once. With `recent`, the path
    /// is looked up from its folder's handle when it can be.
    Status Open(std::string_view path, RecentFolder* recent = nullptr) { return OpenReadable(path, false, recent); }
    /// Opens a regular file or a pipe; a folder or a device is refused as by Open. The open of a
    /// named pipe waits for its writer, as every reader of a pipe does. Size() is 0 for a pipe.
    Status OpenFileOrPipe(std::string_view path) { return OpenReadable(path, true, nullptr); }
    /// The size of the opened file, taken from the open descriptor.
    std::uint64_t Size() const { return m_size; }
    /// Reads up to `n` bytes; 0 at the end of the file (or when a pipe's writer has gone), -1 on a
    /// read error.
    std::ptrdiff_t Read(char* buffer, std::size_t n);
    bool IsOpen() const { return m_handle != kNone; }
    /// True once a read of this file had to wait for the disk: its first bytes were not in the
    /// system's cache (POSIX; never on Windows). Counting runs read more files at once then.
    bool WaitedForDisk() const { return m_waitedForDisk; }
    void Close();

private:
    Status OpenReadable(std::string_view path, bool pipes, RecentFolder* recent);

    static constexpr std::intptr_t kNone = -1;
    std::intptr_t m_handle = kNone;
    std::uint64_t m_size = 0;
    bool m_firstRead = false;  // a regular file not yet read: its first read tells whether it is cached
    bool m_waitedForDisk = false;
};

/// The system's words for why the last file call of this thread failed.
std::string LastFileErrorText();

/// A file read through InputFile: what the open found, and the bytes when it was opened and read.
struct FileContents {
    InputFile::Status status = InputFile::Status::Failed;
    std::optional<std::string> bytes;  ///< nothing when the file was not opened or a read failed
};

/// Up to `limit` bytes of the regular file at `path`, opened without blocking and checked once open.
FileContents ReadFileContents(std::string_view path, std::size_t limit = SIZE_MAX);

/// All bytes of a regular file; nothing when it is missing, not a regular file or cannot be read.
std::optional<std::string> ReadWholeFile(std::string_view path);

/// Where a replacement of `target` is written, and what the target already is.
struct ReplaceTarget {
    enum class Status {
        Ready,        ///< write to `path`
        ReadOnly,     ///< the target exists and the caller may not write it
        NotRegular,   ///< the target is a folder, a FIFO, a device...
        ForeignLink,  ///< a symbolic link owned by another user (planted in a shared folder)
    } status = Status::Ready;
    std::string path;                 ///< the target, or the file a link of the caller's names
    std::optional<unsigned> mode;     ///< permission bits of an existing target (POSIX), without setuid, setgid, sticky
    std::optional<std::pair<unsigned, unsigned>> owner;  ///< user and group of an existing target (POSIX)
};

/// Looks at `target` before it is replaced: opens it without following a link, writing nothing.
/// A link owned by the caller (or the system) is followed, so the file it names is replaced.
ReplaceTarget PrepareReplace(std::string_view target);

/// A fresh temporary name beside `target` that nobody can predict: a short prefix of the target's
/// name, the process id and random digits; never longer than a file name may be.
std::string TemporaryNameFor(std::string_view target);

/// The process id written into a name that TemporaryNameFor gave; 0 for any other name.
int TemporaryOwnerPid(std::string_view name);

/// Removes a regular file that belongs to the caller (POSIX: its owner is the effective user).
bool RemoveOwnFile(std::string_view path);

/// Removes temporary files in `folder` left by writers of this program that no longer run
/// (recognised by the name TemporaryNameFor gives, the process id in it, and the owner).
void RemoveStaleTemporaries(std::string_view folder);

/// The permission bits a new file gets (0666 less the umask on POSIX).
unsigned NewFileMode();

/// Gives the regular file at `path` (not followed through a link) the user and group `owner` as far
/// as the caller may (root: both; others: a group of their own), then the permission bits `mode`
/// (setuid, setgid and sticky bits never); false when the bits could not be set.
bool SetOwnerAndPermissions(std::string_view path, unsigned mode, std::optional<std::pair<unsigned, unsigned>> owner);

/// A new file for writing, created exclusively (it must not exist; a link there is not followed),
/// readable and writable by the owner only.
class OutputFile {
public:
    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();

    bool Create(std::string_view path);
    /// Writes all of `bytes`; false on failure.
    bool Write(std::string_view bytes);
    /// Forces the data to the disk and closes; false when either fails.
    bool SyncAndClose();
    /// Closes without forcing the data to the disk (for a file that is not kept); false on failure.
    bool Close();

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t m_handle = kNone;
};

/// Replaces `to` by `from` in one step.
bool RenameOver(std::string_view from, std::string_view to);

/// Removes a file (not a folder); false when it could not be removed.
bool RemoveFile(std::string_view path);

/// When the file at `path` was last written; nothing when that cannot be read.
std::optional<std::filesystem::file_time_type> ModificationTime(std::string_view path);

/// Gives the file at `path` the modification time `time`; false when it could not be set.
bool SetModificationTime(std::string_view path, std::filesystem::file_time_type time);

}  // namespace kordel::platform
