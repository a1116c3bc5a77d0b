// Size and content checks. Only files of equal size are read, and only their hashes are kept;
// equal hashes are confirmed by comparing the files.
#include "cli/leave_out.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>

namespace kordel::cli {
namespace {

namespace fs = std::filesystem;

std::optional<std::uint64_t> SizeOf(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (ec) return std::nullopt;
    return static_cast<std::uint64_t>(size);
}

// FNV-1a over the file's bytes; nothing when it cannot be read.
std::optional<std::uint64_t> HashOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::uint64_t hash = 14695981039346656037ull;
    char buffer[64 * 1024];
    while (in) {
        in.read(buffer, sizeof buffer);
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            hash ^= static_cast<unsigned char>(buffer[i]);
            hash *= 1099511628211ull;
        }
    }
    if (in.bad()) return std::nullopt;
    return hash;
}

bool SameContents(const std::string& a, const std::string& b) {
    std::ifstream x(a, std::ios::binary), y(b, std::ios::binary);
    if (!x || !y) return false;
    char bx[64 * 1024], by[64 * 1024];
    while (x && y) {
        x.read(bx, sizeof bx);
        y.read(by, sizeof by);
        if (x.gcount() != y.gcount() || !std::equal(bx, bx + x.gcount(), by)) return false;
    }
    return !x.bad() && !y.bad() && x.eof() && y.eof();
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

}  // namespace kordel::cli
