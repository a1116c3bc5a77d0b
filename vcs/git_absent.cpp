// A kordelc built without libgit2 (the Windows cross build: Debian ships no libgit2 for mingw-w64).
// Every git operation fails with one clear message: ignore files of git, --vcs git, git:REV and
// --diff are not available, and a folder walk counts every file it finds.
#include "engine/text_reader.h"
#include "vcs/git_repo.h"
#include "vcs/line_hunks.h"
#include "vcs/revision.h"

namespace kordel::cli {
namespace {

constexpr const char* kNoGit = "this kordelc was built without git support (libgit2)";

}  // namespace

bool GitSupported() { return false; }

struct GitRepo::Handles {};

std::unique_ptr<GitRepo> GitRepo::Open(const std::filesystem::path&, std::string& error) {
    error = kNoGit;
    return nullptr;
}

GitRepo::~GitRepo() = default;
std::optional<std::string> GitRepo::Relative(const std::filesystem::path&) const { return std::nullopt; }
bool GitRepo::IsTracked(std::string_view) const { return false; }
bool GitRepo::HasTrackedBelow(std::string_view) const { return false; }
bool GitRepo::IsIgnored(std::string_view, bool) const { return false; }
std::optional<std::vector<std::string>> GitRepo::ListFiles(std::string_view) const { return std::nullopt; }
std::optional<bool> GitRepo::Attribute(std::string_view, const char*) const { return std::nullopt; }

std::string LastGitError() { return kNoGit; }

BlobBytes::BlobBytes(git_blob* blob) : m_blob(blob) {}
BlobBytes& BlobBytes::operator=(BlobBytes&&) noexcept { return *this; }
BlobBytes::~BlobBytes() = default;
std::string_view BlobBytes::view() const { return {}; }

std::unique_ptr<Repository> Repository::Open(const std::filesystem::path&, std::string& error) {
    error = kNoGit;
    return nullptr;
}

Repository::~Repository() = default;
bool Repository::ListFiles(const RevisionSpec&, const Wanted&, bool, std::vector<RevisionFile>&, std::string& error,
                           bool*) const {
    error = kNoGit;
    return false;
}
BlobBytes Repository::ReadBlob(const BlobId&) const { return {}; }
std::optional<std::uint64_t> Repository::BlobSize(const BlobId&) const { return std::nullopt; }
std::string Repository::GitFolder() const { return {}; }

BlobStream::BlobStream() = default;
BlobStream::~BlobStream() = default;
bool BlobStream::Open(const Repository&, const BlobId&, engine::TextModeReader&) { return false; }
std::optional<std::uint64_t> BlobStream::Size() const { return std::nullopt; }
std::optional<std::string> BlobStream::Damaged() const { return std::nullopt; }

bool DiffHunks(std::string_view, std::string_view, std::vector<LineHunk>&, std::string& error) {
    error = kNoGit;
    return false;
}

}  // namespace kordel::cli
