// What one running copy per user needs from the system: a private folder, a lock the kernel frees
// when its holder dies, and the user on the other end of a local socket.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kordel::platform {

/// True when `folder` is a folder (not a link) of the caller's own that nobody else may enter
/// (POSIX: owned by the effective user, mode 0700), checked on the opened folder.
bool IsPrivateFolder(std::string_view folder);

/// A private folder named after `name` and the user in the temporary folder ("/tmp/kordel-1000"),
/// made with mode 0700 when missing and checked once open. A name that another user took first is
/// passed over for the next ("kordel-1000-1", ...). Empty when none of ten can be had.
std::string PrivateTemporaryFolder(std::string_view name);

/// An exclusive lock on a file, held until this object is destroyed or the process ends.
class InstanceLock {
public:
    enum class Status { Held, HeldByAnother, Unusable };

    InstanceLock() = default;
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;
    ~InstanceLock();

    /// Takes the lock on `path`, created when missing; only a regular file of the caller's own that
    /// is no link can be a lock (Unusable otherwise).
    Status Take(std::string_view path);

private:
    std::intptr_t m_handle = -1;
};

/// True when the process on the other end of the connected local socket `socket` runs as the caller's
/// user (POSIX: SO_PEERCRED).
bool PeerIsSameUser(std::intptr_t socket);

}  // namespace kordel::platform
