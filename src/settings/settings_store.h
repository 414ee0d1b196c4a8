// The eight J/N switches that steer the timed test and the marking run, and the "Settings" file
// in the program's folder that keeps them between runs of the program.
#pragma once

#include "platform/files/file_system.h"

#include <string>
#include <string_view>

namespace keystride {

struct SettingsStore {
    // The dialog's initial state: every box clear but "Count strokes of excess words".
    std::string TimeLimit10 = "N";
    std::string CheckSpacing15 = "N";
    std::string CountExcessStrokes = "J";
    std::string CheckDoubleSpacing = "N";
    std::string WpmOneDecimal = "N";
    std::string WpmInteger = "N";
    std::string WpmMultipleOf5 = "N";
    std::string CheckCourier = "N"; // always exactly one character

    // Each reader tests its value against "J" or against "N"; a value that is neither (a
    // lowercase j, an empty line) therefore counts as on for some switches and off for others.
    bool timeLimitStartsClock() const { return TimeLimit10 != "N"; }
    bool timeLimitEndsTest() const { return TimeLimit10 == "J"; }
    bool checkSpacing15() const { return CheckSpacing15 == "J"; }
    bool checkDoubleSpacing() const { return CheckDoubleSpacing == "J"; }
    // CheckCourier holds one character: only the first one read counts.
    bool checkCourier() const { return CheckCourier.substr(0, 1) != "N"; }
    bool countExcessStrokes() const { return CountExcessStrokes != "N"; }
    bool wpmInteger() const { return WpmInteger == "J"; }
    bool wpmMultipleOf5() const { return WpmMultipleOf5 == "J"; }
    bool wpmOneDecimal() const { return WpmOneDecimal == "J"; }

    friend bool operator==(const SettingsStore&, const SettingsStore&) = default;
};

// The name of the settings file in the program's folder.
inline constexpr const char* SettingsFileName = "Settings";

// Reads the file's eight fields in file order: a field ends at a comma or a line end and loses
// surrounding blanks and enclosing double quotes. Values the text lacks keep the initial state.
SettingsStore parseSettings(std::string_view fileText);
// Eight lines "J"/"N" in file order, each ended by CR LF.
std::string formatSettings(const SettingsStore& store);

// A missing or unreadable file gives the initial state.
SettingsStore loadSettings(const FileSystem& files, const std::string& path);
FileResult saveSettings(FileSystem& files, const std::string& path, const SettingsStore& store);

} // namespace keystride
