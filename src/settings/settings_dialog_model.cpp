#include "settings/settings_dialog_model.h"

namespace keystride {

const std::array<SettingsBoxInfo, SettingsBoxCount>& settingsBoxRows() {
    static const std::array<SettingsBoxInfo, SettingsBoxCount> rows{{
        {SettingsBox::Check1, "Check1", "10 minute Time Limit for new speed tests"},
        {SettingsBox::Check2, "Check2", "Check for 1.5 line spacing when marking"},
        {SettingsBox::Check4, "Check4", "Check for double spacing when marking"},
        {SettingsBox::Check8, "Check8", "Check for Courier font when marking"},
        {SettingsBox::Check5, "Check5", "Display WPM with 1 decimal"},
        {SettingsBox::Check6, "Check6", "Display WPM as integer"},
        {SettingsBox::Check7, "Check7", "Display WPM as multiple of 5"},
        {SettingsBox::Check3, "Check3", "Count strokes of excess words"},
    }};
    return rows;
}

SettingsDialogModel::SettingsDialogModel() {
    setTicked(SettingsBox::Check3, true);
}

void SettingsDialogModel::showStored(const SettingsStore& store) {
    // Loading only ever ticks (and clears Check3); boxes it does not address keep their state.
    if (store.TimeLimit10 == "J")
        setTicked(SettingsBox::Check1, true);
    if (store.CheckSpacing15 == "J")
        setTicked(SettingsBox::Check2, true);
    if (store.CountExcessStrokes == "N")
        setTicked(SettingsBox::Check3, false);
    if (store.CheckDoubleSpacing == "J")
        setTicked(SettingsBox::Check4, true);
    if (store.WpmOneDecimal == "J")
        setTicked(SettingsBox::Check5, true);
    if (store.WpmInteger == "J")
        setTicked(SettingsBox::Check6, true);
    if (store.WpmMultipleOf5 == "J")
        setTicked(SettingsBox::Check7, true);
    // The store keeps only the first character of the Courier value.
    if (store.CheckCourier.substr(0, 1) == "J")
        setTicked(SettingsBox::Check8, true);
}

void SettingsDialogModel::userSetBox(SettingsBox box, bool ticked) {
    setTicked(box, ticked);
    if (!ticked)
        return;
    static constexpr std::array<SettingsBox, 3> wpmDisplay{SettingsBox::Check5, SettingsBox::Check6,
                                                           SettingsBox::Check7};
    static constexpr std::array<SettingsBox, 2> excessOrDouble{SettingsBox::Check3,
                                                               SettingsBox::Check4};
    auto clearOthers = [&](const auto& group) {
        bool inGroup = false;
        for (SettingsBox member : group)
            inGroup = inGroup || member == box;
        if (!inGroup)
            return;
        for (SettingsBox member : group) {
            if (member != box)
                setTicked(member, false);
        }
    };
    clearOthers(wpmDisplay);
    clearOthers(excessOrDouble);
}

FileResult SettingsDialogModel::store(SettingsStore& store, FileSystem& files,
                                      const std::string& path) const {
    auto letter = [&](SettingsBox box) { return std::string(isTicked(box) ? "J" : "N"); };
    store.TimeLimit10 = letter(SettingsBox::Check1);
    store.CheckSpacing15 = letter(SettingsBox::Check2);
    store.CountExcessStrokes = letter(SettingsBox::Check3);
    store.CheckDoubleSpacing = letter(SettingsBox::Check4);
    store.WpmOneDecimal = letter(SettingsBox::Check5);
    store.WpmInteger = letter(SettingsBox::Check6);
    store.WpmMultipleOf5 = letter(SettingsBox::Check7);
    store.CheckCourier = letter(SettingsBox::Check8);
    return saveSettings(files, path, store);
}

std::string settingsWriteFailureText(const std::string& path, const FileError& error) {
    return "The settings could not be saved to \"" + path + "\".\n" + error.description +
           "\n\nThe new settings apply until Vela Keystride is closed, but the next start will "
           "use the settings from before.";
}

} // namespace keystride
