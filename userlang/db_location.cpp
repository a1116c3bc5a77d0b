// Locating the user language database.
#include "userlang/db_location.h"

#include <cstdlib>
#include <system_error>

#include <unistd.h>

namespace kordel::userlang {
namespace {

namespace fs = std::filesystem;

bool IsWritableFolder(const fs::path& folder) {
    std::error_code ec;
    return fs::is_directory(folder, ec) && ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::optional<std::string> Env(const char* name) {
    const char* value = std::getenv(name);
    if (!value) return std::nullopt;
    return std::string(value);
}

}  // namespace

DbEnvironment DefaultDbEnvironment() {
    DbEnvironment env;
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    env.programFolder = ec ? fs::current_path(ec) : self.parent_path();
    env.xdgDataHome = Env("XDG_DATA_HOME");
    env.home = Env("HOME");
    env.isWritableFolder = IsWritableFolder;
    return env;
}

// The per-user file, when the environment names a home for it.
std::optional<fs::path> PerUserPath(const DbEnvironment& env) {
    // Relative or empty values of XDG_DATA_HOME are to be ignored.
    if (env.xdgDataHome && fs::path(*env.xdgDataHome).is_absolute())
        return fs::path(*env.xdgDataHome) / "kordel" / kDbFileName;
    if (env.home && !env.home->empty()) return fs::path(*env.home) / ".local" / "share" / "kordel" / kDbFileName;
    return std::nullopt;
}

DbPaths UDLangDbPaths(const DbEnvironment& env) {
    const fs::path beside = env.programFolder / kDbFileName;
    const fs::path shared = (env.programFolder / ".." / "share" / "kordel" / kDbFileName).lexically_normal();
    std::error_code ec;
    // An installed program (its share/kordel folder beside its bin folder, or anywhere under /usr) is
    // never a portable copy, even when its folder is writable (run as root): it reads the user's copy,
    // else the language pack it was installed with.
    const bool installed = fs::is_directory(shared.parent_path(), ec) ||
                           env.programFolder.lexically_normal().string().starts_with("/usr/");
    if (installed) {
        const std::optional<fs::path> user = PerUserPath(env);
        if (!user) return {shared, shared};
        return {fs::exists(*user, ec) || !fs::exists(shared, ec) ? *user : shared, *user};
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
