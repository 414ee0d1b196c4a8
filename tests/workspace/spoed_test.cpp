// The real main window on Qt's off-screen platform: its layout at every size, what a screen
// reader and the keyboard find, and that its menus, buttons, keys and mouse reach the commands.
#include "spoed_fixture.h"

#include "settings/qt/settings_dialog.h"

#include <QAccessible>
#include <QCheckBox>
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

TEST_F(SpoedTest, F9AndAClickInTheSourceStartARunUpToTheClick) {
    openWindow();
    window->RichTextBox2().setText(Source);
    window->RichTextBox1().setText(
        u"Completely different words that the source never holds anywhere at all, really.");
    QWidget* source = window->RichTextBox2().editor()->viewport();
    QTest::mouseClick(source, Qt::LeftButton, {}, QPoint(120, 8));
    EXPECT_EQ(window->RichTextBox2().formatSpans().size(), 1u); // without F9 nothing happens
    QTest::keyClick(window.get(), Qt::Key_F9);
    QTest::mouseClick(source, Qt::LeftButton, {}, QPoint(120, 8));
    EXPECT_FALSE(window->state().CutOffPending);
    const auto spans = window->RichTextBox2().formatSpans();
    EXPECT_EQ(spans[0].format.colour, colours::blue);
    EXPECT_EQ(window->engine()->lastRun().sourceEnd, spans[0].length);
}

// Each row triggers a menu item (or clicks a button) and reads what its command changed.
TEST_F(SpoedTest, EveryMenuItemAndButtonRunsItsCommand) {
    openWindow();
    const std::string words = folder.file("words.txt");
    const std::string teacher = folder.file("teacher.txt");
    writeFile(words, "Typed words.");
    writeFile(teacher, "The teacher's words.");
    writeFile(folder.path() / "Speedhelp.RTF", "{\\rtf1\\ansi English help.}");
    writeFile(folder.path() / "Spoedhelp.RTF", "{\\rtf1\\ansi Afrikaanse hulp.}");
    Spoed& w = *window;
    auto utf8 = [](const std::u16string& t) { return QString::fromStdU16String(t).toStdString(); };
    auto size = [](DocumentPane& pane) {
        pane.setSelStart(0);
        pane.setSelLength(pane.textLength());
        return std::to_string(pane.selFontSize().value_or(0));
    };
    using Probe = std::function<std::string()>;
    const Probe label3 = [&] { return w.label3(); }, label4 = [&] { return w.label4(); };
    const Probe typed = [&] { return utf8(w.RichTextBox1().text()); };
    const Probe printed = [&] { // which pane went to the printer
        const std::u16string& job = printing.printed().back();
        return job.find(w.RichTextBox2().text()) != std::u16string::npos ? "source" : "typed";
    };
    const Probe spacing = [&] { // the mode, and the items the menu ticks
        std::string shown = std::to_string(w.state().LineSpacingMode);
        for (const char* item : {"mnuSingle", "mnu15LineSpacing", "mnuDouble"})
            shown += action(item)->isChecked() ? " " + std::string(item) : "";
        return shown;
    };
    const Probe typedSize = [&] { return size(w.RichTextBox1()); };
    const Probe sourceSize = [&] { return size(w.RichTextBox2()); };
    const Probe cutOff = [&] { return std::string(w.state().CutOffPending ? "armed" : "-"); };
    const Probe title = [&] { return messages.shown().back().title; };
    struct Row {
        const char* name;          // a menu item, else a button
        const std::string* chosen; // what a file dialog answers
        const Probe& probe;
        std::string expected;
    };
    const Row rows[] = {
        {"mnuOpenorigin", &words, label4, words},
        {"Command3", &teacher, label4, teacher},
        {"mnuTypedDoc", &teacher, label3, teacher},
        {"Command1", &words, label3, words},
        {"mnuNewTest", nullptr, typed, ""},
        {"mnuReOpen", nullptr, typed, "Typed words."},
        {"Command4", nullptr, printed, "typed"},
        {"mnuPrintSource", nullptr, printed, "source"},
        {"mnu15LineSpacing", nullptr, spacing, "1 mnu15LineSpacing"},
        {"mnuDouble", nullptr, spacing, "2 mnuDouble"},
        {"mnuSingle", nullptr, spacing, "0 mnuSingle"},
        {"mnuSingle", nullptr, spacing, "0 mnuSingle"}, // the ticked item keeps its mark
        {"mnuplus", nullptr, typedSize, std::to_string(16.0)},
        {"mnuminus", nullptr, typedSize, std::to_string(12.0)},
        {"mnuIn", nullptr, sourceSize, std::to_string(13.75)},
        {"mnuUit", nullptr, sourceSize, std::to_string(9.75)},
        {"mnuForce", nullptr, cutOff, "armed"},
        {"Command8", nullptr, cutOff, "armed"},
        {"mnuCalculate", nullptr, title, "Error"},
        {"Command2", nullptr, title, "Error"},
        {"mnuAfrikaans", nullptr, typed, "Afrikaanse hulp."},
        {"mnuEnglish", nullptr, typed, "English help."},
    };
    for (const Row& row : rows) {
        w.state().CutOffPending = false;
        if (row.chosen)
            dialogs.queuePath(*row.chosen);
        if (auto* item = w.findChild<QAction*>(QString::fromLatin1(row.name)))
            item->trigger();
        else
            QTest::mouseClick(child<QPushButton>(row.name), Qt::LeftButton);
        EXPECT_EQ(row.probe(), row.expected) << row.name;
    }
}

// The window's own modal dialogs: the settings dialog writes the program's "Settings", and the
// warning dialog shows before an open while its marker file exists.
TEST_F(SpoedTest, SettingsAndTheWarningAreTheWindowsOwnDialogs) {
    openWindow();
    QString warning;
    QTimer::singleShot(0, [] {
        if (auto* form = qobject_cast<FormS*>(QApplication::activeModalWidget())) {
            form->box(SettingsBox::Check1)->click();
            form->okButton()->click();
        }
    });
    action("mnuSettings")->trigger();
    EXPECT_TRUE(window->settings().timeLimitEndsTest());
    EXPECT_EQ(readFile(folder.path() / "Settings").substr(0, 3), "J\r\n");

    writeFile(folder.path() / "Warning.txt", "");
    QTimer::singleShot(0, [&warning] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            warning = modal->windowTitle();
            modal->close();
        }
    });
    action("mnuOpenorigin")->trigger();
    EXPECT_EQ(warning, QStringLiteral("Warning"));
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

// Exit with a changed test, Yes, the save dialog cancelled and No to the question that follows:
// the program ends once, and no command asks anything after that.
TEST_F(SpoedTest, ACancelledSaveFromExitAsksAgainAndEndsOnce) {
    openWindow();
    window->RichTextBox1().setText(u"Typed but never saved.");
    messages.queueAnswer(MessageAnswer::Yes);
    messages.queueAnswer(MessageAnswer::No);
    action("mnuExit")->trigger();
    EXPECT_EQ(terminations, 1);
    EXPECT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(dialogs.asked().size(), 1u);

    messages.clear();
    action("mnuSave")->trigger();
    action("mnuExit")->trigger();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(terminations, 1);
}

} // namespace
} // namespace keystride::testing
