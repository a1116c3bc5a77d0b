// The command numbers of the main window: menu items, accelerators, buttons, toolbar and list.
#pragma once

#include <string_view>
#include <vector>

namespace kordel::ui::cmd {

inline constexpr int kOk = 1;
inline constexpr int kEscape = 2;
inline constexpr int kWebSite = 96;
inline constexpr int kOpenSelected = 1403;
inline constexpr int kContextMenu = 1404;
inline constexpr int kDoubleClick = 1405;
inline constexpr int kOpenFolder = 1410;
inline constexpr int kFindKey = 3501;
inline constexpr int kManual = 3502;
inline constexpr int kFindNextKey = 3503;
inline constexpr int kCountKey = 3504;
inline constexpr int kOptionsKey = 3505;
inline constexpr int kLanguagesKey = 3506;
inline constexpr int kExportCsvKey = 3507;
inline constexpr int kExportHtmlKey = 3508;
inline constexpr int kExportTxtKey = 3509;
inline constexpr int kSaveKey = 3510;
inline constexpr int kCountButton = 4002;
inline constexpr int kAdd = 4006;
inline constexpr int kRemove = 4007;
inline constexpr int kLanguages = 6001;
inline constexpr int kAbout = 6002;
inline constexpr int kNew = 6003;
inline constexpr int kOpen = 6004;
inline constexpr int kExit = 6006;
inline constexpr int kSortCode = 6008;
inline constexpr int kCount = 6009;
inline constexpr int kExportTxt = 6010;
inline constexpr int kSave = 6011;
inline constexpr int kSaveAs = 6012;
inline constexpr int kSortComment = 6013;
inline constexpr int kSortBlank = 6014;
inline constexpr int kSortTotal = 6015;
inline constexpr int kSortMixed = 6016;
inline constexpr int kAscending = 6017;
inline constexpr int kDescending = 6018;
inline constexpr int kFindNext = 6019;
inline constexpr int kCheckVersion = 6020;
inline constexpr int kKnownLanguages = 6021;
inline constexpr int kFind = 6060;
inline constexpr int kExportCsv = 6070;
inline constexpr int kExportHtml = 6071;
inline constexpr int kSortCodePercent = 6090;
inline constexpr int kSortCommentPercent = 6091;
inline constexpr int kSortMixedPercent = 6092;
inline constexpr int kSortBlankPercent = 6093;
inline constexpr int kOptions = 7000;

}  // namespace kordel::ui::cmd

namespace kordel::ui {

class MainWindowLogic;

/// What a command needs before it runs; a refused command changes nothing.
enum class Needs {
    Rows,            ///< the list has rows
    Results,         ///< a count has run since the list was last opened, saved or cleared
    Selection,       ///< at least one row is selected
    PercentColumns,  ///< the percentage columns are on
};

struct Precondition {
    Needs needs;
    std::string_view refusal;  ///< shown when the need is not met; empty: refused without a message
};

/// One row of the command table: a command number, what it needs (checked in order) and what it runs.
struct CommandRow {
    int id;
    std::vector<Precondition> checks;
    void (*run)(MainWindowLogic& logic, int command);
};

}  // namespace kordel::ui
