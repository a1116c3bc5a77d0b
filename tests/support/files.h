// Temporary folders and whole-file reads and writes for the tests.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace test_support {

/// All bytes of the file at `path`; empty when it is missing or cannot be read.
std::string ReadBytes(const std::filesystem::path& path);

/// Writes `bytes` to `path` as they are (no line-end conversion), making its folders; false on failure.
bool WriteBytes(const std::filesystem::path& path, std::string_view bytes);

/// A new, empty folder under the system's temporary folder that no other test or process uses,
/// removed with everything in it (read-only folders included) when the object goes.
class TempDir {
public:
    /// `tag` goes into the folder's name, to tell the folders of the tests apart.
    explicit TempDir(std::string_view tag = "test");
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    ~TempDir();

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path& relative) const { return m_path / relative; }

    /// Writes `bytes` to the file `relative` below the folder, making its folders; its full path.
    std::filesystem::path Write(const std::filesystem::path& relative, std::string_view bytes) const;

private:
    std::filesystem::path m_path;
};

}  // namespace test_support
