// Reading folders relative to open folder handles, so a walk goes as deep as the tree does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace kordel::platform {

struct FolderEntry {
    std::string name;
    PathKind kind = PathKind::Other;  ///< what the entry names, a link followed only when asked
    bool isLink = false;
    std::string id;  ///< identifies the file or folder itself, whatever path reaches it
};

/// An open folder. Children are opened relative to it, never through a full path.
class Folder {
public:
    enum class Status { Opened, Missing, NotFolder, Failed };

    Folder() = default;
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;
    Folder(Folder&& other) noexcept;
    Folder& operator=(Folder&& other) noexcept;
    ~Folder();

    /// Opens the folder at `path` (a link to a folder is followed).
    Status Open(std::string_view path);
    /// Opens the sub-folder `name` of `parent`; a link is followed only when `followLinks` is set.
    Status OpenChild(const Folder& parent, std::string_view name, bool followLinks);
    /// The entries but "." and ".."; false when the folder could not be read to its end.
    bool ReadEntries(std::vector<FolderEntry>& entries, bool followLinks) const;
    /// Identifies the folder itself (device and inode, or volume and file index).
    const std::string& Id() const { return m_id; }

private:
    void Release();
    std::intptr_t m_handle = -1;  // POSIX: the folder's descriptor
    std::wstring m_path;          // Windows: the folder's full path
    std::string m_id;
};

}  // namespace kordel::platform
