// Reading folders relative to open folder handles, so a walk goes as deep as the tree does.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace kordel::platform {

struct FolderEntry {
    std::string name;
    PathKind kind = PathKind::Other;  ///< what the entry names, a link followed only when asked
    bool isLink = false;
    /// Whether `id` and `manyNames` are known. Reading a folder tells only names and kinds; the
    /// identity costs a look at each entry, taken only for the entries that need it (Folder::Identify).
    bool identified = false;
    std::string id;  ///< identifies the file or folder itself, whatever path reaches it
    bool manyNames = false;  ///< a file with more than one name (hard links): other paths may reach it
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
    /// Fills in the identity of an entry read from this folder (a link's own, unless the reading
    /// followed it); false when the entry is gone meanwhile.
    bool Identify(FolderEntry& entry) const;
    /// Identifies the folder itself (device and inode, or volume and file index).
    const std::string& Id() const { return m_id; }

private:
    void Release();
    std::intptr_t m_handle = -1;  // POSIX: the folder's descriptor
    mutable bool m_read = false;  // POSIX: entries were read, so the descriptor is no longer at the start
    std::wstring m_path;          // Windows: the folder's full path
    std::string m_id;
};

/// Identifies the file at `path` (links followed); empty when it cannot be looked at.
std::string FileId(std::string_view path);

enum class WalkStep { Skip, Enter };

/// Walks the tree under `root` depth first, with only one folder open at any time (children are
/// opened relative to their parent, and the walk climbs back by ".."), so neither the depth nor the
/// length of the paths is limited. `enter` hears of each folder about to be read (its path as shown,
/// and its identity) and may refuse it; `visit` hears of every entry and says whether to go into a
/// folder; it is given the open folder the entry is in, to identify the entry when it needs to.
/// `read`, when given, hears of each folder's entries before they are visited (`complete` false when
/// the folder could not be read to its end). Folders that cannot be opened or read to their end are
/// added to `unreadable`.
using FolderRead = std::function<void(const std::string& shown, const std::vector<FolderEntry>& entries, bool complete)>;
void WalkTree(std::string_view root, bool followLinks,
              const std::function<bool(const std::string& shown, const std::string& id)>& enter,
              const std::function<WalkStep(FolderEntry& entry, const std::string& shown, const Folder& folder)>& visit,
              std::vector<std::string>& unreadable, const FolderRead& read = {});

}  // namespace kordel::platform
