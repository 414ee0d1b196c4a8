// The real main window on Qt's off-screen platform: its layout at every size, what a screen
// reader and the keyboard find, and that its menus, buttons, keys and mouse reach the commands.
#include "spoed_fixture.h"

#include "documents/document_commands.h"
#include "results/results_viewer.h"

#include <QAccessible>
#include <QDialog>
#include <QMenuBar>
#include <QTimer>
#include <QtTest/QTest>

namespace keystride::testing {
namespace {

const std::u16string Source =
    u"The quick brown fox jumps over the lazy dog. Pack my box with five dozen liquor jugs. "
    u"How vexingly quick daft zebras jump! Sphinx of black quartz, judge my vow.";

QRect inClient(const QWidget* widget) {
    return QRect(widget->mapTo(widget->window(), QPoint()), widget->size());
}

TEST_F(SpoedTest, TheLayoutIsExactAtTheNominalSizeAndFitsSmallerScreens) {
    openWindow();
    const int menu = window->menuBar()->height();
    window->resize(SpoedLayout::Nominal + QSize(0, menu));
    // Twips / 15, measured from the client area's corner.
    const std::pair<const char*, QRect> nominal[] = {
        {"RichTextBox1", {32, 40, 478, 603}},
        {"RichTextBox2", {544, 88, 446, 552}},
        {"Command3", {576, 48, 34, 26}},
        {"Label5", {792, 0, 57, 20}},
    };
    for (const auto& [name, rect] : nominal)
        EXPECT_EQ(child(name)->geometry(), rect) << name;

    // Above the nominal size the panes take the room, half of the width to each.
    window->resize(SpoedLayout::Nominal + QSize(100, menu + 50));
    EXPECT_EQ(child("RichTextBox1")->geometry(), QRect(32, 40, 528, 653));
    EXPECT_EQ(child("RichTextBox2")->geometry(), QRect(594, 88, 496, 602));
    EXPECT_EQ(child("Label5")->x(), 892);

    // A 1280 x 720 screen at 100 % and a 1366 x 768 screen at 150 %, in the window's pixels,
    // less a panel; the window leaves room for a title bar and shows every control whole.
    struct Screen {
        QSize pixels;
        double scale;
    };
    for (const Screen& screen : {Screen{{1280, 720}, 1.0}, Screen{{1366, 768}, 1.5}}) {
        SCOPED_TRACE(screen.scale);
        const QRect available(QPoint(0, 0), (screen.pixels / screen.scale) - QSize(0, 32));
        window->fitInto(available);
        EXPECT_TRUE(available.contains(window->geometry())) << window->geometry().height();
        EXPECT_GE(available.height() - window->height(), 30);
        EXPECT_GE(available.height() - window->minimumSizeHint().height(), 30);
        const QRect client = inClient(child("client"));
        for (QWidget* control :
             child("client")->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (control->objectName() != QLatin1String("Command7")) {
                EXPECT_TRUE(client.contains(inClient(control)))
                    << control->objectName().toStdString();
            }
        }
        EXPECT_LT(inClient(child("Picture1")).right(), inClient(child("Picture2")).left());
        EXPECT_LT(child("Label6")->font().pointSizeF(), 16.5);
    }
}

TEST_F(SpoedTest, AScreenReaderFindsEveryControlByItsName) {
    openWindow();
    // Every pane, button and label says what it is.
    for (QWidget* control : child("client")->findChildren<QWidget*>()) {
        if (!qobject_cast<QLabel*>(control) && !qobject_cast<QAbstractButton*>(control) &&
            !qobject_cast<QTextEdit*>(control))
            continue;
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
        ASSERT_NE(accessible, nullptr);
        EXPECT_FALSE(accessible->text(QAccessible::Name).isEmpty())
            << control->objectName().toStdString();
        if (!control->toolTip().isEmpty()) {
            EXPECT_EQ(accessible->text(QAccessible::Description), control->toolTip());
        }
    }
    // The labels that show a value say what the value is.
    window->setLabel3("/klas/toets1.rtf");
    window->setClockText("03:45");
    struct Row {
        const char* name;
        const char* accessibleName;
    };
    const Row rows[] = {{"RichTextBox1", "Speed test"},
                        {"RichTextBox2", "Source document"},
                        {"Label3", "Speed test file name: /klas/toets1.rtf"},
                        {"Label4", "Source document file name"},
                        {"Label5", "Elapsed time: 03:45"},
                        {"Command8", "Force end of speedTest"}};
    for (const Row& row : rows) {
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(child(row.name));
        EXPECT_EQ(accessible->text(QAccessible::Name), QString::fromUtf8(row.accessibleName));
    }
}

// Typing always goes to the speed test: clicks on the source, its frame or a button leave the
// keyboard there, and the buttons are reached with Tab.
TEST_F(SpoedTest, TheKeyboardStaysWithTheSpeedTestAndTabReachesTheButtons) {
    openWindow();
    QTextEdit* typed = window->RichTextBox1().editor();
    window->RichTextBox2().setText(Source);
    QTest::mouseClick(window->RichTextBox2().editor()->viewport(), Qt::LeftButton, {},
                      QPoint(20, 8));
    QApplication::processEvents();
    EXPECT_TRUE(typed->hasFocus());
    EXPECT_GT(window->RichTextBox2().selStart(), 0); // the caret still moved to the click
    QTest::mouseClick(child<QPushButton>("Command8"), Qt::LeftButton);
    EXPECT_TRUE(window->state().CutOffPending);
    EXPECT_TRUE(typed->hasFocus());
    child("Command2")->setFocus();
    QTest::mouseClick(child("Picture1"), Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(typed->hasFocus());

    // Tab is typed; Ctrl+Tab leaves the test for the buttons, and Tab goes round them.
    QTest::keyClick(typed, Qt::Key_Tab);
    EXPECT_EQ(window->RichTextBox1().text(), u"\t");
    QTest::keyClick(typed, Qt::Key_Tab, Qt::ControlModifier);
    QStringList visited;
    for (int i = 0; i < 6; ++i) {
        visited << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(visited, (QStringList{"Command1", "Command4", "Command2", "Command3", "Command8",
                                    "RichTextBox1"}));
    window->state().CutOffPending = false;
    QTest::keyClick(typed, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), child("Command8"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(window->state().CutOffPending);
    EXPECT_TRUE(typed->hasFocus());
}

TEST_F(SpoedTest, TypingStartsTheClockAndTheTimeLimitRefusesKeys) {
    openWindow();
    window->settings().TimeLimit10 = "J";
    QTextEdit* typed = window->RichTextBox1().editor();
    QTest::keyClicks(typed, QStringLiteral("ab"));
    EXPECT_TRUE(clock.enabled());
    clock.tick(600);
    EXPECT_EQ(window->clockText(), "10:00");
    QTest::keyClicks(typed, QStringLiteral("cd"));
    EXPECT_EQ(window->RichTextBox1().text(), u"ab");
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Backup.rtf"));
}

TEST_F(SpoedTest, F12MarksOnceAndThenOffersTheOpenDialog) {
    openWindow();
    window->RichTextBox2().setText(Source);
    window->RichTextBox1().setText(
        u"The quick brown fox jumps over the lazy dog. Pack my box with five dozen liqour jugs.");
    QTest::keyClick(window.get(), Qt::Key_F12);
    ASSERT_TRUE(window->engine()->lastRun().completed);
    EXPECT_NE(window->RichTextBox1().text().find(u"Less no. of words with errors:"),
              std::u16string::npos);
    EXPECT_FALSE(child("Label6")->isVisible());
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Resultaat.res"));

    QTest::keyClick(window.get(), Qt::Key_F12); // the open dialog is cancelled
    ASSERT_FALSE(messages.shown().empty());
    EXPECT_EQ(messages.shown().back().title, "!");
    ASSERT_EQ(dialogs.asked().size(), 1u);
    EXPECT_FALSE(dialogs.asked().back().save);
    EXPECT_EQ(window->RichTextBox1().textLength(), 0);
}

TEST_F(SpoedTest, F9AndAClickInTheSourceStartARunUpToTheClick) {
    openWindow();
    window->RichTextBox2().setText(Source);
    window->RichTextBox1().setText(
        u"Completely different words that the source never holds anywhere at all, really.");
    QTextEdit* source = window->RichTextBox2().editor();
    QTest::mouseClick(source->viewport(), Qt::LeftButton, {}, QPoint(120, 8));
    EXPECT_EQ(window->RichTextBox2().formatSpans().size(), 1u); // without F9 nothing happens

    QTest::keyClick(window.get(), Qt::Key_F9);
    EXPECT_TRUE(window->state().CutOffPending);
    QTest::mouseClick(source->viewport(), Qt::LeftButton, {}, QPoint(120, 8));
    EXPECT_FALSE(window->state().CutOffPending);
    const auto spans = window->RichTextBox2().formatSpans();
    ASSERT_FALSE(spans.empty());
    EXPECT_EQ(spans[0].format.colour, colours::blue);
    EXPECT_EQ(window->engine()->lastRun().sourceEnd, spans[0].length);
}

TEST_F(SpoedTest, EveryMenuItemAndButtonRunsItsCommand) {
    openWindow();
    const std::string words = folder.file("words.txt");
    writeFile(words, "Typed words.");
    const std::string teacher = folder.file("teacher.txt");
    writeFile(teacher, "The teacher's words.");
    const std::string saved = folder.file("saved.rtf");
    writeFile(folder.path() / "Speedhelp.RTF", "{\\rtf1\\ansi English help.}");
    writeFile(folder.path() / "Spoedhelp.RTF", "{\\rtf1\\ansi Afrikaanse hulp.}");
    DocumentPane& typed = window->RichTextBox1();
    DocumentPane& source = window->RichTextBox2();
    auto asked = [this](const char* filter, bool save) {
        return [=, this] {
            ASSERT_FALSE(dialogs.asked().empty());
            EXPECT_EQ(dialogs.asked().back().filter, filter);
            EXPECT_EQ(dialogs.asked().back().save, save);
        };
    };
    auto printed = [this](const DocumentPane& pane) {
        return [&pane, this] {
            ASSERT_FALSE(printing.printed().empty());
            EXPECT_NE(printing.printed().back().find(pane.text()), std::u16string::npos);
        };
    };
    auto spacing = [this](int mode) {
        return [mode, this] { EXPECT_EQ(window->state().LineSpacingMode, mode); };
    };
    auto size = [](DocumentPane& pane, double points) {
        return [&pane, points] {
            pane.setSelStart(0);
            pane.setSelLength(pane.textLength());
            EXPECT_EQ(pane.selFontSize(), points);
        };
    };
    auto text = [](const DocumentPane& pane, const std::u16string& expected) {
        return [&pane, expected] { EXPECT_EQ(pane.text(), expected); };
    };
    struct Row {
        const char* name; // a menu item, else a button
        std::function<void()> check;
        const std::string* chosen = nullptr; // what a file dialog answers
    };
    const Row rows[] = {
        {"mnuOpenorigin", [&] { EXPECT_EQ(window->label4(), teacher); }, &teacher},
        {"Command3", text(source, u"The teacher's words."), &teacher},
        {"mnuTypedDoc", [&] { EXPECT_EQ(window->label3(), words); }, &words},
        {"Command1", asked(documenttexts::OpenFilter, false), &words},
        {"mnuNewTest", text(typed, u"")},
        {"mnuReOpen", text(typed, u"Typed words.")},
        {"mnuSave", asked(documenttexts::SaveFilter, true), &saved},
        {"mnuSaveSource", asked(documenttexts::SaveFilter, true), &saved},
        {"mnuPrint", printed(typed)},
        {"Command4", printed(typed)},
        {"mnuPrintSource", printed(source)},
        {"mnu15LineSpacing", spacing(1)},
        {"mnuDouble", spacing(2)},
        {"mnuSingle", spacing(0)},
        {"mnuplus", size(typed, 16)},
        {"mnuminus", size(typed, 12)},
        {"mnuIn", size(source, 13.75)},
        {"mnuUit", size(source, 9.75)},
        {"mnuForce", [&] { EXPECT_TRUE(window->state().CutOffPending); }},
        {"Command8", [&] { EXPECT_TRUE(window->state().CutOffPending); }},
        {"mnuCalculate", [&] { EXPECT_EQ(messages.shown().back().title, "Error"); }},
        {"Command2", [&] { EXPECT_EQ(messages.shown().back().title, "Error"); }},
        {"mnuAfrikaans", text(typed, u"Afrikaanse hulp.")},
        {"mnuEnglish", text(typed, u"English help.")},
        {"mnuResults", asked(ResultsFilter, false)},
        {"mnuMarked", asked(MarkedTestsFilter, false)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        window->state().CutOffPending = false;
        if (row.chosen)
            dialogs.queuePath(*row.chosen);
        if (auto* item = window->findChild<QAction*>(QString::fromLatin1(row.name)))
            item->trigger();
        else
            QTest::mouseClick(child<QPushButton>(row.name), Qt::LeftButton);
        row.check();
    }
}

TEST_F(SpoedTest, SettingsIsModalAndAboutStaysOpenBesideTheWindow) {
    openWindow();
    QString shown;
    QTimer::singleShot(0, [&shown] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            shown = modal->windowTitle();
            modal->close();
        }
    });
    action("mnuSettings")->trigger();
    EXPECT_EQ(shown, QStringLiteral("Settings"));

    action("mnuAbout")->trigger();
    auto* about = window->findChild<QDialog*>(QStringLiteral("frmAbout"));
    ASSERT_NE(about, nullptr);
    EXPECT_TRUE(about->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    about->close();
}

TEST_F(SpoedTest, ClosingTheWindowAsksAndNoKeepsItOpen) {
    openWindow();
    messages.queueAnswer(MessageAnswer::No);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Do you really want to exit the application?");
    messages.queueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(window->close());
    EXPECT_EQ(messages.shown().size(), 2u); // never a save question on this path
}

// Exit with a changed test, Yes, and the save dialog cancelled: the question comes once more,
// every answer ends the program once, and nothing is asked after that.
TEST_F(SpoedTest, ACancelledSaveFromExitAsksAgainAndEndsOnce) {
    struct Case {
        MessageAnswer second;
        bool savedSecondTime;
    };
    const std::filesystem::path again = folder.path() / "again.rtf";
    for (const Case& c : {Case{MessageAnswer::No, false}, Case{MessageAnswer::Yes, true},
                          Case{MessageAnswer::Cancel, false}}) {
        openWindow();
        terminations = 0;
        std::filesystem::remove(again);
        window->RichTextBox1().setText(u"Typed but never saved.");
        messages.clear();
        messages.queueAnswer(MessageAnswer::Yes);
        dialogs.queuePath("");
        messages.queueAnswer(c.second);
        if (c.savedSecondTime)
            dialogs.queuePath(again.string());
        action("mnuExit")->trigger();

        EXPECT_EQ(terminations, 1);
        EXPECT_EQ(messages.shown().size(), 2u);
        EXPECT_EQ(std::filesystem::exists(again), c.savedSecondTime);
        messages.clear();
        action("mnuSave")->trigger();
        action("mnuExit")->trigger();
        EXPECT_TRUE(messages.shown().empty());
        EXPECT_EQ(terminations, 1);
    }
}

} // namespace
} // namespace keystride::testing
