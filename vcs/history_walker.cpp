// libgit2 for kordelc --history: a first-parent revision walk, tags, and a tree comparison that enters
// only the subtrees whose ids differ.
#include "vcs/history_walker.h"

#include <cstring>
#include <filesystem>
#include <set>
#include <vector>

#include <git2.h>

#include "vcs/git_repository.h"
#include "vcs/ignore_scope.h"
#include "vcs/loose_object.h"

namespace kordel::vcs {
namespace {

BlobId IdOf(const git_oid* oid) {
    BlobId id;
    std::memcpy(id.data(), oid->id, id.size());
    return id;
}

git_oid OidOf(const BlobId& id) {
    git_oid oid;
    std::memcpy(oid.id, id.data(), id.size());
    return oid;
}

bool IsRegularBlob(git_filemode_t mode) { return mode == GIT_FILEMODE_BLOB || mode == GIT_FILEMODE_BLOB_EXECUTABLE; }

// The id of a folder's regular .ignore file, or nothing.
std::optional<BlobId> IgnoreFileOf(const git_tree* tree) {
    const git_tree_entry* entry = git_tree_entry_byname(tree, ".ignore");
    if (!entry || !IsRegularBlob(git_tree_entry_filemode(entry))) return std::nullopt;
    return IdOf(git_tree_entry_id(entry));
}

}  // namespace

struct HistoryWalker::State {
    std::unique_ptr<GitRepository> repository;
    git_repository* repo = nullptr;  // repository's handle
    std::string damaged;  // the message for a damaged object met, which ends the comparison
    std::map<BlobId, IgnoreRules> ignoreRules;  // each .ignore blob read once
    // The trees of the comparison under way, and those of the one before: the new side of one
    // comparison is the old side of the next, so each tree along a changed path is read once.
    std::map<BlobId, git_tree*> current, previous;

    ~State() {
        EndComparison();
        EndComparison();
    }

    const git_tree* Tree(const git_oid* id) {
        const BlobId key = IdOf(id);
        if (const auto it = current.find(key); it != current.end()) return it->second;
        git_tree* tree = nullptr;
        if (const auto it = previous.find(key); it != previous.end()) {
            tree = it->second;
            previous.erase(it);
        } else if (IsDamaged(id) || git_tree_lookup(&tree, repo, id) != 0) {
            return nullptr;
        }
        current.emplace(key, tree);
        return tree;
    }

    // libgit2 1.5.1 inflates a truncated loose object for ever: such an object is checked first and
    // never handed to it.
    bool IsDamaged(const git_oid* id) {
        char hex[GIT_OID_HEXSZ + 1];
        git_oid_tostr(hex, sizeof hex, id);
        if (CheckLooseObject(std::filesystem::path(git_repository_path(repo)) / "objects", hex) != LooseObject::Damaged)
            return false;
        damaged = std::string("the git object ") + hex + " is damaged: its data ends early or cannot be inflated";
        return true;
    }

    void EndComparison() {
        for (auto& [id, tree] : previous) git_tree_free(tree);
        previous.clear();
        previous.swap(current);
    }

    const IgnoreRules& RulesOf(const BlobId& id) {
        auto it = ignoreRules.find(id);
        if (it != ignoreRules.end()) return it->second;
        IgnoreRules rules("");
        git_blob* blob = nullptr;
        const git_oid oid = OidOf(id);
        if (!IsDamaged(&oid) && git_blob_lookup(&blob, repo, &oid) == 0) {
            const auto size = static_cast<std::size_t>(git_blob_rawsize(blob));
            if (size <= kMaxIgnoreFile)
                rules = IgnoreRules(std::string_view(static_cast<const char*>(git_blob_rawcontent(blob)), size));
            git_blob_free(blob);
        }
        return ignoreRules.emplace(id, std::move(rules)).first->second;
    }
};

namespace {

// Compares two trees entry by entry, in git's order of entries, as revision.cpp's walker lists them.
struct TreeComparer {
    HistoryWalker::State& state;
    const RevisionReader::Wanted& wanted;
    bool ignoreFiles;
    const FileChange& onChange;
    bool failed = false;

