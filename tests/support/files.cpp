// Temporary folders and whole-file reads and writes for the tests: the helpers behind files.h.
#include "tests/support/files.h"

#include <atomic>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <system_error>

#include "platform/files.h"
#include "platform/system.h"

namespace fs = std::filesystem;

namespace test_support {

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool WriteBytes(const fs::path& path, std::string_view bytes) {
    std::error_code ec;
    if (path.has_parent_path()) fs::create_directories(path.parent_path(), ec);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

namespace {

// Gives the owner every right on `folder` and the folders below it, so that they can be removed.
// A link is never followed.
void MakeRemovable(const fs::path& folder) {
    std::error_code ec;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        if (it->symlink_status(ec).type() == fs::file_type::directory) MakeRemovable(it->path());
}

}  // namespace

TempDir::TempDir(std::string_view tag) {
    static std::atomic<unsigned> made{0};
    std::random_device random;
    const fs::path base = kordel::platform::PathFromText(kordel::platform::TempFolder());
    // create_directory fails when the name is taken, so the folder is surely a new one.
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path candidate = base / ("kordel-" + std::string(tag) + "-" +
                                           std::to_string(kordel::platform::ProcessId()) + "-" +
                                           std::to_string(made++) + "-" + std::to_string(random() % 1000000));
        std::error_code ec;
        if (fs::create_directory(candidate, ec)) {
            m_path = candidate;
            return;
        }
    }
    throw std::runtime_error("no temporary folder could be made in " + base.string());
}

TempDir::~TempDir() {
    std::error_code ec;
    // remove_all works relative to open folders, so a tree deeper than a path holds goes too; only
    // when something in it was made read-only are the rights given back first.
    if (fs::remove_all(m_path, ec) != static_cast<std::uintmax_t>(-1) && !ec) return;
    MakeRemovable(m_path);
    fs::remove_all(m_path, ec);
}

fs::path TempDir::Write(const fs::path& relative, std::string_view bytes) const {
    const fs::path path = m_path / relative;
    if (!WriteBytes(path, bytes)) throw std::runtime_error("could not write " + path.string());
    return path;
}

}  // namespace test_support
