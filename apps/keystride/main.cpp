// keystride: the classroom window. It takes no arguments; its files are found beside the
// program (see programDataFolder) and in the current folder.
#include "platform/files/program_folder.h"
#include "workspace/qt/spoed.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The desktop knows the program as "Vela Keystride" through its desktop entry and the
    // window class. No display name is set: the platform would append it to every title, and
    // each window and message box shows exactly its own. A box whose title is empty (the end of
    // a timed test) is shown under the program's name.
    QApplication::setApplicationName(QStringLiteral("Vela Keystride"));
    QApplication::setDesktopFileName(QStringLiteral("vela-keystride"));

    const std::string programFolder =
        keystride::programDataFolder(QCoreApplication::applicationFilePath().toStdString());
    keystride::Spoed window(programFolder);
    window.startUp();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        window.fitInto(screen->availableGeometry());
    window.show();
    return app.exec();
}
