// A list of many paths kept compactly: each folder once, each name once, one small record per path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kordel::sources {

/// Paths in list order. A path is split at its last separator: the folder part is stored once for
/// every path in it, the name in one shared buffer, so a million files cost a few bytes past their
/// names. Reading is safe from several threads while nothing is added.
class PathTable {
public:
    void Add(std::string_view path);
    std::size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }
    /// The path at `index`, whole.
    std::string operator[](std::size_t index) const;
    /// Puts the paths from `first` on in byte order (as std::sort orders std::string).
    void SortFrom(std::size_t first);
    /// Keeps only the paths for which `keep(index)` is true, in their order.
    void KeepIf(const std::function<bool(std::size_t index)>& keep);

private:
    struct Entry {
        std::uint64_t nameAt;
        std::uint32_t nameSize;
        std::uint32_t folder;
    };
    std::uint32_t FolderIndex(std::string_view folder);
    std::string_view Name(const Entry& e) const { return std::string_view(m_names).substr(e.nameAt, e.nameSize); }
    bool Less(const Entry& a, const Entry& b) const;

    std::vector<Entry> m_entries;
    std::string m_names;
    std::deque<std::string> m_folders;  // a deque never moves its strings, so the views below stay valid
    std::unordered_map<std::string_view, std::uint32_t> m_folderIndex;
    std::uint32_t m_lastFolder = UINT32_MAX;
};

}  // namespace kordel::sources
