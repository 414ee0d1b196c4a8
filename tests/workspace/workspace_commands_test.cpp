// The workspace's own commands over the shared world without a window: start-up, Exit and the
// close check, the help documents, the timed test, and the Format menu's spacing and zoom.
#include "documents/line_spacing.h"
#include "documents/zoom.h"
#include "support/workspace_world.h"
#include "workspace/workspace_commands.h"

#include <gtest/gtest.h>

namespace keystride::testing {
namespace {

using enum LineSpacing;

class Workspace : public ::testing::Test, protected WorkspaceWorld {
protected:
    Workspace() {
        settings.TimeLimit10 = "J";
        typed.setText(u"The learner's copy");
    }
    std::string backup() const { return path("current/Backup.rtf"); }
    // What the learner meets of the timed test: the display, whether the clock runs, how many
    // backups were tried and what the backup holds, and an "end" for each end-of-test message
    // (any other message shows whole).
    std::string seen() const {
        std::string text =
            view.clockText() + (clock.enabled() ? " running" : " stopped") + ", backups " +
            std::to_string(files.callCount(FaultyFileSystem::Operation::WriteAtomic, backup()));
        MemoryPane restored;
        if (!restored.loadFile(backup()))
            text += ", saved \"" + toUtf8(restored.text()) + "\"";
        for (const auto& shown : messages.shown()) {
            const bool end = shown.text == workspacetexts::EndOfTest && shown.title.empty() &&
                             shown.buttons == MessageButtons::Ok;
            text += end ? ", end" : ", " + shown.title + ": " + shown.text;
        }
        return text;
    }
    // The test is opened again: the clock stops and the display empties, the count goes on.
    void reopen() {
        clock.setEnabled(false);
        view.setClockText("");
    }

