// What the marking benchmarks share: classroom texts at the tables' capacity, a host that asks
// nothing of a window, a file system that drops writes, and the timed loop of a marking run.
#pragma once

#include "marking/marking_run.h"

#include <benchmark/benchmark.h>

#include <array>
#include <functional>
#include <string>

namespace keystride::bench {

class NullHost : public marking::MarkingHost {
public:
    void showMessage(const std::string&, const std::string&) override {}
    void setBusy(bool) override {}
    void stopClock() override {}
    void openSpeedTest() override {}
    std::string typedTestName() const override { return "bench.rtf"; }
    void setTypedTestName(const std::string&) override {}
};

// Writes are accepted and dropped, so a benchmark measures marking, not the disk.
class DiscardingFileSystem final : public FileSystem {
public:
    bool exists(const std::string&) const override { return false; }
    bool isFile(const std::string&) const override { return false; }
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

// Sentences from a small vocabulary, a line break every twelve words; the typed copy has a
// misspelt word every twenty words, a doubled word every hundred, and stops just short of the
// tables' capacity (a line break is two words: the word before it and the line feed).
inline Texts classroomTexts() {
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
            typedWord.insert(typedWord.begin() + 1, u'x');
        t.typed += typedWord + delimiter;
        typedWords += wordsNeeded;
        if (i % 100 == 50 && typedWords < 1490) {
            t.typed += typedWord + u" ";
            ++typedWords;
        }
    }
    return t;
}

// Times full marking runs of the classroom texts in the given panes; `settle` runs between the
// setting of the typed text and the timed run (and after it), for panes that draw.
inline void timeMarkingRuns(benchmark::State& state, DocumentPane& typed, DocumentPane& source,
                            marking::MarkingHost& host, FileSystem& files, bool fontMarking,
                            const std::function<void()>& settle = {}) {
    const Texts texts = classroomTexts();
    SettingsStore settings;
    marking::WorkspaceState workspace;
    workspace.FontMarking = fontMarking;
    source.setText(texts.source);
    marking::MarkingEngine engine({typed, source, settings, workspace, host, files});
    for (auto _ : state) {
        state.PauseTiming();
        typed.setText(texts.typed);
        if (settle)
            settle();
        state.ResumeTiming();
        engine.StartMarkingRun();
        if (settle)
            settle();
        if (!engine.lastRun().completed)
            state.SkipWithError("the run did not reach its report");
    }
    state.counters["typed_chars"] = static_cast<double>(texts.typed.size());
    state.counters["errors"] = engine.lastRun().errorCount.value_or(-1);
}

} // namespace keystride::bench
