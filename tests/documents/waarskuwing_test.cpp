// Waarskuwing on the off-screen platform: its texts, "Don't show this message again" deleting the
// marker while the dialog stays open (also when the marker is already gone), "OK" closing it.
#include "documents/qt/waarskuwing.h"

#include "support/faulty_file_system.h"
#include "support/qt/qt_application.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

namespace keystride {
namespace {

namespace fs = std::filesystem;

class WaarskuwingTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::qtApplication();
        std::random_device random;
        m_folder = fs::temp_directory_path() /
                   ("keystride-waarskuwing-" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(m_folder);
        m_marker = (m_folder / "Warning.txt").string();
        std::ofstream(m_marker) << "any content";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    fs::path m_folder;
    std::string m_marker;
};

TEST_F(WaarskuwingTest, ShowsTheTitleTheTwoTextsAndTheTwoButtons) {
    Waarskuwing dialog(m_marker);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Warning"));
    EXPECT_EQ(dialog.label1()->text(),
              QStringLiteral("IMPORTANT! If your documents are in not in RTF format, please make "
                             "sure they are saved on the hard disk or an accessible flash disk "
                             "before using Vela Keystride."));
    EXPECT_EQ(dialog.label2()->text(),
              QStringLiteral("For best results, save Word 2007 or Open Office speed tests in RTF "
                             "format before using Vela Keystride"));
    EXPECT_EQ(dialog.command1()->text(), QStringLiteral("Don't show this message again"));
    EXPECT_EQ(dialog.command2()->text(), QStringLiteral("OK"));
    EXPECT_TRUE(dialog.isModal());
}

TEST_F(WaarskuwingTest, DontShowAgainDeletesTheMarkerAndTheDialogStaysOpen) {
    Waarskuwing dialog(m_marker);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(dialog.command1(), Qt::LeftButton);
    EXPECT_FALSE(fs::exists(m_marker));
    EXPECT_TRUE(dialog.isVisible());
    // Again, with the marker already gone: no failure, still open.
    QTest::mouseClick(dialog.command1(), Qt::LeftButton);
    EXPECT_TRUE(dialog.isVisible());
    QTest::mouseClick(dialog.command2(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST_F(WaarskuwingTest, OkAloneKeepsTheMarkerAndEndsTheModalRun) {
    FaultyFileSystem files;
    bool clicked = false;
    int tries = 0;
    std::function<void()> clickOk = [&] {
        auto* dialog = qobject_cast<Waarskuwing*>(QApplication::activeModalWidget());
        if (!dialog && ++tries < 500) {
            QTimer::singleShot(10, clickOk);
            return;
        }
        if (!dialog) {
            // Never hang the suite: close whatever dialog there is.
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* open = qobject_cast<Waarskuwing*>(widget))
                    open->reject();
            return;
        }
        clicked = true;
        QTest::mouseClick(dialog->command2(), Qt::LeftButton);
    };
    QTimer::singleShot(0, clickOk);
    showWaarskuwing(nullptr, m_marker, files);
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(fs::exists(m_marker));
    EXPECT_EQ(files.callCount(FaultyFileSystem::Operation::Remove), 0);
}

} // namespace
} // namespace keystride
