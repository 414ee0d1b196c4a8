// frmAbout on the off-screen platform: the keys and buttons that close and discard it while the
// window stays usable, and its System Info button, which starts the first viewer there that
// starts (StartSysInfo) or says that there is none.
#include "about/qt/about_box.h"

#include "support/qt/qt_application.h"
#include "support/scripted_services.h"

#include <gtest/gtest.h>

#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace keystride::testing {
namespace {

TEST(FrmAbout, ClosesWithoutBlockingTheWindowAndStartsASystemInformationViewer) {
    qtApplication();
    ScriptedProcessLauncher nothing;
    QWidget window;
    window.show();
    // Enter presses the default OK; Esc takes the path of the close box.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        showAboutBox(&window, nothing);
        QPointer<frmAbout> box = window.findChild<frmAbout*>();
        ASSERT_TRUE(box && box->isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        QTest::keyClick(box.data(), key);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(box.isNull());
    }

    // The viewers are looked for in order of preference; one that will not start gives way.
    const std::tuple<std::map<std::string, std::string>, bool, std::vector<std::string>> rows[] = {
        {{{"hardinfo", "/a"}, {"kinfocenter", "/b"}}, true, {"/a"}},
        {{{"hardinfo", "/a"}, {"lshw-gtk", "/c"}}, false, {"/a", "/c"}},
        {{{"ls", "/bin/ls"}}, true, {}}, // no viewer there
    };
    for (const auto& [installed, starts, expected] : rows) {
        ScriptedProcessLauncher launcher;
        for (const auto& [name, path] : installed)
            launcher.addProgram(name, path);
        launcher.setDetachedStarts(starts);
        ScriptedMessageBoxes messages;
        frmAbout(launcher, &messages).sysInfoButton()->click();
        std::vector<std::string> attempts; // detached, without arguments
        for (const auto& call : launcher.calls())
            attempts.push_back(call.program + (call.args.empty() && call.detached ? "" : " ?"));
        EXPECT_EQ(attempts, expected);
        ASSERT_EQ(messages.shown().size(), starts && !attempts.empty() ? 0u : 1u);
        for (const auto& shown : messages.shown())
            EXPECT_EQ(shown.text, "System Information Is Unavailable At This Time");
    }
}

} // namespace
} // namespace keystride::testing
