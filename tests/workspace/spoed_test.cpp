// The real main window on Qt's off-screen platform, with scripted message boxes and a manual
// clock: its menus, captions and shortcuts, its controls, and the commands they run.
#include "support/qt/qt_application.h"
#include "support/scripted_services.h"
#include "support/test_files.h"
#include "workspace/qt/spoed.h"

#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QTextBlock>
#include <QTimer>
#include <QtTest/QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace keystride {
namespace {

using testing::readFile;

QApplication& application() {
    return testing::qtApplication();
}

class SpoedTest : public ::testing::Test {
protected:
    SpoedTest() {
        application();
        std::random_device random;
        m_folder = std::filesystem::temp_directory_path() /
                   ("keystride-spoed-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(m_folder);
        // Results and backups go to the current folder.
        m_previousFolder = std::filesystem::current_path();
        std::filesystem::current_path(m_folder);
        window = std::make_unique<Spoed>(m_folder.string(),
                                         SpoedServices{&messages, &dialogs, &printing, &clock});
        window->setTerminateHandler([this] { ++terminations; });
        window->startUp();
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
    }
    ~SpoedTest() override {
        window.reset();
        std::filesystem::current_path(m_previousFolder);
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }

    QAction* action(const char* name) {
        auto* found = window->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    std::filesystem::path m_folder;
    std::filesystem::path m_previousFolder;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    ScriptedPrinting printing;
    ManualClock clock;
    std::unique_ptr<Spoed> window;
    int terminations = 0;
};

TEST_F(SpoedTest, TheMenuBarReadsAsDesigned) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Speed Test"));
    QStringList captions;
    QStringList names;
    for (QAction* item : window->menuBar()->actions()) {
        captions << item->text();
        names << (item->menu() ? item->menu()->objectName() : item->objectName());
    }
    EXPECT_EQ(captions,
              (QStringList{"Speed&Test ", "&SourceFiles  ", "Se&ttings", "&Help", "E&xit"}));
    EXPECT_EQ(names,
              (QStringList{"mnuDocument", "mnuTeacher", "mnuSettings", "mnuHelp", "mnuExit"}));
}

TEST_F(SpoedTest, EveryMenuItemHasItsCaptionShortcutAndPlace) {
    struct Row {
        const char* menu;
        QStringList items; // object names in order; "-" rows are separators by name
    };
    const Row menus[] = {
        {"mnuDocument",
         {"mnuNewTest", "mnuTypedDoc", "mnuReOpen", "mnuResults", "mnuMarked", "mnuSave",
          "mnuPrint", "mnuSep2", "mnuExport", "mnuSep", "mnuCalculate", "mnuSep1", "mnuFormat"}},
        {"mnuFormat", {"mnuSingle", "mnu15LineSpacing", "mnuDouble", "mnuZoom"}},
        {"mnuZoom", {"mnuminus", "mnuplus"}},
        {"mnuTeacher",
         {"mnuOpenorigin", "mnuSaveSource", "mnuPrintSource", "mnuForce", "mnuZoom1"}},
        {"mnuZoom1", {"mnuUit", "mnuIn"}},
        {"mnuHelp", {"mnuAfrikaans", "mnuEnglish", "mnuAbout"}},
    };
    for (const Row& row : menus) {
        auto* menu = window->findChild<QMenu*>(QString::fromLatin1(row.menu));
        ASSERT_NE(menu, nullptr) << row.menu;
        QStringList names;
        for (QAction* item : menu->actions())
            names << (item->menu() ? item->menu()->objectName() : item->objectName());
        EXPECT_EQ(names, row.items) << row.menu;
    }

    struct Item {
        const char* name;
        const char* caption;
        QKeySequence key;
    };
    const Item items[] = {
        {"mnuNewTest", "&New ", {}},
        {"mnuTypedDoc", "&Open", QKeySequence(Qt::CTRL | Qt::Key_O)},
        {"mnuReOpen", "ReOpen", {}},
        {"mnuResults", "Open Results", QKeySequence(Qt::CTRL | Qt::Key_R)},
        {"mnuMarked", "Open Marked tests", {}},
        {"mnuSave", "&Save As...", QKeySequence(Qt::CTRL | Qt::Key_S)},
        {"mnuPrint", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P)},
        {"mnuExport", "Export to MS Word", QKeySequence(Qt::Key_F11)},
        {"mnuCalculate", "Calculate WPM", QKeySequence(Qt::Key_F12)},
        {"mnuSingle", "Single Line Spacing", {}},
        {"mnu15LineSpacing", "1.5 Line Spacing", {}},
        {"mnuDouble", "Double Line Spacing", {}},
        {"mnuminus", "Out", {}},
        {"mnuplus", "In", {}},
        {"mnuOpenorigin", "&Open", {}},
        {"mnuSaveSource", "Save As...", {}},
        {"mnuPrintSource", "&Print", {}},
        {"mnuForce", "Force end of speedTest", QKeySequence(Qt::Key_F9)},
        {"mnuUit", "Out", {}},
        {"mnuIn", "In", {}},
        {"mnuSettings", "Se&ttings", {}},
        {"mnuAfrikaans", "Afrikaans", {}},
        {"mnuEnglish", "English", {}},
        {"mnuAbout", "About", {}},
        {"mnuExit", "E&xit", {}},
    };
    for (const Item& item : items) {
        QAction* found = action(item.name);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->text(), QString::fromUtf8(item.caption)) << item.name;
        EXPECT_EQ(found->shortcut(), item.key) << item.name;
    }
    for (const char* name : {"mnuSep2", "mnuSep", "mnuSep1"})
        EXPECT_TRUE(action(name)->isSeparator()) << name;
    EXPECT_EQ(window->findChild<QMenu*>("mnuFormat")->title(), QStringLiteral("F&ormat"));
    EXPECT_EQ(window->findChild<QMenu*>("mnuZoom")->title(), QStringLiteral("Zoom "));
    EXPECT_EQ(window->findChild<QMenu*>("mnuZoom1")->title(), QStringLiteral("Zoom"));
}

