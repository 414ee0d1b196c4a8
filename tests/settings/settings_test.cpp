// The "Settings" file as the store reads it and the switches read its values, and the settings
// dialog's rules without a window: what the boxes show of the store, how clicks tie boxes
// together, and what "OK" leaves in the store and the file.
#include "settings/settings_dialog_model.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace keystride {
namespace {

using Box = SettingsBox;

// A settings file of `values`, each on a line of its own ended by CR LF.
std::string lines(std::initializer_list<const char*> values) {
    std::string text;
    for (const char* value : values)
        text += std::string(value) + "\r\n";
    return text;
}

// The store's eight values in file order, "|" between them.
std::string values(const SettingsStore& s) {
    return s.TimeLimit10 + "|" + s.CheckSpacing15 + "|" + s.CountExcessStrokes + "|" +
           s.CheckDoubleSpacing + "|" + s.WpmOneDecimal + "|" + s.WpmInteger + "|" +
           s.WpmMultipleOf5 + "|" + s.CheckCourier;
}

// Eight fields in file order: commas and line ends both end a field, blanks and quotes go, only
// the first character of line 8 counts, and values the file lacks keep the initial state.
TEST(SettingsFile, ReadsEightFieldsInFileOrder) {
    const std::pair<std::string, const char*> rows[] = {
        {lines({"J", "N", "N", "J", "J", "N", "N", "J"}), "J|N|N|J|J|N|N|J"},
        {"", "N|N|J|N|N|N|N|N"},
        {lines({"", "J"}), "|J|J|N|N|N|N|N"},
        {"J\nJ\nN\nJ\nN\nJ\nN\nJ", "J|J|N|J|N|J|N|J"},
        {lines({"J,N", "N", "J", "N", "N", "J", "N"}), "J|N|N|J|N|N|J|N"},
        {lines({"  J ", "\t\"N\" ", "\"J,N\"", "J", "N", "N", "N", "N"}), "J|N|J,N|J|N|N|N|N"},
        {lines({"Ja", "N", "N", "N", "N", "N", "N", "Ja", "J"}), "Ja|N|N|N|N|N|N|J"},
        {lines({"N", "N", "N", "N", "N", "N", "N", ""}), "N|N|N|N|N|N|N| "},
    };
    for (const auto& [text, expected] : rows)
        EXPECT_EQ(values(parseSettings(text)), expected) << text;
}

// Each switch tests its value against "J" or against "N": a lowercase j is on for some, off for
// the others.
TEST(SettingsFile, AValueThatIsNeitherJNorNCountsByTheSenseOfEachSwitch) {
    const SettingsStore s = parseSettings(lines({"j", "j", "j", "j", "j", "j", "j", "j"}));
    const std::vector<bool> on = {
        s.timeLimitStartsClock(), s.timeLimitEndsTest(), s.checkSpacing15(),
        s.checkDoubleSpacing(),   s.checkCourier(),      s.countExcessStrokes(),
        s.wpmInteger(),           s.wpmMultipleOf5(),    s.wpmOneDecimal()};
    EXPECT_EQ(on, (std::vector<bool>{true, false, false, false, true, true, false, false, false}));
}

TEST(SettingsFile, TheShippedFileHoldsTheDialogsInitialState) {
    const std::string shipped = testing::readFile(KEYSTRIDE_SOURCE_DIR "/data/Settings");
    EXPECT_EQ(shipped, lines({"N", "N", "J", "N", "N", "N", "N", "N"}));
    EXPECT_EQ(formatSettings(SettingsStore{}), shipped);
}

// The ticks as eight digits, Check1 first.
std::string ticks(const SettingsDialogModel& model) {
    std::string out;
    for (int i = 1; i <= SettingsBoxCount; ++i)
        out += model.isTicked(static_cast<Box>(i)) ? '1' : '0';
    return out;
}

// Only "J" ticks a box, but Check3 starts ticked and only "N" clears it; showing values never
// applies the groups that exclude each other.
TEST(SettingsDialogModel, TheBoxesShowOnlyWhatTheFileSays) {
    const std::pair<std::string, const char*> rows[] = {
        {"", "00100000"},
        {lines({"N", "N", "N", "N", "N", "N", "N", "N"}), "00000000"},
        {lines({"J", "J", "J", "J", "J", "J", "J", "J"}), "11111111"},
        {lines({"j", "j", "x", "j", "j", "j", "j", "j"}), "00100000"},
        {lines({"Ja", "N", "N", "N", "N", "N", "N", "Ja"}), "00000001"},
    };
    for (const auto& [text, expected] : rows) {
        SettingsDialogModel model;
        model.showStored(parseSettings(text));
        EXPECT_EQ(ticks(model), expected) << text;
    }
}

// A tick in one of the WPM displays clears the other two; excess strokes and double spacing
// exclude each other; clearing a box, or ticking Check1, Check2 or Check8, touches no other.
// "OK" writes every box as J or N in file order and leaves the same values in the store.
TEST(SettingsDialogModel, ClicksFollowTheGroupsAndOkWritesEveryBox) {
    const std::tuple<Box, bool, const char*> clicks[] = {
        {Box::Check5, true, "00101000"},  {Box::Check6, true, "00100100"},
        {Box::Check7, true, "00100010"},  {Box::Check5, true, "00101000"},
        {Box::Check5, false, "00100000"}, {Box::Check4, true, "00010000"},
        {Box::Check3, true, "00100000"},  {Box::Check3, false, "00000000"},
        {Box::Check6, true, "00000100"},  {Box::Check1, true, "10000100"},
        {Box::Check2, true, "11000100"},  {Box::Check8, true, "11000101"},
    };
    SettingsDialogModel model;
    for (const auto& [box, ticked, after] : clicks) {
        model.userSetBox(box, ticked);
        EXPECT_EQ(ticks(model), after);
    }
    testing::TempFolder folder;
    SettingsStore store;
    EXPECT_FALSE(model.store(store, FileSystem::real(), folder.file("Settings")));
    EXPECT_EQ(testing::readFile(folder.file("Settings")),
              lines({"J", "J", "N", "N", "N", "J", "N", "J"}));
    EXPECT_EQ(values(store), "J|J|N|N|N|J|N|J");
}

} // namespace
} // namespace keystride
