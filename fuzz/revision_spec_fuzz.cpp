// Revision names: "git:REV[:PATH]" as kordelc splits it, and REV as libgit2 resolves it in a small
// repository. Any name ends without a sanitizer report; the split gives back the argument.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <git2.h>

#include "vcs/revision.h"
#include "fuzz_support.h"

namespace {

// A repository with two commits on "main" and a tag, made once per process.
git_repository* ScratchRepository() {
    static git_repository* repo = [] {
        git_libgit2_init();
        git_repository* made = nullptr;
        const std::filesystem::path folder = ScratchFile("a.c", "int a;\n").parent_path();
        FUZZ_CHECK(git_repository_init(&made, folder.c_str(), 0) == 0);
        git_signature* who = nullptr;
        FUZZ_CHECK(git_signature_new(&who, "Fuzz", "fuzz@example.invalid", 1700000000, 0) == 0);
        git_oid parentId{};
        for (int i = 0; i < 2; ++i) {
            ScratchFile("a.c", i == 0 ? "int a;\n" : "int b;\n");
            git_index* index = nullptr;
            FUZZ_CHECK(git_repository_index(&index, made) == 0);
            FUZZ_CHECK(git_index_add_bypath(index, "a.c") == 0);
            git_oid treeId, commitId;
            FUZZ_CHECK(git_index_write_tree(&treeId, index) == 0);
            git_index_free(index);
            git_tree* tree = nullptr;
            FUZZ_CHECK(git_tree_lookup(&tree, made, &treeId) == 0);
            git_commit* parent = nullptr;
            if (i > 0) FUZZ_CHECK(git_commit_lookup(&parent, made, &parentId) == 0);
            const git_commit* parents[] = {parent};
            FUZZ_CHECK(git_commit_create(&commitId, made, "HEAD", who, who, nullptr, "c", tree, i, parents) == 0);
            git_commit_free(parent);
            git_tree_free(tree);
            parentId = commitId;
        }
        git_object* head = nullptr;
        FUZZ_CHECK(git_revparse_single(&head, made, "HEAD") == 0);
        git_oid tagId;
        FUZZ_CHECK(git_tag_create_lightweight(&tagId, made, "v1", head, 0) == 0);
        git_object_free(head);
        git_signature_free(who);
        return made;
    }();
    return repo;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view arg(reinterpret_cast<const char*>(data), size);
    const std::optional<kordel::vcs::RevisionSpec> spec = kordel::vcs::ParseRevisionSpec(arg);
    FUZZ_CHECK(spec.has_value() == arg.starts_with("git:"));
    if (!spec) return 0;
    FUZZ_CHECK(spec->rev.find(':') == std::string::npos);
    FUZZ_CHECK(spec->path.empty() || spec->path.back() != '/');
    // The parts put together again give the argument, less the slashes that ended it.
    std::string again = "git:" + spec->rev;
    if (arg.size() > again.size()) again += ":" + spec->path;
    std::string_view trimmed = arg;
    while (trimmed.size() > again.size() && trimmed.back() == '/') trimmed.remove_suffix(1);
    FUZZ_CHECK(trimmed == again);
    if (spec->rev.find('\0') != std::string::npos) return 0;  // a C string ends there
    git_object* object = nullptr;
    if (git_revparse_single(&object, ScratchRepository(), spec->rev.c_str()) == 0) git_object_free(object);
    return 0;
}
