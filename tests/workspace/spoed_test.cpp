// The real main window on Qt's off-screen platform, with scripted message boxes, dialogs and
// printing and a manual clock, over a fresh folder that is both the program's folder and the
// current folder: it fits small screens, a screen reader and the keyboard find their way, its
// menus, buttons, keys and mouse reach the commands, and it marks as keystride-mark does.
#include "platform/files/program_folder.h"
#include "results/run_json.h"
#include "settings/qt/settings_dialog.h"
#include "support/qt/qt_application.h"
#include "support/scripted_services.h"
#include "support/test_files.h"
#include "workspace/qt/spoed.h"

#include <nlohmann/json.hpp>

#include <QAccessible>
#include <QAction>
#include <QProcess>
#include <QTimer>
#include <QtTest/QTest>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace keystride::testing {
namespace {

namespace fs = std::filesystem;

class SpoedTest : public ::testing::Test {
protected:
    // The window, started up and shown, with the folder as the current folder.
    SpoedTest() {
        qtApplication();
        fs::current_path(folder.path());
    }
    ~SpoedTest() override {
        window.reset();
        fs::current_path(m_previous);
    }
    void openWindow() {
        window = std::make_unique<Spoed>(folder.path().string(),
                                         SpoedServices{&messages, &dialogs, &printing, &clock});
        window->setTerminateHandler([this] { ++terminations; });
        window->startUp();
        window->show();
        QApplication::setActiveWindow(window.get());
    }
    template <typename T = QWidget> T* child(const char* name) const {
        auto* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    fs::path m_previous = fs::current_path();
    TempFolder folder{"keystride-spoed-"};
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    ScriptedPrinting printing;
    ManualClock clock;
    std::unique_ptr<Spoed> window;
    int terminations = 0;
};

QRect inClient(const QWidget* widget) {
    return QRect(widget->mapTo(widget->window(), QPoint()), widget->size());
}

// A 1280 x 720 screen at 100 % and a 1366 x 768 screen at 150 %, less a panel, hold the window
// with room for a title bar and every control whole (but the hidden Command7). Every pane,
// button and label says a screen reader what it is.
TEST_F(SpoedTest, TheWindowFitsSmallerScreensAndNamesEveryControl) {
    openWindow();
    for (const auto& [pixels, scale] : {std::pair{QSize(1280, 720), 1.0}, {{1366, 768}, 1.5}}) {
        SCOPED_TRACE(scale);
        const QRect available(QPoint(0, 0), (pixels / scale) - QSize(0, 32));
        window->fitInto(available);
        EXPECT_TRUE(available.contains(window->geometry()));
        EXPECT_GE(available.height() - window->height(), 30);
        for (QWidget* control :
             child("client")->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            EXPECT_TRUE(control->objectName() == QLatin1String("Command7") ||
                        inClient(child("client")).contains(inClient(control)))
                << control->objectName().toStdString();
        }
        EXPECT_LT(inClient(child("Picture1")).right(), inClient(child("Picture2")).left());
    }
    for (QWidget* control : child("client")->findChildren<QWidget*>()) {
        EXPECT_TRUE(
            (!qobject_cast<QLabel*>(control) && !qobject_cast<QAbstractButton*>(control) &&
             !qobject_cast<QTextEdit*>(control)) ||
            !QAccessible::queryAccessibleInterface(control)->text(QAccessible::Name).isEmpty())
            << control->objectName().toStdString();
    }
}

// Typing always goes to the speed test: clicks on the source or a button leave the
// keyboard there, and Tab is typed. A key starts the
// clock; at the limit keys are refused and the test is backed up. A click in the source marks up
// to it only after F9 or Command8.
TEST_F(SpoedTest, KeysAndClicksReachTheTestTheClockAndTheCutOff) {
    openWindow();
    window->settings().TimeLimit10 = "J";
    QTextEdit* typed = window->RichTextBox1().editor();
    window->RichTextBox2().setText(u"The quick brown fox jumps over the lazy dog. Pack my box with "
                                   u"five dozen liquor jugs. How vexingly quick daft zebras jump!");
    QWidget* source = window->RichTextBox2().editor()->viewport();
    QTest::mouseClick(source, Qt::LeftButton, {}, QPoint(120, 8));
    QApplication::processEvents();
    EXPECT_TRUE(typed->hasFocus());
    EXPECT_EQ(window->RichTextBox2().formatSpans().size(), 1u);
    QTest::keyClick(typed, Qt::Key_Tab);

    QTest::keyClicks(typed, QStringLiteral("ab"));
    clock.tick(600);
    QTest::keyClicks(typed, QStringLiteral("cd"));
    EXPECT_EQ(window->RichTextBox1().text(), u"\tab");
    EXPECT_FALSE(readFile("Backup.rtf").empty());

    QTest::mouseClick(child("Command8"), Qt::LeftButton);
    EXPECT_TRUE(typed->hasFocus());
    window->state().CutOffPending = false;
    QTest::keyClick(window.get(), Qt::Key_F9);
    QTest::mouseClick(source, Qt::LeftButton, {}, QPoint(120, 8));
    EXPECT_FALSE(window->state().CutOffPending);
    const auto spans = window->RichTextBox2().formatSpans();
    EXPECT_EQ(spans[0].format.colour, colours::blue);
    EXPECT_EQ(window->engine()->lastRun().sourceEnd, spans[0].length);
}

// Each row triggers a menu item (or clicks a button) and reads what its command changed (the open
// commands' menu items are the marking check's). File dialogs answer with `chosen`; the window's
// own modal dialogs (the warning, shown before every open while its marker file exists, and the
// settings) are answered with OK.
TEST_F(SpoedTest, EveryMenuItemAndButtonRunsItsCommand) {
    openWindow();
    const std::string words = folder.file("words.txt"), teacher = folder.file("teacher.txt");
    writeFile(words, "Typed words.");
    writeFile(teacher, "The teacher's words.");
    writeFile("Warning.txt", "");
    writeFile("Speedhelp.RTF", "{\\rtf1\\ansi English help.}");
    writeFile("Spoedhelp.RTF", "{\\rtf1\\ansi Afrikaanse hulp.}");
    Spoed& w = *window;
    std::vector<std::string> modals;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&modals] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            modals.push_back(modal->windowTitle().toStdString());
            auto* form = qobject_cast<FormS*>(modal);
            form ? form->okButton()->click() : (void)modal->close();
        }
    });
    answer.start(5);
    // What the commands change, one "name=value;" each; a row names the value it expects.
    const auto seen = [&] {
        const auto size = [](QtDocumentPane& pane) {
            return pane.textLength() ? pane.formatSpans()[0].format.size : 0.0;
        };
        std::string ticked;
        for (const char* item : {"mnuSingle", "mnu15LineSpacing", "mnuDouble"})
            ticked += child<QAction>(item)->isChecked() ? item : "";
        return "label3=" + w.label3() + ";label4=" + w.label4() +
               ";typed=" + toUtf8(w.RichTextBox1().text()) +
               ";printed=" + (printing.printed().empty() ? "" : toUtf8(printing.printed().back())) +
               ";spacing=" + std::to_string(w.state().LineSpacingMode) + " " + ticked +
               ";sizes=" + std::to_string(size(w.RichTextBox1())) + "/" +
               std::to_string(size(w.RichTextBox2())) +
               ";cutOff=" + (w.state().CutOffPending ? "armed" : "") +
               ";title=" + (messages.shown().empty() ? "" : messages.shown().back().title) +
               ";settings=" + readFile("Settings") + ";";
    };
    const std::tuple<const char*, const std::string*, std::string> rows[] = {
        {"Command3", &teacher, "label4=" + teacher},
        {"Command1", &words, "label3=" + words},
        {"mnuSettings", nullptr, "settings=N\r\nN\r\nJ\r\nN\r\nN\r\nN\r\nN\r\nN\r\n"},
        {"mnuNewTest", nullptr, "typed=;"},
        {"mnuReOpen", nullptr, "typed=Typed words."},
        {"Command4", nullptr, "printed=\r\n\r\nTyped words.;"},
        {"mnuPrintSource", nullptr, "teacher.txt\r\n\r\nThe teacher's words.;spacing="},
        {"mnu15LineSpacing", nullptr, "spacing=1 mnu15LineSpacing;"},
        {"mnuDouble", nullptr, "spacing=2 mnuDouble;"},
        {"mnuSingle", nullptr, "spacing=0 mnuSingle;"},
        {"mnuSingle", nullptr, "spacing=0 mnuSingle;"}, // the ticked item keeps its mark
        {"mnuplus", nullptr, "sizes=16.000000/9.750000"},
        {"mnuIn", nullptr, "sizes=16.000000/13.750000"},
        {"mnuminus", nullptr, "sizes=12.000000/13.750000"},
        {"mnuUit", nullptr, "sizes=12.000000/9.750000"},
        {"mnuForce", nullptr, "cutOff=armed"},
        {"Command8", nullptr, "cutOff=armed"},
        {"mnuCalculate", nullptr, "title=Error;"},
        {"Command2", nullptr, "title=Error;"},
        {"mnuAfrikaans", nullptr, "typed=Afrikaanse hulp."},
        {"mnuEnglish", nullptr, "typed=English help."},
    };
    for (const auto& [name, chosen, expected] : rows) {
        w.state().CutOffPending = false;
        messages.clear();
        if (chosen)
            dialogs.queuePath(*chosen);
        if (auto* item = w.findChild<QAction*>(QString::fromLatin1(name)))
            item->trigger();
        else
            QTest::mouseClick(child(name), Qt::LeftButton);
        EXPECT_THAT(seen(), ::testing::HasSubstr(expected)) << name;
    }
    EXPECT_EQ(modals, (std::vector<std::string>{"Warning", "Warning", "Settings"}));
}

