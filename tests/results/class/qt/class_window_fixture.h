// What the class window's tests share: a generated class in a temporary folder, a window that
// marks it with the programs and files of the build folder (as keystride-class run from there
// does), the window's own buttons, an answer to the next dialog the window opens, a stand-in
// for the browser, and the JSON keystride-mark gives for the same files.
#pragma once

#include "results/class/qt/class_window.h"
#include "support/class_generator.h"
#include "support/qt/qt_application.h"
#include "support/test_files.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QUrl>

#include <array>
#include <cstdio>
#include <functional>
#include <memory>

// GoogleTest shows a QString as its text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace keystride::testing {

// Hands the next modal dialog of type `Dialog` to `answer`, once it is open. The dialog must
// be opened by the call that follows.
template <typename Dialog> void answerNextDialog(std::function<void(Dialog&)> answer) {
    auto* poll = new QTimer(qApp);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, answer] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            poll->deleteLater();
            poll->stop();
            answer(*dialog);
        }
    });
    poll->start(5);
}

// Chooses `path` in the next file dialog.
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

// The output of a command run in `folder`, and its exit status.
inline std::string runIn(const std::string& folder, const std::string& command) {
    const std::string line = "cd '" + folder + "' && " + command + " 2>/dev/null";
    std::string out;
    FILE* pipe = popen(line.c_str(), "r");
    if (!pipe)
        return out;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        out.append(buffer.data(), n);
    pclose(pipe);
    return out;
}

class ClassWindowTest : public ::testing::Test {
protected:
    static constexpr int Learners = 9;

    void SetUp() override {
        qtApplication();
        source = writeClass(generateClass(Learners, 1), folder.path().string());
        classFolder = folder.file("class");
    }

    // A window reading "Settings" and the marking faces from `programFolder`.
    ClassWindow& openWindow(const std::string& programFolder = KEYSTRIDE_BIN_DIR, int jobs = 2) {
        m_window = std::make_unique<ClassWindow>(
            ClassWindowConfig{programFolder, KEYSTRIDE_BIN_DIR, jobs});
        return *m_window;
    }

    template <typename Widget> Widget& control(const char* name) {
        auto* widget = m_window->findChild<Widget*>(QString::fromLatin1(name));
        if (!widget)
            throw std::runtime_error(std::string("the window has no ") + name);
        return *widget;
    }

    // Types the source and the folder into their fields and clicks "Mark Class"; returns when
    // the marking has ended.
    void markThroughControls(const std::string& sourcePath, const std::string& testsFolder) {
        control<QLineEdit>("sourceEdit").setText(QString::fromStdString(sourcePath));
        control<QLineEdit>("folderEdit").setText(QString::fromStdString(testsFolder));
        QSignalSpy finished(m_window.get(), &ClassWindow::markingFinished);
        control<QPushButton>("markButton").click();
        if (finished.isEmpty()) {
            ASSERT_TRUE(finished.wait(300000)) << "the marking did not end";
        }
    }

    // keystride-mark's JSON for the same files, one object per test.
    std::vector<nlohmann::json> markJson(const std::string& options = "") const {
        const std::string out =
            runIn(folder.path().string(), std::string(KEYSTRIDE_BIN_DIR) +
                                              "/keystride-mark --no-write --json " + options +
                                              " '" + source + "' '" + classFolder + "'");
        std::vector<nlohmann::json> lines;
        std::size_t start = 0;
        for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
            lines.push_back(nlohmann::json::parse(out.substr(start, end - start)));
        return lines;
    }

    TempFolder folder;
    std::string source;
    std::string classFolder;
    std::unique_ptr<ClassWindow> m_window;
};

} // namespace keystride::testing
