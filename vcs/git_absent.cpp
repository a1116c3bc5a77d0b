// A build without libgit2 (the Windows cross build: Debian ships no libgit2 for mingw-w64). Every git
// operation fails with one clear message: ignore files of git, --vcs git, git:REV, --diff and
// --history are not available, and a folder walk counts every file it finds.
#include "engine/text_reader.h"
#include "vcs/git_repository.h"
#include "vcs/history_walker.h"
#include "vcs/line_hunks.h"
#include "vcs/revision.h"
#include "vcs/work_tree.h"

namespace kordel::vcs {
namespace {

constexpr const char* kNoGit = "this kordelc was built without git support (libgit2)";

}  // namespace

bool GitSupported() { return false; }
std::string GitErrorText() { return kNoGit; }

GitLibrary::GitLibrary() = default;
GitLibrary::~GitLibrary() = default;
std::unique_ptr<GitRepository> GitRepository::Open(const std::string&, const char*, int& status, std::string& reason) {
    status = -1;
    reason = kNoGit;
    return nullptr;
}
GitRepository::~GitRepository() = default;
std::string GitRepository::GitFolder() const { return {}; }

std::unique_ptr<WorkTree> WorkTree::Open(const std::filesystem::path&, std::string& error) {
    error = kNoGit;
    return nullptr;
}
WorkTree::~WorkTree() = default;
std::optional<std::string> WorkTree::Relative(const std::filesystem::path&) const { return std::nullopt; }
bool WorkTree::IsTracked(std::string_view) const { return false; }
bool WorkTree::HasTrackedBelow(std::string_view) const { return false; }
bool WorkTree::IsIgnored(std::string_view, bool) const { return false; }
std::optional<std::vector<std::string>> WorkTree::ListFiles(std::string_view) const { return std::nullopt; }
std::optional<bool> WorkTree::Attribute(std::string_view, const char*) const { return std::nullopt; }

BlobBytes::BlobBytes(git_blob* blob) : m_blob(blob) {}
BlobBytes& BlobBytes::operator=(BlobBytes&&) noexcept { return *this; }
BlobBytes::~BlobBytes() = default;
std::string_view BlobBytes::view() const { return {}; }

std::unique_ptr<RevisionReader> RevisionReader::Open(const std::filesystem::path&, std::string& error) {
    error = kNoGit;
    return nullptr;
}
RevisionReader::RevisionReader(std::unique_ptr<GitRepository> repo) : m_repo(std::move(repo)) {}
RevisionReader::~RevisionReader() = default;
bool RevisionReader::ListFiles(const RevisionSpec&, const Wanted&, bool, std::vector<RevisionFile>&, std::string& error,
                               bool*) const {
    error = kNoGit;
    return false;
}
BlobBytes RevisionReader::ReadBlob(const BlobId&) const { return {}; }
std::optional<std::uint64_t> RevisionReader::BlobSize(const BlobId&) const { return std::nullopt; }
std::string RevisionReader::GitFolder() const { return {}; }

BlobStream::BlobStream() = default;
BlobStream::~BlobStream() = default;
bool BlobStream::Open(const RevisionReader&, const BlobId&, engine::TextModeReader&) { return false; }
std::optional<std::uint64_t> BlobStream::Size() const { return std::nullopt; }
std::optional<std::string> BlobStream::Damaged() const { return std::nullopt; }

struct HistoryWalker::State {};
HistoryWalker::HistoryWalker(std::unique_ptr<State> state) : m_state(std::move(state)) {}
HistoryWalker::~HistoryWalker() = default;
std::unique_ptr<HistoryWalker> HistoryWalker::Open(const std::string&, std::string& error) {
    error = kNoGit;
    return nullptr;
}
bool HistoryWalker::FirstParentCommits(const std::string&, std::vector<HistoryCommit>&, std::string& error, bool*) {
    error = kNoGit;
    return false;
}
std::map<BlobId, std::vector<std::string>> HistoryWalker::TagsByCommit() { return {}; }
bool HistoryWalker::CompareTrees(const BlobId*, const BlobId&, const RevisionReader::Wanted&, bool, const FileChange&,
                                 std::string& error) {
    error = kNoGit;
    return false;
}
std::string HistoryWalker::GitFolder() const { return {}; }

bool DiffHunks(std::string_view, std::string_view, std::vector<LineHunk>&, std::string& error) {
    error = kNoGit;
    return false;
}

}  // namespace kordel::vcs
