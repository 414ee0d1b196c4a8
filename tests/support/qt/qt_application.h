// The one Qt application of a widget test program, created on first use on the off-screen
// platform (unless the environment names another), so the tests run without a display and
// listing them needs none.
#pragma once

#include <QApplication>

namespace keystride::testing {

inline QApplication& qtApplication() {
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return *existing;
    static int argc = 1;
    static char name[] = "keystride-tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing the application down among the other static objects at exit
    // crashes in the platform plugin, after every test has already passed.
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return *app;
}

} // namespace keystride::testing
