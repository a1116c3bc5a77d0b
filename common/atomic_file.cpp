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

AtomicFileWriter::~AtomicFileWriter() {
    if (!m_open) return;
    m_ops.Close();
    m_ops.Remove(m_temp);
}

bool AtomicFileWriter::Open(const std::filesystem::path& target) {
    const platform::ReplaceTarget where = platform::PrepareReplace(platform::PathText(target));
    if (where.status != platform::ReplaceTarget::Status::Ready) return false;
    m_destination = platform::PathFromText(where.path);
    // Writers killed before their rename leave their temporary files behind; the next write cleans up.
    platform::RemoveStaleTemporaries(platform::PathText(m_destination.parent_path()));
    m_tempText = platform::TemporaryNameFor(where.path);
    m_temp = platform::PathFromText(m_tempText);
    m_mode = where.mode.value_or(platform::NewFileMode());
    m_owner = where.owner;
    // The temporary file is created exclusively: nothing was there, so nothing needs removing.
    if (!m_ops.Open(m_temp)) return false;
    m_open = m_ok = true;
    return true;
}

bool AtomicFileWriter::Write(std::string_view bytes) {
    // Write in pieces so a failure part-way is seen at the piece where it happens.
    constexpr std::size_t kPiece = 64 * 1024;
    for (std::size_t at = 0; m_ok && at < bytes.size(); at += kPiece) m_ok = m_ops.Write(bytes.substr(at, kPiece));
    return m_ok;
}

bool AtomicFileWriter::Commit() {
    if (!m_open) return false;
    m_open = false;
    bool ok = m_ops.Close() && m_ok;
    // The file was private while it was written; it takes the replaced file's permissions at the end.
    if (ok) platform::SetOwnerAndPermissions(m_tempText, m_mode, m_owner);
    if (ok) ok = m_ops.Rename(m_temp, m_destination);
    if (!ok) m_ops.Remove(m_temp);
    return ok;
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes, FileOps& ops) {
    AtomicFileWriter writer(ops);
    return writer.Open(target) && writer.Write(bytes) && writer.Commit();
}

}  // namespace kordel
