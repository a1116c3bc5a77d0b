// The compact path list: folders interned, names in one buffer.
#include "sources/path_table.h"

#include <algorithm>
#include <stdexcept>

#include "platform/os.h"

namespace kordel::sources {
namespace {

std::size_t NameStart(std::string_view path) {
    const std::size_t slash = path.find_last_of(platform::kWindows ? "/\\" : "/");
    return slash == std::string_view::npos ? 0 : slash + 1;
}

// Compares the texts a1 + a2 and b1 + b2 byte by byte, as std::string does.
int ComparePieces(std::string_view a1, std::string_view a2, std::string_view b1, std::string_view b2) {
    std::string_view a = a1, b = b1;
    bool aSecond = false, bSecond = false;
    for (;;) {
        if (a.empty() && !aSecond) a = a2, aSecond = true;
        if (b.empty() && !bSecond) b = b2, bSecond = true;
        if (a.empty() || b.empty()) {
            if (!a.empty()) return 1;
            if (!b.empty()) return -1;
            if (aSecond && bSecond) return 0;
            continue;
        }
        const std::size_t n = std::min(a.size(), b.size());
        if constexpr (platform::kWindows) {
            // "\" orders as "/" does elsewhere, so a folder comes before the names that extend it.
            for (std::size_t i = 0; i < n; ++i) {
                const auto x = static_cast<unsigned char>(a[i] == '\\' ? '/' : a[i]);
                const auto y = static_cast<unsigned char>(b[i] == '\\' ? '/' : b[i]);
                if (x != y) return x < y ? -1 : 1;
            }
        } else if (const int c = a.substr(0, n).compare(b.substr(0, n)); c != 0) {
            return c;
        }
        a.remove_prefix(n);
        b.remove_prefix(n);
    }
}

}  // namespace

std::uint32_t PathTable::FolderIndex(std::string_view folder) {
    if (m_lastFolder != UINT32_MAX && m_folders[m_lastFolder] == folder) return m_lastFolder;
    auto it = m_folderIndex.find(folder);
    if (it == m_folderIndex.end()) {
        if (m_folders.size() >= UINT32_MAX - 1) throw std::length_error("too many folders in the path list");
        m_folders.emplace_back(folder);
        it = m_folderIndex.emplace(m_folders.back(), static_cast<std::uint32_t>(m_folders.size() - 1)).first;
    }
    m_lastFolder = it->second;
    return it->second;
}

void PathTable::Add(std::string_view path) {
    const std::size_t nameStart = NameStart(path);
    const std::string_view name = path.substr(nameStart);
    if (name.size() > UINT32_MAX) throw std::length_error("a path in the list is too long");
    const std::uint32_t folder = FolderIndex(path.substr(0, nameStart));
    m_entries.push_back({m_names.size(), static_cast<std::uint32_t>(name.size()), folder});
    m_names.append(name);
}

std::string PathTable::operator[](std::size_t index) const {
    const Entry& e = m_entries.at(index);
    std::string path = m_folders[e.folder];
    path.append(Name(e));
    return path;
}

bool PathTable::Less(const Entry& a, const Entry& b) const {
    if (a.folder == b.folder) return Name(a) < Name(b);
    return ComparePieces(m_folders[a.folder], Name(a), m_folders[b.folder], Name(b)) < 0;
}

void PathTable::SortFrom(std::size_t first) {
    if (first >= m_entries.size()) return;
    std::sort(m_entries.begin() + static_cast<std::ptrdiff_t>(first), m_entries.end(),
              [this](const Entry& a, const Entry& b) { return Less(a, b); });
}

void PathTable::KeepIf(const std::function<bool(std::size_t index)>& keep) {
    std::size_t kept = 0;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (keep(i)) m_entries[kept++] = m_entries[i];
    m_entries.resize(kept);
    m_entries.shrink_to_fit();
}

}  // namespace kordel::sources
