// Viewing results files and marked tests, printing either pane with its heading and exporting the
// speed test, over scripted services and in-memory panes.
#include "platform/panes/memory_pane.h"
#include "results/error_box.h"
#include "results/export_command.h"
#include "results/print_command.h"
#include "results/results_viewer.h"
#include "support/faulty_file_system.h"
#include "support/scripted_clipboard.h"
#include "support/scripted_services.h"
#include "workspace/workspace_commands.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <random>

namespace keystride {
namespace {

namespace fs = std::filesystem;

class View : public WorkspaceView {
public:
    std::string label3() const override { return m_label3; }
    void setLabel3(const std::string& text) override { m_label3 = text; }
    std::string label4() const override { return m_label4; }
    void setLabel4(const std::string& text) override { m_label4 = text; }
    std::string clockText() const override { return {}; }
    void setClockText(const std::string&) override {}
    void setBusy(bool) override {}
    void setLineSpacingCheck(int) override {}
    int lineSpacingCheck() const override { return 0; }
    void showWarningDialog() override {}
    void terminate() override { ++terminations; }
    int terminations = 0;

private:
    std::string m_label3, m_label4;
};

class Recorder : public WordProcessor {
public:
    FileResult convertToRtf(const std::string&, const std::string&) override {
        return FileError{429, "not here"};
    }
    FileResult newDocumentFromRtf(std::string_view rtf, int margin) override {
        documents.emplace_back(std::string(rtf), margin);
        return fails ? FileResult(FileError{429, "no word processor"}) : std::nullopt;
    }
    std::vector<std::pair<std::string, int>> documents;
    bool fails = false;
};

class ResultsTest : public ::testing::Test {
protected:
    ResultsTest() {
        std::random_device random;
        root = fs::temp_directory_path() /
               ("keystride-results-" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(root);
    }
    ~ResultsTest() override {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    std::string put(const std::string& name, const std::string& bytes) {
        std::ofstream(root / name, std::ios::binary) << bytes;
        return (root / name).string();
    }

    fs::path root;
    FaultyFileSystem files;
    MemoryPane typed{CharFormat{}, files};
    MemoryPane source{CharFormat{}, files};
    marking::WorkspaceState state;
    SettingsStore settings;
    View view;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    ScriptedPrinting printing;
    ManualClock clock;
    ScriptedProcessLauncher processes;
    WorkspaceContext context{typed,   source,   state, settings,  view, messages,
                             dialogs, printing, clock, processes, files};
    WorkspaceCommands workspace{context};
};

TEST_F(ResultsTest, ResultsFileIsShownAsPlainTextInFileOrder) {
    const std::string lines =
        "Jan Smit  12:03  WPM  41\r\nPiet Jansen  12:20  WPM  38.5\r\nAnna  12:41  WPM -2\r\n";
    const std::string file = put("Resultaat.res", lines);
    typed.setText(u"a speed test nobody saved");
    dialogs.queuePath(file);

    mnuResults(context);

    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(dialogs.asked()[0].filter, "Result files|*.res|*.res");
    EXPECT_EQ(dialogs.asked()[0].fileName, "");
    EXPECT_FALSE(dialogs.asked()[0].save);
    EXPECT_EQ(typed.text(), fromUtf8(lines.substr(0, lines.size() - 2)) + u"\r\n");
    EXPECT_EQ(view.label3(), file);
    EXPECT_EQ(state.CurrentFileName, file);
    EXPECT_FALSE(typed.changed());
    EXPECT_EQ(typed.selStart(), 1);
    EXPECT_EQ(typed.selLength(), 0);
    // Leaving right after viewing asks nothing.
    workspace.mnuExit();
    EXPECT_EQ(view.terminations, 1);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ResultsTest, MarkedTestKeepsItsHighlighting) {
    const std::string marked =
        put("test.rug",
            "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}"
            "\\f0 Good \\cf1\\ul wrnog\\cf0\\ulnone  words.\\par}");
    dialogs.queuePath(marked);
    mnuMarked(context);
    EXPECT_EQ(dialogs.asked()[0].filter, "Marked speed tests|*.rug|*.rug");
    EXPECT_EQ(typed.text(), u"Good wrnog words.");
    typed.setSelStart(5);
    typed.setSelLength(5);
    EXPECT_EQ(typed.selColour(), colours::red);
    EXPECT_EQ(typed.selUnderline(), true);
}

TEST_F(ResultsTest, CancelLeavesAnEmptyPaneAndTitle) {
    typed.setText(u"former test");
    view.setLabel3("former.rtf");
    state.CurrentFileName = "former.rtf";
    mnuResults(context);
    EXPECT_EQ(typed.text(), u"");
    EXPECT_EQ(view.label3(), "");
    EXPECT_EQ(state.CurrentFileName, "");
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ResultsTest, FailedLoadShowsTheErrorAndTheTitleStillGetsThePath) {
    struct Row {
        const char* name;
        int errnoValue; // 0: the file is simply missing
        const char* prefix;
    };
    for (const Row& row :
         {Row{"missing", 0, "Error #  53 was generated by Vela Keystride\r"},
          Row{"locked", EBUSY, "Error #  70 was generated by Vela Keystride\r"},
          Row{"denied", EACCES, "Error #  75 was generated by Vela Keystride\r"}}) {
        SCOPED_TRACE(row.name);
        messages.clear();
        std::string file = (root / (std::string(row.name) + ".res")).string();
        if (row.errnoValue) {
            file = put(std::string(row.name) + ".res", "line\r\n");
            files.failOn(FaultyFileSystem::Operation::ReadAll, file, row.errnoValue);
        }
        typed.setText(u"before");
        dialogs.queuePath(file);
        mnuResults(context);
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].title, "Error");
        EXPECT_EQ(messages.shown()[0].text.rfind(row.prefix, 0), 0u) << messages.shown()[0].text;
        EXPECT_NE(messages.shown()[0].text.find(file), std::string::npos);
        EXPECT_EQ(typed.text(), u"");
        EXPECT_EQ(view.label3(), file);
        EXPECT_FALSE(state.WriteProtected) << "viewing never stops the writing of results";
    }
}

TEST(ErrorBox, NegativeNumbersHaveNoBlank) {
    ScriptedMessageBoxes messages;
    showErrorBox(messages, FileError{-5, "odd"});
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Error # -5 was generated by Vela Keystride\rodd");
}

struct PrintRow {
    const char* name;
    const char* title;
    std::u16string content;
};

class PrintTest : public ResultsTest, public ::testing::WithParamInterface<PrintRow> {};

TEST_P(PrintTest, PrintsWithTheHeadingAndLeavesThePaneAsItWas) {
    const PrintRow row = GetParam();
    for (bool speedTest : {true, false}) {
        SCOPED_TRACE(speedTest ? "speed test" : "source");
        MemoryPane& pane = speedTest ? typed : source;
        pane.setText(row.content);
        if (!row.content.empty()) {
            pane.setSelStart(0);
            pane.setSelLength(1);
            pane.setSelColour(colours::red);
            pane.setSelLineSpacing(LineSpacing::Double);
        }
        pane.setSelStart(static_cast<int>(row.content.size()) / 2);
        pane.setChanged(false);
        const std::string rtfBefore = pane.textRtf();
        const auto spansBefore = pane.formatSpans();
        const auto spacingsBefore = pane.paragraphSpacings();
        if (speedTest)
            view.setLabel3(row.title);
        else
            view.setLabel4(row.title);
        const std::size_t jobs = printing.printed().size();

        if (speedTest)
            mnuPrint(context);
        else
            mnuPrintSource(context);

        ASSERT_EQ(printing.printed().size(), jobs + 1);
        EXPECT_EQ(printing.printed().back(), fromUtf8(row.title) + u"\r\n\r\n" + row.content);
        EXPECT_EQ(pane.text(), row.content);
        EXPECT_EQ(pane.textRtf(), rtfBefore);
        EXPECT_EQ(pane.formatSpans(), spansBefore);
        EXPECT_EQ(pane.paragraphSpacings(), spacingsBefore);
        EXPECT_EQ(pane.selStart(), 0);
        EXPECT_EQ(pane.selLength(), 0);
        EXPECT_FALSE(pane.changed());
    }
    EXPECT_TRUE(messages.shown().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Panes, PrintTest,
    ::testing::Values(PrintRow{"Typical", "/home/juf/toetse/test1.rtf",
                               u"The quick brown fox.\r\nJumps over the dog."},
                      PrintRow{"EmptyTitle", "", u"Words"}, PrintRow{"EmptyPane", "/t/x.rtf", u""},
                      PrintRow{"BothEmpty", "", u""},
                      PrintRow{"NonAsciiTitle", "/toetse/Lêer één.rtf", u"Tweede\r\n\r\nreël"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ResultsTest, CancelledOrFailedPrintingRemovesTheHeadingSilently) {
    typed.setText(u"Typed text");
    typed.setChanged(true);
    view.setLabel3("/x/test.rtf");
    printing.setChoosesPrinter(false);
    mnuPrint(context);
    EXPECT_EQ(printing.dialogsShown(), 1);
    EXPECT_TRUE(printing.printed().empty());
    EXPECT_EQ(typed.text(), u"Typed text");
    EXPECT_TRUE(typed.changed());

    printing.setChoosesPrinter(true);
    printing.setPrintSucceeds(false);
    mnuPrint(context);
    EXPECT_EQ(printing.dialogsShown(), 2);
    EXPECT_EQ(typed.text(), u"Typed text");
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ResultsTest, ExportPutsTheHeadingInThePaneAndTheRtfOnTheClipboard) {
    ScriptedClipboard clipboard;
    Recorder word;
    typed.setText(u"Typed text");
    view.setLabel3("/x/test.rtf");

    mnuExport(context, clipboard, word);

    EXPECT_EQ(typed.text(), u"/x/test.rtf\r\n\r\nTyped text");
    EXPECT_EQ(clipboard.clears(), 1);
    ASSERT_TRUE(clipboard.holdsRichText());
    EXPECT_EQ(clipboard.rtf(), typed.textRtf());
    EXPECT_EQ(clipboard.plainText(), "/x/test.rtf\r\n\r\nTyped text");
    MemoryPane fromClipboard;
    fromClipboard.setTextRtf(clipboard.rtf());
    EXPECT_EQ(fromClipboard.text(), typed.text());
    ASSERT_EQ(word.documents.size(), 1u);
    EXPECT_EQ(word.documents[0].first, clipboard.rtf());
    EXPECT_EQ(word.documents[0].second, 70);

    // Twice: two headings, and the second document starts with both.
    word.fails = true;
    mnuExport(context, clipboard, word);
    EXPECT_EQ(typed.text(), u"/x/test.rtf\r\n\r\n/x/test.rtf\r\n\r\nTyped text");
    ASSERT_EQ(word.documents.size(), 2u);
    fromClipboard.setTextRtf(word.documents[1].first);
    EXPECT_EQ(fromClipboard.text(), typed.text());
    EXPECT_TRUE(messages.shown().empty()) << "a missing word processor ends the export silently";
}

TEST_F(ResultsTest, ExportOfAnEmptyPaneWithAnEmptyTitleAndARefusingClipboard) {
    ScriptedClipboard clipboard;
    Recorder word;
    mnuExport(context, clipboard, word);
    EXPECT_EQ(typed.text(), u"\r\n\r\n");
    ASSERT_EQ(word.documents.size(), 1u);

    clipboard.setAccepts(false);
    mnuExport(context, clipboard, word);
    EXPECT_EQ(word.documents.size(), 1u) << "nothing goes on once the clipboard refused";
    EXPECT_EQ(typed.text(), u"\r\n\r\n\r\n\r\n");
}

} // namespace
} // namespace keystride
