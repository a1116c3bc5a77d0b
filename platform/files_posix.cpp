// POSIX files: descriptors opened first and checked after, exclusive temporary files, rename.
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/folders.h"
#include "platform/system.h"

namespace kordel::platform {
namespace {

constexpr int kReadFlags = O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

bool HasNul(std::string_view path) { return path.find('\0') != std::string_view::npos; }

int OpenAt(int dir, const char* name, int flags, mode_t mode = 0) {
    int fd;
    do fd = ::openat(dir, name, flags, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// Opens a path longer than the system accepts in one call, one folder at a time.
int OpenLongPath(std::string_view path, int flags, mode_t mode) {
    int dir = path.starts_with('/') ? ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : AT_FDCWD;
    if (path.starts_with('/') && dir < 0) return -1;
    std::size_t at = 0;
    for (;;) {
        while (at < path.size() && path[at] == '/') ++at;
        const std::size_t slash = path.find('/', at);
        const std::string part(path.substr(at, slash == std::string_view::npos ? std::string_view::npos : slash - at));
        std::size_t next = slash;
        while (next != std::string_view::npos && next < path.size() && path[next] == '/') ++next;
        const bool last = slash == std::string_view::npos || next >= path.size();
        const int fd = OpenAt(dir, part.empty() ? "." : part.c_str(), last ? flags : O_RDONLY | O_DIRECTORY | O_CLOEXEC,
                            mode);
        const int saved = errno;
        if (dir != AT_FDCWD) ::close(dir);
        errno = saved;
        if (fd < 0 || last) return fd;
        dir = fd;
        at = slash;
    }
}

int OpenPath(std::string_view path, int flags, mode_t mode = 0) {
    if (HasNul(path)) {
        errno = ENOENT;
        return -1;
    }
    int fd = OpenAt(AT_FDCWD, std::string(path).c_str(), flags, mode);
    if (fd < 0 && errno == ENAMETOOLONG) fd = OpenLongPath(path, flags, mode);
    return fd;
}

PathKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) return PathKind::Regular;
    if (S_ISDIR(mode)) return PathKind::Folder;
    return PathKind::Other;
}

std::string FolderOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return ".";
    return slash == 0 ? "/" : std::string(path.substr(0, slash));
}

std::string_view NameOf(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string PathText(const std::filesystem::path& path) { return path.native(); }

std::string GenericPathText(const std::filesystem::path& path) { return path.generic_string(); }

std::filesystem::path PathFromText(std::string_view text) { return std::filesystem::path(text); }

std::intptr_t RecentFolder::HandleFor(std::string_view path, const char*& name) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos || slash + 1 == path.size() || HasNul(path)) return -1;
    const std::string_view folder = slash == 0 ? std::string_view("/") : path.substr(0, slash);
    if (m_handle < 0 || folder != m_folder) {
        Forget();
        // O_PATH: the folder is only looked up from, never read.
        const int fd = OpenPath(folder, O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0) return -1;
        m_handle = fd;
        m_folder = std::string(folder);
    }
    m_name.assign(path.substr(slash + 1));
    name = m_name.c_str();
    return m_handle;
}

void RecentFolder::Forget() {
    if (m_handle >= 0) ::close(static_cast<int>(m_handle));
    m_handle = -1;
    m_folder.clear();
}

PathInfo GetPathInfo(std::string_view path, RecentFolder* recent) {
    PathInfo info;
    const char* name = nullptr;
    const int folder = recent ? static_cast<int>(recent->HandleFor(path, name)) : -1;
    if (folder >= 0) {
        struct stat st {};
        if (::fstatat(folder, name, &st, 0) == 0) {
            info.kind = KindOf(st.st_mode);
            if (info.kind == PathKind::Regular) info.size = static_cast<std::uint64_t>(st.st_size);
            return info;
        }
        // Looked up whole again below: the folder may have been moved meanwhile.
        recent->Forget();
    }
    if (HasNul(path)) return info;
    struct stat st {};
    if (::stat(std::string(path).c_str(), &st) != 0) {
        if (errno == ENAMETOOLONG) {
            const int fd = OpenPath(path, O_PATH | O_CLOEXEC);
            if (fd < 0) return info;
            const bool ok = ::fstat(fd, &st) == 0;
            ::close(fd);
            if (!ok) return info;
        } else {
            struct stat link {};
            if (::lstat(std::string(path).c_str(), &link) == 0) info.kind = PathKind::Other;  // a dangling link
            return info;
        }
    }
    info.kind = KindOf(st.st_mode);
    if (info.kind == PathKind::Regular) info.size = static_cast<std::uint64_t>(st.st_size);
    return info;
}

