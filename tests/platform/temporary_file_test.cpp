// The private temporary file: where it is made, who may read it, what stops it, and that it goes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include <sys/stat.h>

#include "platform/temporary_file.h"
#include "tests/support/files.h"

namespace fs = std::filesystem;
using kordel::platform::PrivateTemporaryFile;

namespace {

// TMPDIR pointed at a folder of the test's own while the object lives.
class TemporaryFolder {
public:
    explicit TemporaryFolder(const fs::path& folder) {
        if (const char* old = std::getenv("TMPDIR")) m_old = old;
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TemporaryFolder() {
        if (m_old) ::setenv("TMPDIR", m_old->c_str(), 1);
        else ::unsetenv("TMPDIR");
    }

private:
    std::optional<std::string> m_old;
};

TEST(PrivateTemporaryFile, HoldsTheBytesForItsOwnerAloneAndGoesWithTheObject) {
    test_support::TempDir temp{"private-temp"};
    const TemporaryFolder folder(temp.path());
    std::string path;
    {
        PrivateTemporaryFile file;
        std::string error;
        ASSERT_TRUE(file.Create("kordelc-stdin", error)) << error;
        path = file.path();
        EXPECT_EQ(fs::path(path).parent_path(), temp.path());
        EXPECT_TRUE(fs::path(path).filename().string().starts_with("kordelc-stdin"));
        ASSERT_TRUE(file.Write("int main() {}\n"));
        ASSERT_TRUE(file.Write(std::string(100000, 'x')));
        ASSERT_TRUE(file.Close());
        struct stat st {};
        ASSERT_EQ(::lstat(path.c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        EXPECT_EQ(test_support::ReadBytes(path), "int main() {}\n" + std::string(100000, 'x'));
        // A second file never lands on the first one's name.
        PrivateTemporaryFile other;
        ASSERT_TRUE(other.Create("kordelc-stdin", error)) << error;
        EXPECT_NE(other.path(), path);
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_TRUE(fs::is_empty(temp.path()));
}

TEST(PrivateTemporaryFile, AFolderThatCannotBeWrittenFailsWithTheSystemsReason) {
    test_support::TempDir temp{"private-temp"};
    const TemporaryFolder folder(temp.path() / "missing");
    PrivateTemporaryFile file;
    std::string error;
    EXPECT_FALSE(file.Create("kordelc-stdin", error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    EXPECT_TRUE(file.path().empty());
}

}  // namespace
