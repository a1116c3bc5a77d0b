// Atomic whole-file writes over a replaceable set of file operations.
#include "common/atomic_file.h"

#include <atomic>
#include <cstdio>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <process.h>
#else
#include <unistd.h>
#endif

namespace kordel {
namespace {

#ifdef _WIN32
std::FILE* OpenForWriting(const std::filesystem::path& path) { return ::_wfopen(path.c_str(), L"wb"); }
bool SyncToDisk(std::FILE* file) { return ::_commit(::_fileno(file)) == 0; }
int ProcessId() { return ::_getpid(); }
#else
std::FILE* OpenForWriting(const std::filesystem::path& path) { return std::fopen(path.c_str(), "wb"); }
bool SyncToDisk(std::FILE* file) { return ::fsync(::fileno(file)) == 0; }
int ProcessId() { return ::getpid(); }
#endif

class StdioFileOps final : public FileOps {
public:
    bool Open(const std::filesystem::path& path) override {
        m_file = OpenForWriting(path);
        return m_file != nullptr;
    }
    bool Write(std::string_view bytes) override {
        return m_file && std::fwrite(bytes.data(), 1, bytes.size(), m_file) == bytes.size();
    }
    bool Close() override {
        if (!m_file) return false;
        bool ok = std::fflush(m_file) == 0 && SyncToDisk(m_file);
        ok = (std::fclose(m_file) == 0) && ok;
        m_file = nullptr;
        return ok;
    }
    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        std::error_code ec;
        std::filesystem::rename(from, to, ec);
        return !ec;
    }
    void Remove(const std::filesystem::path& path) override {
        std::error_code ec;
        std::filesystem::remove(path, ec);
    }

private:
    std::FILE* m_file = nullptr;
};

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp = target;
    temp += ".tmp" + std::to_string(ProcessId()) + "-" + std::to_string(counter++);
    return temp;
}

}  // namespace

FileOps& RealFileOps() {
    thread_local StdioFileOps ops;
    return ops;
}

std::string ToCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes, FileOps& ops) {
    const std::filesystem::path temp = TemporaryBeside(target);
    if (!ops.Open(temp)) {
        ops.Remove(temp);
        return false;
    }
    // Write in pieces so a failure part-way is seen at the piece where it happens.
    constexpr std::size_t kPiece = 64 * 1024;
    bool ok = true;
    for (std::size_t at = 0; ok && at < bytes.size(); at += kPiece)
        ok = ops.Write(bytes.substr(at, kPiece));
    ok = ops.Close() && ok;
    if (ok) ok = ops.Rename(temp, target);
    if (!ok) ops.Remove(temp);
    return ok;
}

}  // namespace kordel