    WorkspaceCommands commands{context};
};

TEST_F(Workspace, StartUpLoadsTheSettingsAndClearsTheState) {
    const std::string file = "N\r\nJ\r\nN\r\nN\r\nN\r\nN\r\nN\r\nJ\r\n";
    put("program/Settings", file);
    state.WriteProtected = state.CutOffGiven = state.CutOffPending = state.FontMarking = true;
    typed.setChanged(true);
    commands.keyPressed(u'T');

    commands.startUp({path("program/fonts")});
    EXPECT_EQ(settings, parseSettings(file));
    EXPECT_FALSE(state.FontMarking || state.WriteProtected || state.CutOffGiven ||
                 state.CutOffPending || typed.changed());
    EXPECT_EQ(seen(), " stopped, backups 0");
}

// Only a changed test that holds text is worth the question, with a way back; the close box
// asks in the product's words whether to exit, anything else in the application's; never to save.
TEST_F(Workspace, ExitAndCloseAskOnlyWhatTheyMust) {
    typed.setText(u"");
    typed.setChanged(true);
    commands.mnuExit();
    EXPECT_EQ(view.terminations, 1);
    typed.setText(u"typed");
    typed.setChanged(true);
    messages.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(commands.queryClose(CloseReason::UserClose));
    messages.queueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(commands.queryClose(CloseReason::Other));
    commands.mnuExit();
    EXPECT_EQ(seen(),
              " stopped, backups 0, Speed Test: Do you really want to exit Vela Keystride?, "
              "Speed Test: Do you really want to exit the application?, "
              "Vela Keystride - Save?: Save changes to speed test?");
    EXPECT_EQ(messages.shown().back().buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(view.terminations, 1);
}

// An installed program started elsewhere finds its help documents in the program's folder.
// Without any the test stays.
TEST_F(Workspace, HelpDocumentsAreFoundInTheCurrentFolderThenInTheProgramsFolder) {
    commands.mnuEnglish();
    EXPECT_EQ(typed.text(), u"The learner's copy");
    put("program/Speedhelp.RTF", "{\\rtf1\\ansi program help}");
    commands.mnuEnglish();
    EXPECT_EQ(typed.text(), u"program help");
    put("current/Speedhelp.RTF", "{\\rtf1\\ansi current help}");
    commands.mnuEnglish();
    EXPECT_EQ(typed.text(), u"current help");
    EXPECT_TRUE(messages.shown().empty());
}

// name, TimeLimit10, WriteProtected, the backup's errno (0: the disk takes it), what the learner
// meets at the limit and three ticks more
using LimitRow = std::tuple<const char*, const char*, bool, int, std::string>;

class TenMinuteLimit : public Workspace, public ::testing::WithParamInterface<LimitRow> {};

// A key starts the clock unless the setting is "N". Each tick reads the digits back from the
// display, so a test opened again shows its time from 00:00 but keeps counting. At 10:00
// the test is backed up on every tick, keys are refused and, with "J" only, the learner is told
// once. With writing switched off, or a backup the disk refuses, the time is still up: no backup
// and no error message.
TEST_P(TenMinuteLimit, BacksUpTheTestAndRefusesKeys) {
    const auto& [name, setting, writeProtected, backupErrno, after] = GetParam();
    settings.TimeLimit10 = setting;
    state.WriteProtected = writeProtected;
    if (backupErrno)
        files.failOn(FaultyFileSystem::Operation::WriteAtomic, backup(), backupErrno);
    const bool timed = std::string_view(setting) != "N";
    EXPECT_FALSE(commands.keyPressed(0)); // no character: nothing starts
    EXPECT_FALSE(clock.enabled());
    EXPECT_FALSE(commands.keyPressed(u'T'));
    clock.tick(300);
    reopen();
    EXPECT_FALSE(commands.keyPressed(u'a'));
    clock.tick(299);
    EXPECT_EQ(seen(), timed ? "04:59 running, backups 0" : " stopped, backups 0");
    clock.tick(1);
    EXPECT_EQ(commands.keyPressed(u'x'), timed);
    typed.setText(u"changed");
    reopen();
    commands.keyPressed(u'b'); // opened again after the limit: up at the first tick
    clock.tick(3);
    EXPECT_EQ(seen(), after);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, TenMinuteLimit,
    ::testing::Values(LimitRow{"J", "J", false, 0,
                               "10:00 running, backups 4, saved \"changed\", end"},
                      LimitRow{"LowercaseJNeverEnds", "j", false, 0,
                               "10:00 running, backups 4, saved \"changed\""},
                      LimitRow{"N", "N", false, 0, " stopped, backups 0"},
                      LimitRow{"WriteProtected", "J", true, 0, "10:00 running, backups 0, end"},
                      LimitRow{"DiskFull", "J", false, ENOSPC, "10:00 running, backups 4, end"}),
    [](const auto& info) { return std::string(std::get<0>(info.param)); });

// New stops the clock, starts the count again, clears the test and unmarks the source.
TEST_F(Workspace, NewClearsTheTestAndKeepsTheRest) {
    source.setText(u"Source document text");
    source.setSelStart(4);
    state.LineSpacingMode = 2;
    view.setLabel3("/tests/learner.rtf");
    commands.keyPressed(u'T');
    clock.tick(42);

    commands.mnuNewTest();
    EXPECT_EQ(seen(), " stopped, backups 0");
    EXPECT_EQ(std::tuple(view.label3(), commands.ElapsedSeconds, typed.text(),
                         state.LineSpacingMode, source.selStart()),
              std::tuple("", 0, u"", 0, 0));
}

// Each spacing command spaces every paragraph; opened again, the saved test is detected as spaced
// that way.
TEST_F(Workspace, EachSpacingIsSetAndDetectedWhenTheSavedTestIsOpened) {
    const std::tuple<void (*)(WorkspaceContext&), int, LineSpacing> rows[] = {
        {mnu15LineSpacing, 1, OneAndAHalf}, {mnuDouble, 2, Double}, {mnuSingle, 0, Single}};
    for (const auto& [command, mode, spacing] : rows) {
        typed.setText(u"First paragraph\r\nsecond\r\n\r\nlast");
        command(context);
        EXPECT_EQ(typed.paragraphSpacings(), std::vector<LineSpacing>(4, spacing));

        state.LineSpacingMode = mode == 2 ? 0 : 2; // a stale mode and mark
        view.setLineSpacingCheck(state.LineSpacingMode);
        typed.setTextRtf(typed.textRtf()); // the saved markup opened again
        KykvirSpasiering(context);
        EXPECT_EQ(std::pair(state.LineSpacingMode, view.lineSpacingCheck()), std::pair(mode, mode));
    }
}

// A test in neither spacing is read as single and not touched.
TEST_F(Workspace, DetectionLeavesPlainTestsAlone) {
    typed.setText(u"plain\r\ntext");
    typed.setSelStart(3);
    typed.setChanged(false);
    KykvirSpasiering(context);
    EXPECT_EQ(std::tuple(state.LineSpacingMode, typed.selStart(), typed.changed()),
              std::tuple(0, 3, false));
}

// Each zoom command stops at its pane's limit (one step of each is the window's menu test).
TEST_F(Workspace, ZoomStaysInsideEachPanesLimits) {
    source.setText(u"source");
    const std::tuple<void (*)(WorkspaceContext&), DocumentPane*, int, double> rows[] = {
        {mnuplus, &typed, 7, 36},
        {mnuminus, &typed, 9, 4},
        {mnuIn, &source, 6, 29.75},
        {mnuUit, &source, 7, 5.75}};
    for (const auto& [command, pane, times, expected] : rows) {
        for (int i = 0; i < times; ++i)
            command(context);
        pane->setSelStart(0);
        pane->setSelLength(pane->textLength());
        EXPECT_EQ(pane->selFontSize(), expected) << times << " times";
    }
}

} // namespace
} // namespace keystride::testing
