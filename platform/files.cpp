// The parts of file handling that need no system call of their own: whole-file reads, temporary names.
#include <algorithm>
#include <random>
#include <system_error>

#include "platform/files.h"
#include "platform/folders.h"
#include "platform/os.h"
#include "platform/paths.h"
#include "platform/system.h"

namespace kordel::platform {
namespace {

constexpr std::string_view kTempMark = ".~kordel-";

}  // namespace

FileContents ReadFileContents(std::string_view path, std::size_t limit) {
    FileContents contents;
    InputFile file;
    contents.status = file.Open(path);
    if (contents.status != InputFile::Status::Opened) return contents;
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(file.Size(), limit)));
    std::string buffer(64 * 1024, '\0');
    while (bytes.size() < limit) {
        const std::ptrdiff_t got = file.Read(buffer.data(), std::min(buffer.size(), limit - bytes.size()));
        if (got < 0) return contents;
        if (got == 0) break;
        bytes.append(buffer.data(), static_cast<std::size_t>(got));
    }
    contents.bytes = std::move(bytes);
    return contents;
}

std::optional<std::string> ReadWholeFile(std::string_view path) { return ReadFileContents(path).bytes; }

std::string TemporaryNameFor(std::string_view target) {
    static thread_local std::mt19937_64 random{(static_cast<std::uint64_t>(std::random_device{}()) << 32) ^
                                               std::random_device{}() ^ static_cast<std::uint64_t>(ProcessId())};
    const std::uint64_t digits = random();
    std::string hex(16, '0');
    for (int i = 0; i < 16; ++i) hex[static_cast<std::size_t>(i)] = "0123456789abcdef"[(digits >> (60 - 4 * i)) & 0xF];
    // The name stays well below 255 bytes: the target's name is cut, at the start of a UTF-8 character.
    const std::size_t separator = LastSeparator(target);
    const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
    const std::string_view name = target.substr(nameStart);
    std::size_t keep = std::min<std::size_t>(name.size(), 160);
    while (keep > 0 && keep < name.size() && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    std::string temp(target.substr(0, nameStart));
    temp += name.substr(0, keep);
    temp += kTempMark;
    temp += std::to_string(ProcessId()) + "-" + hex;
    return temp;
}

int TemporaryOwnerPid(std::string_view name) {
    const std::size_t mark = name.rfind(kTempMark);
    if (mark == std::string_view::npos) return 0;
    const std::string_view rest = name.substr(mark + kTempMark.size());
    const std::size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash > 9 || rest.size() - dash - 1 != 16) return 0;
    int pid = 0;
    for (char c : rest.substr(0, dash)) {
        if (c < '0' || c > '9') return 0;
        pid = pid * 10 + (c - '0');
    }
    for (char c : rest.substr(dash + 1))
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return 0;
    return pid;
}

void RemoveStaleTemporaries(std::string_view folder) {
    Folder dir;
    if (dir.Open(folder.empty() ? "." : folder) != Folder::Status::Opened) return;
    std::vector<FolderEntry> entries;
    dir.ReadEntries(entries, false);
    for (const FolderEntry& entry : entries) {
        if (entry.kind != PathKind::Regular || entry.isLink) continue;
        const int pid = TemporaryOwnerPid(entry.name);
        if (pid <= 0 || IsProcessRunning(pid)) continue;
        RemoveOwnFile(folder.empty() ? entry.name : std::string(folder) + "/" + entry.name);
    }
}

// Moving and closing an input file are the same on every system; only Open, Read and Close differ.
InputFile::InputFile(InputFile&& other) noexcept
    : m_handle(other.m_handle), m_size(other.m_size), m_firstRead(other.m_firstRead),
      m_waitedForDisk(other.m_waitedForDisk) {
    other.m_handle = kNone;
}

InputFile& InputFile::operator=(InputFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = other.m_handle;
        m_size = other.m_size;
        m_firstRead = other.m_firstRead;
        m_waitedForDisk = other.m_waitedForDisk;
        other.m_handle = kNone;
    }
    return *this;
}

InputFile::~InputFile() { Close(); }

// std::filesystem takes the path in the system's own form (UTF-16 on Windows), from PathFromText.
std::optional<std::filesystem::file_time_type> ModificationTime(std::string_view path) {
    std::error_code error;
    const auto time = std::filesystem::last_write_time(PathFromText(path), error);
    if (error) return std::nullopt;
    return time;
}

bool SetModificationTime(std::string_view path, std::filesystem::file_time_type time) {
    std::error_code error;
    std::filesystem::last_write_time(PathFromText(path), time, error);
    return !error;
}

}  // namespace kordel::platform
