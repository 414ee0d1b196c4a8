// One QApplication for the widget tests (About box, animation, settings dialog), on the
// offscreen platform unless the environment names another. Created on first use, so that listing
// the tests needs no display.
#pragma once

#include <QApplication>

namespace keystride::testing {

inline QApplication& application() {
    static int argc = 1;
    static char name[] = "keystride_widget_tests";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed: tearing the application down among the other static objects at exit
    // crashes in the platform plugin, after every test has already passed.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

} // namespace keystride::testing
