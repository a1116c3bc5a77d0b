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

struct git_repository;
struct git_blob;

namespace kordel::cli {

/// "git:REV" or "git:REV:PATH" as written on the command line.
struct RevisionSpec {
    std::string rev;
    std::string path;  ///< a folder or file inside the revision; empty for its whole tree
};

/// The revision an argument names, or nothing when it does not start with "git:".
std::optional<RevisionSpec> ParseRevisionSpec(std::string_view arg);

using BlobId = std::array<unsigned char, 20>;

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

/// An open repository; libgit2 is set up while one exists.
class Repository {
public:
    /// The repository that holds `folder` (searched upwards), or nothing with `error` set.
    static std::unique_ptr<Repository> Open(const std::filesystem::path& folder, std::string& error);
    ~Repository();
    Repository(const Repository&) = delete;
    Repository& operator=(const Repository&) = delete;

    /// Which paths to take: (relative path, is a folder) -> keep. A folder refused is not entered.
    using Wanted = std::function<bool(const std::string& relative, bool isFolder)>;

    /// The regular files (executable or not) of `spec`, sorted by path; links and submodules are left
    /// out, and with `ignoreFiles` what the tree's .ignore files leave out (git's own ignore rules
    /// leave no tracked file out). When the spec's PATH names a file, that file alone, under its own
    /// name, and `namedFile` (when given) is set.
    bool ListFiles(const RevisionSpec& spec, const Wanted& wanted, bool ignoreFiles, std::vector<RevisionFile>& files,
                   std::string& error, bool* namedFile = nullptr) const;

    /// The bytes of a blob; not ok() when it can't be read. Call Damaged() first.
    BlobBytes ReadBlob(const BlobId& id) const;

    /// The blob's size as stored in its header, read without inflating its data; nothing when unknown.
    std::optional<std::uint64_t> BlobSize(const BlobId& id) const;

    /// A message naming the object when it is a loose object whose data ends early (libgit2 would
    /// loop for ever reading it); nothing when it can be read.
    std::optional<std::string> Damaged(const BlobId& id) const;

    /// The repository's git folder, from which another thread can open its own Repository.
    std::string GitFolder() const;

private:
    explicit Repository(git_repository* repo) : m_repo(repo) {}
    git_repository* m_repo;
};

/// The message libgit2 left for its last failure.
std::string LastGitError();

}  // namespace kordel::cli
