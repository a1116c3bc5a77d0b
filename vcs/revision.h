// A git revision as an input: its files read straight from the object database, without a checkout.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct git_blob;

namespace kordel::engine {
class ByteSource;
class TextModeReader;
}  // namespace kordel::engine

namespace kordel::vcs {

class GitRepository;

/// "git:REV" or "git:REV:PATH" as written on the command line.
struct RevisionSpec {
    std::string rev;
    std::string path;  ///< a folder or file inside the revision; empty for its whole tree
};

/// The revision an argument names, or nothing when it does not start with "git:".
std::optional<RevisionSpec> ParseRevisionSpec(std::string_view arg);

using BlobId = std::array<unsigned char, 20>;

/// The id as 40 hexadecimal digits.
std::string HexId(const BlobId& id);

/// One file of a revision: its path below the revision's root (with "/") and its blob.
struct RevisionFile {
    std::string relative;
    BlobId blob{};
};

/// The bytes of one blob, held as long as this object lives.
class BlobBytes {
public:
    BlobBytes() = default;
    explicit BlobBytes(git_blob* blob);
    BlobBytes(BlobBytes&& other) noexcept : m_blob(std::exchange(other.m_blob, nullptr)) {}
    BlobBytes& operator=(BlobBytes&& other) noexcept;
    ~BlobBytes();
    std::string_view view() const;
    bool ok() const { return m_blob != nullptr; }

private:
    git_blob* m_blob = nullptr;
};

/// Reads revisions of a repository: their trees and their blobs.
class RevisionReader {
public:
    /// The repository that holds `folder` (searched upwards), or nothing with `error` set.
    static std::unique_ptr<RevisionReader> Open(const std::filesystem::path& folder, std::string& error);
    ~RevisionReader();
    RevisionReader(const RevisionReader&) = delete;
    RevisionReader& operator=(const RevisionReader&) = delete;

    /// Which paths to take: (relative path, is a folder) -> keep. A folder refused is not entered.
    using Wanted = std::function<bool(const std::string& relative, bool isFolder)>;

    /// The regular files (executable or not) of `spec`, sorted by path; links and submodules are left
    /// out, and with `ignoreFiles` what the tree's .ignore files leave out (git's own ignore rules
    /// leave no tracked file out). When the spec's PATH names a file, that file alone, under its own
    /// name, and `namedFile` (when given) is set.
    bool ListFiles(const RevisionSpec& spec, const Wanted& wanted, bool ignoreFiles, std::vector<RevisionFile>& files,
                   std::string& error, bool* namedFile = nullptr) const;

    /// The bytes of a blob, read whole; not ok() when it can't be read. A loose object is to be read
    /// with BlobStream instead (libgit2 loops for ever on a damaged one).
    BlobBytes ReadBlob(const BlobId& id) const;

    /// The blob's size as stored in its header, read without inflating its data; nothing when unknown.
    std::optional<std::uint64_t> BlobSize(const BlobId& id) const;

    /// The repository's git folder, from which another thread can open its own reader.
    std::string GitFolder() const;

private:
    explicit RevisionReader(std::unique_ptr<GitRepository> repo);
    std::unique_ptr<GitRepository> m_repo;
};

/// One blob's bytes for a text-mode reader. A loose object is inflated piece by piece as the reader
/// asks, so memory stays at a few pieces whatever the blob's size. A packed object is read whole by
/// libgit2, which cannot stream one (a packed blob may be a delta on other objects): its memory is
/// bounded only by --max-file-size, which is applied by the size in its header before it is read.
class BlobStream {
public:
    BlobStream();
    ~BlobStream();
    BlobStream(const BlobStream&) = delete;
    BlobStream& operator=(const BlobStream&) = delete;

    /// Sets `reader` on the blob `id` of `repository`; false when it can't be read (Damaged() then
    /// says whether it is a damaged loose object).
    bool Open(const RevisionReader& repository, const BlobId& id, engine::TextModeReader& reader);

    /// The blob's size when it is known before reading it.
    std::optional<std::uint64_t> Size() const;

    /// A message naming the object when it is a loose object whose data ends early, can't be inflated
    /// or is not of the size its header gives; known for sure once the reader has come to its end.
    std::optional<std::string> Damaged() const;

private:
    std::unique_ptr<engine::ByteSource> m_loose;
    bool m_openedDamaged = false;
    BlobBytes m_whole;
    std::string m_hex;
};

}  // namespace kordel::vcs
