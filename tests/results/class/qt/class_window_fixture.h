// What the class window's tests share: the class-marking tests' generated class, a window that
// marks it with the programs and files of the build folder (as keystride-class run from there
// does), its controls by name, an answer to the next dialog it opens, a stand-in for the
// browser, and the JSON keystride-mark gives for the same files.
#pragma once

#include "results/class/class_fixture.h"
#include "results/class/qt/class_window.h"
#include "support/qt/qt_application.h"

#include <nlohmann/json.hpp>

#include <QDesktopServices>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QUrl>

#include <functional>
#include <memory>

namespace keystride::testing {

// Hands the next modal dialog of type `Dialog` to `answer` once it is open; the call that
// follows must open it.
template <typename Dialog> void answerNextDialog(std::function<void(Dialog&)> answer) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            answer(*dialog);
        }
    });
    poll->start(5);
}

inline void chooseInNextFileDialog(const QString& path) {
    answerNextDialog<QFileDialog>([path](QFileDialog& dialog) {
        dialog.selectFile(path);
        static_cast<QDialog&>(dialog).accept(); // QFileDialog's own accept() is protected
    });
}

// Stands in for the user's web browser while it lives: the pages the window asks to show.
class BrowserStandIn : public QObject {
    Q_OBJECT

public:
    BrowserStandIn() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "show"); }
    ~BrowserStandIn() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QStringList shown;

public slots:
    void show(const QUrl& url) { shown << url.toLocalFile(); }
};

class ClassWindowTest : public classmarking::testing::ClassFixture {
protected:
    void SetUp() override {
        qtApplication();
        ClassFixture::SetUp();
        classFolder = folder.file("class");
    }

    // A window reading "Settings" and the marking faces from `programFolder`.
    ClassWindow& openWindow(const std::string& programFolder = KEYSTRIDE_BIN_DIR, int jobs = 2) {
        window = std::make_unique<ClassWindow>(
            ClassWindowConfig{programFolder, KEYSTRIDE_BIN_DIR, jobs});
        return *window;
    }

    template <typename Widget> Widget& control(const char* name) {
        auto* widget = window->findChild<Widget*>(QString::fromLatin1(name));
        if (!widget)
            throw std::runtime_error(std::string("the window has no ") + name);
        return *widget;
    }

    // Types the source and the folder into their fields and clicks "Mark Class"; returns when
    // the marking has ended.
    void markThroughControls(const std::string& sourcePath, const std::string& testsFolder) {
        control<QLineEdit>("sourceEdit").setText(QString::fromStdString(sourcePath));
        control<QLineEdit>("folderEdit").setText(QString::fromStdString(testsFolder));
        QSignalSpy finished(window.get(), &ClassWindow::markingFinished);
        control<QPushButton>("markButton").click();
        if (finished.isEmpty()) {
            ASSERT_TRUE(finished.wait(300000)) << "the marking did not end";
        }
    }

    // keystride-mark's JSON for the class, one object per test.
    std::vector<nlohmann::json> markJson(const QStringList& options = {}) const {
        QProcess mark;
        mark.setWorkingDirectory(QString::fromStdString(folder.path().string()));
        mark.start(
            QStringLiteral(KEYSTRIDE_BIN_DIR "/keystride-mark"),
            QStringList{"--no-write", "--json"} + options +
                QStringList{QString::fromStdString(source), QString::fromStdString(classFolder)});
        mark.waitForFinished(300000);
        std::vector<nlohmann::json> lines;
        for (const QByteArray& line : mark.readAllStandardOutput().split('\n'))
            if (!line.isEmpty())
                lines.push_back(nlohmann::json::parse(line.toStdString()));
        return lines;
    }

    std::string classFolder;
    std::unique_ptr<ClassWindow> window;
};

} // namespace keystride::testing
