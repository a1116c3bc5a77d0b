// The add dialog's file-type filters and the rules for paths added to the list.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kordel::ui {

struct FileFilter {
    std::string description;
    std::string patterns;  ///< "*.c;*.cpp;*.h"
};

/// The 57 filters in the dialog's order; the user's extension patterns ("*.abc;*.def;") come first
/// in the first filter, `knownPatterns` (when not empty) after the built-in ones.
std::vector<FileFilter> AddFilters(std::string_view userPatterns, std::string_view knownPatterns = {});

/// The extensions and file names of the table of further languages as patterns ("*.rs;...;Makefile").
std::string KnownLanguagePatterns();

/// False for a path the list refuses: on Windows, one that holds ":\" again after its drive ("C:\a\D:\b.c").
bool IsAcceptablePath(std::string_view path);

/// Every regular file below `folder` (recursively at any depth, symbolic links not followed) whose
/// path `isKnown` accepts, in a stable order. Folders that cannot be read are skipped and added
/// to `unreadable`.
std::vector<std::string> FilesUnder(const std::filesystem::path& folder,
                                    const std::function<bool(std::string_view path)>& isKnown,
                                    std::vector<std::string>& unreadable);

/// The message naming the folders whose files could not be added.
std::string UnreadableFoldersMessage(const std::vector<std::string>& folders);

inline constexpr std::string_view kAddDialogTitle = "Select source code file(s) to add...";
inline constexpr std::string_view kAddingBusyText = "Adding source files to the list...";

}  // namespace kordel::ui