TEST_F(SpoedTest, ControlsSitWhereTheDesignPutsThem) {
    struct Row {
        const char* name;
        QRect geometry;
    };
    // Twips / 15.
    const Row rows[] = {
        {"RichTextBox1", {32, 40, 478, 603}}, {"RichTextBox2", {544, 88, 446, 552}},
        {"Picture1", {8, 32, 505, 617}},      {"Picture2", {520, 80, 473, 569}},
        {"Animation1", {536, 0, 41, 32}},
    };
    window->resize(Spoed::DesignWidth, Spoed::DesignHeight + window->menuBar()->height());
    for (const Row& row : rows) {
        auto* widget = window->findChild<QWidget*>(QString::fromLatin1(row.name));
        ASSERT_NE(widget, nullptr) << row.name;
        EXPECT_EQ(widget->geometry(), row.geometry) << row.name;
    }
    auto* wpm = window->findChild<QPushButton*>("Command2");
    EXPECT_EQ(wpm->text(), QStringLiteral("WPM"));
    EXPECT_EQ(wpm->toolTip(), QStringLiteral("Calculate words/minute"));
    EXPECT_EQ(window->findChild<QPushButton*>("Command8")->toolTip(),
              QStringLiteral("Click in source document to indicate cut-off position"));
    for (const char* picture : {"Command1", "Command3", "Command4", "Command8"})
        EXPECT_FALSE(window->findChild<QPushButton*>(picture)->icon().isNull()) << picture;
    EXPECT_FALSE(window->findChild<QPushButton*>("Command7")->isVisible());
    auto* wait = window->findChild<QLabel*>("Label6");
    EXPECT_EQ(wait->text(), QStringLiteral("Please wait..."));
    EXPECT_FALSE(wait->isVisible());
    EXPECT_EQ(wait->palette().color(QPalette::WindowText), QColor(255, 128, 0));
    EXPECT_EQ(window->findChild<QLabel*>("Label2")->text(), QStringLiteral("Speed test"));
    EXPECT_EQ(window->findChild<QLabel*>("Label1")->text(), QStringLiteral("Source document"));
    EXPECT_EQ(window->clockText(), "");
    EXPECT_TRUE(action("mnuSingle")->isChecked());
    EXPECT_EQ(window->RichTextBox1().baseFormat().size, 12.0);
    EXPECT_EQ(window->RichTextBox2().baseFormat().size, 9.75);
    EXPECT_EQ(window->RichTextBox2().editor()->palette().color(QPalette::Base),
              QColor(224, 224, 224));
}

