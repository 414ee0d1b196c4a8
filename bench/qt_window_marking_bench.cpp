// A marking run in panes that are on screen, as in the window: a shown editor lays out and
// repaints what the run changes, which the off-screen panes of the other benchmark never do.
// Registered into keystride-qt-bench, whose main() creates the application.
#include "marking_bench_support.h"
#include "platform/panes/qt/qt_document_pane.h"

#include <QApplication>
#include <QWidget>

namespace keystride::bench {
namespace {

// Reports the busy state to the panes, as the window does.
class PaneHost : public NullHost {
public:
    PaneHost(QtDocumentPane& typed, QtDocumentPane& source) : m_typed(typed), m_source(source) {}
    void setBusy(bool busy) override {
        m_typed.setBatching(busy);
        m_source.setBatching(busy);
    }

private:
    QtDocumentPane& m_typed;
    QtDocumentPane& m_source;
};

void runOnScreen(benchmark::State& state, bool fontMarking) {
    DiscardingFileSystem files;
    QWidget window;
    window.resize(1006, 661);
    QtDocumentPane typed(&window, files);
    QtDocumentPane source(&window, files);
    CharFormat base;
    base.font = "Courier New";
    base.size = 12.0;
    typed.setBaseFormat(base);
    base.size = 9.75;
    source.setBaseFormat(base);
    typed.editor()->setGeometry(32, 40, 478, 603);
    source.editor()->setGeometry(544, 88, 446, 552);
    window.show();
    PaneHost host(typed, source);
    // The run is over once the window has shown its result.
    timeMarkingRuns(state, typed, source, host, files, fontMarking,
                    [] { QApplication::processEvents(); });
}

void BM_QtMarkingRunOnScreen_FontMarking(benchmark::State& state) {
    runOnScreen(state, true);
}
void BM_QtMarkingRunOnScreen_ColourMarking(benchmark::State& state) {
    runOnScreen(state, false);
}
BENCHMARK(BM_QtMarkingRunOnScreen_FontMarking)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();
BENCHMARK(BM_QtMarkingRunOnScreen_ColourMarking)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime();

} // namespace
} // namespace keystride::bench
