// POSIX folders: openat and fdopendir from an open descriptor, so no path grows with the depth.
#include <cerrno>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/folders.h"

namespace kordel::platform {
namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC;

std::string IdOf(const struct stat& st) { return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino); }

PathKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) return PathKind::Regular;
    if (S_ISDIR(mode)) return PathKind::Folder;
    return PathKind::Other;
}

Folder::Status StatusOf(int error) {
    if (error == ENOENT) return Folder::Status::Missing;
    if (error == ENOTDIR || error == ELOOP) return Folder::Status::NotFolder;
    return Folder::Status::Failed;
}

// The result of opening a folder as `fd` (negative: failed with `error`); keeps the folder's identity.
Folder::Status OpenedAs(int fd, int error, std::intptr_t& handle, std::string& id) {
    if (fd < 0) return StatusOf(error);
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        ::close(fd);
        return Folder::Status::Failed;
    }
    handle = fd;
    id = IdOf(st);
    return Folder::Status::Opened;
}

}  // namespace

Folder::Folder(Folder&& other) noexcept : m_handle(other.m_handle), m_read(other.m_read), m_id(std::move(other.m_id)) {
    other.m_handle = -1;
}

Folder& Folder::operator=(Folder&& other) noexcept {
    if (this != &other) {
        Release();
        m_handle = other.m_handle;
        m_read = other.m_read;
        m_id = std::move(other.m_id);
        other.m_handle = -1;
    }
    return *this;
}

Folder::~Folder() { Release(); }

void Folder::Release() {
    if (m_handle >= 0) ::close(static_cast<int>(m_handle));
    m_handle = -1;
    m_read = false;
    m_id.clear();
}

Folder::Status Folder::Open(std::string_view path) {
    Release();
    if (path.find('\0') != std::string_view::npos) return Status::Missing;
    const int fd = ::open(std::string(path).c_str(), kFolderFlags);
    return OpenedAs(fd, errno, m_handle, m_id);
}

Folder::Status Folder::OpenChild(const Folder& parent, std::string_view name, bool followLinks) {
    Release();
    if (parent.m_handle < 0 || name.find('\0') != std::string_view::npos) return Status::Failed;
    int fd;
    do fd = ::openat(static_cast<int>(parent.m_handle), std::string(name).c_str(),
                     kFolderFlags | (followLinks ? 0 : O_NOFOLLOW));
    while (fd < 0 && errno == EINTR);
    return OpenedAs(fd, errno, m_handle, m_id);
}

bool Folder::ReadEntries(std::vector<FolderEntry>& entries, bool followLinks) const {
    if (m_handle < 0) return false;
    const int fd = static_cast<int>(m_handle);
    // The folder's own descriptor is read directly (a DIR stream would need a duplicate of it and
    // more calls per folder); a second reading starts again from the first entry.
    if (m_read && ::lseek(fd, 0, SEEK_SET) != 0) return false;
    m_read = true;
    alignas(dirent64) char buffer[32768];
    for (;;) {
        const ssize_t got = ::getdents64(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return got == 0;
        for (ssize_t at = 0; at < got;) {
            const auto* d = reinterpret_cast<const dirent64*>(buffer + at);
            at += d->d_reclen;
            const std::string_view name = d->d_name;
            if (name == "." || name == "..") continue;
            FolderEntry entry;
            entry.name = std::string(name);
            switch (d->d_type) {
            case DT_REG: entry.kind = PathKind::Regular; break;
            case DT_DIR: entry.kind = PathKind::Folder; break;
            case DT_LNK: entry.isLink = true; break;
            case DT_UNKNOWN:
                // A file system that does not say the kind in its entries: each one is looked at.
                if (!Identify(entry)) continue;  // gone meanwhile
                break;
            default: break;  // a FIFO, a device or a socket: Other
            }
            if (entry.isLink && followLinks) {
                // What a followed link leads to decides its kind, and its identity is that of the target.
                struct stat st {};
                if (::fstatat(fd, d->d_name, &st, 0) == 0) {
                    entry.kind = KindOf(st.st_mode);
                    entry.identified = true;
                    entry.id = IdOf(st);
                    entry.manyNames = !S_ISDIR(st.st_mode) && st.st_nlink > 1;
                } else {
                    entry.kind = PathKind::Other;
                }
            }
            entries.push_back(std::move(entry));
        }
    }
}

bool Folder::Identify(FolderEntry& entry) const {
    if (entry.identified) return true;
    struct stat st {};
    if (m_handle < 0 || ::fstatat(static_cast<int>(m_handle), entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    entry.identified = true;
    entry.isLink = S_ISLNK(st.st_mode);
    if (!entry.isLink) entry.kind = KindOf(st.st_mode);
    entry.id = IdOf(st);
    entry.manyNames = !S_ISDIR(st.st_mode) && st.st_nlink > 1;
    return true;
}

std::string FileId(std::string_view path) {
    struct stat st {};
    if (path.find('\0') != std::string_view::npos || ::stat(std::string(path).c_str(), &st) != 0) return {};
    return IdOf(st);
}

}  // namespace kordel::platform
