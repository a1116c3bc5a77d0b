// The option flags: read from the settings store once, written through on each change.
#include "ui/core/options.h"

namespace kordel::ui {

Settings LoadOptions(const SettingsStore& store) {
    Settings s;
    s.cnoml = ReadFlag(store, "tmac");
    s.dls = ReadFlag(store, "dls");
    s.slc = ReadFlag(store, "slc");
    s.sps = ReadFlag(store, "sps");
    s.llp = ReadFlag(store, "llp");
    s.pfpn = ReadFlag(store, "pfpn");
    s.aspn = ReadFlag(store, "aspn");
    s.sspl = ReadFlag(store, "sspl");
    s.acpl = ReadFlag(store, "acpl");
    s.cblib = ReadFlag(store, "cblib");
    s.dotf = ReadFlag(store, "dotf") ? 1 : 0;
    s.asce = ReadFlag(store, "sortarr");
    s.okl = ReadFlag(store, "okl");
    return s;
}

const std::array<OptionBox, 10>& OptionBoxes() {
    static const std::array<OptionBox, 10> boxes{{
        {6007, "tmac", "Add the total of mixed lines to the total code lines and total comment lines",
         &Settings::cnoml, false},
        {6041, "dls", "Disable List Scrolling while counting", &Settings::dls, false},
        {6042, "cblib", "Count Blank Lines in Nested Comments as Blanks", &Settings::cblib, false},
        {6043, "llp", "Open the Last Saved Project List on Startup", &Settings::llp, false},
        {6044, "sps", "Enable Percentage Columns", &Settings::sps, false},
        {6045, "pfpn", "Prompt me for a Project Name when saving project lists", &Settings::pfpn, false},
        {6046, "aspn", "Automatically try to identify the project name", &Settings::aspn, false},
        {6047, "sspl", "Suggest where to save project lists if possible", &Settings::sspl, false},
        {6048, "acpl", "Automatically count the source files after a project list is opened", &Settings::acpl,
         false},
        {6049, "slc", "Space out the items in the list (improves readability) (requires Kordel restart)",
         &Settings::slc, true},
    }};
    return boxes;
}

bool IsChecked(const Settings& settings, const OptionBox& box) {
    return settings.*box.flag != box.inverted;
}

void ClickOption(SettingsStore& store, Settings& settings, const OptionBox& box, bool checked) {
    settings.*box.flag = checked != box.inverted;
    // A store that cannot be written is not reported: the flag in memory keeps the new value.
    WriteNumber(store, box.setting, settings.*box.flag ? 1 : 0);
}

void ChooseDotF(SettingsStore& store, Settings& settings, int index) {
    settings.dotf = index;
    WriteNumber(store, "dotf", index);
}

void ChooseKnownLanguages(SettingsStore& store, Settings& settings, bool on) {
    settings.okl = on;
    WriteNumber(store, "okl", on ? 1 : 0);
}

void ChooseSortDirection(SettingsStore& store, Settings& settings, bool ascending) {
    settings.asce = ascending;
    WriteNumber(store, "sortarr", ascending ? 1 : 0);
}

}  // namespace kordel::ui
