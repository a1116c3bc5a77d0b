// Reading a revision's tree and blobs with libgit2.
#include "vcs/revision.h"

#include <algorithm>
#include <cstring>

#include <git2.h>

#include "vcs/git_files.h"
#include "vcs/git_repository.h"
#include "vcs/ignore_rules.h"
#include "vcs/loose_object.h"
#include "platform/files.h"
#include "vcs/ignore_scope.h"

namespace kordel::vcs {
namespace {

template <class T, void (*Free)(T*)>
struct GitPtr {
    T* p = nullptr;
    GitPtr() = default;
    GitPtr(const GitPtr&) = delete;
    GitPtr& operator=(const GitPtr&) = delete;
    ~GitPtr() {
        if (p) Free(p);
    }
};

using ObjectPtr = GitPtr<git_object, git_object_free>;
using TreePtr = GitPtr<git_tree, git_tree_free>;
using EntryPtr = GitPtr<git_tree_entry, git_tree_entry_free>;

bool IsRegularBlob(git_filemode_t mode) { return mode == GIT_FILEMODE_BLOB || mode == GIT_FILEMODE_BLOB_EXECUTABLE; }

std::string DamagedMessage(const std::string& hex) {
    return "the git object " + hex + " is damaged: its data ends early or cannot be inflated";
}

// The message for a loose object that libgit2 must not read; nothing when it may.
std::optional<std::string> DamagedObject(git_repository* repo, const git_oid* oid) {
    char hex[GIT_OID_HEXSZ + 1];
    git_oid_tostr(hex, sizeof hex, oid);
    const std::filesystem::path objects = std::filesystem::path(git_repository_path(repo)) / "objects";
    if (CheckLooseObject(objects, hex) != LooseObject::Damaged) return std::nullopt;
    return DamagedMessage(hex);
}

BlobId IdOf(const git_oid* oid) {
    BlobId id;
    std::memcpy(id.data(), oid->id, id.size());
    return id;
}

// A tree held while the walk is below it; the walk's root belongs to the caller.
using TreeHandle = std::unique_ptr<git_tree, void (*)(git_tree*)>;

void KeepTree(git_tree*) {}

// Walks a tree depth first without recursion: one path buffer that grows and shrinks, one level per
// folder below the root, so memory grows with the depth, not with its square.
struct Walker {
    git_repository* repo;
    const RevisionReader::Wanted& wanted;
    bool ignoreFiles;
    std::vector<RevisionFile>& files;

    // A folder's .ignore rules; they apply to paths below the first `folderSize` bytes of the path.
    struct Scope {
        std::size_t folderSize;
        IgnoreRules rules;
    };
    struct Level {
        TreeHandle tree;
        std::size_t next;      // the next entry to look at
        std::size_t pathSize;  // the folder's path, "" or ending in "/"
        bool hasScope;
    };
    std::vector<Scope> scopes;
    std::vector<Level> levels;
    std::string path;
    std::string error;  // set when a tree is damaged

    // Whether the .ignore rules in force leave `path` out: the deepest rule that matches decides.
    bool Ignored(bool isFolder) const {
        for (auto it = scopes.rbegin(); it != scopes.rend(); ++it) {
            const IgnoreRules::Verdict v = it->rules.Match(std::string_view(path).substr(it->folderSize), isFolder);
            if (v != IgnoreRules::Verdict::None) return v == IgnoreRules::Verdict::Ignore;
        }
        return false;
    }

    void Enter(TreeHandle tree);

