// FormS on screen (offscreen platform): the boxes the window shows, clicks, "OK" and "Cancel",
// and the one dialog that lives from start-up to the end of the program.
#include "settings/qt/settings_dialog.h"

#include "support/qt/qt_application.h"
#include "support/scripted_services.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace keystride {
namespace {

std::string lines(std::initializer_list<const char*> values) {
    std::string text;
    for (const char* value : values)
        text += std::string(value) + "\r\n";
    return text;
}

class FormSTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::qtApplication();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_folder = std::filesystem::temp_directory_path() /
                   (std::string("keystride-formS-qt-") + info->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_path = (m_folder / "Settings").string();
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    void writeFile(const std::string& text) { std::ofstream(m_path, std::ios::binary) << text; }
    std::string readFile() const {
        std::ifstream in(m_path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static std::string shownTicks(const FormS& form) {
        std::string out;
        for (int i = 1; i <= SettingsBoxCount; ++i)
            out += form.box(static_cast<SettingsBox>(i))->isChecked() ? '1' : '0';
        return out;
    }

    std::filesystem::path m_folder;
    std::string m_path;
};

TEST_F(FormSTest, ShowsTheBoxesInTheirRowsWithTabOrderByNumber) {
    SettingsStore store;
    FormS form(store, m_path, FileSystem::real());
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Settings"));
    EXPECT_EQ(form.objectName(), QStringLiteral("FormS"));

    // Rows top to bottom.
    auto* layout = qobject_cast<QVBoxLayout*>(form.layout());
    ASSERT_NE(layout, nullptr);
    QStringList rows;
    for (int i = 0; i < layout->count(); ++i) {
        if (auto* check = qobject_cast<QCheckBox*>(layout->itemAt(i)->widget()))
            rows << check->objectName() + QLatin1Char('=') + check->text();
    }
    EXPECT_EQ(rows, (QStringList{
                        "Check1=10 minute Time Limit for new speed tests",
                        "Check2=Check for 1.5 line spacing when marking",
                        "Check4=Check for double spacing when marking",
                        "Check8=Check for Courier font when marking",
                        "Check5=Display WPM with 1 decimal",
                        "Check6=Display WPM as integer",
                        "Check7=Display WPM as multiple of 5",
                        "Check3=Count strokes of excess words",
                    }));
    EXPECT_EQ(form.okButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(form.okButton()->objectName(), QStringLiteral("Command1"));
    EXPECT_EQ(form.cancelButton()->text(), QStringLiteral("Cancel"));
    EXPECT_EQ(form.cancelButton()->objectName(), QStringLiteral("Command2"));

    // Tab order: Check1 ... Check8, OK, Cancel.
    QStringList order;
    QWidget* widget = form.box(SettingsBox::Check1);
    for (int i = 0; i < 10; ++i) {
        order << widget->objectName();
        widget = widget->nextInFocusChain();
        while (widget->focusPolicy() == Qt::NoFocus)
            widget = widget->nextInFocusChain();
    }
    EXPECT_EQ(order, (QStringList{"Check1", "Check2", "Check3", "Check4", "Check5", "Check6",
                                  "Check7", "Check8", "Command1", "Command2"}));
}

// Loading shows the file's values as they are; only the user's clicks apply the groups.
TEST_F(FormSTest, UserClicksApplyTheGroupsAndCancelKeepsTheBoxes) {
    const std::string file = lines({"J", "N", "J", "J", "J", "N", "N", "N"});
    writeFile(file);
    SettingsStore store;
    FormS form(store, m_path, FileSystem::real());
    EXPECT_EQ(shownTicks(form), "10111000");
    EXPECT_EQ(store.CheckDoubleSpacing, "J");
    const SettingsStore before = store;
    form.show();

    form.box(SettingsBox::Check6)->click();
    EXPECT_EQ(shownTicks(form), "10110100");
    form.box(SettingsBox::Check4)->click(); // clears the loaded tick
    form.box(SettingsBox::Check4)->click();
    EXPECT_EQ(shownTicks(form), "10010100");

    form.cancelButton()->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(store, before);
    EXPECT_EQ(readFile(), file);

    // Shown again, the boxes are as they were left.
    form.show();
    EXPECT_EQ(shownTicks(form), "10010100");
    form.reject(); // Esc
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(store, before);
}

TEST_F(FormSTest, OkStoresWritesAndHides) {
    SettingsStore store;
    FormS form(store, m_path, FileSystem::real());
    form.show();
    form.box(SettingsBox::Check1)->click();
    form.box(SettingsBox::Check7)->click();
    form.okButton()->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(readFile(), lines({"J", "N", "J", "N", "N", "N", "J", "N"}));
    EXPECT_EQ(store.TimeLimit10, "J");
    EXPECT_EQ(store.WpmMultipleOf5, "J");
}

TEST_F(FormSTest, AFailedWriteIsReportedNamingTheFile) {
    const std::string blocker = (m_folder / "plain-file").string();
    std::ofstream(blocker) << "x";
    const std::string path = blocker + "/Settings";
    SettingsStore store;
    ScriptedMessageBoxes messages;
    FormS form(store, path, FileSystem::real());
    form.setMessageBoxes(&messages);
    form.show();
    form.box(SettingsBox::Check2)->click();
    form.okButton()->click();

    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, "Error");
    EXPECT_NE(messages.shown()[0].text.find(path), std::string::npos);
    EXPECT_EQ(store.CheckSpacing15, "J");
    EXPECT_FALSE(form.isVisible());
}

TEST_F(FormSTest, TheStartUpDialogIsTheOneThatIsShown) {
    writeFile(lines({"J", "N", "N", "N", "N", "N", "N", "N"}));
    QWidget window;
    SettingsStore store;
    FormS* created = createSettingsDialog(&window, store, m_path);
    ASSERT_NE(created, nullptr);
    EXPECT_FALSE(created->isVisible());
    EXPECT_EQ(store.TimeLimit10, "J");
    EXPECT_EQ(settingsDialog(), created);

    // The file changes behind the program's back: it is not read again.
    writeFile(lines({"N", "N", "N", "N", "N", "N", "N", "N"}));
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        FormS* shown = settingsDialog();
        wasModal = shown && shown->isVisible() && QApplication::activeModalWidget() == shown;
        if (shown) {
            shown->box(SettingsBox::Check8)->click();
            shown->okButton()->click();
        }
    });
    showSettingsDialog(&window, store, m_path);
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(settingsDialog(), created);
    EXPECT_EQ(store.TimeLimit10, "J");
    EXPECT_EQ(store.CheckCourier, "J");
    EXPECT_EQ(readFile(), lines({"J", "N", "N", "N", "N", "N", "N", "J"}));
}

TEST_F(FormSTest, WithoutTheStartUpDialogTheFirstShowTakesTheStoreAsItIs) {
    // Start-up read the file into the store itself; the file has changed since.
    writeFile(lines({"N", "N", "N", "N", "N", "N", "N", "N"}));
    QWidget window;
    SettingsStore store;
    store.TimeLimit10 = "J";
    store.CountExcessStrokes = "N";
    store.WpmInteger = "J";
    const SettingsStore before = store;

    std::string shown;
    QTimer::singleShot(0, [&] {
        if (FormS* dialog = settingsDialog()) {
            shown = shownTicks(*dialog);
            dialog->cancelButton()->click();
        }
    });
    showSettingsDialog(&window, store, m_path);
    EXPECT_EQ(shown, "10000100");
    EXPECT_EQ(store, before);
    EXPECT_EQ(readFile(), lines({"N", "N", "N", "N", "N", "N", "N", "N"}));
}

} // namespace
} // namespace keystride
