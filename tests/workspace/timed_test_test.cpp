#include "workspace_fixture.h"

namespace keystride::testing {
namespace {

class TimedTest : public WorkspaceTest {
protected:
    TimedTest() {
        settings.TimeLimit10 = "J";
        typed.setText(u"The learner's copy");
    }
    std::string backup() const { return currentFile("Backup.rtf"); }
    int backupWrites() const {
        return files.callCount(FaultyFileSystem::Operation::WriteAtomic, backup());
    }
    int endMessages() const {
        int count = 0;
        for (const auto& shown : messages.shown())
            count += shown.text == workspacetexts::EndOfTest ? 1 : 0;
        return count;
    }
    // The test is opened again without New: the clock stops and the display empties, but the
    // count of seconds goes on.
    void reopen() {
        clock.setEnabled(false);
        view.setClockText("");
    }
};

// "N" never times a test; "J" does; a value that is neither starts the clock on a key but never
// ends the test.
TEST_F(TimedTest, TheTimeLimitSettingDecidesWhetherKeysStartAndEndTheClock) {
    struct Row {
        const char* value;
        bool starts;
        std::string displayAt600;
        int endMessages;
    };
    const Row rows[] = {{"N", false, "", 0}, {"J", true, "10:00", 1}, {"j", true, "10:00", 0}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.value);
        settings.TimeLimit10 = row.value;
        commands.mnuNewTest();
        messages.clear();
        EXPECT_FALSE(commands.keyPressed(0)); // no character: nothing starts
        EXPECT_FALSE(clock.enabled());
        EXPECT_FALSE(commands.keyPressed(u'T'));
        EXPECT_EQ(clock.enabled(), row.starts);
        EXPECT_EQ(view.clockText(), "");
        if (row.starts)
            tick(600);
        EXPECT_EQ(view.clockText(), row.displayAt600);
        EXPECT_EQ(endMessages(), row.endMessages);
    }
}

TEST_F(TimedTest, TheDigitsAreReadBackFromTheDisplay) {
    commands.keyPressed(u'T');
    // Each tick reads the digits back from the display; a non-digit counts as 0.
    const std::pair<const char*, const char*> rows[] = {
        {"", "00:01"},      {"00:09", "00:10"}, {"00:59", "01:00"}, {"03:45", "03:46"},
        {"03:59", "04:00"}, {"0x:y9", "00:10"}, {"7", "00:08"},     {"09:59", "010:00"}};
    for (const auto& [shown, next] : rows) {
        view.setClockText(shown);
        tick(1);
        EXPECT_EQ(view.clockText(), next) << "after \"" << shown << "\"";
    }
    EXPECT_EQ(commands.ElapsedSeconds, 8);
}

TEST_F(TimedTest, TheTenMinuteLimitBacksUpTheTestAndBlocksKeys) {
    commands.keyPressed(u'T');
    tick(599);
    EXPECT_EQ(backupWrites(), 0);
    EXPECT_EQ(endMessages(), 0);
    EXPECT_FALSE(commands.keyPressed(u'x'));

    tick(1);
    EXPECT_EQ(view.clockText(), "10:00");
    MemoryPane restored;
    ASSERT_EQ(restored.loadFile(backup()), std::nullopt);
    EXPECT_EQ(restored.text(), typed.text());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, workspacetexts::EndOfTest);
    EXPECT_EQ(messages.shown()[0].title, "");
    EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::Ok);
    EXPECT_TRUE(commands.keyPressed(u'x'));

    // The clock keeps ticking: the display stays, the backup follows the pane, no second message.
    typed.setText(u"The learner's copy, changed");
    tick(3);
    EXPECT_EQ(view.clockText(), "10:00");
    EXPECT_EQ(backupWrites(), 4);
    EXPECT_EQ(endMessages(), 1);
    EXPECT_TRUE(commands.keyPressed(u'y'));
    ASSERT_EQ(restored.loadFile(backup()), std::nullopt);
    EXPECT_EQ(restored.text(), u"The learner's copy, changed");
}

// A test stopped at 05:00 and opened again ends five minutes later; one opened again after the
// limit is up at its first tick.
TEST_F(TimedTest, AReopenedTestKeepsCountingTowardsTheLimit) {
    commands.keyPressed(u'T');
    tick(300);
    EXPECT_EQ(view.clockText(), "05:00");
    reopen();
    commands.keyPressed(u'a');
    tick(299);
    EXPECT_EQ(view.clockText(), "04:59");
    EXPECT_EQ(endMessages(), 0);
    tick(1);
    EXPECT_EQ(view.clockText(), "10:00");
    EXPECT_EQ(endMessages(), 1);
    EXPECT_EQ(backupWrites(), 1);

    reopen();
    EXPECT_FALSE(commands.keyPressed(u'b'));
    tick(1);
    EXPECT_EQ(view.clockText(), "10:00");
    EXPECT_TRUE(commands.keyPressed(u'c'));
    EXPECT_EQ(endMessages(), 1);
}

// With writing switched off, or a backup the disk refuses, the time is still up: no backup, no
// error message, keys blocked.
TEST_F(TimedTest, ABackupThatIsNotWrittenStillEndsTheTest) {
    struct Row {
        const char* name;
        bool writeProtected;
        int attempts;
    };
    const Row rows[] = {{"write-protected", true, 0}, {"disk full", false, 1}};
    files.failOn(FaultyFileSystem::Operation::WriteAtomic, backup(), ENOSPC);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state.WriteProtected = row.writeProtected;
        commands.mnuNewTest();
        messages.clear();
        const int before = backupWrites();
        commands.keyPressed(u'T');
        tick(600);
        EXPECT_EQ(backupWrites() - before, row.attempts);
        EXPECT_FALSE(std::filesystem::exists(backup()));
        EXPECT_EQ(view.clockText(), "10:00");
        EXPECT_TRUE(commands.keyPressed(u'x'));
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].text, workspacetexts::EndOfTest);
    }
}

// New clears the test and stops the clock; the menu's mark, the cut-off request and the file
// name stay; a source pane is unmarked (ClearSourceMarks), an empty one left alone.
TEST_F(TimedTest, NewStopsTheClockAndClearsTheTest) {
    commands.mnuNewTest();
    EXPECT_FALSE(source.changed());

    source.setText(u"Source document text");
    source.setSelStart(4);
    state.LineSpacingMode = 2;
    view.setLineSpacingCheck(2);
    view.setLabel3("/tests/learner.rtf");
    state.CurrentFileName = "/tests/learner.rtf";
    commands.keyPressed(u'T');
    tick(42);
    commands.mnuForce(); // F9 arms the cut-off and leaves the clock alone
    EXPECT_TRUE(clock.enabled());

    commands.mnuNewTest();
    EXPECT_FALSE(clock.enabled());
    EXPECT_EQ(view.clockText(), "");
    EXPECT_EQ(commands.ElapsedSeconds, 0);
    EXPECT_EQ(typed.text(), u"");
    EXPECT_EQ(view.label3(), "");
    EXPECT_EQ(state.LineSpacingMode, 0);
    EXPECT_EQ(view.lineSpacingCheck(), 2);
    EXPECT_TRUE(state.CutOffPending);
    EXPECT_EQ(state.CurrentFileName, "/tests/learner.rtf");
    EXPECT_EQ(source.selStart(), 0);
    EXPECT_EQ(source.text(), u"Source document text");
}

} // namespace
} // namespace keystride::testing