    // The rules in force inside `tree`: the parent's, and the tree's own .ignore when it has rules.
    const IgnoreScope* ScopeOf(const git_tree* tree, const std::string& prefix, const IgnoreScope* parent,
                               IgnoreScope& own);

    bool Takes(const IgnoreScope* scope, const std::string& relative, bool isFolder) const {
        return !(scope && scope->Ignores(relative, isFolder)) && wanted(relative, isFolder);
    }

    const git_tree* Lookup(const git_oid* id) {
        const git_tree* tree = state.Tree(id);
        failed = failed || !tree || !state.damaged.empty();
        return failed ? nullptr : tree;
    }

    // One side's entry leaves (-1) or enters (+1) with everything below it.
    void Entry(const git_tree_entry* entry, const std::string& prefix, const IgnoreScope* scope, int sign) {
        const std::string relative = prefix + git_tree_entry_name(entry);
        const git_object_t type = git_tree_entry_type(entry);
        if (type == GIT_OBJECT_TREE) {
            if (!Takes(scope, relative, true)) return;
            if (const git_tree* subtree = Lookup(git_tree_entry_id(entry))) Whole(subtree, relative + "/", scope, sign);
        } else if (type == GIT_OBJECT_BLOB && IsRegularBlob(git_tree_entry_filemode(entry)) &&
                   Takes(scope, relative, false)) {
            onChange(relative, IdOf(git_tree_entry_id(entry)), sign);
        }
    }

    void Whole(const git_tree* tree, const std::string& prefix, const IgnoreScope* parent, int sign) {
        IgnoreScope own{nullptr, {}, IgnoreRules("")};
        const IgnoreScope* scope = ScopeOf(tree, prefix, parent, own);
        for (std::size_t i = 0, n = git_tree_entrycount(tree); i < n && !failed; ++i)
            Entry(git_tree_entry_byindex(tree, i), prefix, scope, sign);
    }

