// A marking run at full capacity: a typed test of about 7,900 characters and 1,490 words against
// a longer source, in the in-memory panes, from the gates to the report and the output files.
#include "marking_bench_support.h"
#include "platform/panes/memory_pane.h"

namespace keystride::bench {
namespace {

void runMarking(benchmark::State& state, bool fontMarking) {
    DiscardingFileSystem files;
    NullHost host;
    MemoryPane typed(CharFormat{"Courier New", 12.0}, files);
    MemoryPane source(CharFormat{"Courier New", 9.75}, files);
    timeMarkingRuns(state, typed, source, host, files, fontMarking);
}

void BM_MarkingRunFullCapacity_FontMarking(benchmark::State& state) {
    runMarking(state, true);
}
void BM_MarkingRunFullCapacity_ColourMarking(benchmark::State& state) {
    runMarking(state, false);
}
BENCHMARK(BM_MarkingRunFullCapacity_FontMarking)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MarkingRunFullCapacity_ColourMarking)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace keystride::bench