bool DoesFileExist(std::string_view path) {
    if (HasNul(path)) return false;
    struct stat st {};
    return ::lstat(std::string(path).c_str(), &st) == 0 || GetPathInfo(path).kind != PathKind::Missing;
}

InputFile::Status InputFile::OpenReadable(std::string_view path, bool pipes, RecentFolder* recent) {
    Close();
    // Without a pipe to wait for, the open must not block on a FIFO; with one, it waits for the writer
    // so that the first read sees its data rather than an end.
    const int flags = pipes ? kReadFlags & ~O_NONBLOCK : kReadFlags;
    const char* name = nullptr;
    const int folder = recent ? static_cast<int>(recent->HandleFor(path, name)) : -1;
    int fd = folder >= 0 ? OpenAt(folder, name, flags) : -1;
    if (fd < 0) {
        // Looked up whole: the folder may have been moved or replaced since it was opened.
        if (folder >= 0) recent->Forget();
        fd = OpenPath(path, flags);
    }
    if (fd < 0) return errno == ENOENT || errno == ENOTDIR ? Status::Missing : Status::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return Status::Failed;
    }
    if (!S_ISREG(st.st_mode) && !(pipes && S_ISFIFO(st.st_mode))) {
        ::close(fd);
        return S_ISDIR(st.st_mode) ? Status::Folder : Status::NotRegular;
    }
    // The flag only mattered while the type was unknown. Local regular files ignore it, so it stays
    // set rather than cost a call per file; Read clears it should a file system ever answer EAGAIN.
    m_handle = fd;
    m_size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    m_firstRead = S_ISREG(st.st_mode);
    return Status::Opened;
}

std::ptrdiff_t InputFile::Read(char* buffer, std::size_t n) {
    if (m_handle == kNone) return -1;
    if (std::exchange(m_firstRead, false) && n > 0) {
        // The first read asks for cached bytes only: it is the read itself when the file is in
        // memory, and says the disk must be waited for when not.
        iovec piece{buffer, n};
        const ssize_t got = ::preadv2(static_cast<int>(m_handle), &piece, 1, -1, RWF_NOWAIT);
        if (got >= 0) return got;
        m_waitedForDisk = errno == EAGAIN;
    }
    bool blockingAgain = false;
    for (;;) {
        const ssize_t got = ::read(static_cast<int>(m_handle), buffer, n);
        if (got >= 0) return got;
        if (errno == EAGAIN && !blockingAgain && m_size > 0) {
            blockingAgain = true;
            if (::fcntl(static_cast<int>(m_handle), F_SETFL, 0) == 0) continue;
        }
        if (errno != EINTR) return got;
    }
}

void InputFile::Close() {
    if (m_handle != kNone) ::close(static_cast<int>(m_handle));
    m_handle = kNone;
    m_size = 0;
    m_firstRead = m_waitedForDisk = false;
}

std::string LastFileErrorText() { return std::strerror(errno); }

ReplaceTarget PrepareReplace(std::string_view target) {
    ReplaceTarget result;
    result.path = std::string(target);
    if (HasNul(target)) {
        result.status = ReplaceTarget::Status::NotRegular;
        return result;
    }
    struct stat link {};
    if (::lstat(result.path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        // A link of the caller's own (or the system's) is written through; one that another user
        // planted, as in a shared folder, is refused.
        if (link.st_uid != ::geteuid() && link.st_uid != 0) {
            result.status = ReplaceTarget::Status::ForeignLink;
            return result;
        }
        char* resolved = ::realpath(result.path.c_str(), nullptr);
        if (resolved) {
            result.path = resolved;
            std::free(resolved);
        } else if (errno == ENOENT) {
            // A dangling link: the file it names is created.
            std::string to(static_cast<std::size_t>(link.st_size) + 1, '\0');
            const ssize_t n = ::readlink(std::string(target).c_str(), to.data(), to.size());
            if (n <= 0) {
                result.status = ReplaceTarget::Status::NotRegular;
                return result;
            }
            to.resize(static_cast<std::size_t>(n));
            result.path = to.starts_with('/') ? to : FolderOf(target) + "/" + to;
        }
    }
    // Opening for writing without truncating changes nothing; it tells whether writing is allowed.
    const int fd = OpenPath(result.path, O_WRONLY | O_NONBLOCK | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == EACCES || errno == EPERM || errno == EROFS || errno == ETXTBSY)
            result.status = ReplaceTarget::Status::ReadOnly;
        else if (errno == EISDIR || errno == ENXIO || errno == ELOOP)
            result.status = ReplaceTarget::Status::NotRegular;
        return result;  // ENOENT: a new file
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))
        result.status = ReplaceTarget::Status::NotRegular;
    else if ((st.st_mode & 0222) == 0)
        result.status = ReplaceTarget::Status::ReadOnly;  // marked read-only, though root could write it
    else {
        // A copy the writer owns must not run with the rights of the replaced file's owner.
        result.mode = static_cast<unsigned>(st.st_mode & 0777);
        result.owner = std::make_pair(static_cast<unsigned>(st.st_uid), static_cast<unsigned>(st.st_gid));
    }
    ::close(fd);
    return result;
}

