// frmAbout on the offscreen platform: the keys and buttons that close and discard it, that it
// leaves the window usable, and its System Info button.
#include "about/qt/about_box.h"

#include "support/qt/qt_application.h"
#include "support/scripted_services.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace keystride {
namespace {

class FrmAboutTest : public ::testing::Test {
protected:
    FrmAboutTest() { testing::qtApplication(); }
    static void processDeletes() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    ScriptedProcessLauncher m_launcher;
    ScriptedMessageBoxes m_messages;
};

TEST_F(FrmAboutTest, EnterEscOkAndTheCloseBoxDiscardTheBoxAndLeaveTheWindowUsable) {
    struct Case {
        const char* name;
        std::function<void(frmAbout&)> action;
    };
    const Case cases[] = {
        {"Enter", [](frmAbout& box) { QTest::keyClick(&box, Qt::Key_Return); }},
        {"keypad Enter",
         [](frmAbout& box) { QTest::keyClick(&box, Qt::Key_Enter, Qt::KeypadModifier); }},
        {"Esc", [](frmAbout& box) { QTest::keyClick(&box, Qt::Key_Escape); }},
        {"OK", [](frmAbout& box) { box.okButton()->click(); }},
        {"close box", [](frmAbout& box) { box.close(); }},
    };
    QWidget window;
    window.show();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        showAboutBox(&window, m_launcher);
        QPointer<frmAbout> box = window.findChild<frmAbout*>();
        ASSERT_TRUE(box);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("About Vela Keystride"));
        EXPECT_TRUE(box->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        c.action(*box);
        processDeletes();
        EXPECT_TRUE(box.isNull());
    }
    EXPECT_TRUE(m_launcher.calls().empty());
}

TEST_F(FrmAboutTest, SystemInfoStartsTheViewerOrSaysThereIsNone) {
    frmAbout box(m_launcher, &m_messages);
    box.show();
    box.sysInfoButton()->click();
    ASSERT_EQ(m_messages.shown().size(), 1u);
    EXPECT_EQ(m_messages.shown()[0].text, "System Information Is Unavailable At This Time");

    m_launcher.addProgram("kinfocenter", "/usr/bin/kinfocenter");
    box.sysInfoButton()->click();
    EXPECT_EQ(m_messages.shown().size(), 1u);
    ASSERT_EQ(m_launcher.calls().size(), 1u);
    EXPECT_EQ(m_launcher.calls()[0].program, "/usr/bin/kinfocenter");
    EXPECT_TRUE(m_launcher.calls()[0].detached);
    EXPECT_TRUE(box.isVisible());
}

} // namespace
} // namespace keystride
