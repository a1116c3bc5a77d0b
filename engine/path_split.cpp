// Path splitting by the last separator and the last dot.
#include "engine/path_split.h"

#include "engine/scan.h"
#include "platform/os.h"

namespace kordel::engine {
namespace {

// Name and extension from the last separator index b and the last dot index d (0 when absent).
void SplitNameAndExtension(std::string_view path, std::size_t b, std::size_t d, PathParts& parts) {
    const std::size_t nameStart = b + 1;
    if (d > nameStart) parts.name = std::string(path.substr(nameStart, d - nameStart));
    parts.extension = std::string(path.substr(d));
}

}  // namespace

bool IsUncPath(std::string_view path) { return path.size() >= 2 && path[0] == '\\' && path[1] == '\\'; }

std::size_t UncDriveLength(std::string_view path) {
    int seen = 0;
    for (std::size_t i = 0; i < path.size(); ++i)
        if (path[i] == '\\' && ++seen == 4) return i + 1;
    return path.size();
}

PathParts SplitDrivePath(std::string_view path) {
    PathParts parts;
    const std::size_t b = LastIndexOf(path, '\\');
    const std::size_t d = LastIndexOf(path, '.');
    parts.drive = std::string(path.substr(0, 3));
    if (b >= 3) parts.folder = std::string(path.substr(3, b - 3 + 1));
    SplitNameAndExtension(path, b, d, parts);
    return parts;
}

PathParts SplitUncPath(std::string_view path) {
    PathParts parts;
    const std::size_t b = LastIndexOf(path, '\\');
    const std::size_t d = LastIndexOf(path, '.');
    const std::size_t p = UncDriveLength(path);
    parts.drive = std::string(path.substr(0, p));
    if (b > p) parts.folder = std::string(path.substr(p, b - p));
    SplitNameAndExtension(path, b, d, parts);
    return parts;
}

PathParts SplitPosixPath(std::string_view path) {
    PathParts parts;
    const std::size_t slash = path.rfind('/');
    const std::size_t b = slash == std::string_view::npos ? 0 : slash;
    const std::size_t d = LastIndexOf(path, '.');
    if (slash != std::string_view::npos) parts.folder = std::string(path.substr(0, b + 1));
    // Without a separator the name starts at index 0, not 1.
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : b + 1;
    if (d > nameStart) parts.name = std::string(path.substr(nameStart, d - nameStart));
    parts.extension = std::string(path.substr(d));
    return parts;
}

PathParts SplitPath(std::string_view path) {
    if constexpr (platform::kWindows) return IsUncPath(path) ? SplitUncPath(path) : SplitDrivePath(path);
    return SplitPosixPath(path);
}

std::string_view PathExtension(std::string_view path) { return path.substr(LastIndexOf(path, '.')); }

}  // namespace kordel::engine
