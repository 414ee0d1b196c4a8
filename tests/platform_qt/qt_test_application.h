// The Qt application every test of the desktop platform needs, created once on first use on the
// off-screen platform, so the tests run without a display.
#pragma once

#include <QApplication>

namespace keystride::testing {

inline QApplication& qtApplication() {
    static int argc = 1;
    static char name[] = "keystride-tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

} // namespace keystride::testing