TEST_F(SpoedTest, SpacingItemsCarryExactlyOneMark) {
    window->RichTextBox1().setText(u"typed\r\ntest");
    action("mnuDouble")->trigger();
    EXPECT_FALSE(action("mnuSingle")->isChecked());
    EXPECT_FALSE(action("mnu15LineSpacing")->isChecked());
    EXPECT_TRUE(action("mnuDouble")->isChecked());
    EXPECT_EQ(window->state().LineSpacingMode, 2);
    action("mnuDouble")->trigger(); // choosing the ticked item keeps its mark
    EXPECT_TRUE(action("mnuDouble")->isChecked());
    action("mnuNewTest")->trigger();
    EXPECT_EQ(window->state().LineSpacingMode, 0);
    EXPECT_TRUE(action("mnuDouble")->isChecked());
}

TEST_F(SpoedTest, TypingStartsTheClockAndTheTimeLimitRefusesKeys) {
    window->settings().TimeLimit10 = "J";
    QTextEdit* typed = window->RichTextBox1().editor();
    QTest::keyClicks(typed, QStringLiteral("ab"));
    EXPECT_TRUE(clock.enabled());
    clock.tick(600);
    EXPECT_EQ(window->clockText(), "10:00");
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, "");
    QTest::keyClicks(typed, QStringLiteral("cd"));
    EXPECT_EQ(window->RichTextBox1().text(), u"ab");
    EXPECT_TRUE(std::filesystem::exists(m_folder / "Backup.rtf"));
}

TEST_F(SpoedTest, AClickInTheSourceLeavesTheFocusInTheSpeedTest) {
    window->RichTextBox2().setText(u"Source text to copy");
    QTextEdit* source = window->RichTextBox2().editor();
    window->RichTextBox1().setFocus();
    QTest::mouseClick(source->viewport(), Qt::LeftButton, {}, QPoint(20, 8));
    QApplication::processEvents();
    EXPECT_TRUE(window->RichTextBox1().editor()->hasFocus());
    EXPECT_GT(window->RichTextBox2().selStart(), 0); // the caret still moved to the click
}

const std::u16string Source =
    u"The quick brown fox jumps over the lazy dog. Pack my box with five dozen liquor jugs. "
    u"How vexingly quick daft zebras jump! Sphinx of black quartz, judge my vow.";

TEST_F(SpoedTest, F12MarksTheTestInThePanesAndAppendsTheReport) {
    window->RichTextBox2().setText(Source);
    window->RichTextBox1().setText(
        u"The quick brown fox jumps over the lazy dog. Pack my box with five dozen liqour jugs.");
    QTest::keyClick(window.get(), Qt::Key_F12);
    const std::u16string marked = window->RichTextBox1().text();
    EXPECT_NE(marked.find(u"Less no. of words with errors:"), std::u16string::npos);
    ASSERT_NE(window->engine(), nullptr);
    EXPECT_TRUE(window->engine()->lastRun().completed);
    EXPECT_FALSE(window->findChild<QLabel*>("Label6")->isVisible());
    EXPECT_TRUE(std::filesystem::exists(m_folder / "Resultaat.res"));

    // A marked test is refused the second time.
    messages.clear();
    QTest::keyClick(window.get(), Qt::Key_F12);
    ASSERT_FALSE(messages.shown().empty());
    EXPECT_EQ(messages.shown()[0].title, "!");
}

TEST_F(SpoedTest, F9AndAClickInTheSourceStartARunUpToTheClick) {
    window->RichTextBox2().setText(Source);
    window->RichTextBox1().setText(
        u"Completely different words that the source never holds anywhere at all, really.");
    QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_TRUE(window->state().CutOffPending);
    QTextEdit* source = window->RichTextBox2().editor();
    QTest::mouseClick(source->viewport(), Qt::LeftButton, {}, QPoint(120, 8));
    EXPECT_FALSE(window->state().CutOffPending);
    const auto spans = window->RichTextBox2().formatSpans();
    ASSERT_FALSE(spans.empty());
    EXPECT_EQ(spans[0].start, 0);
    EXPECT_GT(spans[0].length, 0);
    EXPECT_EQ(spans[0].format.colour, colours::blue);
    EXPECT_TRUE(spans[0].format.bold);
    EXPECT_EQ(window->engine()->lastRun().sourceEnd, spans[0].length);

    // Without F9 a click changes nothing.
    window->RichTextBox2().setText(Source);
    QTest::mouseClick(source->viewport(), Qt::LeftButton, {}, QPoint(120, 8));
    EXPECT_EQ(window->RichTextBox2().formatSpans().size(), 1u);
}

