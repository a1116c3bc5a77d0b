// The program's option flags, loaded from the settings store and written through when changed.
#pragma once

#include <array>
#include <string_view>

#include "engine/results.h"
#include "ui/core/settings_store.h"

namespace kordel::ui {

/// The option flags as the program uses them; the store keeps each as the number 1 (on) or 0 (off),
/// and anything but 1 reads as off.
struct Settings {
    bool cnoml = false;  ///< stored as "tmac"
    bool dls = false;
    bool slc = false;  ///< compact rows; its box ("Space out the items") is checked when off
    bool sps = false;
    bool llp = false;
    bool pfpn = false;
    bool aspn = false;
    bool sspl = false;
    bool acpl = false;
    bool cblib = false;
    int dotf = 0;        ///< ".f" is Forth (0) or Fortran 77 (1): the index of its list
    bool asce = false;  ///< stored as "sortarr"
    bool okl = false;   ///< Tools > Count Other Known Languages: the table of further languages after the user's

    engine::CountOptions countOptions() const { return engine::CountOptions{cnoml, cblib, sps, dotf, okl}; }
};

/// Reads every option and the sort direction; missing settings are 0.
Settings LoadOptions(const SettingsStore& store);

/// One check box of the Options dialog.
struct OptionBox {
    int id;
    std::string_view setting;
    std::string_view text;
    bool Settings::*flag;
    bool inverted;  ///< checked turns the flag off (row spacing)
};

/// The check boxes in the dialog's order.
const std::array<OptionBox, 10>& OptionBoxes();

/// Whether a box shows as checked for the current flags.
bool IsChecked(const Settings& settings, const OptionBox& box);

/// A click on a box: sets the flag from the new check state and writes it to the store at once.
void ClickOption(SettingsStore& store, Settings& settings, const OptionBox& box, bool checked);

/// The ".f" list's OK: stores the chosen index (0 Forth, 1 Fortran 77).
void ChooseDotF(SettingsStore& store, Settings& settings, int index);

/// The Sort menu's direction; stored as "sortarr" (1 ascending, 0 descending).
void ChooseSortDirection(SettingsStore& store, Settings& settings, bool ascending);

/// Tools > Count Other Known Languages: turns the table of further languages on or off; stored as "okl".
void ChooseKnownLanguages(SettingsStore& store, Settings& settings, bool on);

inline constexpr std::string_view kKnownLanguagesItem = "Count Other &Known Languages";

inline constexpr std::string_view kDotFLabel = "Source files that have the '.f' extension are";
inline constexpr std::string_view kDotFTrailer = "source files";

}  // namespace kordel::ui
