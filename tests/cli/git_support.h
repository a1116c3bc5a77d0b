// Test support: small git repositories made with libgit2 in a temporary folder, no git program needed.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include <git2.h>
#include <gtest/gtest.h>

namespace kordel::cli::test {

/// A repository whose work tree is `folder`; Commit() records the work tree as it is.
class TestRepository {
public:
    explicit TestRepository(const std::filesystem::path& folder) {
        git_libgit2_init();
        EXPECT_EQ(git_repository_init(&m_repo, folder.string().c_str(), 0), 0);
    }
    ~TestRepository() {
        git_repository_free(m_repo);
        git_libgit2_shutdown();
    }
    TestRepository(const TestRepository&) = delete;
    TestRepository& operator=(const TestRepository&) = delete;

    /// Commits every file of the work tree (files deleted since the last commit are removed), at
    /// `time` (seconds since 1970, UTC).
    void Commit(const std::string& message, std::int64_t time = 1700000000) {
        git_index* index = nullptr;
        ASSERT_EQ(git_repository_index(&index, m_repo), 0);
        git_strarray all{nullptr, 0};
        ASSERT_EQ(git_index_add_all(index, &all, GIT_INDEX_ADD_FORCE, nullptr, nullptr), 0);
        ASSERT_EQ(git_index_update_all(index, &all, nullptr, nullptr), 0);
        ASSERT_EQ(git_index_write(index), 0);
        git_oid treeId, commitId;
        ASSERT_EQ(git_index_write_tree(&treeId, index), 0);
        git_index_free(index);
        git_tree* tree = nullptr;
        ASSERT_EQ(git_tree_lookup(&tree, m_repo, &treeId), 0);
        git_signature* who = nullptr;
        ASSERT_EQ(git_signature_new(&who, "Test", "test@example.invalid", time, 0), 0);
        git_commit* parent = nullptr;
        git_oid head;
        const bool hasParent = git_reference_name_to_id(&head, m_repo, "HEAD") == 0;
        if (hasParent) {
            ASSERT_EQ(git_commit_lookup(&parent, m_repo, &head), 0);
        }
        const git_commit* parents[] = {parent};
        ASSERT_EQ(git_commit_create(&commitId, m_repo, "HEAD", who, who, nullptr, message.c_str(), tree,
                                    hasParent ? 1 : 0, parents),
                  0);
        git_commit_free(parent);
        git_signature_free(who);
        git_tree_free(tree);
    }

    /// Tags HEAD as `name`, with a tag object when `annotated`.
    void Tag(const std::string& name, bool annotated) {
        git_object* head = nullptr;
        ASSERT_EQ(git_revparse_single(&head, m_repo, "HEAD"), 0);
        git_oid id;
        if (annotated) {
            git_signature* who = nullptr;
            ASSERT_EQ(git_signature_new(&who, "Test", "test@example.invalid", 1700000000, 0), 0);
            EXPECT_EQ(git_tag_create(&id, m_repo, name.c_str(), head, who, "release", 0), 0);
            git_signature_free(who);
        } else {
            EXPECT_EQ(git_tag_create_lightweight(&id, m_repo, name.c_str(), head, 0), 0);
        }
        git_object_free(head);
    }

private:
    git_repository* m_repo = nullptr;
};

/// Makes `folder` the current folder for the life of the object.
class InFolder {
public:
    explicit InFolder(const std::filesystem::path& folder) : m_previous(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~InFolder() { std::filesystem::current_path(m_previous); }

private:
    std::filesystem::path m_previous;
};

}  // namespace kordel::cli::test
