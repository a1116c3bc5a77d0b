// The program's option flags, loaded from the settings store and written through when changed.
#pragma once

#include <array>
#include <string_view>

#include "engine/results.h"
#include "ui/core/settings_store.h"

namespace kordel::ui {

struct Settings {
    int cnoml = 0;  ///< stored as "tmac"
    int dls = 0;
    int slc = 0;
    int sps = 0;
    int llp = 0;
    int pfpn = 0;
    int aspn = 0;
    int sspl = 0;
    int acpl = 0;
    int cblib = 0;
    int dotf = 0;
    int asce = 0;  ///< stored as "sortarr"
    int okl = 0;   ///< Tools > Count Other Known Languages: the table of further languages after the user's

    engine::CountOptions countOptions() const {
        return engine::CountOptions{cnoml == 1, cblib == 1, sps == 1, dotf, okl == 1};
    }
};

/// Reads every option and the sort direction; missing settings are 0.
Settings LoadOptions(const SettingsStore& store);

/// One check box of the Options dialog.
struct OptionBox {
    int id;
    std::string_view setting;
    std::string_view text;
    int Settings::*flag;
    bool inverted;  ///< checked stores 0 (row spacing)
};

/// The check boxes in the dialog's order.
const std::array<OptionBox, 10>& OptionBoxes();

/// Whether a box shows as checked for the current flags.
bool IsChecked(const Settings& settings, const OptionBox& box);

/// A click on a box: sets the flag from the new check state and writes it to the store at once.
void ClickOption(SettingsStore& store, Settings& settings, const OptionBox& box, bool checked);

/// The ".f" list's OK: stores the chosen index (0 Forth, 1 Fortran 77).
void ChooseDotF(SettingsStore& store, Settings& settings, int index);

/// The Sort menu's direction: 1 ascending, 0 descending; stored as "sortarr".
void ChooseSortDirection(SettingsStore& store, Settings& settings, bool ascending);

/// Tools > Count Other Known Languages: turns the table of further languages on or off; stored as "okl".
void ChooseKnownLanguages(SettingsStore& store, Settings& settings, bool on);

inline constexpr std::string_view kKnownLanguagesItem = "Count Other &Known Languages";

inline constexpr std::string_view kDotFLabel = "Source files that have the '.f' extension are";
inline constexpr std::string_view kDotFTrailer = "source files";

}  // namespace kordel::ui
