// One copy per user on POSIX: folders checked by their open descriptor, flock, SO_PEERCRED.
#include "platform/instance.h"

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/system.h"

namespace kordel::platform {

bool IsPrivateFolder(std::string_view folder) {
    if (folder.empty() || folder.find('\0') != std::string_view::npos) return false;
    const int fd = ::open(std::string(folder).c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    const bool ok = ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
                    (st.st_mode & 0777) == 0700;
    ::close(fd);
    return ok;
}

std::string PrivateTemporaryFolder(std::string_view name) {
    const std::string base = TempFolder() + "/" + std::string(name) + "-" + std::to_string(::geteuid());
    for (int attempt = 0; attempt < 10; ++attempt) {
        const std::string folder = attempt == 0 ? base : base + "-" + std::to_string(attempt);
        // Made or found: either way it counts only once it is opened and seen to be ours and private.
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) continue;
        if (IsPrivateFolder(folder)) return folder;
    }
    return {};
}

InstanceLock::~InstanceLock() {
    if (m_handle >= 0) ::close(static_cast<int>(m_handle));
}

InstanceLock::Status InstanceLock::Take(std::string_view path) {
    if (path.find('\0') != std::string_view::npos) return Status::Unusable;
    // Its lock belongs to the open file and ends with the process, so a copy that crashed leaves
    // nothing that blocks the next start.
    const int fd = ::open(std::string(path).c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) return Status::Unusable;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(fd);
        return Status::Unusable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        m_handle = fd;
        return Status::Held;
    }
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return held ? Status::HeldByAnother : Status::Unusable;
}

bool PeerIsSameUser(std::intptr_t socket) {
    struct ucred peer {};
    socklen_t size = sizeof peer;
    return socket >= 0 && ::getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           size == sizeof peer && peer.uid == ::geteuid();
}

}  // namespace kordel::platform
