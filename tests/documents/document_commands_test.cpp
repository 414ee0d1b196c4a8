// The document commands over scripted services: both open commands with the warning, the clock,
// conversion of word-processor files and the error rule; Save As of both panes with the Exit
// interplay; ReOpen.
#include "documents_fixture.h"

#include <cctype>
#include <cerrno>

namespace keystride::testing {
namespace {

namespace fs = std::filesystem;
using Op = FaultyFileSystem::Operation;

const std::string kRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 The quick brown fox.\\par}";
const std::string kSpacedRtf =
    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\sl360\\slmult1\\f0 One and a half.\\par}";

std::string errorBox(int code, const std::string& description) {
    return errorMessageText(FileError{code, description});
}

class OpenCommandsTest : public DocumentsTest {};

TEST_F(OpenCommandsTest, OpensASpeedTestWithEveryStepOfTheCommand) {
    source.setText(u"Source words");
    source.setSelStart(0);
    source.setSelLength(6);
    source.setSelColour(colours::blue);
    source.setSelBold(true);
    clock.setEnabled(true);
    view.setClockText("04:59");
    typed.setText(u"old test");
    const std::string file = put("test.rtf", kSpacedRtf);
    dialogs.queuePath(file);

    commands.mnuTypedDoc();

    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_FALSE(dialogs.asked()[0].save);
    EXPECT_EQ(dialogs.asked()[0].filter,
              "Rich Text Files (recommended)|*.rtf|Doc(x), Odt, Txt|*.txt;*.doc;*.docx;*.odt");
    EXPECT_EQ(dialogs.asked()[0].fileName, "");
    EXPECT_EQ(typed.text(), u"One and a half.");
    EXPECT_EQ(view.label3(), file);
    EXPECT_EQ(state.CurrentFileName, file);
    EXPECT_FALSE(typed.changed());
    EXPECT_FALSE(clock.enabled());
    EXPECT_EQ(view.clockText(), "");
    // The loaded test's spacing is detected and ticked.
    EXPECT_EQ(view.lineSpacingCheck(), 1);
    EXPECT_EQ(typed.paragraphSpacings(), std::vector<LineSpacing>{LineSpacing::OneAndAHalf});
    // Leaving right after the open asks nothing.
    workspace.mnuExit();
    EXPECT_EQ(view.terminations, 1);
    // The blue cut-off marking left the source.
    source.setSelStart(0);
    source.setSelLength(source.textLength());
    EXPECT_EQ(source.selColour(), colours::black);
    EXPECT_EQ(source.selBold(), false);
    EXPECT_EQ(view.warnings, 0);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(commands.lastFileName(), file);
}