TEST_F(SpoedTest, SettingsAndAboutOpenTheirDialogsOverTheWindow) {
    // FormS is modal: it is closed as soon as it shows.
    QString shown;
    std::function<void()> closeModal = [&shown, &closeModal] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shown = QString::fromLatin1(modal->metaObject()->className());
            modal->close();
        } else {
            QTimer::singleShot(10, closeModal);
        }
    };
    QTimer::singleShot(0, closeModal);
    action("mnuSettings")->trigger();
    EXPECT_EQ(shown, QStringLiteral("keystride::FormS"));

    // The About box stays open beside the window.
    action("mnuAbout")->trigger();
    QStringList open;
    for (QDialog* dialog : window->findChildren<QDialog*>()) {
        if (dialog->isVisible())
            open << QString::fromLatin1(dialog->metaObject()->className());
        dialog->close();
    }
    EXPECT_TRUE(open.contains(QStringLiteral("keystride::frmAbout")))
        << open.join(' ').toStdString();
}

TEST_F(SpoedTest, AClickOnTheWhiteFrameGivesTheSpeedTestTheFocus) {
    window->findChild<QPushButton*>("Command2")->setFocus();
    QWidget* frame = window->findChild<QWidget*>("Picture1");
    QTest::mouseClick(frame, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(window->RichTextBox1().editor()->hasFocus());
}

TEST_F(SpoedTest, ExitAndCloseAskTheirQuestions) {
    // An unchanged test: Exit ends at once.
    window->RichTextBox1().setChanged(false);
    action("mnuExit")->trigger();
    EXPECT_EQ(terminations, 1);
    EXPECT_TRUE(messages.shown().empty());

    // Closing from outside asks; No keeps the window.
    Spoed second(m_folder.string(), SpoedServices{&messages, &dialogs, &printing, &clock});
    second.setTerminateHandler([] {});
    second.show();
    messages.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(second.close());
    EXPECT_TRUE(second.isVisible());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Do you really want to exit the application?");
    EXPECT_EQ(messages.shown()[0].title, "Speed Test");
    messages.queueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(second.close());
}

std::string writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
}

