// Reading throughput of the RTF reader on about 1 MB of markup shaped like a word processor's:
// a font and colour table, format changes every few words in groups and flat, \u escapes with
// fallbacks, \'hh escapes, fields, skipped destinations (a picture, bookmarks) and paragraph
// spacing.
#include "platform/rtf/rtf_reader.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace keystride;

std::string largeRtf(std::size_t targetBytes) {
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
                      "{\\fonttbl{\\f0\\fmodern\\fcharset0 Courier New;}"
                      "{\\f1\\froman\\fcharset0{\\*\\panose 02020603050405020304}Times New Roman;}"
                      "{\\f2\\fswiss\\fcharset238 Arial CE;}}"
                      "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;"
                      "\\red224\\green224\\blue224;}"
                      "{\\stylesheet{\\s0 Normal;}}{\\info{\\title Benchmark}}\r\n";
    int paragraph = 0;
    while (rtf.size() < targetBytes) {
        rtf += paragraph % 3 == 0 ? "\\pard\\sl360\\slmult1\\plain\\f0\\fs24 "
                                  : "\\pard\\plain\\f1\\fs20 ";
        for (int sentence = 0; sentence < 6; ++sentence) {
            rtf += "The quick brown fox {\\b jumps} over the {\\i\\cf1 lazy} dog";
            rtf += "\\cf2\\highlight3 , caf\\'e9 \\u8211\\'96 na\\u239 ve\\cf0\\highlight0  ";
            rtf += "{\\f2 \\'e8\\'9a} {\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} ";
            rtf += "{\\*\\bkmkstart b}\\ul under\\ulnone , 1\\tab 2\\emdash 3. ";
        }
        if (paragraph % 10 == 0)
            rtf += "{\\pict\\wmetafile8\\picw100\\pich100 0102030405060708090a0b0c0d0e0f}";
        rtf += "\r\n\\par ";
        ++paragraph;
    }
    rtf += "}";
    return rtf;
}

void readRtfBenchmark(benchmark::State& state) {
    const std::string rtf = largeRtf(static_cast<std::size_t>(state.range(0)));
    const CharFormat base;
    for (auto _ : state) {
        RtfReadResult result = readRtf(rtf, base);
        benchmark::DoNotOptimize(result.document.paragraphs.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(rtf.size()));
}
BENCHMARK(readRtfBenchmark)->Name("RtfRead/1MB")->Arg(1 << 20)->Unit(benchmark::kMillisecond);

} // namespace