TEST_F(OpenCommandsTest, CancelledOpenLeavesEmptyPanesAndLabels) {
    typed.setText(u"typed before");
    view.setLabel3("before.rtf");
    clock.setEnabled(true);
    state.CurrentFileName = "before.rtf";
    commands.mnuTypedDoc();
    EXPECT_EQ(typed.text(), u"");
    EXPECT_EQ(view.label3(), "");
    EXPECT_EQ(state.CurrentFileName, "");
    EXPECT_FALSE(clock.enabled());

    source.setText(u"source before");
    view.setLabel4("source.rtf");
    commands.mnuOpenorigin();
    EXPECT_EQ(source.text(), u"");
    EXPECT_EQ(view.label4(), "");
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(OpenCommandsTest, WarningDialogWhileTheMarkerExists) {
    const fs::path marker = root / "current" / "Warning.txt";
    writeFile(marker, "");
    // The dialog's "Don't show this message again" the second time it is shown.
    view.onWarning = [&] {
        if (view.warnings == 2)
            fs::remove(marker);
    };
    commands.mnuTypedDoc();
    EXPECT_EQ(view.warnings, 1);
    commands.mnuOpenorigin();
    EXPECT_EQ(view.warnings, 2);
    commands.mnuTypedDoc();
    commands.mnuOpenorigin();
    EXPECT_EQ(view.warnings, 2);
}

TEST_F(OpenCommandsTest, Command1ClearsTheCutOffRequest) {
    state.CutOffPending = true;
    dialogs.queuePath(put("t.rtf", kRtf));
    commands.Command1();
    EXPECT_FALSE(state.CutOffPending);
    EXPECT_EQ(typed.text(), u"The quick brown fox.");
}

TEST_F(OpenCommandsTest, SourceLoadsWithCourierNewAsItsBaseFont) {
    CharFormat other = source.baseFormat();
    other.font = "Arial";
    source.setBaseFormat(other);
    const std::string file = put("source.txt", "Plain source text");
    dialogs.queuePath(file);
    commands.mnuOpenorigin();
    EXPECT_EQ(source.text(), u"Plain source text");
    EXPECT_EQ(source.baseFormat().font, "Courier New");
    EXPECT_EQ(source.baseFormat().size, 9.75);
    source.setSelStart(0);
    source.setSelLength(source.textLength());
    EXPECT_EQ(source.selFontName(), "Courier New");
    EXPECT_EQ(view.label4(), file);
    EXPECT_EQ(state.CurrentFileName, file);
}

struct ConversionRow {
    const char* name;
    ConversionKind kind;
    const char* rtfName;
};

class ConversionKindsTest : public DocumentsTest,
                            public ::testing::WithParamInterface<ConversionRow> {};

TEST_P(ConversionKindsTest, EachKindIsConvertedItsOwnWayAndTheRtfIsLoaded) {
    const ConversionRow row = GetParam();
    const std::string chosen = put(row.name, "word-processor bytes");
    const std::string rtf = path(row.rtfName);
    processes.addProgram("Docx2Rtf", "/opt/converter/Docx2Rtf");
    processes.queueOutcome(ProcessOutcome{true, true, 0, ""}, [&](const auto&) {
        writeFile(rtf, "{\\rtf1\\ansi Converted by the converter.\\par}");
    });
    dialogs.queuePath(chosen);

    commands.mnuTypedDoc();

    EXPECT_EQ(state.CurrentFileName, rtf);
    EXPECT_EQ(view.label3(), rtf);
    EXPECT_EQ(commands.lastFileName(), chosen);
    switch (row.kind) {
    case ConversionKind::Doc:
        ASSERT_EQ(wordProcessor.conversions.size(), 1u);
        EXPECT_EQ(wordProcessor.conversions[0].first, chosen);
        EXPECT_EQ(wordProcessor.conversions[0].second, rtf);
        EXPECT_TRUE(processes.calls().empty());
        EXPECT_TRUE(messages.shown().empty());
        EXPECT_EQ(typed.text(), u"Converted text.");
        break;
    case ConversionKind::Docx:
    case ConversionKind::Odt: {
        EXPECT_TRUE(wordProcessor.conversions.empty());
        ASSERT_EQ(processes.calls().size(), 1u);
        EXPECT_EQ(processes.calls()[0].program, "/opt/converter/Docx2Rtf");
        const std::string kind = row.kind == ConversionKind::Docx ? "docx" : "odt";
        EXPECT_EQ(processes.calls()[0].args,
                  (std::vector<std::string>{"-f", root.string() + "/", kind}));
        EXPECT_FALSE(processes.calls()[0].detached) << "the teacher waits for the document";
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].title, "DOCX file");
        const std::string what = row.kind == ConversionKind::Docx ? "All Word 2007 documents"
                                                                  : "All Open Office documents";
        EXPECT_EQ(messages.shown()[0].text,
                  what +
                      " in this folder are now converted to RTF files by Docx2Rtf, a free "
                      "utility from " +
                      ConverterWebAddress + ", and is not sold.");
        EXPECT_EQ(typed.text(), u"Converted by the converter.");
        EXPECT_EQ(view.busyChanges, (std::vector<bool>{true, false}));
        break;
    }
    case ConversionKind::None:
        FAIL();
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ConversionKindsTest,
                         ::testing::Values(ConversionRow{"t1.docx", ConversionKind::Docx, "t1.rtf"},
                                           ConversionRow{"x.DocX", ConversionKind::Docx, "x.rtf"},
                                           ConversionRow{"t2.odt", ConversionKind::Odt, "t2.rtf"},
                                           ConversionRow{"T3.ODT", ConversionKind::Odt, "T3.rtf"},
                                           ConversionRow{"t4.doc", ConversionKind::Doc, "t4.rtf"},
                                           ConversionRow{"t5.DOC", ConversionKind::Doc, "t5.rtf"}),
                         [](const auto& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

TEST_F(OpenCommandsTest, SourceDocxIsConvertedWithoutAMessage) {
    const std::string chosen = put("src.docx", "bytes");
    processes.addProgram("Docx2Rtf", "/opt/Docx2Rtf");
    processes.queueOutcome(ProcessOutcome{true, true, 0, ""},
                           [&](const auto&) { put("src.rtf", kRtf); });
    dialogs.queuePath(chosen);
    commands.mnuOpenorigin();
    EXPECT_EQ(source.text(), u"The quick brown fox.");
    EXPECT_EQ(view.label4(), path("src.rtf"));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(OpenCommandsTest, PlainTextAndRtfAreLoadedAsTheyAre) {
    for (const char* name : {"a.txt", "b.rtf", "c.docx.txt", "d.odt.rtf"}) {
        const std::string file = put(name, name == std::string("b.rtf") ? kRtf : "words");
        dialogs.queuePath(file);
        commands.mnuTypedDoc();
        EXPECT_EQ(state.CurrentFileName, file);
    }
    EXPECT_TRUE(processes.calls().empty());
    EXPECT_TRUE(wordProcessor.conversions.empty());
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(OpenCommandsTest, MissingConverterIsReportedAndLosesNothing) {
    // Not on the PATH and not beside the program.
    const std::string chosen = put("lesson.docx", "the teacher's document");
    typed.setText(u"");
    dialogs.queuePath(chosen);
    commands.mnuTypedDoc();

    ASSERT_EQ(messages.shown().size(), 2u);
    const std::string& first = messages.shown()[0].text;
    EXPECT_EQ(messages.shown()[0].title, "Error");
    EXPECT_EQ(first.rfind("Error #  53 was generated by Vela Keystride\r", 0), 0u) << first;
    EXPECT_NE(first.find("Docx2Rtf"), std::string::npos) << first;
    EXPECT_NE(first.find(chosen), std::string::npos) << first;
    // The load of the document the converter did not write follows the rule as well.
    EXPECT_EQ(messages.shown()[1].text,
              errorBox(53, "File not found: \"" + path("lesson.rtf") + "\""));
    EXPECT_EQ(readFile(chosen), "the teacher's document");
    EXPECT_EQ(typed.text(), u"");
    EXPECT_FALSE(state.WriteProtected);
}

TEST_F(OpenCommandsTest, ConverterFoundBesideTheProgramWhenNotOnThePath) {
    fs::create_directories(root / "program");
    writeFile(root / "program" / "Docx2Rtf", "#!/bin/sh\n");
    const std::string chosen = put("a.odt", "x");
    processes.queueOutcome(ProcessOutcome{true, true, 0, ""},
                           [&](const auto&) { put("a.rtf", kRtf); });
    dialogs.queuePath(chosen);
    commands.mnuTypedDoc();
    ASSERT_EQ(processes.calls().size(), 1u);
    EXPECT_EQ(processes.calls()[0].program, (root / "program" / "Docx2Rtf").string());
    EXPECT_EQ(typed.text(), u"The quick brown fox.");
}

TEST_F(OpenCommandsTest, FailingOrHangingConverterGivesOneMessageAndTheNextStepRuns) {
    processes.addProgram("Docx2Rtf", "/opt/Docx2Rtf");
    const std::string chosen = put("a.docx", "x");
    const std::string older = put("a.rtf", kRtf);
    struct Case {
        ProcessOutcome outcome;
        const char* said;
    };
    for (const Case& c :
         {Case{ProcessOutcome{true, true, 5, "Docx2Rtf: soffice failed"}, "soffice failed"},
          Case{ProcessOutcome{true, false, -1, ""}, "was stopped"}}) {
        messages.clear();
        processes.queueOutcome(c.outcome);
        dialogs.queuePath(chosen);
        commands.mnuTypedDoc();
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(
            messages.shown()[0].text.rfind("Error #  440 was generated by Vela Keystride\r", 0),
            0u);
        EXPECT_NE(messages.shown()[0].text.find(c.said), std::string::npos)
            << messages.shown()[0].text;
        // No "DOCX file" message; the load of what is there goes on.
        EXPECT_EQ(typed.text(), u"The quick brown fox.");
        EXPECT_EQ(view.label3(), older);
    }
}

struct AccessRow {
    const char* name;
    bool speedTest;
    int code;
};

class WriteProtectedRuleTest : public DocumentsTest,
                               public ::testing::WithParamInterface<AccessRow> {};

TEST_P(WriteProtectedRuleTest, AccessFailuresShowTheCommandsMessageAndStopWriting) {
    const AccessRow row = GetParam();
    const std::string file = put("locked.rtf", kRtf);
    if (row.code == errorcodes::PathFileAccess)
        files.failOn(Op::ReadAll, file, EACCES);
    else
        files.failOn(Op::ReadAll, file, FileError{row.code, "Disk is write-protected"});
    dialogs.queuePath(file);
    if (row.speedTest)
        commands.mnuTypedDoc();
    else
        commands.mnuOpenorigin();

    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, "Error");
    EXPECT_EQ(messages.shown()[0].text,
              row.speedTest ? "Vela Keystride does not have access to write-protected files. "
                              "Please save speed tests on an accessible disk."
                            : "Vela Keystride could not save results because of write-protected "
                              "disk. Please save speed tests on an accessible disk.");
    EXPECT_TRUE(state.WriteProtected);
    // The command ended: no label.
    EXPECT_EQ(row.speedTest ? view.label3() : view.label4(), "");
}

INSTANTIATE_TEST_SUITE_P(Rule, WriteProtectedRuleTest,
                         ::testing::Values(AccessRow{"SpeedTest75", true, 75},
                                           AccessRow{"SpeedTest5156", true, 5156},
                                           AccessRow{"Source75", false, 75},
                                           AccessRow{"Source5156", false, 5156}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(OpenCommandsTest, ConversionOnAWriteProtectedDiskStopsTheCommand) {
    // The converter would write beside the document, where nothing may be written.
    const std::string chosen = put("a.docx", "x");
    processes.addProgram("Docx2Rtf", "/opt/Docx2Rtf");
    files.failOn(Op::WriteAtomic, "", EROFS);
    dialogs.queuePath(chosen);
    commands.mnuTypedDoc();
    EXPECT_TRUE(processes.calls().empty());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              "Vela Keystride does not have access to write-protected files. Please save speed "
              "tests on an accessible disk.");
    EXPECT_TRUE(state.WriteProtected);

    // A ".doc" through the word processor, as the source.
    messages.clear();
    state.WriteProtected = false;
    wordProcessor.conversionError = FileError{75, "Path/File access error"};
    dialogs.queuePath(put("b.doc", "x"));
    commands.mnuOpenorigin();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text,
              "Vela Keystride could not save results because of write-protected disk. Please "
              "save speed tests on an accessible disk.");
    EXPECT_TRUE(state.WriteProtected);
}

TEST_F(OpenCommandsTest, MissingWordProcessorGivesAMessageForEachStepThatNeedsIt) {
    wordProcessor.conversionError =
        FileError{errorcodes::CannotStartWordProcessor, "LibreOffice was not found"};
    dialogs.queuePath(put("old.doc", "x"));
    commands.mnuTypedDoc();
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{
                                  errorBox(429, "LibreOffice was not found"),
                                  errorBox(53, "File not found: \"" + path("old.rtf") + "\"")}));
    EXPECT_EQ(view.label3(), path("old.rtf"));
}

class SaveCommandsTest : public DocumentsTest {};

TEST_F(SaveCommandsTest, SaveAsOffersTheLastNameAndClearsTheChangedFlag) {
    const std::string opened = put("opened.rtf", kRtf);
    dialogs.queuePath(opened);
    commands.mnuTypedDoc();
    typed.setText(u"Typed by the learner");
    ASSERT_TRUE(typed.changed());
    const std::string target = path("saved.rtf");
    dialogs.queuePath(target);

    commands.mnuSave();

    ASSERT_EQ(dialogs.asked().size(), 2u);
    EXPECT_TRUE(dialogs.asked()[1].save);
    EXPECT_EQ(dialogs.asked()[1].filter, "'Rich Text Format'-L\xC3\xAA"
                                         "ers (*.RTF)|*.RTF");
    EXPECT_EQ(dialogs.asked()[1].fileName, opened);
    EXPECT_EQ(view.label3(), target);
    EXPECT_FALSE(typed.changed());
    MemoryPane back;
    ASSERT_FALSE(back.loadFile(target));
    EXPECT_EQ(back.text(), u"Typed by the learner");

    // Exit then ends the program without a question.
    workspace.mnuExit();
    EXPECT_EQ(view.terminations, 1);
    EXPECT_EQ(messages.shown().size(), 0u);
    // And the next save dialog starts with the name just saved.
    commands.mnuSaveSource();
    EXPECT_EQ(dialogs.asked().back().fileName, target);
}

TEST_F(SaveCommandsTest, CancelledSaveOfAnUnchangedOrEmptyTestTerminates) {
    commands.mnuSave();
    EXPECT_EQ(view.terminations, 1);
    typed.setText(u"words");
    typed.setChanged(false);
    commands.mnuSave();
    EXPECT_EQ(view.terminations, 2);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SaveCommandsTest, CancelledSaveOfAChangedTestAsksAndCancelReturns) {
    typed.setText(u"unsaved work");
    view.setLabel3("before");
    messages.queueAnswer(MessageAnswer::Cancel);
    commands.mnuSave();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Save changes to speed test?");
    EXPECT_EQ(view.terminations, 0);
    EXPECT_TRUE(typed.changed());
    EXPECT_EQ(view.label3(), "before");
    EXPECT_TRUE(fs::is_empty(root / "current"));
}

TEST_F(SaveCommandsTest, ExitYesCancelledDialogAsksAgainAndYesSavesThenTerminates) {
    typed.setText(u"unsaved work");
    const std::string target = path("second.rtf");
    // Exit: Yes; the save dialog is cancelled; the question again: Yes; now a name is given.
    messages.queueAnswer(MessageAnswer::Yes);
    messages.queueAnswer(MessageAnswer::Yes);
    dialogs.queuePath("");
    dialogs.queuePath(target);
    workspace.mnuExit();
    EXPECT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(dialogs.asked().size(), 2u);
    EXPECT_TRUE(fs::exists(target));
    EXPECT_GE(view.terminations, 1);
}

TEST_F(SaveCommandsTest, FailedSpeedTestSaveIsSkippedSilently) {
    typed.setText(u"words");
    const std::string target = path("nowhere.rtf");
    files.failOn(Op::WriteAtomic, target, ENOSPC);
    dialogs.queuePath(target);
    commands.mnuSave();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(view.label3(), target);
    EXPECT_FALSE(typed.changed());
    EXPECT_FALSE(fs::exists(target));
}

TEST_F(SaveCommandsTest, SourceSave) {
    source.setText(u"Source text");
    source.setChanged(true);
    view.setLabel4("source.rtf");

    commands.mnuSaveSource(); // cancelled
    EXPECT_EQ(view.label4(), "source.rtf");
    EXPECT_TRUE(source.changed());
    EXPECT_EQ(view.terminations, 0);

    // A folder that cannot be: its parent is a regular file.
    put("file", "x");
    const std::string bad = path("file") + "/source.rtf";
    dialogs.queuePath(bad);
    commands.mnuSaveSource();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, "Error");
    EXPECT_NE(messages.shown()[0].text.find(bad), std::string::npos);
    EXPECT_EQ(view.label4(), "source.rtf");
    EXPECT_TRUE(source.changed());
    EXPECT_EQ(source.text(), u"Source text");
    EXPECT_FALSE(state.WriteProtected);

    const std::string good = path("source-saved.rtf");
    dialogs.queuePath(good);
    commands.mnuSaveSource();
    EXPECT_EQ(view.label4(), good);
    EXPECT_FALSE(source.changed());
    MemoryPane back;
    ASSERT_FALSE(back.loadFile(good));
    EXPECT_EQ(back.text(), u"Source text");
}