// Closing asks (in the application's words: the workspace test) and No keeps the window open. Exit
// with a changed test, Yes, the save dialog cancelled and No to the question that follows: the
// program ends once, and no command asks anything after that.
TEST_F(SpoedTest, LeavingAsksAndTheProgramEndsOnce) {
    openWindow();
    window->RichTextBox1().setText(u"Typed but never saved.");
    EXPECT_FALSE(window->close());
    messages.queueAnswer(MessageAnswer::Yes);
    messages.queueAnswer(MessageAnswer::No);
    child<QAction>("mnuExit")->trigger();
    ASSERT_EQ(messages.shown().size(), 3u);
    EXPECT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(terminations, 1);

    child<QAction>("mnuSave")->trigger();
    child<QAction>("mnuExit")->trigger();
    EXPECT_EQ(messages.shown().size(), 3u);
    EXPECT_EQ(dialogs.asked().size(), 1u);
    EXPECT_EQ(terminations, 1);
}

// keystride-mark's JSON line for `test` against the folder's source and Settings; "" when the
// tool cannot be started or fails.
std::string markedByTheTool(const fs::path& folder, bool fontMarking, const std::string& test) {
    QProcess process;
    process.start(QString::fromUtf8(KEYSTRIDE_BIN_DIR "/keystride-mark"),
                  {"--json", "--no-write", "--settings",
                   QString::fromStdString(folder / "Settings"), "--marking",
                   fontMarking ? "font" : "colour", QString::fromStdString(folder / "source.txt"),
                   QString::fromStdString(test)});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return "";
    return process.readAllStandardOutput().toStdString();
}

