// Reading throughput of the RTF reader on about 1 MB of markup shaped like a word processor's
// (see large_document.h).
#include "large_document.h"
#include "platform/rtf/rtf_reader.h"

#include <benchmark/benchmark.h>

namespace {

using namespace keystride;
using bench::largeRtf;

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