    // Two versions of one folder whose ids differ.
    void Changed(const git_tree* from, const git_tree* to, const std::string& prefix, const IgnoreScope* parent);
};

void TreeComparer::Changed(const git_tree* from, const git_tree* to, const std::string& prefix, const IgnoreScope* parent) {
    // New .ignore rules can take or leave any file below: the folder is taken again as a whole.
    if (ignoreFiles && IgnoreFileOf(from) != IgnoreFileOf(to)) {
        Whole(from, prefix, parent, -1);
        Whole(to, prefix, parent, +1);
        return;
    }
    IgnoreScope own{nullptr, {}, IgnoreRules("")};
    const IgnoreScope* scope = ScopeOf(to, prefix, parent, own);
    const std::size_t fromCount = git_tree_entrycount(from), toCount = git_tree_entrycount(to);
    std::size_t i = 0, j = 0;
    while ((i < fromCount || j < toCount) && !failed) {
        const git_tree_entry* a = i < fromCount ? git_tree_entry_byindex(from, i) : nullptr;
        const git_tree_entry* b = j < toCount ? git_tree_entry_byindex(to, j) : nullptr;
        const int order = !a ? 1 : !b ? -1 : git_tree_entry_cmp(a, b);
        if (order < 0) {
            Entry(a, prefix, scope, -1);
            ++i;
            continue;
        }
        if (order > 0) {
            Entry(b, prefix, scope, +1);
            ++j;
            continue;
        }
        ++i, ++j;
        if (git_tree_entry_filemode(a) == git_tree_entry_filemode(b) &&
            git_oid_equal(git_tree_entry_id(a), git_tree_entry_id(b)))
            continue;
        if (git_tree_entry_type(a) == GIT_OBJECT_TREE && git_tree_entry_type(b) == GIT_OBJECT_TREE) {
            const std::string relative = prefix + git_tree_entry_name(b);
            if (!Takes(scope, relative, true)) continue;
            const git_tree* x = Lookup(git_tree_entry_id(a));
            const git_tree* y = x ? Lookup(git_tree_entry_id(b)) : nullptr;
            if (y) Changed(x, y, relative + "/", scope);
            continue;
        }
        Entry(a, prefix, scope, -1);
        Entry(b, prefix, scope, +1);
    }
}

const IgnoreScope* TreeComparer::ScopeOf(const git_tree* tree, const std::string& prefix, const IgnoreScope* parent,
                                     IgnoreScope& own) {
    if (!ignoreFiles) return parent;
    const std::optional<BlobId> ignore = IgnoreFileOf(tree);
    if (!ignore) return parent;
    own = IgnoreScope{parent, prefix, state.RulesOf(*ignore)};
    return own.rules.empty() ? parent : &own;
}

std::string RevisionError(const std::string& revision) {
    return "no revision \"" + revision + "\" in this repository (" + GitErrorText() + ")";
}

bool PeeledCommit(git_object* object, git_oid& id) {
    git_object* commit = nullptr;
    if (!object || git_object_peel(&commit, object, GIT_OBJECT_COMMIT) != 0) return false;
    id = *git_object_id(commit);
    git_object_free(commit);
    return true;
}

// Whether `id` names a commit the repository does not hold because it is a shallow clone: the
// parents of its oldest fetched commits are named but absent.
bool AbsentInShallowClone(git_repository* repo, const git_oid& id) {
    if (git_repository_is_shallow(repo) != 1) return false;
    git_odb* odb = nullptr;
    if (git_repository_odb(&odb, repo) != 0) return false;
    const bool absent = git_odb_exists(odb, &id) == 0;
    git_odb_free(odb);
    return absent;
}

// Every commit reachable from `from` (the A of A..B), which the history leaves out.
bool HideReachable(git_repository* repo, git_object* from, std::set<BlobId>& hidden) {
    git_oid start{};
    if (!PeeledCommit(from, start)) return false;
    std::vector<git_oid> toVisit{start};
    while (!toVisit.empty()) {
        const git_oid id = toVisit.back();
        toVisit.pop_back();
        if (!hidden.insert(IdOf(&id)).second) continue;
        git_commit* commit = nullptr;
        if (git_commit_lookup(&commit, repo, &id) != 0) {
            if (AbsentInShallowClone(repo, id)) continue;
            return false;
        }
        for (unsigned i = 0; i < git_commit_parentcount(commit); ++i) toVisit.push_back(*git_commit_parent_id(commit, i));
        git_commit_free(commit);
    }
    return true;
}

// The first-parent chain from `tip` down to the root commit or the first hidden commit, oldest first.
// In a shallow clone the chain ends at the oldest commit fetched, and `cutShort` says so.
bool WalkFirstParents(git_repository* repo, git_oid id, const std::set<BlobId>& hidden,
                      std::vector<HistoryCommit>& commits, bool* cutShort) {
    std::vector<HistoryCommit> newestFirst;
    for (;;) {
        if (hidden.contains(IdOf(&id))) break;
        git_commit* commit = nullptr;
        if (git_commit_lookup(&commit, repo, &id) != 0) {
            if (newestFirst.empty() || !AbsentInShallowClone(repo, id)) return false;
            if (cutShort) *cutShort = true;
            break;
        }
        newestFirst.push_back({IdOf(&id), IdOf(git_commit_tree_id(commit)), git_commit_time(commit)});
        const bool hasParent = git_commit_parentcount(commit) > 0;
        if (hasParent) id = *git_commit_parent_id(commit, 0);
        git_commit_free(commit);
        if (!hasParent) break;
    }
    commits.assign(newestFirst.rbegin(), newestFirst.rend());
    return true;
}

}  // namespace

HistoryWalker::HistoryWalker(std::unique_ptr<State> state) : m_state(std::move(state)) {}
HistoryWalker::~HistoryWalker() = default;

std::unique_ptr<HistoryWalker> HistoryWalker::Open(const std::string& folder, std::string& error) {
    auto state = std::make_unique<State>();
    int status = 0;
    std::string reason;
    state->repository = GitRepository::Open(folder, nullptr, status, reason);
    if (!state->repository) {
        error = "\"" + folder + "\" is not in a git repository (" + reason + ")";
        return nullptr;
    }
    state->repo = state->repository->get();
    return std::unique_ptr<HistoryWalker>(new HistoryWalker(std::move(state)));
}

bool HistoryWalker::FirstParentCommits(const std::string& revision, std::vector<HistoryCommit>& commits,
                                           std::string& error, bool* cutShort) {
    git_repository* repo = m_state->repo;
    git_revspec spec{};
    if (git_revparse(&spec, repo, revision.c_str()) != 0) {
        error = RevisionError(revision);
        return false;
    }
    const auto release = [&] {
        git_object_free(spec.from);
        git_object_free(spec.to);
    };
    if (spec.flags & GIT_REVSPEC_MERGE_BASE) {
        release();
        error = "\"" + revision + "\": a history takes REV or A..B, not A...B";
        return false;
    }
    const bool range = spec.flags & GIT_REVSPEC_RANGE;
    git_oid tip{};
    std::set<BlobId> hidden;
    bool ok = PeeledCommit(range ? spec.to : spec.from, tip) &&
              (!range || !spec.from || HideReachable(repo, spec.from, hidden));
    release();
    if (ok) ok = WalkFirstParents(repo, tip, hidden, commits, cutShort);
    if (!ok) error = "\"" + revision + "\": " + GitErrorText();
    return ok;
}

std::map<BlobId, std::vector<std::string>> HistoryWalker::TagsByCommit() {
    struct Context {
        git_repository* repo;
        std::map<BlobId, std::vector<std::string>> tags;
    } context{m_state->repo, {}};
    git_tag_foreach(
        m_state->repo,
        [](const char* name, git_oid* oid, void* payload) {
            auto& c = *static_cast<Context*>(payload);
            git_object* object = nullptr;
            git_object* commit = nullptr;
            if (git_object_lookup(&object, c.repo, oid, GIT_OBJECT_ANY) == 0 &&
                git_object_peel(&commit, object, GIT_OBJECT_COMMIT) == 0) {
                std::string_view shown(name);
                if (shown.starts_with("refs/tags/")) shown.remove_prefix(10);
                c.tags[IdOf(git_object_id(commit))].emplace_back(shown);
            }
            git_object_free(commit);
            git_object_free(object);
            return 0;
        },
        &context);
    return std::move(context.tags);
}

bool HistoryWalker::CompareTrees(const BlobId* from, const BlobId& to, const RevisionReader::Wanted& wanted,
                                     bool ignoreFiles, const FileChange& onChange, std::string& error) {
    if (from && *from == to) return true;
    TreeComparer comparer{*m_state, wanted, ignoreFiles, onChange};
    const git_oid toId = OidOf(to);
    if (const git_tree* newTree = comparer.Lookup(&toId)) {
        if (!from) {
            comparer.Whole(newTree, "", nullptr, +1);
        } else {
            const git_oid fromId = OidOf(*from);
            if (const git_tree* oldTree = comparer.Lookup(&fromId)) comparer.Changed(oldTree, newTree, "", nullptr);
        }
    }
    m_state->EndComparison();
    comparer.failed = comparer.failed || !m_state->damaged.empty();  // a damaged .ignore blob too
    if (comparer.failed)
        error = m_state->damaged.empty() ? "a tree of the history cannot be read: " + GitErrorText() : m_state->damaged;
    return !comparer.failed;
}

std::string HistoryWalker::GitFolder() const { return m_state->repository->GitFolder(); }

}  // namespace kordel::vcs
