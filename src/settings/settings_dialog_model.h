// What the settings dialog FormS shows and does, without a window: the eight boxes, the rules
// that tie some of them together when the user clicks, and the showing and storing that move
// values between the boxes, the SettingsStore and the "Settings" file.
#pragma once

#include "settings/settings_store.h"

#include <array>
#include <string>

namespace keystride {

// The boxes by the number in their name (Check1 ... Check8). The number is also the line of the
// value in the settings file; it is not the row on the dialog.
enum class SettingsBox {
    Check1 = 1, // "10 minute Time Limit for new speed tests"
    Check2,     // "Check for 1.5 line spacing when marking"
    Check3,     // "Count strokes of excess words"
    Check4,     // "Check for double spacing when marking"
    Check5,     // "Display WPM with 1 decimal"
    Check6,     // "Display WPM as integer"
    Check7,     // "Display WPM as multiple of 5"
    Check8,     // "Check for Courier font when marking"
};

inline constexpr int SettingsBoxCount = 8;

struct SettingsBoxInfo {
    SettingsBox box;
    const char* objectName; // "Check1" ...
    const char* caption;
};

// The boxes from top to bottom as the dialog shows them.
const std::array<SettingsBoxInfo, SettingsBoxCount>& settingsBoxRows();

class SettingsDialogModel {
public:
    // The boxes as the dialog is designed: all clear but "Count strokes of excess words".
    SettingsDialogModel();

    bool isTicked(SettingsBox box) const { return m_ticked[index(box)]; }

    // Ticks the boxes that show `store`, as start-up read it from the file. Only "J" ticks a box,
    // except "Count strokes of excess words", which starts ticked and only "N" clears. Ticking
    // here shows values; it never clears another box.
    void showStored(const SettingsStore& store);

    // A click of the user on a box, leaving it ticked or clear. Ticking one of the three WPM
    // display boxes clears the other two; ticking "Count strokes of excess words" clears "Check
    // for double spacing when marking" and the other way round. Clearing a box touches no other.
    void userSetBox(SettingsBox box, bool ticked);

    // "OK": sets every SettingsStore value to "J" or "N" from its box, then writes the file. The
    // store keeps the new values even when the write fails; the failure is returned.
    FileResult store(SettingsStore& store, FileSystem& files, const std::string& path) const;

private:
    static int index(SettingsBox box) { return static_cast<int>(box) - 1; }
    void setTicked(SettingsBox box, bool ticked) { m_ticked[index(box)] = ticked; }

    std::array<bool, SettingsBoxCount> m_ticked{};
};

// The message shown when "OK" could not write the settings file; it names the file and says
// that the new settings still apply until the program ends.
std::string settingsWriteFailureText(const std::string& path, const FileError& error);

} // namespace keystride
