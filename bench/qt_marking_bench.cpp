// A marking run at full capacity in the window's own pane: the same classroom texts as the
// in-memory benchmark, marked in the editor-backed pane, so the cost of the editor's selections
// and character formats shows. Run with QT_QPA_PLATFORM=offscreen where there is no screen.
#include "marking/marking_run.h"
#include "platform/qt/qt_document_pane.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <array>

namespace keystride {
namespace {

class NullHost : public marking::MarkingHost {
public:
    void showMessage(const std::string&, const std::string&) override {}
    void setBusy(bool) override {}
    void stopClock() override {}
    void openSpeedTest() override {}
    std::string typedTestName() const override { return "bench.rtf"; }
    void setTypedTestName(const std::string&) override {}
};

class DiscardingFileSystem final : public FileSystem {
public:
    bool exists(const std::string&) const override { return false; }
    ReadResult readAll(const std::string& path, std::size_t) const override {
        return {{}, FileError{errorcodes::FileNotFound, path}};
    }
    FileResult writeAtomic(const std::string&, std::string_view) override { return {}; }
    FileResult append(const std::string&, std::string_view) override { return {}; }
    FileResult remove(const std::string&) override { return {}; }
};

struct Texts {
    std::u16string source;
    std::u16string typed;
};

// The in-memory benchmark's texts: a typed copy just short of the tables' capacity with a
// misspelt word every twenty words and a doubled word every hundred.
Texts classroomTexts() {
    static const std::array<const char16_t*, 16> words = {
        u"the",  u"learner", u"types",   u"a",     u"long",  u"text", u"while", u"clock",
        u"runs", u"and",     u"teacher", u"marks", u"every", u"word", u"in",    u"class"};
    Texts t;
    unsigned seed = 7;
    int typedWords = 0;
    for (int i = 0; i < 2400; ++i) {
        seed = seed * 1103515245u + 12345u;
        std::u16string word = words[(seed >> 16) % words.size()];
        if (i % 9 == 8)
            word += u".";
        else if (i % 7 == 6)
            word += u",";
        const std::u16string delimiter = (i % 12 == 11) ? u"\r\n" : u" ";
        t.source += word + delimiter;
        const int wordsNeeded = delimiter.size() == 2 ? 2 : 1;
        if (typedWords + wordsNeeded > 1490 || t.typed.size() + word.size() + 4 > 7990)
            continue;
        std::u16string typedWord = word;
        if (i % 20 == 19)
            typedWord.insert(1, u"x");
        t.typed += typedWord + delimiter;
        typedWords += wordsNeeded;
        if (i % 100 == 50 && typedWords < 1490) {
            t.typed += typedWord + u" ";
            ++typedWords;
        }
    }
    return t;
}

void runMarking(benchmark::State& state, bool fontMarking) {
    const Texts texts = classroomTexts();
    DiscardingFileSystem files;
    NullHost host;
    SettingsStore settings;
    marking::WorkspaceState workspace;
    workspace.FontMarking = fontMarking;
    QtDocumentPane typed(nullptr, files);
    QtDocumentPane source(nullptr, files);
    source.setText(texts.source);
    marking::MarkingEngine engine({typed, source, settings, workspace, host, files});
    for (auto _ : state) {
        state.PauseTiming();
        typed.setText(texts.typed);
        state.ResumeTiming();
        engine.StartMarkingRun();
        if (!engine.lastRun().completed)
            state.SkipWithError("the run did not reach its report");
    }
    state.counters["typed_chars"] = static_cast<double>(texts.typed.size());
    state.counters["errors"] = engine.lastRun().errorCount.value_or(-1);
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
} // namespace keystride

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