bool RemoveOwnFile(std::string_view path) {
    struct stat st {};
    const std::string text(path);
    return ::lstat(text.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_uid == ::geteuid() &&
           ::unlink(text.c_str()) == 0;
}

unsigned NewFileMode() {
    // The umask can only be read by setting it; /proc answers without that race where it can.
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("Umask:")) return 0666u & ~static_cast<unsigned>(std::strtoul(line.c_str() + 6, nullptr, 8));
    return 0644;
}

bool SetOwnerAndPermissions(std::string_view path, unsigned mode, std::optional<std::pair<unsigned, unsigned>> owner) {
    const int fd = OpenPath(path, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (ok && owner && (st.st_uid != owner->first || st.st_gid != owner->second)) {
        // Root gives the file back to its owner; another user may still keep its group.
        if (::fchown(fd, static_cast<uid_t>(owner->first), static_cast<gid_t>(owner->second)) != 0)
            (void)::fchown(fd, static_cast<uid_t>(-1), static_cast<gid_t>(owner->second));
    }
    ok = ok && ::fchmod(fd, static_cast<mode_t>(mode & 0777)) == 0;
    ::close(fd);
    return ok;
}

OutputFile::~OutputFile() {
    if (m_handle != kNone) ::close(static_cast<int>(m_handle));
}

bool OutputFile::Create(std::string_view path) {
    if (m_handle != kNone || HasNul(path)) return false;
    const int fd = OpenPath(path, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    m_handle = fd;
    return true;
}

bool OutputFile::Write(std::string_view bytes) {
    if (m_handle == kNone) return false;
    while (!bytes.empty()) {
        const ssize_t put = ::write(static_cast<int>(m_handle), bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return true;
}

bool OutputFile::SyncAndClose() {
    if (m_handle == kNone) return false;
    const int fd = static_cast<int>(m_handle);
    m_handle = kNone;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

bool OutputFile::Close() {
    if (m_handle == kNone) return false;
    const int fd = static_cast<int>(std::exchange(m_handle, kNone));
    return ::close(fd) == 0;
}

bool RenameOver(std::string_view from, std::string_view to) {
    if (HasNul(from) || HasNul(to)) return false;
    if (::rename(std::string(from).c_str(), std::string(to).c_str()) == 0) return true;
    if (errno != ENAMETOOLONG) return false;
    // Too long for one call: relative to the two folders, opened one part at a time.
    const int fromDir = OpenPath(FolderOf(from), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const int toDir = fromDir < 0 ? -1 : OpenPath(FolderOf(to), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool ok = toDir >= 0 && ::renameat(fromDir, std::string(NameOf(from)).c_str(), toDir,
                                             std::string(NameOf(to)).c_str()) == 0;
    if (fromDir >= 0) ::close(fromDir);
    if (toDir >= 0) ::close(toDir);
    return ok;
}

bool RemoveFile(std::string_view path) {
    if (HasNul(path)) return false;
    if (::unlink(std::string(path).c_str()) == 0) return true;
    if (errno != ENAMETOOLONG) return false;
    const int dir = OpenPath(FolderOf(path), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    const bool ok = dir >= 0 && ::unlinkat(dir, std::string(NameOf(path)).c_str(), 0) == 0;
    if (dir >= 0) ::close(dir);
    return ok;
}

}  // namespace kordel::platform
