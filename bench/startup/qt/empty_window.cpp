// keystride-empty-window: the yardstick of the start-up benchmark, an empty Qt Widgets window
// started the way the program starts its own.
#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Empty"));
    window.show();
    return app.exec();
}
