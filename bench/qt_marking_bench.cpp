// A marking run at full capacity in the window's own pane: the same classroom texts as the
// in-memory benchmark, marked in the editor-backed pane, so the cost of the editor's selections
// and character formats shows. Run with QT_QPA_PLATFORM=offscreen where there is no screen.
#include "marking_bench_support.h"
#include "platform/panes/qt/qt_document_pane.h"

#include <QApplication>

namespace keystride::bench {
namespace {

void runMarking(benchmark::State& state, bool fontMarking) {
    DiscardingFileSystem files;
    NullHost host;
    QtDocumentPane typed(nullptr, files);
    QtDocumentPane source(nullptr, files);
    timeMarkingRuns(state, typed, source, host, files, fontMarking);
}

void BM_QtMarkingRunFullCapacity_FontMarking(benchmark::State& state) {
    runMarking(state, true);
}
void BM_QtMarkingRunFullCapacity_ColourMarking(benchmark::State& state) {
    runMarking(state, false);
}
BENCHMARK(BM_QtMarkingRunFullCapacity_FontMarking)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_QtMarkingRunFullCapacity_ColourMarking)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace keystride::bench

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
