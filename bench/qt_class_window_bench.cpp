// The class window with a class of thirty speed tests made by scripts/make-class.py: from the
// click on "Mark Class" to the filled table and chart, the marking on the window's worker thread
// included; and the window's own part alone, the thirty marked tests put into the table and the
// chart. Run with QT_QPA_PLATFORM=offscreen where there is no screen.
#include "results/class/qt/class_table_model.h"
#include "results/class/qt/class_window.h"
#include "results/class/qt/class_wpm_chart.h"

#include <benchmark/benchmark.h>

#include <QChart>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdlib>

namespace keystride::bench {
namespace {

struct ThirtyTests {
    ThirtyTests() {
        const std::string make = "python3 '" KEYSTRIDE_SOURCE_DIR "/scripts/make-class.py' '" +
                                 folder.path().toStdString() + "' 30 1 >/dev/null";
        if (!folder.isValid() || std::system(make.c_str()) != 0)
            std::abort();
    }
    QTemporaryDir folder;
    QString source = folder.filePath(QStringLiteral("source.txt"));
    QString tests = folder.filePath(QStringLiteral("class"));
};

const ThirtyTests& thirtyTests() {
    static const ThirtyTests generated;
    return generated;
}

ClassWindowConfig programFiles() {
    const std::string programFolder = QCoreApplication::applicationDirPath().toStdString();
    return {programFolder, programFolder, 0};
}

// Marks the class through the window's controls and returns when the table is filled.
void markThroughWindow(ClassWindow& window) {
    window.findChild<QLineEdit*>(QStringLiteral("sourceEdit"))->setText(thirtyTests().source);
    window.findChild<QLineEdit*>(QStringLiteral("folderEdit"))->setText(thirtyTests().tests);
    QEventLoop loop;
    QObject::connect(&window, &ClassWindow::markingFinished, &loop, &QEventLoop::quit);
    window.findChild<QPushButton*>(QStringLiteral("markButton"))->click();
    loop.exec();
}

void BM_ClassWindowMarksThirty(benchmark::State& state) {
    ClassWindow window(programFiles());
    window.show();
    for (auto _ : state) {
        markThroughWindow(window);
        if (window.classTable().rowCount() != 30)
            state.SkipWithError("the class was not marked");
    }
}
BENCHMARK(BM_ClassWindowMarksThirty)->Unit(benchmark::kMillisecond)->UseRealTime();

// The marked tests of the window above, put into a table and a chart shown on screen.
void BM_ClassWindowFillsTableAndChart(benchmark::State& state) {
    ClassWindow window(programFiles());
    markThroughWindow(window);
    const std::vector<classmarking::MarkedTest> marked = window.classTable().tests();
    ClassTableModel model;
    QTableView table;
    table.setModel(&model);
    table.show();
    QChart chart;
    for (auto _ : state) {
        model.clear();
        for (const classmarking::MarkedTest& test : marked)
            model.append(test);
        table.resizeColumnsToContents();
        showClassWpm(chart, model.tests());
    }
}
BENCHMARK(BM_ClassWindowFillsTableAndChart)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace keystride::bench
