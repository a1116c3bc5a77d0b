// Where the installation helpers find things: the installer's uninstall keys, the temporary folder,
// and the text rules that turn registry values into folders and commands.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "userlang/db_location.h"

namespace kordel::installcore {

/// The earlier installation's uninstall key (values `InstallLocation`, `QuietUninstallString`).
inline constexpr std::string_view kEarlierKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kordel_is1";
/// The current installation's uninstall key (value `UninstallString`).
inline constexpr std::string_view kCurrentKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kordel";
/// The user language database's file name.
inline constexpr std::string_view kDatabaseName = userlang::kDbFileName;
/// The start of the names of the databases kept beside it ("udlangdb.earlier-1a2b3c4d.ini").
inline constexpr std::string_view kDatabaseStem = "udlangdb";

/// Read access to string values of keys under HKEY_LOCAL_MACHINE.
class UninstallKeys {
public:
    virtual ~UninstallKeys() = default;
    /// The value `name` of `key` as UTF-8 text; empty when the key or the value is missing.
    virtual std::string Read(std::string_view key, std::string_view name) = 0;
};

/// The user's temporary folder.
class TempFolder {
public:
    virtual ~TempFolder() = default;
    /// The folder as UTF-8 text; empty when it cannot be found.
    virtual std::string Path() = 0;
};

/// A command split into the program to start and the argument text that follows it.
struct Command {
    std::string program;    ///< without quotes; empty when there is nothing to run
    std::string arguments;  ///< the rest of the value as written, without leading or trailing blanks
};

/// Splits a command value such as `"C:\Program Files\Kordel\unins000.exe" /SILENT`.
/// A quoted program runs to the closing quote. An unquoted one runs through the first ".exe" that
/// ends a word (so unquoted paths with blanks still work), else to the first blank.
Command SplitCommand(std::string_view value);

/// A folder value with blanks and surrounding quotes removed.
std::string CleanFolder(std::string_view value);

/// The folder part of a path, with its trailing separator; "X:" for "X:name"; empty without one.
std::string DirectoryOf(std::string_view path);

/// `folder` and `name` joined with exactly one separator (the folder's own kind, else the
/// platform's). Empty when `folder` is empty: a missing location names no file at all.
std::string JoinFile(std::string_view folder, std::string_view name);

}  // namespace kordel::installcore
