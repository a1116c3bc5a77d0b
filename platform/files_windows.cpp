// Windows files: wide calls on UTF-16 paths (long ones prefixed), CREATE_NEW temporaries, MoveFileEx.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/windows_text.h"

namespace kordel::platform {
namespace windows {

std::wstring Widen(std::string_view text) {
    if (text.empty()) return {};
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0) return {};
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), size);
    return wide;
}

std::string Narrow(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size, nullptr, nullptr);
    return text;
}

std::wstring LongPath(std::string_view path, bool alwaysPrefixed) {
    std::wstring wide = Widen(path);
    if (wide.starts_with(L"\\\\?\\") || wide.empty()) return wide;
    std::replace(wide.begin(), wide.end(), L'/', L'\\');
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return wide;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return wide;
    full.resize(length);
    if (!alwaysPrefixed && full.size() < MAX_PATH - 12) return full;
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

}  // namespace windows

namespace {

using windows::LongPath;
using windows::Narrow;

bool HasNul(std::string_view path) { return path.find('\0') != std::string_view::npos; }

bool IsMissingError(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
           error == ERROR_BAD_NETPATH || error == ERROR_BAD_PATHNAME || error == ERROR_DIRECTORY ||
           error == ERROR_INVALID_DRIVE;
}

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

}  // namespace

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

std::string GenericPathText(const std::filesystem::path& path) {
    const std::u8string text = path.generic_u8string();
    return std::string(text.begin(), text.end());
}

std::filesystem::path PathFromText(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

// Windows looks paths up whole: a handle-relative open needs the native API, and its path lookup
// is not what a count waits for.
std::intptr_t RecentFolder::HandleFor(std::string_view, const char*&) { return -1; }

void RecentFolder::Forget() {}

PathInfo GetPathInfo(std::string_view path, RecentFolder*) {
    PathInfo info;
    if (HasNul(path) || path.empty()) return info;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(LongPath(path).c_str(), GetFileExInfoStandard, &data)) {
        if (!IsMissingError(GetLastError())) info.kind = PathKind::Other;
        return info;
    }
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        info.kind = PathKind::Folder;
    } else if (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) {
        info.kind = PathKind::Other;
    } else {
        info.kind = PathKind::Regular;
        info.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    return info;
}

bool DoesFileExist(std::string_view path) { return GetPathInfo(path).kind != PathKind::Missing; }

InputFile::Status InputFile::OpenReadable(std::string_view path, bool pipes, RecentFolder*) {
    Close();
    if (HasNul(path) || path.empty()) return Status::Missing;
    const std::wstring wide = LongPath(path);
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (IsMissingError(error)) return Status::Missing;
        // A folder cannot be opened as a file; its attributes tell it apart from a refusal.
        const DWORD attributes = GetFileAttributesW(wide.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return Status::Folder;
        return Status::Failed;
    }
    if (pipes && GetFileType(file) == FILE_TYPE_PIPE) {
        m_handle = reinterpret_cast<std::intptr_t>(file);
        m_size = 0;
        return Status::Opened;
    }
    BY_HANDLE_FILE_INFORMATION about{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileInformationByHandle(file, &about) ||
        (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(file);
        return Status::NotRegular;
    }
    m_handle = reinterpret_cast<std::intptr_t>(file);
    m_size = (static_cast<std::uint64_t>(about.nFileSizeHigh) << 32) | about.nFileSizeLow;
    return Status::Opened;
}

std::ptrdiff_t InputFile::Read(char* buffer, std::size_t n) {
    if (m_handle == kNone) return -1;
    DWORD got = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(n, 1u << 30));
    // A pipe whose writer has closed its end reports that as an error: it is the end of the data.
    if (!ReadFile(AsHandle(m_handle), buffer, want, &got, nullptr)) return GetLastError() == ERROR_BROKEN_PIPE ? 0 : -1;
    return static_cast<std::ptrdiff_t>(got);
}

void InputFile::Close() {
    if (m_handle != kNone) CloseHandle(AsHandle(m_handle));
    m_handle = kNone;
    m_size = 0;
}

std::string LastFileErrorText() {
    const DWORD error = GetLastError();
    wchar_t* text = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring words = length > 0 && text ? std::wstring(text, length) : L"error " + std::to_wstring(error);
    if (text) LocalFree(text);
    while (!words.empty() && (words.back() == L'\r' || words.back() == L'\n' || words.back() == L' ')) words.pop_back();
    return Narrow(words);
}

ReplaceTarget PrepareReplace(std::string_view target) {
    ReplaceTarget result;
    result.path = std::string(target);
    if (HasNul(target) || target.empty()) {
        result.status = ReplaceTarget::Status::NotRegular;
        return result;
    }
    const std::wstring wide = LongPath(target);
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return result;  // a new file
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        result.status = ReplaceTarget::Status::NotRegular;
        return result;
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        result.status = ReplaceTarget::Status::ReadOnly;
        return result;
    }
    // Opening for writing without truncating changes nothing; it tells whether writing is allowed
    // and, for a link, which file it names.
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        if (GetLastError() == ERROR_ACCESS_DENIED) result.status = ReplaceTarget::Status::ReadOnly;
        return result;
    }
    if (GetFileType(file) != FILE_TYPE_DISK) {
        result.status = ReplaceTarget::Status::NotRegular;
    } else if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        std::vector<wchar_t> final(32768);
        const DWORD length = GetFinalPathNameByHandleW(file, final.data(), static_cast<DWORD>(final.size()),
                                                       FILE_NAME_NORMALIZED);
        if (length > 0 && length < final.size()) result.path = Narrow(std::wstring_view(final.data(), length));
    }
    CloseHandle(file);
    return result;
}

bool RemoveOwnFile(std::string_view path) { return DeleteFileW(LongPath(path).c_str()) != 0; }

unsigned NewFileMode() { return 0666; }

bool SetOwnerAndPermissions(std::string_view, unsigned, std::optional<std::pair<unsigned, unsigned>>) {
    return true;  // a new file takes the folder's access rules; there are no permission bits to copy
}

OutputFile::~OutputFile() {
    if (m_handle != kNone) CloseHandle(AsHandle(m_handle));
}

bool OutputFile::Create(std::string_view path) {
    if (m_handle != kNone || HasNul(path) || path.empty()) return false;
    // CREATE_NEW fails when anything, a link included, is already at the name.
    HANDLE file = CreateFileW(LongPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    m_handle = reinterpret_cast<std::intptr_t>(file);
    return true;
}

bool OutputFile::Write(std::string_view bytes) {
    if (m_handle == kNone) return false;
    while (!bytes.empty()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD put = 0;
        if (!WriteFile(AsHandle(m_handle), bytes.data(), want, &put, nullptr) || put == 0) return false;
        bytes.remove_prefix(put);
    }
    return true;
}

bool OutputFile::SyncAndClose() {
    if (m_handle == kNone) return false;
    HANDLE file = AsHandle(m_handle);
    m_handle = kNone;
    const bool flushed = FlushFileBuffers(file) != 0;
    return CloseHandle(file) != 0 && flushed;
}

bool OutputFile::Close() {
    if (m_handle == kNone) return false;
    return CloseHandle(AsHandle(std::exchange(m_handle, kNone))) != 0;
}

bool RenameOver(std::string_view from, std::string_view to) {
    if (HasNul(from) || HasNul(to)) return false;
    return MoveFileExW(LongPath(from).c_str(), LongPath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(std::string_view path) {
    if (HasNul(path)) return false;
    return DeleteFileW(LongPath(path).c_str()) != 0;
}

}  // namespace kordel::platform
