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
    std::optional<std::filesystem::path> userDataFolder;  ///< ~/.local/share, %APPDATA%...; none without a home
    std::function<bool(const std::filesystem::path&)> isWritableFolder;
};

/// The running program's folder and environment, with the real writability test.
DbEnvironment DefaultDbEnvironment();

/// The database to read. An installed program (a ../share/kordel folder beside its folder, or a
/// folder under /usr/): the per-user file in $XDG_DATA_HOME/kordel/ (an absolute $XDG_DATA_HOME
/// only) or ~/.local/share/kordel/, whether it exists or not (../share/kordel/udlangdb.ini only
/// without any home). A portable
/// copy: udlangdb.ini in a writable program folder; else the per-user file once it exists; else a
/// read-only default beside the program; else the per-user file. Without any usable home the
/// program folder is the answer.
std::filesystem::path UDLangDbPath(const DbEnvironment& env);

/// Where the database is read and where changes are written. They differ only while a read-only
/// default is in use (beside the program, or in the installation's share/kordel folder, with a
/// program folder the user cannot write): changes then go to the per-user file, which is read from
/// then on, so edits never need administrator rights and survive upgrades.
struct DbPaths {
    std::filesystem::path read;
    std::filesystem::path write;
};
DbPaths UDLangDbPaths(const DbEnvironment& env);
DbPaths DefaultUDLangDbPaths();

/// UDLangDbPaths(DefaultDbEnvironment()).read.
std::filesystem::path DefaultUDLangDbPath();

}  // namespace kordel::userlang
