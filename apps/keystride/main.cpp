// keystride: the classroom window. It takes no arguments; its files are found beside the
// program (see programDataFolder) and in the current folder.
#include "platform/files/program_folder.h"
#include "workspace/qt/spoed.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vela Keystride"));
    QApplication::setApplicationDisplayName(QStringLiteral("Vela Keystride"));

    const std::string programFolder =
        keystride::programDataFolder(QCoreApplication::applicationFilePath().toStdString());
    keystride::Spoed window(programFolder);
    window.startUp();
    window.show();
    return app.exec();
}
