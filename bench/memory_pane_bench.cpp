// The in-memory pane under a marking run's load: 3000 selections with format changes and reads
// over a speed test of 8000 characters.
#include "platform/panes/memory_pane.h"

#include <benchmark/benchmark.h>

namespace {

using namespace keystride;

std::u16string typedTest(std::size_t length) {
    const std::u16string words = u"The quick brown fox jumps over the lazy dog.  ";
    std::u16string text;
    while (text.size() < length) {
        text += words;
        if (text.size() % 7 == 0)
            text += u"\r\n";
    }
    text.resize(length);
    return text;
}

void markThreeThousandRanges(benchmark::State& state) {
    const std::u16string text = typedTest(8000);
    MemoryPane pane;
    for (auto _ : state) {
        state.PauseTiming();
        pane.setText(text);
        state.ResumeTiming();
        for (int k = 0; k < 300; ++k) { // ten pane calls each
            const int start = (k * 97) % 7990;
            pane.setSelStart(start);
            pane.setSelLength(5);
            pane.setSelBold(true);
            pane.setSelColour(colours::red);
            pane.setSelFontName("Courier1");
            pane.setSelStart(start + 1);
            pane.setSelLength(3);
            pane.setSelUnderline(true);
            pane.setSelBackground(colours::red);
            benchmark::DoNotOptimize(pane.selFontName());
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * 3000);
}
BENCHMARK(markThreeThousandRanges)->Unit(benchmark::kMicrosecond);

// One step of the sentence-end tidy: read the markup, edit it as text, set it back.
void tidyRoundTrip(benchmark::State& state) {
    MemoryPane pane;
    pane.setText(typedTest(8000));
    for (auto _ : state) {
        std::string rtf = pane.textRtf();
        for (std::size_t at = rtf.find(".  \r"); at != std::string::npos;
             at = rtf.find(".  \r", at))
            rtf.replace(at, 4, ".\r");
        pane.setTextRtf(rtf);
    }
}
BENCHMARK(tidyRoundTrip)->Unit(benchmark::kMicrosecond);

} // namespace
