// The main window's own message texts.
#pragma once

#include <string>
#include <string_view>

namespace kordel::ui::msg {

inline constexpr std::string_view kAlreadyRunning = "Kordel is already running.";
inline constexpr std::string_view kAddFirst = "You must add atleast 1 source file first.";
inline constexpr std::string_view kCannotSaveEmpty =
    "You cannot save a project list because you have not added any source files yet.";
inline constexpr std::string_view kCountBeforeExport = "You must count one or more source files before exporting.";
inline constexpr std::string_view kCountBeforeSort = "You must count one or more source files before sorting.";
inline constexpr std::string_view kPercentBeforeSort = "You must have the Percent Columns enabled before sorting.";
inline constexpr std::string_view kSortCanceled = "Sorting was canceled.";
inline constexpr std::string_view kSelectItems = "You need to select one or more items first.";
inline constexpr std::string_view kSelectItem = "You need to select an item first.";
inline constexpr std::string_view kSelectItemFolder = "You must select an item first.";
inline constexpr std::string_view kEnterSearch = "You need to enter something to search for.";
inline constexpr std::string_view kUntitled = "Untitled Project List";
inline constexpr std::string_view kUnspecified = "Unspecified";
inline constexpr std::string_view kWelcome = "Welcome to Kordel";

/// Shown when an error nobody expected stops the program, which then ends with exit status 2.
inline std::string UnexpectedError(std::string_view what) {
    std::string text = "Kordel stopped because of an unexpected error";
    if (what.empty()) return text + ".";
    return text + ": " + std::string(what);
}

}  // namespace kordel::ui::msg
