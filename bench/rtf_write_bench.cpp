// Throughput of the RTF writer on a document of about 1 MB of text with a format change every
// few words, as a marked test with many highlighted errors has.
#include "platform/rtf/rtf_writer.h"

#include <benchmark/benchmark.h>

namespace {

using namespace keystride;

RichDocument largeDocument(std::size_t targetChars) {
    RichDocument doc;
    doc.paragraphs.clear();
    CharFormat plain;
    CharFormat marked = plain;
    marked.bold = true;
    marked.colour = colours::white;
    marked.background = colours::red;
    CharFormat source = plain;
    source.size = 9.75;
    const CharFormat* formats[] = {&plain, &marked, &plain, &source};
    const std::u16string words = u"The quick brown fox jumps over the lazy dog, café 1–2. ";
    std::size_t chars = 0;
    int turn = 0;
    while (chars < targetChars) {
        Paragraph paragraph;
        paragraph.format.lineSpacing =
            turn % 5 == 0 ? LineSpacing::OneAndAHalf : LineSpacing::Single;
        for (int run = 0; run < 12; ++run) {
            paragraph.runs.push_back(TextRun{*formats[turn++ % 4], words});
            chars += words.size();
        }
        doc.paragraphs.push_back(std::move(paragraph));
        chars += 2;
    }
    return doc;
}

void writeRtfOneMegabyte(benchmark::State& state) {
    const RichDocument doc = largeDocument(1'000'000);
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string rtf = writeRtf(doc);
        bytes = rtf.size();
        benchmark::DoNotOptimize(rtf.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
    state.counters["rtf_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(writeRtfOneMegabyte)->Unit(benchmark::kMillisecond);

} // namespace
