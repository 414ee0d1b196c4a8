// The real main window on Qt's off-screen platform, with scripted message boxes, dialogs and
// printing and a manual clock, over a fresh folder that is both the program's folder and the
// current folder (results and backups go there).
#pragma once

#include "support/qt/qt_application.h"
#include "support/scripted_services.h"
#include "support/test_files.h"
#include "workspace/qt/spoed.h"

#include <QAction>
#include <QRect>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <ostream>

// Readable geometry in failures; found by argument-dependent lookup.
inline void PrintTo(const QRect& r, std::ostream* os) {
    *os << r.x() << "," << r.y() << " " << r.width() << "x" << r.height();
}

namespace keystride::testing {

class SpoedTest : public ::testing::Test {
protected:
    SpoedTest() {
        qtApplication();
        std::filesystem::current_path(folder.path());
    }
    ~SpoedTest() override {
        window.reset();
        std::filesystem::current_path(m_previous);
    }

    // The window, started up and shown.
    Spoed& openWindow() {
        window = std::make_unique<Spoed>(folder.path().string(),
                                         SpoedServices{&messages, &dialogs, &printing, &clock});
        window->setTerminateHandler([this] { ++terminations; });
        window->startUp();
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        return *window;
    }

    QAction* action(const char* name) const {
        auto* found = window->findChild<QAction*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    template <typename T = QWidget> T* child(const char* name) const {
        auto* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    TempFolder folder{"keystride-spoed-"};
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    ScriptedPrinting printing;
    ManualClock clock;
    std::unique_ptr<Spoed> window;
    int terminations = 0;

private:
    std::filesystem::path m_previous = std::filesystem::current_path();
};

} // namespace keystride::testing