TEST_F(SpoedTest, DocumentsOpenMarkReOpenAndSaveThroughTheMenus) {
    const std::string sourcePath = writeFile(
        m_folder / "source.txt",
        "The quick brown fox jumps over the lazy dog. Pack my box with five dozen liquor jugs. "
        "How vexingly quick daft zebras jump! Sphinx of black quartz, judge my vow.");
    const std::string testPath =
        writeFile(m_folder / "learner.rtf",
                  "{\\rtf1\\ansi{\\fonttbl{\\f0 Courier New;}}\\f0\\fs24 The quick brown fox jumps "
                  "over the lazy dog. Pack my box with five dozen liqour jugs.}");

    dialogs.queuePath(sourcePath);
    action("mnuOpenorigin")->trigger();
    EXPECT_EQ(window->label4(), sourcePath);
    EXPECT_EQ(window->RichTextBox2().text().substr(0, 9), u"The quick");

    dialogs.queuePath(testPath);
    action("mnuTypedDoc")->trigger();
    ASSERT_EQ(dialogs.asked().size(), 2u);
    EXPECT_FALSE(dialogs.asked()[1].save);
    EXPECT_EQ(dialogs.asked()[1].filter,
              "Rich Text Files (recommended)|*.rtf|Doc(x), Odt, Txt|*.txt;*.doc;*.docx;*.odt");
    EXPECT_EQ(window->label3(), testPath);
    EXPECT_EQ(window->state().CurrentFileName, testPath);
    EXPECT_FALSE(window->RichTextBox1().changed());
    const std::u16string typed = window->RichTextBox1().text();
    EXPECT_EQ(typed.substr(0, 9), u"The quick");

    QTest::keyClick(window.get(), Qt::Key_F12);
    ASSERT_TRUE(window->engine()->lastRun().completed);
    EXPECT_NE(window->RichTextBox1().text(), typed);
    EXPECT_TRUE(std::filesystem::exists(m_folder / "learner.rug"));

    // The marked test and the results line can be viewed again.
    const std::u16string marked = window->RichTextBox1().text();
    dialogs.queuePath((m_folder / "learner.rug").string());
    action("mnuMarked")->trigger();
    EXPECT_EQ(dialogs.asked().back().filter, "Marked speed tests|*.rug|*.rug");
    EXPECT_EQ(window->RichTextBox1().text(), marked);
    EXPECT_FALSE(window->RichTextBox1().changed());
    dialogs.queuePath((m_folder / "Resultaat.res").string());
    action("mnuResults")->trigger();
    EXPECT_EQ(dialogs.asked().back().filter, "Result files|*.res|*.res");
    EXPECT_NE(window->RichTextBox1().text().find(u"learner.rug"), std::u16string::npos);
    EXPECT_EQ(window->label3(), (m_folder / "Resultaat.res").string());

    // ReOpen loads what was chosen last: the results file. After the test is opened again,
    // ReOpen brings back the test as typed: no report, no marks.
    action("mnuReOpen")->trigger();
    EXPECT_NE(window->RichTextBox1().text().find(u"learner.rug"), std::u16string::npos);
    dialogs.queuePath(testPath);
    action("mnuTypedDoc")->trigger();
    QTest::keyClick(window.get(), Qt::Key_F12);
    ASSERT_EQ(window->RichTextBox1().text(), marked);
    action("mnuReOpen")->trigger();
    EXPECT_EQ(window->RichTextBox1().text(), typed);
    EXPECT_EQ(window->label3(), testPath);

    // Save As writes the pane, names the file and clears the changed flag.
    window->RichTextBox1().setSelStart(0);
    window->RichTextBox1().setSelText(u"Edited. ");
    EXPECT_TRUE(window->RichTextBox1().changed());
    const std::string savedPath = (m_folder / "saved.rtf").string();
    dialogs.queuePath(savedPath);
    action("mnuSave")->trigger();
    EXPECT_TRUE(dialogs.asked().back().save);
    EXPECT_EQ(dialogs.asked().back().filter, "'Rich Text Format'-Lêers (*.RTF)|*.RTF");
    EXPECT_EQ(window->label3(), savedPath);
    EXPECT_FALSE(window->RichTextBox1().changed());
    const std::string saved = readFile(savedPath);
    EXPECT_EQ(saved.rfind("{\\rtf", 0), 0u);
    EXPECT_NE(saved.find("Edited. The quick"), std::string::npos);

    // The saved test is what Exit finds: nothing to ask.
    messages.clear();
    action("mnuExit")->trigger();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(terminations, 1);
}

TEST_F(SpoedTest, AnAlreadyMarkedTestOffersTheOpenDialog) {
    window->RichTextBox2().setText(Source);
    window->RichTextBox1().setText(u"The quick brown fox jumps over the lazy dog. Pack my box.");
    QTest::keyClick(window.get(), Qt::Key_F12);
    ASSERT_TRUE(window->engine()->lastRun().completed);
    const std::size_t asked = dialogs.asked().size();
    QTest::keyClick(window.get(), Qt::Key_F12); // the open dialog is cancelled
    ASSERT_EQ(dialogs.asked().size(), asked + 1);
    EXPECT_FALSE(dialogs.asked().back().save);
    EXPECT_EQ(window->RichTextBox1().textLength(), 0);
    EXPECT_EQ(window->label3(), "");
}

TEST_F(SpoedTest, ButtonsRunTheirMenuCommands) {
    const std::string testPath = writeFile(m_folder / "t.txt", "Typed words.");
    window->state().CutOffPending = true;
    dialogs.queuePath(testPath);
    QTest::mouseClick(window->findChild<QPushButton*>("Command1"), Qt::LeftButton);
    EXPECT_EQ(window->label3(), testPath);
    EXPECT_FALSE(window->state().CutOffPending);

    dialogs.queuePath(testPath);
    QTest::mouseClick(window->findChild<QPushButton*>("Command3"), Qt::LeftButton);
    EXPECT_EQ(window->label4(), testPath);
    EXPECT_EQ(window->RichTextBox2().text(), u"Typed words.");

    QTest::mouseClick(window->findChild<QPushButton*>("Command4"), Qt::LeftButton);
    ASSERT_EQ(printing.printed().size(), 1u);
    EXPECT_NE(printing.printed()[0].find(u"Typed words."), std::u16string::npos);
}

