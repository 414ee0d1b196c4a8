// FormS on screen (offscreen platform): the keyboard's order, clicks, "OK" and "Cancel", and the
// one dialog that the window shows from its first use to the end of the program.
#include "settings/qt/settings_dialog.h"
#include "settings_lines.h"

#include "support/qt/qt_application.h"
#include "support/scripted_services.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace keystride {
namespace {

using testing::readFile;

using testing::lines;

std::string shownTicks(const FormS& form) {
    std::string out;
    for (int i = 1; i <= SettingsBoxCount; ++i)
        out += form.box(static_cast<SettingsBox>(i))->isChecked() ? '1' : '0';
    return out;
}

class FormSTest : public ::testing::Test {
protected:
    FormSTest() { testing::qtApplication(); }
    testing::TempFolder folder;
    std::string path = folder.file("Settings");
};

TEST_F(FormSTest, TabGoesThroughTheBoxesByNumberThenOkAndCancel) {
    SettingsStore store;
    FormS form(store, path, FileSystem::real());
    QStringList order;
    QWidget* widget = form.box(SettingsBox::Check1);
    for (int i = 0; i < 10; ++i, widget = widget->nextInFocusChain()) {
        while (!(widget->focusPolicy() & Qt::TabFocus))
            widget = widget->nextInFocusChain();
        order << widget->objectName();
    }
    EXPECT_EQ(order, (QStringList{"Check1", "Check2", "Check3", "Check4", "Check5", "Check6",
                                  "Check7", "Check8", "Command1", "Command2"}));
}

// The boxes show the store as they are; only the user's clicks apply the groups. "Cancel"
// changes nothing but keeps the boxes as left; "OK" stores, writes and hides.
TEST_F(FormSTest, ClicksCancelAndOk) {
    SettingsStore store = parseSettings(lines({"J", "N", "J", "J", "J", "N", "N", "N"}));
    const SettingsStore before = store;
    FormS form(store, path, FileSystem::real());
    EXPECT_EQ(shownTicks(form), "10111000");
    form.show();
    form.box(SettingsBox::Check6)->click();
    form.box(SettingsBox::Check4)->click(); // clears the shown tick
    form.box(SettingsBox::Check4)->click();
    EXPECT_EQ(shownTicks(form), "10010100");

    form.reject(); // Esc
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(store, before);
    EXPECT_FALSE(std::filesystem::exists(path));

    form.show();
    EXPECT_EQ(shownTicks(form), "10010100");
    form.okButton()->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(readFile(path), lines({"J", "N", "N", "J", "N", "J", "N", "N"}));
    EXPECT_EQ(store, parseSettings(readFile(path)));
}

TEST_F(FormSTest, AFailedWriteIsReportedNamingTheFile) {
    testing::writeFile(folder.file("plain-file"), "x");
    const std::string blocked = folder.file("plain-file") + "/Settings";
    SettingsStore store;
    ScriptedMessageBoxes messages;
    FormS form(store, blocked, FileSystem::real());
    form.setMessageBoxes(&messages);
    form.show();
    form.box(SettingsBox::Check2)->click();
    form.okButton()->click();

    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, "Error");
    EXPECT_NE(messages.shown()[0].text.find(blocked), std::string::npos);
    EXPECT_EQ(store.CheckSpacing15, "J");
    EXPECT_FALSE(form.isVisible());
}

// The window's "Se&ttings": modal, showing the store that start-up read (the file, changed
// since, is not read again), and the same dialog the next time.
TEST_F(FormSTest, TheWindowShowsOneModalDialogOverTheStore) {
    testing::writeFile(path, lines({"N", "N", "N", "N", "N", "N", "N", "N"}));
    QWidget window;
    SettingsStore store;
    store.TimeLimit10 = "J";
    store.WpmInteger = "J";
    std::vector<std::string> seen;
    QPointer<QWidget> dialog;
    for (int time = 0; time < 2; ++time) {
        QTimer::singleShot(0, [&] {
            auto* form = qobject_cast<FormS*>(QApplication::activeModalWidget());
            ASSERT_NE(form, nullptr);
            seen.push_back(shownTicks(*form));
            if (!dialog)
                dialog = form;
            EXPECT_EQ(form, dialog.data());
            form->box(SettingsBox::Check8)->click();
            form->cancelButton()->click();
        });
        showSettingsDialog(&window, store, path);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"10100100", "10100101"}));
    EXPECT_EQ(readFile(path), lines({"N", "N", "N", "N", "N", "N", "N", "N"}));
}

} // namespace
} // namespace keystride
