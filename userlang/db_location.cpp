// Locating the user language database.
#include "userlang/db_location.h"

#include <system_error>

#include "platform/files.h"
#include "platform/system.h"

namespace kordel::userlang {

namespace fs = std::filesystem;

DbEnvironment DefaultDbEnvironment() {
    DbEnvironment env;
    const std::string program = platform::ProgramFolder();
    std::error_code ec;
    env.programFolder = program.empty() ? fs::current_path(ec) : platform::PathFromText(program);
    if (const std::optional<std::string> data = platform::UserDataFolder())
        env.userDataFolder = platform::PathFromText(*data);
    env.isWritableFolder = [](const fs::path& folder) { return platform::IsWritableFolder(platform::PathText(folder)); };
    return env;
}

namespace {

// The per-user file, when the environment names a home for it.
std::optional<fs::path> PerUserPath(const DbEnvironment& env) {
    if (!env.userDataFolder) return std::nullopt;
    return *env.userDataFolder / "kordel" / kDbFileName;
}

}  // namespace

DbPaths UDLangDbPaths(const DbEnvironment& env) {
    const fs::path beside = env.programFolder / kDbFileName;
    const fs::path shared = (env.programFolder / ".." / "share" / "kordel" / kDbFileName).lexically_normal();
    std::error_code ec;
    // An installed program (its share/kordel folder beside its bin folder, or anywhere under /usr) is
    // never a portable copy, even when its folder is writable (run as root): it reads the user's own
    // database only. No language pack is installed any more (its languages are rows of kordelc's table),
    // and one left behind by an earlier installation is not read.
    const bool installed = fs::is_directory(shared.parent_path(), ec) ||
                           platform::PathText(env.programFolder.lexically_normal()).starts_with("/usr/");
    if (installed) {
        const std::optional<fs::path> user = PerUserPath(env);
        if (!user) return {shared, shared};
        return {*user, *user};
    }
    if (env.isWritableFolder && env.isWritableFolder(env.programFolder)) return {beside, beside};
    const std::optional<fs::path> user = PerUserPath(env);
    if (!user) return {fs::exists(beside, ec) || !fs::exists(shared, ec) ? beside : shared, beside};
    if (fs::exists(*user, ec)) return {*user, *user};
    if (fs::exists(beside, ec)) return {beside, *user};
    if (fs::exists(shared, ec)) return {shared, *user};
    return {*user, *user};
}

fs::path UDLangDbPath(const DbEnvironment& env) { return UDLangDbPaths(env).read; }

DbPaths DefaultUDLangDbPaths() { return UDLangDbPaths(DefaultDbEnvironment()); }

fs::path DefaultUDLangDbPath() { return DefaultUDLangDbPaths().read; }

}  // namespace kordel::userlang