TEST_F(SpoedTest, TheWarningDialogShowsBeforeBothOpensWhileTheMarkerExists) {
    writeFile(m_folder / "Warning.txt", "");
    int warnings = 0;
    window->setWarningDialog([&warnings] { ++warnings; });
    action("mnuTypedDoc")->trigger();
    action("mnuOpenorigin")->trigger();
    EXPECT_EQ(warnings, 2);
    std::filesystem::remove(m_folder / "Warning.txt");
    action("mnuTypedDoc")->trigger();
    EXPECT_EQ(warnings, 2);
}

TEST_F(SpoedTest, TheWindowsOwnWarningDialogIsWaarskuwing) {
    writeFile(m_folder / "Warning.txt", "");
    QString shown;
    std::function<void()> closeModal = [&shown, &closeModal] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shown = modal->windowTitle();
            modal->close();
        } else {
            QTimer::singleShot(10, closeModal);
        }
    };
    QTimer::singleShot(0, closeModal);
    action("mnuOpenorigin")->trigger();
    EXPECT_EQ(shown, QStringLiteral("Warning"));
}

// Exit with a changed test, answered Yes, then the save dialog cancelled: the question comes
// once more, and each answer ends as the window's Exit promises.
TEST_F(SpoedTest, ACancelledSaveFromExitAsksAgainAndEndsInEveryBranch) {
    struct Case {
        const char* name;
        MessageAnswer second;
        const char* secondSave; // the second save dialog's answer, when one is shown
        int questions;
        int saveDialogs;
        bool written;
    };
    const Case cases[] = {
        {"No terminates", MessageAnswer::No, nullptr, 2, 1, false},
        {"Yes offers the dialog again", MessageAnswer::Yes, "again.rtf", 2, 2, true},
        {"Cancel returns to the first Exit", MessageAnswer::Cancel, nullptr, 2, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Spoed exiting(m_folder.string(), SpoedServices{&messages, &dialogs, &printing, &clock});
        int ended = 0;
        exiting.setTerminateHandler([&ended] { ++ended; });
        exiting.startUp();
        exiting.RichTextBox1().setText(u"Typed but never saved.");
        ASSERT_TRUE(exiting.RichTextBox1().changed());
        messages.clear();
        const std::size_t dialogsBefore = dialogs.asked().size();
        messages.queueAnswer(MessageAnswer::Yes);
        dialogs.queuePath(""); // the save dialog is cancelled
        messages.queueAnswer(c.second);
        const std::filesystem::path target = m_folder / (c.secondSave ? c.secondSave : "none.rtf");
        if (c.secondSave)
            dialogs.queuePath(target.string());
        exiting.findChild<QAction*>("mnuExit")->trigger();

        EXPECT_EQ(ended, 1);
        EXPECT_EQ(static_cast<int>(messages.shown().size()), c.questions);
        for (const auto& shown : messages.shown()) {
            EXPECT_EQ(shown.text, "Save changes to speed test?");
            EXPECT_EQ(shown.title, "Vela Keystride - Save?");
            EXPECT_EQ(shown.buttons, MessageButtons::YesNoCancel);
        }
        EXPECT_EQ(static_cast<int>(dialogs.asked().size() - dialogsBefore), c.saveDialogs);
        EXPECT_EQ(std::filesystem::exists(target), c.written);
        // Once ended, a further command asks nothing.
        messages.clear();
        exiting.findChild<QAction*>("mnuSave")->trigger();
        exiting.findChild<QAction*>("mnuExit")->trigger();
        EXPECT_TRUE(messages.shown().empty());
        EXPECT_EQ(ended, 1);
    }

    // Cancel at the first question ends nothing.
    messages.clear();
    window->RichTextBox1().setText(u"Typed.");
    messages.queueAnswer(MessageAnswer::Cancel);
    action("mnuExit")->trigger();
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(terminations, 0);
}

} // namespace
} // namespace keystride