class ReOpenTest : public DocumentsTest {};

TEST_F(ReOpenTest, RestoresTheTypedTestAndClearsTheSourceMarking) {
    source.setText(u"The quick brown fox.");
    const std::string file = put("test.rtf", kRtf);
    dialogs.queuePath(file);
    commands.mnuTypedDoc();
    // What a marking run leaves: highlighting, a report, blue marking in the source.
    typed.setSelStart(4);
    typed.setSelLength(5);
    typed.setSelColour(colours::red);
    typed.setSelStart(typed.textLength());
    typed.setSelText(u"\r\nWPM: 42");
    source.setSelStart(0);
    source.setSelLength(9);
    source.setSelColour(colours::blue);
    view.setLabel3("label stays");

    commands.mnuReOpen();

    EXPECT_EQ(typed.text(), u"The quick brown fox.");
    typed.setSelStart(0);
    typed.setSelLength(typed.textLength());
    EXPECT_EQ(typed.selColour(), colours::black) << "the highlighting is gone";
    source.setSelStart(0);
    source.setSelLength(source.textLength());
    EXPECT_EQ(source.selColour(), colours::black);
    EXPECT_EQ(view.label3(), "label stays");
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ReOpenTest, RightAfterOpeningASourceLoadsTheSourceIntoTheSpeedTest) {
    const std::string file = put("source.txt", "Copy this text.");
    dialogs.queuePath(file);
    commands.mnuOpenorigin();
    commands.mnuReOpen();
    EXPECT_EQ(typed.text(), u"Copy this text.");
}

