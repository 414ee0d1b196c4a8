// A marking run in panes that are on screen, as in the window: a shown editor lays out and
// repaints what the run changes, which the off-screen panes of the other benchmark never do.
// Registered into keystride-qt-bench, whose main() creates the application.
#include "marking/marking_run.h"
#include "platform/qt/qt_document_pane.h"

#include <QApplication>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <string>

namespace keystride {
namespace {

// Reports the busy state to the panes, as the window does.
class PaneHost : public marking::MarkingHost {
public:
    PaneHost(QtDocumentPane& typed, QtDocumentPane& source) : m_typed(typed), m_source(source) {}
    void showMessage(const std::string&, const std::string&) override {}
    void setBusy(bool busy) override {
        m_typed.setBatching(busy);
        m_source.setBatching(busy);
    }
    void stopClock() override {}
    void openSpeedTest() override {}
    std::string typedTestName() const override { return "bench.rtf"; }
    void setTypedTestName(const std::string&) override {}

private:
    QtDocumentPane& m_typed;
    QtDocumentPane& m_source;
};

class NoFiles final : public FileSystem {
public:
    bool exists(const std::string&) const override { return false; }
    ReadResult readAll(const std::string& path, std::size_t) const override {
        return {{}, FileError{errorcodes::FileNotFound, path}};
    }
    FileResult writeAtomic(const std::string&, std::string_view) override { return {}; }
    FileResult append(const std::string&, std::string_view) override { return {}; }
    FileResult remove(const std::string&) override { return {}; }
};

// A typed copy of about 7,900 characters of a 2,400-word source, with a misspelt word every
// twenty words, a doubled word every hundred and a paragraph every twelve words.
void classroomTexts(std::u16string& source, std::u16string& typed) {
    static const char16_t* words[] = {u"the",   u"learner", u"types", u"a",    u"long",
                                      u"text",  u"while",   u"clock", u"runs", u"and",
                                      u"marks", u"every",   u"word",  u"in",   u"class"};
    unsigned seed = 11;
    int typedWords = 0;
    for (int i = 0; i < 2400; ++i) {
        seed = seed * 1103515245u + 12345u;
        std::u16string word = words[(seed >> 16) % 15];
        word += i % 9 == 8 ? u"." : (i % 7 == 6 ? u"," : u"");
        const std::u16string delimiter = i % 12 == 11 ? u"\r\n" : u" ";
        source += word + delimiter;
        if (typedWords + 2 > 1490 || typed.size() + word.size() + 4 > 7990)
            continue;
        if (i % 20 == 19)
            word.insert(1, u"x");
        typed += word + delimiter;
        typedWords += static_cast<int>(delimiter.size());
        if (i % 100 == 50) {
            typed += word + u" ";
            ++typedWords;
        }
    }
}

void runOnScreen(benchmark::State& state, bool fontMarking) {
    std::u16string sourceText;
    std::u16string typedText;
    classroomTexts(sourceText, typedText);
    NoFiles files;
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
    SettingsStore settings;
    marking::WorkspaceState workspace;
    workspace.FontMarking = fontMarking;
    source.setText(sourceText);
    marking::MarkingEngine engine({typed, source, settings, workspace, host, files});
    for (auto _ : state) {
        state.PauseTiming();
        typed.setText(typedText);
        QApplication::processEvents();
        state.ResumeTiming();
        engine.StartMarkingRun();
        // The run is over once the window has shown its result.
        QApplication::processEvents();
        if (!engine.lastRun().completed)
            state.SkipWithError("the run did not reach its report");
    }
    state.counters["typed_chars"] = static_cast<double>(typedText.size());
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
} // namespace keystride
