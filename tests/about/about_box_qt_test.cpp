// frmAbout on the offscreen platform: its texts, the keys that close it, and its System Info
// button.
#include "about/qt/about_box.h"
#include "platform/desktop/converter.h"

#include "support/qt/qt_application.h"
#include "support/scripted_services.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace keystride {
namespace {

void processDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QString labelText(const QWidget& box, const char* name) {
    const auto* label = box.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

class FrmAboutTest : public ::testing::Test {
protected:
    void SetUp() override { testing::qtApplication(); }
    ScriptedProcessLauncher m_launcher;
    ScriptedMessageBoxes m_messages;
};

TEST_F(FrmAboutTest, ShowsTheProductAndTheConverterCredit) {
    frmAbout box(m_launcher, &m_messages);
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About Vela Keystride"));
    EXPECT_FALSE(box.isModal());
    EXPECT_EQ(labelText(box, "Label1"), QStringLiteral("Vela Keystride 2.1"));
    EXPECT_TRUE(box.findChild<QLabel*>("Label1")->font().bold());
    EXPECT_TRUE(labelText(box, "Label2")
                    .contains("A free utility, Docx2Rtf.exe, was used to convert Word 2007 and "
                              "Open Office documents."));
    EXPECT_TRUE(labelText(box, "Label2").contains(QString::fromUtf8(ConverterWebAddress)));
    EXPECT_TRUE(labelText(box, "lblDescription").contains("2009"));
    EXPECT_TRUE(labelText(box, "lblDescription").contains(QString::fromUtf8(AboutContactAddress)));
    EXPECT_FALSE(labelText(box, "lblDisclaimer").isEmpty());
    EXPECT_EQ(box.findChildren<QFrame*>("Line1").size(), 2);
    const auto* icon = box.findChild<QLabel*>("picIcon");
    ASSERT_NE(icon, nullptr);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_EQ(box.okButton()->text(), QStringLiteral("OK"));
    EXPECT_TRUE(box.okButton()->isDefault());
    EXPECT_EQ(box.sysInfoButton()->text(), QStringLiteral("&System Info..."));
}

TEST_F(FrmAboutTest, EnterEscAndOkCloseAndDiscardTheBox) {
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
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QPointer<frmAbout> box = new frmAbout(m_launcher, &m_messages);
        box->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(box.data()));
        c.action(*box);
        EXPECT_TRUE(box.isNull() || !box->isVisible());
        processDeletes();
        EXPECT_TRUE(box.isNull());
    }
    EXPECT_TRUE(m_messages.shown().empty());
    EXPECT_TRUE(m_launcher.calls().empty());
}

TEST_F(FrmAboutTest, ShowAboutBoxLeavesTheWindowUsable) {
    QWidget window;
    window.show();
    showAboutBox(&window, m_launcher);
    auto* box = window.findChild<frmAbout*>();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    QPointer<frmAbout> guard = box;
    QTest::keyClick(box, Qt::Key_Escape);
    processDeletes();
    EXPECT_TRUE(guard.isNull());
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
    // The box stays open.
    EXPECT_TRUE(box.isVisible());
}

} // namespace
} // namespace keystride
