// Path text helpers, the same code on every system but for the separators it takes.
#include "platform/paths.h"

namespace kordel::platform {

bool IsSeparator(char c) { return c == '/' || (kWindows && c == '\\'); }

std::size_t LastSeparator(std::string_view path) {
    for (std::size_t i = path.size(); i > 0; --i)
        if (IsSeparator(path[i - 1])) return i - 1;
    return std::string_view::npos;
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string joined(folder);
    if (!joined.empty() && !IsSeparator(joined.back())) joined += kWindows ? '\\' : '/';
    joined += name;
    return joined;
}

std::string PathKey(std::string_view path, bool caseSensitive) {
    std::string key(path);
    if (!caseSensitive)
        for (char& c : key)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return key;
}

}  // namespace kordel::platform
