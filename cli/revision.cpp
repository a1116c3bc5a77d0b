// Reading a revision's tree and blobs with libgit2.
#include "cli/revision.h"

#include <algorithm>
#include <cstring>

#include <git2.h>

#include "cli/ignore_scope.h"

namespace kordel::cli {
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

BlobId IdOf(const git_oid* oid) {
    BlobId id;
    std::memcpy(id.data(), oid->id, id.size());
    return id;
}

struct Walker {
    git_repository* repo;
    const Repository::Wanted& wanted;
    bool ignoreFiles;
    std::vector<RevisionFile>& files;

    bool Walk(const git_tree* tree, const std::string& prefix, const IgnoreScope* scope) {
        IgnoreScope own{scope, prefix, IgnoreRules("")};
        if (ignoreFiles) {
            const git_tree_entry* ignore = git_tree_entry_byname(tree, ".ignore");
            git_blob* blob = nullptr;
            if (ignore && IsRegularBlob(git_tree_entry_filemode(ignore)) &&
                git_blob_lookup(&blob, repo, git_tree_entry_id(ignore)) == 0) {
                const auto size = static_cast<std::size_t>(git_blob_rawsize(blob));
                if (size <= kMaxIgnoreFile)
                    own.rules = IgnoreRules(std::string_view(static_cast<const char*>(git_blob_rawcontent(blob)), size));
                git_blob_free(blob);
            }
            if (!own.rules.empty()) scope = &own;
        }
        for (std::size_t i = 0, n = git_tree_entrycount(tree); i < n; ++i) {
            const git_tree_entry* entry = git_tree_entry_byindex(tree, i);
            const std::string relative = prefix + git_tree_entry_name(entry);
            const git_object_t type = git_tree_entry_type(entry);
            if (type == GIT_OBJECT_TREE) {
                if ((scope && scope->Ignores(relative, true)) || !wanted(relative, true)) continue;
                TreePtr subtree;
                if (git_tree_lookup(&subtree.p, repo, git_tree_entry_id(entry)) != 0) return false;
                if (!Walk(subtree.p, relative + "/", scope)) return false;
            } else if (type == GIT_OBJECT_BLOB && IsRegularBlob(git_tree_entry_filemode(entry)) &&
                       !(scope && scope->Ignores(relative, false)) && wanted(relative, false)) {
                files.push_back({relative, IdOf(git_tree_entry_id(entry))});
            }
        }
        return true;
    }
};

}  // namespace

std::string LastGitError() {
    const git_error* e = git_error_last();
    return e && e->message ? e->message : "unknown git error";
}

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

std::unique_ptr<Repository> Repository::Open(const std::filesystem::path& folder, std::string& error) {
    git_libgit2_init();
    git_repository* repo = nullptr;
    if (git_repository_open_ext(&repo, folder.string().c_str(), 0, nullptr) != 0) {
        // Built by appending: g++ 12 warns falsely (-Wrestrict) on a chain of + here.
        error = std::string(1, '"').append(folder.string()).append("\" is not in a git repository (");
        error.append(LastGitError()).append(")");
        git_libgit2_shutdown();
        return nullptr;
    }
    return std::unique_ptr<Repository>(new Repository(repo));
}

Repository::~Repository() {
    git_repository_free(m_repo);
    git_libgit2_shutdown();
}

bool Repository::ListFiles(const RevisionSpec& spec, const Wanted& wanted, bool ignoreFiles,
                           std::vector<RevisionFile>& files, std::string& error, bool* namedFile) const {
    const std::string name = "git:" + spec.rev + (spec.path.empty() ? "" : ":" + spec.path);
    ObjectPtr commitish;
    TreePtr tree;
    if (spec.rev.empty() || git_revparse_single(&commitish.p, m_repo, spec.rev.c_str()) != 0) {
        error = "\"" + name + "\": no revision \"" + spec.rev + "\" in this repository";
        return false;
    }
    if (git_object_peel(reinterpret_cast<git_object**>(&tree.p), commitish.p, GIT_OBJECT_TREE) != 0) {
        error = "\"" + name + "\": " + LastGitError();
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
            git_tree_lookup(&subtree.p, m_repo, git_tree_entry_id(entry.p)) != 0) {
            error = "\"" + name + "\" is neither a folder nor a file";
            return false;
        }
        root = subtree.p;
    }
    const std::size_t first = files.size();
    Walker walker{m_repo, wanted, ignoreFiles, files};
    if (!walker.Walk(root, "", nullptr)) {
        error = "\"" + name + "\": " + LastGitError();
        return false;
    }
    std::sort(files.begin() + static_cast<std::ptrdiff_t>(first), files.end(),
              [](const RevisionFile& a, const RevisionFile& b) { return a.relative < b.relative; });
    return true;
}

std::string Repository::GitFolder() const { return git_repository_path(m_repo); }

BlobBytes Repository::ReadBlob(const BlobId& id) const {
    git_oid oid;
    std::memcpy(oid.id, id.data(), id.size());
    git_blob* blob = nullptr;
    if (git_blob_lookup(&blob, m_repo, &oid) != 0) return BlobBytes();
    return BlobBytes(blob);
}

}  // namespace kordel::cli
