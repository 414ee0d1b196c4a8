#include "workspace_fixture.h"

#include "platform/files/program_folder.h"

namespace keystride::testing {
namespace {

using Workspace = WorkspaceTest;

TEST_F(Workspace, FontMarkingNeedsAllFiveFontFiles) {
    const std::string fonts = programFile("");
    const std::string other = currentFile("");
    struct Row {
        std::vector<std::string> present; // folder + name
        bool expected;
    };
    auto all = [](const std::string& folder) {
        std::vector<std::string> paths;
        for (std::string_view name : MarkingFontFiles)
            paths.push_back(folder + std::string(name));
        return paths;
    };
    std::vector<std::string> spread = all(fonts);
    spread[4] = other + std::string(MarkingFontFiles[4]);
    std::vector<std::string> oneMissing = all(fonts);
    oneMissing.pop_back();
    std::vector<std::string> wrongCase = all(fonts);
    wrongCase[0] = fonts + "cour1.ttf";
    const Row rows[] = {
        {all(fonts), true}, {spread, true}, {oneMissing, false}, {wrongCase, false}, {{}, false}};
    for (const Row& row : rows) {
        std::filesystem::remove_all(fonts);
        std::filesystem::remove_all(other);
        std::filesystem::create_directories(fonts);
        std::filesystem::create_directories(other);
        for (const std::string& path : row.present)
            writeFile(path, "font");
        EXPECT_EQ(markingFontsInstalled(files, {fonts, other}), row.expected) << row.present.size();
    }
}

TEST_F(Workspace, StartUpLoadsTheSettingsAndClearsTheState) {
    writeFile(programFile("Settings"), "J\r\nJ\r\nN\r\nJ\r\nN\r\nN\r\nJ\r\nJ\r\n");
    state.FontMarking = true;
    state.WriteProtected = true;
    state.CutOffGiven = true;
    state.CutOffPending = true;
    typed.setText(u"x");
    clock.setEnabled(true);
    view.setClockText("03:00");
    view.setLineSpacingCheck(2);

    commands.startUp({programFile("fonts")});
    EXPECT_FALSE(state.FontMarking);
    EXPECT_FALSE(state.WriteProtected);
    EXPECT_FALSE(state.CutOffGiven);
    EXPECT_FALSE(state.CutOffPending);
    EXPECT_FALSE(typed.changed());
    EXPECT_EQ(settings.TimeLimit10, "J");
    EXPECT_EQ(settings.CountExcessStrokes, "N");
    EXPECT_EQ(settings.CheckCourier, "J");
    EXPECT_FALSE(clock.enabled());
    EXPECT_EQ(view.clockText(), "");
    EXPECT_EQ(view.lineSpacingCheck(), 0);
}

TEST_F(Workspace, StartUpWithoutASettingsFileUsesTheInitialSettings) {
    settings.TimeLimit10 = "J";
    commands.startUp({});
    EXPECT_EQ(settings, SettingsStore{});
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
    for (const Row& row : rows) {
        ScriptedMessageBoxes boxes;
        RecordingView exitView;
        WorkspaceContext scoped{typed,
                                source,
                                state,
                                settings,
                                exitView,
                                boxes,
                                dialogs,
                                printing,
                                clock,
                                processes,
                                files,
                                context.programFolder,
                                context.currentFolder};
        WorkspaceCommands exitCommands(scoped);
        int saves = 0;
        exitCommands.setSaveSpeedTestAs([&saves] { ++saves; });
        typed.setText(row.text);
        typed.setChanged(row.changed);
        if (row.answer)
            boxes.queueAnswer(*row.answer);

        exitCommands.mnuExit();
        if (row.answer) {
            ASSERT_EQ(boxes.shown().size(), 1u) << row.name;
            EXPECT_EQ(boxes.shown()[0].text, "Save changes to speed test?");
            EXPECT_EQ(boxes.shown()[0].title, "Vela Keystride - Save?");
            EXPECT_EQ(boxes.shown()[0].buttons, MessageButtons::YesNoCancel);
            EXPECT_EQ(boxes.shown()[0].icon, MessageIcon::Question);
        } else {
            EXPECT_TRUE(boxes.shown().empty()) << row.name;
        }
        EXPECT_EQ(saves, row.saves) << row.name;
        EXPECT_EQ(exitView.terminations, row.terminations) << row.name;
        EXPECT_EQ(typed.text(), row.text) << row.name;
    }
}

TEST_F(Workspace, ClosingTheWindowAsksWhetherToExit) {
    struct Row {
        CloseReason reason;
        MessageAnswer answer;
        const char* prompt;
        bool closes;
    };
    const Row rows[] = {
        {CloseReason::UserClose, MessageAnswer::No, "Do you really want to exit Vela Keystride?",
         false},
        {CloseReason::UserClose, MessageAnswer::Yes, "Do you really want to exit Vela Keystride?",
         true},
        {CloseReason::Other, MessageAnswer::Yes, "Do you really want to exit the application?",
         true},
        {CloseReason::Other, MessageAnswer::No, "Do you really want to exit the application?",
         false},
    };
    typed.setText(u"changed test");
    for (const Row& row : rows) {
        messages.clear();
        messages.queueAnswer(row.answer);
        EXPECT_EQ(commands.queryClose(row.reason), row.closes);
        ASSERT_EQ(messages.shown().size(), 1u); // never a save question on this path
        EXPECT_EQ(messages.shown()[0].text, row.prompt);
        EXPECT_EQ(messages.shown()[0].title, "Speed Test");
        EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::YesNo);
        EXPECT_EQ(messages.shown()[0].icon, MessageIcon::Question);
    }
    EXPECT_EQ(view.terminations, 0);
}

TEST_F(Workspace, HelpDocumentsReplaceTheSpeedTestWhenTheyCanBeRead) {
    typed.setText(u"the learner's work");
    typed.setChanged(false);
    commands.mnuEnglish(); // "Speedhelp.RTF" is absent
    commands.mnuAfrikaans();
    EXPECT_EQ(typed.text(), u"the learner's work");
    EXPECT_FALSE(typed.changed());
    EXPECT_TRUE(messages.shown().empty());

    writeFile(currentFile("Speedhelp.RTF"), "{\\rtf1\\ansi Press F12 to mark.\\par Help}");
    writeFile(currentFile("Spoedhelp.RTF"), "{\\rtf1\\ansi Druk F12.}");
    commands.mnuEnglish();
    EXPECT_EQ(typed.text(), u"Press F12 to mark.\r\nHelp");
    commands.mnuAfrikaans();
    EXPECT_EQ(typed.text(), u"Druk F12.");
}

TEST(WorkspacePaths, JoinKeepsBareNamesInTheCurrentFolder) {
    EXPECT_EQ(joinPath(".", "Backup.rtf"), "Backup.rtf");
    EXPECT_EQ(joinPath("", "Backup.rtf"), "Backup.rtf");
    EXPECT_EQ(joinPath("/srv/class", "Backup.rtf"), "/srv/class/Backup.rtf");
    EXPECT_EQ(joinPath("/srv/class/", "Backup.rtf"), "/srv/class/Backup.rtf");
}

} // namespace
} // namespace keystride::testing
