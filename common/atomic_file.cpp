// Atomic whole-file writes over a replaceable set of file operations.
#include "common/atomic_file.h"

#include <memory>

#include "platform/files.h"

namespace kordel {
namespace {

class PlatformFileOps final : public FileOps {
public:
    bool Open(const std::filesystem::path& path) override {
        m_file = std::make_unique<platform::OutputFile>();
        return m_file->Create(platform::PathText(path));
    }
    bool Write(std::string_view bytes) override { return m_file && m_file->Write(bytes); }
    bool Close() override {
        if (!m_file) return false;
        const bool ok = m_file->SyncAndClose();
        m_file.reset();
        return ok;
    }
    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override {
        return platform::RenameOver(platform::PathText(from), platform::PathText(to));
    }
    void Remove(const std::filesystem::path& path) override { platform::RemoveFile(platform::PathText(path)); }

private:
    std::unique_ptr<platform::OutputFile> m_file;
};

}  // namespace

FileOps& RealFileOps() {
    thread_local PlatformFileOps ops;
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
    const platform::ReplaceTarget where = platform::PrepareReplace(platform::PathText(target));
    if (where.status != platform::ReplaceTarget::Status::Ready) return false;
    const std::filesystem::path destination = platform::PathFromText(where.path);
    // Writers killed before their rename leave their temporary files behind; the next write cleans up.
    platform::RemoveStaleTemporaries(platform::PathText(destination.parent_path()));
    const std::string temp = platform::TemporaryNameFor(where.path);
    // The temporary file is created exclusively: nothing was there, so nothing needs removing.
    if (!ops.Open(platform::PathFromText(temp))) return false;
    // Write in pieces so a failure part-way is seen at the piece where it happens.
    constexpr std::size_t kPiece = 64 * 1024;
    bool ok = true;
    for (std::size_t at = 0; ok && at < bytes.size(); at += kPiece)
        ok = ops.Write(bytes.substr(at, kPiece));
    ok = ops.Close() && ok;
    // The file was private while it was written; it takes the replaced file's permissions at the end.
    if (ok) platform::SetPermissions(temp, where.mode.value_or(platform::NewFileMode()));
    if (ok) ok = ops.Rename(platform::PathFromText(temp), destination);
    if (!ok) ops.Remove(platform::PathFromText(temp));
    return ok;
}

}  // namespace kordel