// With the marking fonts built the window marks with fonts; whichever it uses, the tool is told
// to use the same, and only what a run that writes nothing leaves out may differ.
TEST_F(SpoedTest, TheWindowMarksAsKeystrideMarkDoes) {
    const fs::path examples = fs::path(KEYSTRIDE_SOURCE_DIR) / "examples";
    fs::copy_file(fs::path(KEYSTRIDE_SOURCE_DIR) / "data" / "Settings", "Settings");
    fs::copy_file(examples / "source.txt", "source.txt");
    if (fs::exists(fs::path(KEYSTRIDE_BIN_DIR "/fonts") / MarkingFontFiles.front()))
        fs::copy(KEYSTRIDE_BIN_DIR "/fonts", "fonts");
    openWindow();
    for (const char* name : {"learner1.txt", "learner2.txt", "learner3.rtf"}) {
        SCOPED_TRACE(name);
        fs::copy_file(examples / name, name);
        const std::string line =
            markedByTheTool(folder.path(), window->state().FontMarking, folder.file(name));
        ASSERT_FALSE(line.empty()) << "keystride-mark failed";
        window->RichTextBox1().setText(u""); // each test is opened on an unmarked pane
        dialogs.queuePath(folder.file("source.txt"));
        child<QAction>("mnuOpenorigin")->trigger();
        dialogs.queuePath(folder.file(name));
        child<QAction>("mnuTypedDoc")->trigger();
        messages.clear();
        QTest::keyClick(window.get(), Qt::Key_F12);
        EXPECT_TRUE(messages.shown().empty()) << messages.shown()[0].text;
        auto mine = nlohmann::json::parse(runRecordJson(window->engine()->lastRun()));
        auto tools = nlohmann::json::parse(line);
        for (const char* key : {"messages", "marked_file", "result_line"}) {
            mine.erase(key);
            tools.erase(key);
        }
        EXPECT_EQ(mine, tools);
    }
}

} // namespace
} // namespace keystride::testing
