// keystride-class: marks a whole class in a window. It takes no arguments; it reads the main
// window's "Settings" from the program's folder (see programDataFolder) and writes, when asked
// to, the marked tests beside the tests and "Resultaat.res" in the current folder.
#include "platform/files/program_folder.h"
#include "results/class/qt/class_window.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The desktop knows the program through its desktop entry and the window class. No display
    // name is set: the platform would append it to every title.
    QApplication::setApplicationName(QStringLiteral("Vela Keystride Class Marking"));
    QApplication::setDesktopFileName(QStringLiteral("vela-keystride-class"));

    keystride::ClassWindowConfig config;
    config.programFolder =
        keystride::programDataFolder(QCoreApplication::applicationFilePath().toStdString());
    config.converterFolder = QCoreApplication::applicationDirPath().toStdString();
    keystride::ClassWindow window(config);
    window.show();
    return app.exec();
}
