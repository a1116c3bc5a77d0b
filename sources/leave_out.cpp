// Size and content checks. Only files of equal size are read, and only their hashes are kept;
// equal hashes are confirmed by comparing the files.
#include "sources/leave_out.h"

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/files.h"

namespace kordel::sources {
namespace {

namespace fs = std::filesystem;

std::optional<std::uint64_t> SizeOf(const std::string& path) {
    const platform::PathInfo info = platform::GetPathInfo(path);
    if (info.kind != platform::PathKind::Regular) return std::nullopt;
    return info.size;
}

// Reads until `buffer` is full or the file ends; -1 on a read error.
std::ptrdiff_t ReadFull(platform::InputFile& file, std::string& buffer) {
    std::size_t have = 0;
    while (have < buffer.size()) {
        const std::ptrdiff_t got = file.Read(buffer.data() + have, buffer.size() - have);
        if (got < 0) return -1;
        if (got == 0) break;
        have += static_cast<std::size_t>(got);
    }
    return static_cast<std::ptrdiff_t>(have);
}

// FNV-1a over the file's bytes; nothing when it cannot be read. Files are opened without blocking
// and checked once open, so a FIFO swapped in after the size was taken is refused.
std::optional<std::uint64_t> HashOf(const std::string& path) {
    platform::InputFile file;
    if (file.Open(path) != platform::InputFile::Status::Opened) return std::nullopt;
    std::uint64_t hash = 14695981039346656037ull;
    std::string buffer(64 * 1024, '\0');
    for (;;) {
        const std::ptrdiff_t got = file.Read(buffer.data(), buffer.size());
        if (got < 0) return std::nullopt;
        if (got == 0) return hash;
        for (std::ptrdiff_t i = 0; i < got; ++i) {
            hash ^= static_cast<unsigned char>(buffer[static_cast<std::size_t>(i)]);
            hash *= 1099511628211ull;
        }
    }
}

bool SameContents(const std::string& a, const std::string& b) {
    platform::InputFile x, y;
    if (x.Open(a) != platform::InputFile::Status::Opened || y.Open(b) != platform::InputFile::Status::Opened)
        return false;
    std::string bx(64 * 1024, '\0'), by(64 * 1024, '\0');
    for (;;) {
        const std::ptrdiff_t n = ReadFull(x, bx);
        if (n < 0 || ReadFull(y, by) != n) return false;
        const std::size_t size = static_cast<std::size_t>(n);
        if (bx.compare(0, size, by, 0, size) != 0) return false;
        if (size < bx.size()) return true;
    }
}

}  // namespace

void LeaveOutLargeFiles(PathTable& paths, std::uint64_t maxBytes, std::vector<Skipped>& leftOut) {
    paths.KeepIf([&](std::size_t i) {
        const std::string path = paths[i];
        const std::optional<std::uint64_t> size = SizeOf(path);
        if (!size || *size <= maxBytes) return true;
        leftOut.push_back({path, "larger than --max-file-size (" + std::to_string(*size) + " bytes)"});
        return false;
    });
}

void LeaveOutDuplicates(PathTable& paths, std::vector<Skipped>& leftOut) {
    std::map<std::uint64_t, std::vector<std::size_t>> bySize;
    std::vector<std::optional<std::uint64_t>> sizes(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        sizes[i] = SizeOf(paths[i]);
        if (sizes[i]) bySize[*sizes[i]].push_back(i);
    }
    std::vector<bool> drop(paths.size(), false);
    for (const auto& [size, group] : bySize) {
        if (group.size() < 2) continue;
        // Files of this size seen so far, by hash: the first of each content is kept.
        std::multimap<std::uint64_t, std::size_t> firsts;
        for (std::size_t i : group) {
            const std::optional<std::uint64_t> hash = HashOf(paths[i]);
            if (!hash) continue;
            const auto [from, to] = firsts.equal_range(*hash);
            for (auto it = from; it != to && !drop[i]; ++it) {
                if (SameContents(paths[it->second], paths[i])) {
                    drop[i] = true;
                    leftOut.push_back({paths[i], "the same contents as " + paths[it->second]});
                }
            }
            if (!drop[i]) firsts.emplace(*hash, i);
        }
    }
    paths.KeepIf([&](std::size_t i) { return !drop[i]; });
}

}  // namespace kordel::sources
