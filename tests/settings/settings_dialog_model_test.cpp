// The settings dialog without a window: what the boxes show of the store, how the user's clicks
// tie boxes together, and what "OK" leaves in the SettingsStore and the file.
#include "settings/settings_dialog_model.h"
#include "settings_lines.h"

#include "support/faulty_file_system.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace keystride {
namespace {

using Box = SettingsBox;
using testing::readFile;

using testing::lines;

// The ticks as a string of eight digits, Check1 first: "00100000" is the initial state.
std::string ticks(const SettingsDialogModel& model) {
    std::string out;
    for (int i = 1; i <= SettingsBoxCount; ++i)
        out += model.isTicked(static_cast<Box>(i)) ? '1' : '0';
    return out;
}

// A model showing what start-up read from `fileText`.
SettingsDialogModel shown(const std::string& fileText) {
    SettingsDialogModel model;
    model.showStored(parseSettings(fileText));
    return model;
}

TEST(SettingsDialogModel, TheBoxesShowOnlyWhatTheFileSays) {
    struct Case {
        const char* name;
        std::string fileText;
        const char* expected;
    };
    const Case cases[] = {
        {"no values: the designed state", "", "00100000"},
        {"all N", lines({"N", "N", "N", "N", "N", "N", "N", "N"}), "00000000"},
        // Showing values: boxes that exclude each other for a click are all ticked here.
        {"all J", lines({"J", "J", "J", "J", "J", "J", "J", "J"}), "11111111"},
        {"line 3 another letter leaves it ticked", lines({"N", "N", "x", "N"}), "00100000"},
        {"lowercase j ticks nothing", lines({"j", "j", "n", "j", "j", "j", "j", "j"}), "00100000"},
        {"J with letters ticks Check8 but not Check1",
         lines({"Ja", "N", "N", "N", "N", "N", "N", "Ja"}), "00000001"},
        {"a comma moves values up", lines({"N,J", "N"}), "01000000"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ticks(shown(c.fileText)), c.expected) << c.name;
}

TEST(SettingsDialogModel, ClicksFollowTheExclusionGroups) {
    struct Click {
        Box box;
        bool ticked;
        const char* after;
    };
    struct Case {
        const char* name;
        std::string fileText;
        std::vector<Click> clicks;
    };
    const Case cases[] = {
        {"Check6 over Check5, then clear Check6",
         "",
         {{Box::Check5, true, "00101000"},
          {Box::Check6, true, "00100100"},
          {Box::Check6, false, "00100000"}}},
        {"Check7 clears Check5 and Check6",
         lines({"N", "N", "J", "N", "J", "J"}),
         {{Box::Check7, true, "00100010"}, {Box::Check5, true, "00101000"}}},
        {"double spacing clears excess strokes and back",
         lines({"N", "N", "J", "J"}),
         {{Box::Check4, true, "00010000"},
          {Box::Check3, true, "00100000"},
          {Box::Check3, false, "00000000"},
          {Box::Check4, false, "00000000"}}},
        {"Check1, Check2 and Check8 touch nothing else",
         "",
         {{Box::Check6, true, "00100100"},
          {Box::Check1, true, "10100100"},
          {Box::Check2, true, "11100100"},
          {Box::Check8, true, "11100101"},
          {Box::Check1, false, "01100101"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsDialogModel model = shown(c.fileText);
        for (const Click& click : c.clicks) {
            model.userSetBox(click.box, click.ticked);
            EXPECT_EQ(ticks(model), click.after);
        }
    }
}

TEST(SettingsDialogModel, OkWritesEveryBoxAsJOrNInFileOrder) {
    struct Case {
        const char* name;
        std::string fileText; // what the boxes showed first
        std::vector<std::pair<Box, bool>> clicks;
        std::string file;
    };
    const Case cases[] = {
        {"all clear", "", {{Box::Check3, false}}, lines({"N", "N", "N", "N", "N", "N", "N", "N"})},
        {"as many ticked as can be",
         "",
         {{Box::Check1, true}, {Box::Check2, true}, {Box::Check8, true}, {Box::Check7, true}},
         lines({"J", "J", "J", "N", "N", "N", "J", "J"})},
        // j and Ja on lines 1 and 2 never ticked their boxes; x left Check3 ticked.
        {"odd values",
         lines({"j", "Ja", "x", "N", "N", "N", "N", "Ja"}),
         {},
         lines({"N", "N", "J", "N", "N", "N", "N", "J"})},
    };
    testing::TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsDialogModel model = shown(c.fileText);
        for (const auto& [box, ticked] : c.clicks)
            model.userSetBox(box, ticked);
        SettingsStore store;
        EXPECT_FALSE(model.store(store, FileSystem::real(), folder.file("Settings")));
        EXPECT_EQ(readFile(folder.file("Settings")), c.file);
        EXPECT_EQ(store, parseSettings(c.file));
    }
}

// A folder that is a regular file, or a full disk: the new values stay in the store, the old
// file stays as it was, and the message names the file and the reason.
TEST(SettingsDialogModel, AFailedWriteKeepsTheNewValuesInTheStore) {
    testing::TempFolder folder;
    const std::string old = lines({"N", "N", "N", "N", "N", "N", "N", "N"});
    testing::writeFile(folder.file("Settings"), old);
    testing::writeFile(folder.file("not-a-folder"), "x");
    FaultyFileSystem fullDisk;
    fullDisk.failOn(FaultyFileSystem::Operation::WriteAtomic, folder.file("Settings"), ENOSPC);
    struct Case {
        FileSystem& files;
        std::string path;
        int code;
    };
    const Case cases[] = {
        {FileSystem::real(), folder.file("not-a-folder") + "/Settings", errorcodes::PathFileAccess},
        {fullDisk, folder.file("Settings"), errorcodes::DiskFull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        SettingsDialogModel model;
        SettingsStore store;
        model.userSetBox(Box::Check1, true);
        FileResult failure = model.store(store, c.files, c.path);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->code, c.code);
        EXPECT_TRUE(store.timeLimitEndsTest());
        EXPECT_EQ(readFile(folder.file("Settings")), old);
        const std::string text = settingsWriteFailureText(c.path, *failure);
        EXPECT_NE(text.find(c.path), std::string::npos) << text;
        EXPECT_NE(text.find(failure->description), std::string::npos) << text;
    }
}

} // namespace
} // namespace keystride
