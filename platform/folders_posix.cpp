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

Folder::Folder(Folder&& other) noexcept : m_handle(other.m_handle), m_id(std::move(other.m_id)) { other.m_handle = -1; }

Folder& Folder::operator=(Folder&& other) noexcept {
    if (this != &other) {
        Release();
        m_handle = other.m_handle;
        m_id = std::move(other.m_id);
        other.m_handle = -1;
    }
    return *this;
}

Folder::~Folder() { Release(); }

void Folder::Release() {
    if (m_handle >= 0) ::close(static_cast<int>(m_handle));
    m_handle = -1;
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
    // fdopendir takes the descriptor over; a duplicate keeps ours for openat.
    const int fd = ::dup(static_cast<int>(m_handle));
    if (fd < 0) return false;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return false;
    }
    ::rewinddir(dir);
    bool ok = true;
    for (;;) {
        errno = 0;
        const dirent* d = ::readdir(dir);
        if (!d) {
            ok = errno == 0;
            break;
        }
        const std::string_view name = d->d_name;
        if (name == "." || name == "..") continue;
        FolderEntry entry;
        entry.name = std::string(name);
        struct stat st {};
        if (::fstatat(::dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;  // gone meanwhile
        entry.isLink = S_ISLNK(st.st_mode);
        if (entry.isLink) {
            if (followLinks && ::fstatat(::dirfd(dir), d->d_name, &st, 0) == 0) entry.kind = KindOf(st.st_mode);
            else entry.kind = PathKind::Other;
        } else {
            entry.kind = KindOf(st.st_mode);
        }
        entry.id = IdOf(st);
        entry.manyNames = !S_ISDIR(st.st_mode) && st.st_nlink > 1;
        entries.push_back(std::move(entry));
    }
    ::closedir(dir);
    return ok;
}

std::string FileId(std::string_view path) {
    struct stat st {};
    if (path.find('\0') != std::string_view::npos || ::stat(std::string(path).c_str(), &st) != 0) return {};
    return IdOf(st);
}

}  // namespace kordel::platform
