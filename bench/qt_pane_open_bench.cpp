// Opening a large document in the window's pane: the pane shown off screen at the size of the
// speed-test pane, a 5 MB document loaded into it through the pane's own file loading (the file
// served from memory), and the events that follow handled, as opening it in the window does.
// Run with QT_QPA_PLATFORM=offscreen where there is no screen.
#include "large_document.h"
#include "platform/panes/qt/qt_document_pane.h"

#include <QApplication>

#include <benchmark/benchmark.h>

namespace keystride::bench {
namespace {

constexpr std::size_t FiveMegabytes = 5u << 20;

void openInPane(benchmark::State& state, const std::string& bytes) {
    ServingFileSystem files(bytes);
    QWidget window;
    QtDocumentPane pane(&window, files);
    pane.editor()->setGeometry(32, 40, 478, 603);
    window.resize(1006, 661);
    window.show();
    QApplication::processEvents();
    for (auto _ : state) {
        if (FileResult error = pane.loadFile("document")) {
            state.SkipWithError(error->description.c_str());
            break;
        }
        QApplication::processEvents();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(bytes.size()));
    state.counters["characters"] = pane.textLength();
}

void BM_QtPaneOpen5MB_Rtf(benchmark::State& state) {
    openInPane(state, largeRtf(FiveMegabytes));
}
void BM_QtPaneOpen5MB_PlainText(benchmark::State& state) {
    openInPane(state, largeText(FiveMegabytes));
}
BENCHMARK(BM_QtPaneOpen5MB_Rtf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_QtPaneOpen5MB_PlainText)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace keystride::bench
