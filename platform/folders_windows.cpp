// Windows folders: FindFirstFileExW on the folder's prefixed full path, so depth and length don't matter.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "platform/folders.h"
#include "platform/windows_text.h"

namespace kordel::platform {
namespace {

using windows::LongPath;
using windows::Narrow;
using windows::Widen;

bool IsLinkAttribute(DWORD attributes, DWORD tag) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) && (tag == IO_REPARSE_TAG_SYMLINK || tag == IO_REPARSE_TAG_MOUNT_POINT);
}

// Volume serial number and file index of a folder, or its lower-cased path when they can't be had.
std::string FolderId(const std::wstring& path) {
    HANDLE folder = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    BY_HANDLE_FILE_INFORMATION about{};
    const bool ok = folder != INVALID_HANDLE_VALUE && GetFileInformationByHandle(folder, &about);
    if (folder != INVALID_HANDLE_VALUE) CloseHandle(folder);
    if (!ok) {
        std::wstring lower = path;
        CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
        return Narrow(lower);
    }
    return std::to_string(about.dwVolumeSerialNumber) + ":" +
           std::to_string((static_cast<std::uint64_t>(about.nFileIndexHigh) << 32) | about.nFileIndexLow);
}

Folder::Status OpenAt(const std::wstring& path, std::wstring& out, std::string& id) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? Folder::Status::Missing
                                                                               : Folder::Status::Failed;
    }
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return Folder::Status::NotFolder;
    out = path;
    while (out.size() > 7 && out.back() == L'\\') out.pop_back();
    id = FolderId(out);
    return Folder::Status::Opened;
}

}  // namespace

Folder::Folder(Folder&& other) noexcept : m_path(std::move(other.m_path)), m_id(std::move(other.m_id)) {}

Folder& Folder::operator=(Folder&& other) noexcept {
    m_path = std::move(other.m_path);
    m_id = std::move(other.m_id);
    return *this;
}

Folder::~Folder() { Release(); }

void Folder::Release() {
    m_path.clear();
    m_id.clear();
}

Folder::Status Folder::Open(std::string_view path) {
    Release();
    if (path.empty() || path.find('\0') != std::string_view::npos) return Status::Missing;
    return OpenAt(LongPath(path, true), m_path, m_id);
}

Folder::Status Folder::OpenChild(const Folder& parent, std::string_view name, bool followLinks) {
    Release();
    if (parent.m_path.empty()) return Status::Failed;
    if (name == "..") {
        // A prefixed path is taken literally: the parent is the path without its last part.
        const std::size_t slash = parent.m_path.find_last_of(L'\\');
        if (slash == std::wstring::npos || slash < 7) return Status::Failed;
        return OpenAt(parent.m_path.substr(0, slash), m_path, m_id);
    }
    const std::wstring path = parent.m_path + L"\\" + Widen(name);
    if (!followLinks) {
        WIN32_FIND_DATAW data{};
        HANDLE find = FindFirstFileExW(path.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
        if (find != INVALID_HANDLE_VALUE) {
            FindClose(find);
            if (IsLinkAttribute(data.dwFileAttributes, data.dwReserved0)) return Status::NotFolder;
        }
    }
    return OpenAt(path, m_path, m_id);
}

bool Folder::ReadEntries(std::vector<FolderEntry>& entries, bool followLinks) const {
    if (m_path.empty()) return false;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileExW((m_path + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        FolderEntry entry;
        entry.name = Narrow(name);
        entry.isLink = IsLinkAttribute(data.dwFileAttributes, data.dwReserved0);
        DWORD attributes = data.dwFileAttributes;
        const std::wstring full = m_path + L"\\" + std::wstring(name);
        if (entry.isLink && followLinks) attributes = GetFileAttributesW(full.c_str());
        if (entry.isLink && !followLinks) entry.kind = PathKind::Other;
        else if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DEVICE)) entry.kind = PathKind::Other;
        else if (attributes & FILE_ATTRIBUTE_DIRECTORY) entry.kind = PathKind::Folder;
        else entry.kind = PathKind::Regular;
        std::wstring lower = full;
        CharLowerBuffW(lower.data(), static_cast<DWORD>(lower.size()));
        entry.identified = true;
        entry.id = Narrow(lower);
        entries.push_back(std::move(entry));
    } while (FindNextFileW(find, &data));
    const bool ended = GetLastError() == ERROR_NO_MORE_FILES;
    FindClose(find);
    return ended;
}

// Entries are identified by their path as they are read, which costs no look at the file.
bool Folder::Identify(FolderEntry& entry) const { return entry.identified; }

std::string FileId(std::string_view path) {
    std::wstring full = LongPath(path, true);
    if (full.empty() || GetFileAttributesW(full.c_str()) == INVALID_FILE_ATTRIBUTES) return {};
    CharLowerBuffW(full.data(), static_cast<DWORD>(full.size()));
    return Narrow(full);
}

}  // namespace kordel::platform
