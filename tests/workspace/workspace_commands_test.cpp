#include "workspace_fixture.h"

namespace keystride::testing {
namespace {

using Workspace = WorkspaceTest;

TEST_F(Workspace, StartUpLoadsTheSettingsAndClearsTheState) {
    for (const char* file :
         {"J\r\nN\r\nN\r\nN\r\nN\r\nN\r\nN\r\nJ\r\n", static_cast<const char*>(nullptr)}) {
        std::filesystem::remove(programFile("Settings"));
        if (file)
            writeFile(programFile("Settings"), file);
        state.WriteProtected = state.CutOffGiven = state.CutOffPending = true;
        settings.WpmInteger = "J";
        typed.setText(u"x");
        clock.setEnabled(true);
        view.setClockText("03:00");
        view.setLineSpacingCheck(2);

        commands.startUp({programFile("fonts")});
        EXPECT_EQ(settings, file ? parseSettings(file) : SettingsStore{});
        EXPECT_EQ(settings.TimeLimit10, file ? "J" : "N");
        EXPECT_FALSE(state.FontMarking);
        EXPECT_FALSE(state.WriteProtected || state.CutOffGiven || state.CutOffPending);
        EXPECT_FALSE(typed.changed());
        EXPECT_FALSE(clock.enabled());
        EXPECT_EQ(view.clockText(), "");
        EXPECT_EQ(view.lineSpacingCheck(), 0);
    }
}

TEST_F(Workspace, ExitAsksOnlyForAChangedNonEmptyTest) {
    struct Row {
        const char* name;
        std::u16string text;
        bool changed;
        std::optional<MessageAnswer> answer; // none: no question expected
        int saves;
        int terminations;
    };
    const Row rows[] = {
        {"empty and changed", u"", true, std::nullopt, 0, 1},
        {"unchanged", u"typed", false, std::nullopt, 0, 1},
        {"changed, Yes", u"typed", true, MessageAnswer::Yes, 1, 1},
        {"changed, No", u"typed", true, MessageAnswer::No, 0, 1},
        {"changed, Cancel", u"typed", true, MessageAnswer::Cancel, 0, 0},
    };
    int saves = 0;
    commands.setSaveSpeedTestAs([&saves] { ++saves; });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        messages.clear();
        saves = view.terminations = 0;
        typed.setText(row.text);
        typed.setChanged(row.changed);
        if (row.answer)
            messages.queueAnswer(*row.answer);

        commands.mnuExit();
        ASSERT_EQ(messages.shown().size(), row.answer ? 1u : 0u);
        if (row.answer) {
            EXPECT_EQ(messages.shown()[0].text, "Save changes to speed test?");
            EXPECT_EQ(messages.shown()[0].title, "Vela Keystride - Save?");
            EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::YesNoCancel);
            EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Question);
        }
        EXPECT_EQ(saves, row.saves);
        EXPECT_EQ(view.terminations, row.terminations);
        EXPECT_EQ(typed.text(), row.text);
    }
}

TEST_F(Workspace, ClosingTheWindowAsksWhetherToExitAndNeverToSave) {
    struct Row {
        CloseReason reason;
        MessageAnswer answer;
        const char* prompt;
    };
    const Row rows[] = {
        {CloseReason::UserClose, MessageAnswer::No, "Do you really want to exit Vela Keystride?"},
        {CloseReason::UserClose, MessageAnswer::Yes, "Do you really want to exit Vela Keystride?"},
        {CloseReason::Other, MessageAnswer::Yes, "Do you really want to exit the application?"},
    };
    typed.setText(u"changed test");
    for (const Row& row : rows) {
        messages.clear();
        messages.queueAnswer(row.answer);
        EXPECT_EQ(commands.queryClose(row.reason), row.answer == MessageAnswer::Yes);
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].text, row.prompt);
        EXPECT_EQ(messages.shown()[0].title, "Speed Test");
        EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Question);
    }
    EXPECT_EQ(view.terminations, 0);
}

// The help documents come from the current folder; an installed program started elsewhere finds
// its own in the program's folder.
TEST_F(Workspace, HelpDocumentsAreFoundInTheCurrentFolderThenInTheProgramsFolder) {
    struct Row {
        const char* name;
        bool inCurrent;
        bool inProgram;
        std::u16string afrikaans; // the speed test after Help > Afrikaans
        std::u16string english;   // and then after Help > English
    };
    const std::u16string work = u"the learner's work";
    const Row rows[] = {
        {"current folder only", true, false, u"Huidige hulp.", u"Current help.\r\nF12"},
        {"program's folder only", false, true, u"Hulp.", u"Installed help."},
        {"both: the current folder's", true, true, u"Huidige hulp.", u"Current help.\r\nF12"},
        {"neither: the test stays", false, false, work, work},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const char* help : {"Speedhelp.RTF", "Spoedhelp.RTF"}) {
            std::filesystem::remove(currentFile(help));
            std::filesystem::remove(programFile(help));
        }
        if (row.inCurrent) {
            writeFile(currentFile("Speedhelp.RTF"), "{\\rtf1\\ansi Current help.\\par F12}");
            writeFile(currentFile("Spoedhelp.RTF"), "{\\rtf1\\ansi Huidige hulp.}");
        }
        if (row.inProgram) {
            writeFile(programFile("Speedhelp.RTF"), "{\\rtf1\\ansi Installed help.}");
            writeFile(programFile("Spoedhelp.RTF"), "{\\rtf1\\ansi Hulp.}");
        }
        typed.setText(work);
        commands.mnuAfrikaans();
        EXPECT_EQ(typed.text(), row.afrikaans);
        commands.mnuEnglish();
        EXPECT_EQ(typed.text(), row.english);
        EXPECT_TRUE(messages.shown().empty());
    }
}

} // namespace
} // namespace keystride::testing
