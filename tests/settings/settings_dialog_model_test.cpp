// The settings dialog without a window: what loading ticks, how the user's clicks tie boxes
// together, and what "OK" leaves in the SettingsStore and the file.
#include "settings/settings_dialog_model.h"

#include "support/faulty_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace keystride {
namespace {

using Box = SettingsBox;

std::string lines(std::initializer_list<const char*> values) {
    std::string text;
    for (const char* value : values)
        text += std::string(value) + "\r\n";
    return text;
}

// The ticks as a string of eight digits, Check1 first: "00100000" is the initial state.
std::string ticks(const SettingsDialogModel& model) {
    std::string out;
    for (int i = 1; i <= SettingsBoxCount; ++i)
        out += model.isTicked(static_cast<Box>(i)) ? '1' : '0';
    return out;
}

class SettingsDialogModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::temp_directory_path() /
                   (std::string("keystride-formS-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_path = (m_folder / "Settings").string();
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    void writeFile(const std::string& text) { std::ofstream(m_path, std::ios::binary) << text; }
    std::string readFile() const {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::filesystem::path m_folder;
    std::string m_path;
};

TEST_F(SettingsDialogModelTest, LoadingTicksOnlyWhatTheFileSays) {
    struct Case {
        const char* name;
        const char* fileText; // nullptr: no file
        const char* expected;
    };
    const Case cases[] = {
        {"no file: the designed state", nullptr, "00100000"},
        {"empty file", "", "00100000"},
        {"all N", "N\r\nN\r\nN\r\nN\r\nN\r\nN\r\nN\r\nN\r\n", "00000000"},
        // Loading shows values: boxes that exclude each other for a click are all ticked here.
        {"all J", "J\r\nJ\r\nJ\r\nJ\r\nJ\r\nJ\r\nJ\r\nJ\r\n", "11111111"},
        {"line 3 another letter leaves it ticked", "N\r\nN\r\nx\r\nN\r\nN\r\nN\r\nN\r\nN\r\n",
         "00100000"},
        {"line 3 empty leaves it ticked", "N\r\nN\r\n\r\nN\r\nN\r\nN\r\nN\r\nN\r\n", "00100000"},
        {"short file leaves Check3 ticked", "J\r\nJ\r\n", "11100000"},
        {"lowercase j ticks nothing", "j\r\nj\r\nn\r\nj\r\nj\r\nj\r\nj\r\nj\r\n", "00100000"},
        {"J with letters ticks Check8 but not Check1", "Ja\r\nN\r\nN\r\nN\r\nN\r\nN\r\nN\r\nJa\r\n",
         "00000001"},
        {"a comma moves values up", "N,J\r\nN\r\nN\r\nN\r\nN\r\nN\r\nN\r\n", "01000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(m_path);
        if (c.fileText)
            writeFile(c.fileText);
        SettingsDialogModel model;
        SettingsStore store;
        store.TimeLimit10 = "stale";
        model.load(FileSystem::real(), m_path, store);
        EXPECT_EQ(ticks(model), c.expected);
        if (c.fileText)
            EXPECT_EQ(store, parseSettings(c.fileText));
        else
            EXPECT_EQ(store, SettingsStore{});
    }
}

TEST_F(SettingsDialogModelTest, ClicksFollowTheExclusionGroups) {
    struct Click {
        Box box;
        bool ticked;
        const char* after;
    };
    struct Case {
        const char* name;
        std::vector<Click> clicks;
    };
    const Case cases[] = {
        {"Check6 over Check5, then clear Check6",
         {{Box::Check5, true, "00101000"},
          {Box::Check6, true, "00100100"},
          {Box::Check6, false, "00100000"}}},
        {"Check7 clears Check5 and Check6",
         {{Box::Check5, true, "00101000"},
          {Box::Check7, true, "00100010"},
          {Box::Check5, true, "00101000"}}},
        {"double spacing clears excess strokes and back",
         {{Box::Check4, true, "00010000"},
          {Box::Check3, true, "00100000"},
          {Box::Check3, false, "00000000"},
          {Box::Check4, true, "00010000"},
          {Box::Check4, false, "00000000"}}},
        {"Check1, Check2 and Check8 touch nothing else",
         {{Box::Check6, true, "00100100"},
          {Box::Check1, true, "10100100"},
          {Box::Check2, true, "11100100"},
          {Box::Check8, true, "11100101"},
          {Box::Check1, false, "01100101"}}},
        {"clearing a box leaves the others of its group",
         {{Box::Check5, true, "00101000"},
          {Box::Check7, false, "00101000"},
          {Box::Check4, false, "00101000"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsDialogModel model;
        for (const Click& click : c.clicks) {
            model.userSetBox(click.box, click.ticked);
            EXPECT_EQ(ticks(model), click.after);
        }
    }
}

TEST_F(SettingsDialogModelTest, ClicksClearBoxesThatLoadingTickedTogether) {
    writeFile(lines({"N", "N", "J", "J", "J", "J", "J", "N"}));
    SettingsDialogModel model;
    SettingsStore store;
    model.load(FileSystem::real(), m_path, store);
    ASSERT_EQ(ticks(model), "00111110");
    model.userSetBox(Box::Check6, true);
    EXPECT_EQ(ticks(model), "00110100");
    model.userSetBox(Box::Check4, true);
    EXPECT_EQ(ticks(model), "00010100");
}

TEST_F(SettingsDialogModelTest, OkWritesEveryBoxInFileOrder) {
    struct Case {
        const char* name;
        std::vector<std::pair<Box, bool>> clicks;
        std::string file;
    };
    const Case cases[] = {
        {"all clear", {{Box::Check3, false}}, lines({"N", "N", "N", "N", "N", "N", "N", "N"})},
        {"as many ticked as can be",
         {{Box::Check1, true}, {Box::Check2, true}, {Box::Check8, true}, {Box::Check7, true}},
         lines({"J", "J", "J", "N", "N", "N", "J", "J"})},
        {"double spacing instead of excess strokes",
         {{Box::Check4, true}, {Box::Check5, true}, {Box::Check8, true}},
         lines({"N", "N", "N", "J", "J", "N", "N", "J"})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SettingsDialogModel model;
        for (const auto& [box, ticked] : c.clicks)
            model.userSetBox(box, ticked);
        SettingsStore store;
        EXPECT_FALSE(model.store(store, FileSystem::real(), m_path));
        EXPECT_EQ(readFile(), c.file);
        EXPECT_EQ(store, parseSettings(c.file));
    }
}

TEST_F(SettingsDialogModelTest, OkTurnsOddValuesIntoJOrN) {
    writeFile(lines({"j", "Ja", "x", "N", "N", "N", "N", "Ja"}));
    SettingsDialogModel model;
    SettingsStore store;
    model.load(FileSystem::real(), m_path, store);
    ASSERT_EQ(store.CheckCourier, "J");
    ASSERT_FALSE(model.store(store, FileSystem::real(), m_path));
    // j and Ja on line 1 and 2 never ticked their boxes; x left Check3 ticked.
    EXPECT_EQ(readFile(), lines({"N", "N", "J", "N", "N", "N", "N", "J"}));
    EXPECT_EQ(store.TimeLimit10, "N");
    EXPECT_EQ(store.CountExcessStrokes, "J");
}

// A folder that is a regular file, or a full disk: the new values stay in the store, the old
// file stays as it was, and the message names the file and the reason.
TEST_F(SettingsDialogModelTest, AFailedWriteKeepsTheNewValuesInTheStore) {
    const std::string old = lines({"N", "N", "N", "N", "N", "N", "N", "N"});
    writeFile(old);
    std::ofstream((m_folder / "not-a-folder").string()) << "x";
    FaultyFileSystem fullDisk;
    fullDisk.failOn(FaultyFileSystem::Operation::WriteAtomic, m_path, ENOSPC);
    struct Case {
        FileSystem& files;
        std::string path;
        int code;
    };
    const Case cases[] = {
        {FileSystem::real(), (m_folder / "not-a-folder" / "Settings").string(),
         errorcodes::PathFileAccess},
        {fullDisk, m_path, errorcodes::DiskFull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        SettingsDialogModel model;
        SettingsStore store;
        model.load(c.files, c.path, store);
        model.userSetBox(Box::Check1, true);
        FileResult failure = model.store(store, c.files, c.path);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->code, c.code);
        EXPECT_EQ(store.TimeLimit10, "J");
        EXPECT_TRUE(store.timeLimitEndsTest());
        EXPECT_EQ(readFile(), old);
        const std::string text = settingsWriteFailureText(c.path, *failure);
        EXPECT_NE(text.find(c.path), std::string::npos) << text;
        EXPECT_NE(text.find(failure->description), std::string::npos) << text;
    }
}

} // namespace
} // namespace keystride