    bool Walk(const git_tree* root);
};

bool Walker::Walk(const git_tree* root) {
    Enter(TreeHandle(const_cast<git_tree*>(root), KeepTree));
    while (!levels.empty()) {
        Level& level = levels.back();
        if (level.next == git_tree_entrycount(level.tree.get())) {
            if (level.hasScope) scopes.pop_back();
            levels.pop_back();
            continue;
        }
        const git_tree_entry* entry = git_tree_entry_byindex(level.tree.get(), level.next++);
        path.resize(level.pathSize);
        path += git_tree_entry_name(entry);
        const git_object_t type = git_tree_entry_type(entry);
        if (type == GIT_OBJECT_TREE) {
            if (Ignored(true) || !wanted(path, true)) continue;
            if (std::optional<std::string> damaged = DamagedObject(repo, git_tree_entry_id(entry))) {
                error = std::move(*damaged);
                return false;
            }
            git_tree* subtree = nullptr;
            if (git_tree_lookup(&subtree, repo, git_tree_entry_id(entry)) != 0) return false;
            path += '/';
            Enter(TreeHandle(subtree, git_tree_free));
        } else if (type == GIT_OBJECT_BLOB && IsRegularBlob(git_tree_entry_filemode(entry)) && !Ignored(false) &&
                   wanted(path, false)) {
            files.push_back({path, IdOf(git_tree_entry_id(entry))});
        }
    }
    return true;
}

void Walker::Enter(TreeHandle tree) {
    bool hasScope = false;
    if (ignoreFiles) {
        const git_tree_entry* ignore = git_tree_entry_byname(tree.get(), ".ignore");
        git_blob* blob = nullptr;
        if (ignore && IsRegularBlob(git_tree_entry_filemode(ignore)) &&
            git_blob_lookup(&blob, repo, git_tree_entry_id(ignore)) == 0) {
            const auto size = static_cast<std::size_t>(git_blob_rawsize(blob));
            IgnoreRules rules("");
            if (size <= kMaxIgnoreFile)
                rules = IgnoreRules(std::string_view(static_cast<const char*>(git_blob_rawcontent(blob)), size));
            git_blob_free(blob);
            if (!rules.empty()) {
                scopes.push_back({path.size(), std::move(rules)});
                hasScope = true;
            }
        }
    }
    levels.push_back({std::move(tree), 0, path.size(), hasScope});
}

}  // namespace

BlobBytes::BlobBytes(git_blob* blob) : m_blob(blob) {}

BlobBytes& BlobBytes::operator=(BlobBytes&& other) noexcept {
    if (this != &other) {
        if (m_blob) git_blob_free(m_blob);
        m_blob = std::exchange(other.m_blob, nullptr);
    }
    return *this;
}

BlobBytes::~BlobBytes() {
    if (m_blob) git_blob_free(m_blob);
}

std::string_view BlobBytes::view() const {
    if (!m_blob) return {};
    return {static_cast<const char*>(git_blob_rawcontent(m_blob)), static_cast<std::size_t>(git_blob_rawsize(m_blob))};
}

RevisionReader::RevisionReader(std::unique_ptr<GitRepository> repo) : m_repo(std::move(repo)) {}
RevisionReader::~RevisionReader() = default;

std::unique_ptr<RevisionReader> RevisionReader::Open(const std::filesystem::path& folder, std::string& error) {
    // libgit2 opens these with a blocking open: a FIFO in place of one would hang the run.
    if (const std::optional<std::string> bad = BlockingGitFile(folder)) {
        error = NotARegularGitFileMessage(*bad);
        return nullptr;
    }
    int status = 0;
    std::string reason;
    std::unique_ptr<GitRepository> repo = GitRepository::Open(platform::PathText(folder), nullptr, status, reason);
    if (!repo) {
        // Built by appending: g++ 12 warns falsely (-Wrestrict) on a chain of + here.
        error = std::string(1, '"').append(platform::PathText(folder)).append("\" is not in a git repository (");
        error.append(reason).append(")");
        return nullptr;
    }
    return std::unique_ptr<RevisionReader>(new RevisionReader(std::move(repo)));
}

bool RevisionReader::ListFiles(const RevisionSpec& spec, const Wanted& wanted, bool ignoreFiles,
                           std::vector<RevisionFile>& files, std::string& error, bool* namedFile) const {
    const std::string name = "git:" + spec.rev + (spec.path.empty() ? "" : ":" + spec.path);
    ObjectPtr commitish;
    TreePtr tree;
    if (spec.rev.empty() || git_revparse_single(&commitish.p, m_repo->get(), spec.rev.c_str()) != 0) {
        error = "\"" + name + "\": no revision \"" + spec.rev + "\" in this repository";
        return false;
    }
    if (git_object_type(commitish.p) == GIT_OBJECT_COMMIT) {
        const git_oid* treeId = git_commit_tree_id(reinterpret_cast<const git_commit*>(commitish.p));
        if (std::optional<std::string> damaged = DamagedObject(m_repo->get(), treeId)) {
            error = "\"" + name + "\": " + *damaged;
            return false;
        }
    }
    if (git_object_peel(reinterpret_cast<git_object**>(&tree.p), commitish.p, GIT_OBJECT_TREE) != 0) {
        error = "\"" + name + "\": " + GitErrorText();
        return false;
    }
    const git_tree* root = tree.p;
    TreePtr subtree;
    if (!spec.path.empty()) {
        EntryPtr entry;
        if (git_tree_entry_bypath(&entry.p, tree.p, spec.path.c_str()) != 0) {
            error = "\"" + name + "\": no \"" + spec.path + "\" in revision " + spec.rev;
            return false;
        }
        if (git_tree_entry_type(entry.p) == GIT_OBJECT_BLOB) {
            if (!IsRegularBlob(git_tree_entry_filemode(entry.p))) {
                error = "\"" + name + "\" is not a regular file";
                return false;
            }
            files.push_back({git_tree_entry_name(entry.p), IdOf(git_tree_entry_id(entry.p))});
            if (namedFile) *namedFile = true;
            return true;
        }
        if (git_tree_entry_type(entry.p) != GIT_OBJECT_TREE ||
            git_tree_lookup(&subtree.p, m_repo->get(), git_tree_entry_id(entry.p)) != 0) {
            error = "\"" + name + "\" is neither a folder nor a file";
            return false;
        }
        root = subtree.p;
    }
    const std::size_t first = files.size();
    Walker walker{m_repo->get(), wanted, ignoreFiles, files, {}, {}, {}, {}};
    if (!walker.Walk(root)) {
        error = "\"" + name + "\": " + (walker.error.empty() ? GitErrorText() : walker.error);
        return false;
    }
    std::sort(files.begin() + static_cast<std::ptrdiff_t>(first), files.end(),
              [](const RevisionFile& a, const RevisionFile& b) { return a.relative < b.relative; });
    return true;
}

std::string RevisionReader::GitFolder() const { return m_repo->GitFolder(); }

std::optional<std::uint64_t> RevisionReader::BlobSize(const BlobId& id) const {
    git_oid oid;
    std::memcpy(oid.id, id.data(), id.size());
    git_odb* odb = nullptr;
    if (git_repository_odb(&odb, m_repo->get()) != 0) return std::nullopt;
    std::size_t size = 0;
    git_object_t type = GIT_OBJECT_INVALID;
    const bool known = git_odb_read_header(&size, &type, odb, &oid) == 0;
    git_odb_free(odb);
    if (!known) return std::nullopt;
    return size;
}

BlobBytes RevisionReader::ReadBlob(const BlobId& id) const {
    git_oid oid;
    std::memcpy(oid.id, id.data(), id.size());
    git_blob* blob = nullptr;
    if (git_blob_lookup(&blob, m_repo->get(), &oid) != 0) return BlobBytes();
    return BlobBytes(blob);
}

BlobStream::BlobStream() = default;
BlobStream::~BlobStream() = default;

bool BlobStream::Open(const RevisionReader& repository, const BlobId& id, engine::TextModeReader& reader) {
    git_oid oid;
    std::memcpy(oid.id, id.data(), id.size());
    char hex[GIT_OID_HEXSZ + 1];
    m_hex = git_oid_tostr(hex, sizeof hex, &oid);
    auto loose = std::make_unique<LooseObjectReader>();
    switch (loose->Open(std::filesystem::path(repository.GitFolder()) / "objects", m_hex)) {
        case LooseObject::Intact:
            reader.OpenSource(*loose);
            m_loose = std::move(loose);
            return true;
        case LooseObject::Damaged: m_openedDamaged = true; return false;
        case LooseObject::NotLoose: break;
    }
    m_whole = repository.ReadBlob(id);
    if (!m_whole.ok()) return false;
    reader.OpenMemory(m_whole.view());
    return true;
}

std::optional<std::uint64_t> BlobStream::Size() const {
    if (m_loose) return static_cast<const LooseObjectReader&>(*m_loose).Size();
    if (m_whole.ok()) return m_whole.view().size();
    return std::nullopt;
}

std::optional<std::string> BlobStream::Damaged() const {
    if (m_openedDamaged || (m_loose && static_cast<const LooseObjectReader&>(*m_loose).Damaged()))
        return DamagedMessage(m_hex);
    return std::nullopt;
}

}  // namespace kordel::vcs
