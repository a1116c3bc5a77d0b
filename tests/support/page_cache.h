// Files put out of the system's cache, so that the next read of them waits for the disk (POSIX
// tests only). The pages are written out first: only clean pages can be dropped.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

namespace test_support {

/// True when the file's pages were asked out of the cache (a file system may still keep them).
inline bool DropFromCache(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool dropped = ::fdatasync(fd) == 0 && ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
    ::close(fd);
    return dropped;
}

}  // namespace test_support
