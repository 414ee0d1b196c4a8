// FormS on the off-screen platform: clicks, "OK" and "Cancel", a write that fails, and the one
// dialog that the window shows from its first use to the end of the program.
#include "settings/qt/settings_dialog.h"

#include "support/qt/qt_application.h"
#include "support/scripted_services.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

namespace keystride::testing {
namespace {

std::string shownTicks(const FormS& form) {
    std::string out;
    for (int i = 1; i <= SettingsBoxCount; ++i)
        out += form.box(static_cast<SettingsBox>(i))->isChecked() ? '1' : '0';
    return out;
}

class FormSTest : public ::testing::Test {
protected:
    FormSTest() { qtApplication(); }
    TempFolder folder;
    std::string path = folder.file("Settings");
};

// The boxes show the store as it is; only the user's clicks apply the groups. "Cancel" changes
// nothing but keeps the boxes as left; "OK" stores, writes and hides.
TEST_F(FormSTest, ClicksCancelAndOk) {
    SettingsStore store = parseSettings("J\r\nN\r\nJ\r\nJ\r\nJ\r\nN\r\nN\r\nN\r\n");
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
    EXPECT_EQ(readFile(path), "J\r\nN\r\nN\r\nJ\r\nN\r\nJ\r\nN\r\nN\r\n");
}

// A file that cannot be written: the message names it, and the new values still
// apply until the program ends.
TEST_F(FormSTest, AFailedWriteIsReportedAndTheNewValuesStay) {
    writeFile(folder.file("plain-file"), "x");
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
    EXPECT_TRUE(store.checkSpacing15());
    EXPECT_FALSE(form.isVisible());
}

// The window's "Se&ttings": modal, showing the store that start-up read (the file, changed
// since, is not read again), and the same dialog the next time.
TEST_F(FormSTest, TheWindowShowsOneModalDialogOverTheStore) {
    writeFile(path, "N\r\nN\r\nN\r\nN\r\nN\r\nN\r\nN\r\nN\r\n");
    QWidget window;
    SettingsStore store;
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
    EXPECT_EQ(seen, (std::vector<std::string>{"00100100", "00100101"}));
}

} // namespace
} // namespace keystride::testing
