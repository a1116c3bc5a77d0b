// A kordelc built without libgit2 has no history to read: every call fails with the one message.
#include "vcs/history_git.h"

namespace kordel::cli {

struct HistoryRepository::State {};

HistoryRepository::HistoryRepository(std::unique_ptr<State> state) : m_state(std::move(state)) {}
HistoryRepository::~HistoryRepository() = default;

std::unique_ptr<HistoryRepository> HistoryRepository::Open(const std::string&, std::string& error) {
    error = LastGitError();
    return nullptr;
}

bool HistoryRepository::FirstParentCommits(const std::string&, std::vector<HistoryCommit>&, std::string& error,
                                           bool*) {
    error = LastGitError();
    return false;
}

std::map<BlobId, std::vector<std::string>> HistoryRepository::TagsByCommit() { return {}; }

bool HistoryRepository::CompareTrees(const BlobId*, const BlobId&, const Repository::Wanted&, bool, const FileChange&,
                                     std::string& error) {
    error = LastGitError();
    return false;
}

std::string HistoryRepository::GitFolder() const { return {}; }

std::string HexId(const BlobId& id) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char byte : id) hex += {kDigits[byte >> 4], kDigits[byte & 15]};
    return hex;
}

}  // namespace kordel::cli
