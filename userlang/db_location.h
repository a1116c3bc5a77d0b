// Where udlangdb.ini lives: beside the program, or in the user's data folder.
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace kordel::userlang {

inline constexpr const char* kDbFileName = "udlangdb.ini";

/// What the location depends on; tests fill it in, DefaultDbEnvironment() takes it from the process.
struct DbEnvironment {
    std::filesystem::path programFolder;
    std::optional<std::string> xdgDataHome;  ///< $XDG_DATA_HOME
    std::optional<std::string> home;         ///< $HOME
    std::function<bool(const std::filesystem::path&)> isWritableFolder;
};

/// The running program's folder and environment, with the real writability test.
DbEnvironment DefaultDbEnvironment();

/// udlangdb.ini in the program folder when it is there or the folder is writable; otherwise in
/// $XDG_DATA_HOME/kordel/ (an absolute $XDG_DATA_HOME only), else ~/.local/share/kordel/.
/// Without any usable home the program folder is the answer.
std::filesystem::path UDLangDbPath(const DbEnvironment& env);

/// UDLangDbPath(DefaultDbEnvironment()).
std::filesystem::path DefaultUDLangDbPath();

}  // namespace kordel::userlang