TEST_F(ReOpenTest, NothingChosenOrFileGoneLeavesThePaneAsItWas) {
    typed.setText(u"the learner's work");
    commands.mnuReOpen();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, "Error");
    EXPECT_EQ(typed.text(), u"the learner's work");

    state.CurrentFileName = path("vanished.rtf");
    commands.mnuReOpen();
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_NE(messages.shown()[1].text.find(path("vanished.rtf")), std::string::npos);
    EXPECT_EQ(typed.text(), u"the learner's work");
    EXPECT_EQ(view.terminations, 0);
}

class CommandNamesTest : public DocumentsTest {};

TEST_F(CommandNamesTest, EachMenuItemAndButtonNameRunsItsCommand) {
    const std::string open =
        "Rich Text Files (recommended)|*.rtf|Doc(x), Odt, Txt|*.txt;*.doc;*.docx;*.odt";
    const std::string save = "'Rich Text Format'-L\xC3\xAA"
                             "ers (*.RTF)|*.RTF";
    struct Row {
        const char* name;
        const char* filter; // the dialog it shows, if any
        bool saveDialog;
        int printerDialogs;
        std::size_t exports;
    };
    const Row rows[] = {
        {"mnuTypedDoc", open.c_str(), false, 0, 0},
        {"Command1", open.c_str(), false, 0, 0},
        {"mnuOpenorigin", open.c_str(), false, 0, 0},
        {"Command3", open.c_str(), false, 0, 0},
        {"mnuSave", save.c_str(), true, 0, 0},
        {"mnuSaveSource", save.c_str(), true, 0, 0},
        {"mnuResults", "Result files|*.res|*.res", false, 0, 0},
        {"mnuMarked", "Marked speed tests|*.rug|*.rug", false, 0, 0},
        {"mnuPrint", nullptr, false, 1, 0},
        {"Command4", nullptr, false, 1, 0},
        {"mnuPrintSource", nullptr, false, 1, 0},
        {"mnuExport", nullptr, false, 0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::size_t asked = dialogs.asked().size();
        const int printed = printing.dialogsShown();
        const std::size_t exported = wordProcessor.exported.size();
        state.CutOffPending = true;
        EXPECT_TRUE(runDocumentCommand(commands, row.name));
        if (row.filter) {
            ASSERT_EQ(dialogs.asked().size(), asked + 1);
            EXPECT_EQ(dialogs.asked().back().filter, row.filter);
            EXPECT_EQ(dialogs.asked().back().save, row.saveDialog);
        } else {
            EXPECT_EQ(dialogs.asked().size(), asked);
        }
        EXPECT_EQ(printing.dialogsShown() - printed, row.printerDialogs);
        EXPECT_EQ(wordProcessor.exported.size() - exported, row.exports);
        EXPECT_EQ(state.CutOffPending, std::string(row.name) != "Command1");
    }
    const std::size_t shown = messages.shown().size();
    state.CurrentFileName.clear();
    EXPECT_TRUE(runDocumentCommand(commands, "mnuReOpen"));
    EXPECT_EQ(messages.shown().size(), shown + 1);
    EXPECT_FALSE(runDocumentCommand(commands, "mnuNewTest"));
    EXPECT_FALSE(runDocumentCommand(commands, ""));
}

} // namespace
} // namespace keystride::testing
