// The "Settings" file as the store reads and writes it: eight fields in file order, commas and
// line ends both ending a field, blanks and quotes dropped, and J/N compared exactly.
#include "settings/settings_store.h"
#include "settings_lines.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <string>

namespace keystride {

// Readable failures; found beside SettingsStore by argument-dependent lookup.
void PrintTo(const SettingsStore& s, std::ostream* os) {
    *os << '[' << s.TimeLimit10 << '|' << s.CheckSpacing15 << '|' << s.CountExcessStrokes << '|'
        << s.CheckDoubleSpacing << '|' << s.WpmOneDecimal << '|' << s.WpmInteger << '|'
        << s.WpmMultipleOf5 << '|' << s.CheckCourier << ']';
}

namespace {

using testing::lines;

SettingsStore storeOf(const char* t1, const char* s15, const char* excess, const char* dbl,
                      const char* dec, const char* integer, const char* five, const char* courier) {
    SettingsStore store;
    store.TimeLimit10 = t1;
    store.CheckSpacing15 = s15;
    store.CountExcessStrokes = excess;
    store.CheckDoubleSpacing = dbl;
    store.WpmOneDecimal = dec;
    store.WpmInteger = integer;
    store.WpmMultipleOf5 = five;
    store.CheckCourier = courier;
    return store;
}

struct ParseCase {
    const char* name;
    std::string text;
    SettingsStore expected;
};

TEST(SettingsStoreParse, ReadsFieldsInFileOrder) {
    const ParseCase cases[] = {
        {"complete file", lines({"J", "N", "N", "J", "J", "N", "N", "J"}),
         storeOf("J", "N", "N", "J", "J", "N", "N", "J")},
        {"empty file keeps the initial state", "", storeOf("N", "N", "J", "N", "N", "N", "N", "N")},
        {"two lines set the first two values only", lines({"J", "J"}),
         storeOf("J", "J", "J", "N", "N", "N", "N", "N")},
        {"last line without line end", "J\r\nN\r\nN\r\nN\r\nN\r\nN\r\nN\r\nJ",
         storeOf("J", "N", "N", "N", "N", "N", "N", "J")},
        {"bare line feeds end fields too", "J\nJ\nN\nJ\nN\nJ\nN\nJ\n",
         storeOf("J", "J", "N", "J", "N", "J", "N", "J")},
        {"a comma splits a line and moves later values up",
         lines({"J,N", "N", "J", "N", "N", "J", "N"}),
         storeOf("J", "N", "N", "J", "N", "N", "J", "N")},
        {"surrounding blanks are dropped", lines({"  J ", "\tN", "N  ", "J", "N", "N", "N", " J"}),
         storeOf("J", "N", "N", "J", "N", "N", "N", "J")},
        {"enclosing quotes are dropped",
         lines({"\"J\"", " \"N\" ", "N", "N", "N", "N", "N", "\"J\""}),
         storeOf("J", "N", "N", "N", "N", "N", "N", "J")},
        {"a quoted comma stays inside the value", lines({"\"J,N\"", "J"}),
         storeOf("J,N", "J", "J", "N", "N", "N", "N", "N")},
        {"only the first character of line 8 is kept",
         lines({"Ja", "N", "N", "N", "N", "N", "N", "Ja"}),
         storeOf("Ja", "N", "N", "N", "N", "N", "N", "J")},
        {"an empty line 8 gives a blank Courier value",
         lines({"N", "N", "N", "N", "N", "N", "N", ""}),
         storeOf("N", "N", "N", "N", "N", "N", "N", " ")},
        {"empty lines are values too", lines({"", "", "", "J"}),
         storeOf("", "", "", "J", "N", "N", "N", "N")},
        {"lines past the eighth are ignored",
         lines({"N", "N", "N", "N", "N", "N", "N", "N", "J", "J"}),
         storeOf("N", "N", "N", "N", "N", "N", "N", "N")},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(parseSettings(c.text), c.expected);
    }
}

TEST(SettingsStoreParse, ValuesThatAreNeitherJNorNCountByTheSenseOfEachTest) {
    // A lowercase j: off where the test asks for "J", on where it asks for "not N".
    SettingsStore store = parseSettings(lines({"j", "j", "j", "j", "j", "j", "j", "j"}));
    EXPECT_TRUE(store.timeLimitStartsClock());
    EXPECT_FALSE(store.timeLimitEndsTest());
    EXPECT_FALSE(store.checkSpacing15());
    EXPECT_FALSE(store.checkDoubleSpacing());
    EXPECT_TRUE(store.checkCourier());
    EXPECT_TRUE(store.countExcessStrokes());
    EXPECT_FALSE(store.wpmInteger());
    EXPECT_FALSE(store.wpmMultipleOf5());
    EXPECT_FALSE(store.wpmOneDecimal());
}

TEST(SettingsStoreFormat, WritesEightLinesOfJOrN) {
    EXPECT_EQ(formatSettings(SettingsStore{}), lines({"N", "N", "J", "N", "N", "N", "N", "N"}));
    const std::string all = formatSettings(storeOf("J", "J", "J", "J", "J", "J", "J", "J"));
    EXPECT_EQ(all, lines({"J", "J", "J", "J", "J", "J", "J", "J"}));
    EXPECT_EQ(all.size(), 24u);
    // Whatever was read, the writer only ever writes "J" or "N".
    const std::string odd = formatSettings(storeOf("j", "Ja", "", " ", "n", "J", "x", " "));
    EXPECT_EQ(odd, lines({"N", "N", "N", "N", "N", "J", "N", "N"}));
    EXPECT_EQ(odd.size(), 24u);
}

// A missing file or a folder in its place gives the initial state; what is saved loads back.
TEST(SettingsStoreFile, SavesTwentyFourBytesAndLoadsThemBack) {
    testing::TempFolder folder;
    const std::string path = folder.file("Settings");
    EXPECT_EQ(loadSettings(FileSystem::real(), path), SettingsStore{});
    std::filesystem::create_directories(folder.file("folder") + "/Settings");
    EXPECT_EQ(loadSettings(FileSystem::real(), folder.file("folder") + "/Settings"),
              SettingsStore{});

    const SettingsStore store = storeOf("J", "N", "N", "J", "N", "J", "N", "J");
    ASSERT_FALSE(saveSettings(FileSystem::real(), path, store));
    EXPECT_EQ(std::filesystem::file_size(path), 24u);
    EXPECT_EQ(loadSettings(FileSystem::real(), path), store);
}

TEST(SettingsStoreShipped, TheInstalledFileIsCompleteAndHoldsTheDialogsInitialState) {
    const std::string path = KEYSTRIDE_DATA_DIR "/Settings";
    ReadResult read = FileSystem::real().readAll(path, 1024);
    ASSERT_FALSE(read.error) << read.error->description;
    EXPECT_EQ(read.bytes.size(), 24u);
    EXPECT_EQ(read.bytes, formatSettings(SettingsStore{}));
    EXPECT_EQ(parseSettings(read.bytes), SettingsStore{});
}

} // namespace
} // namespace keystride
