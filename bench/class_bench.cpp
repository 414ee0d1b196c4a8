// A class of thirty speed tests made by scripts/make-class.py (long and short copies alternating,
// each with the faults learners make): from the choice of the folder to the filled records, on one
// thread and on every core; and the HTML report of those records, built and written to disk.
#include "results/class/class_marking.h"
#include "results/class/class_report.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace keystride::bench {
namespace {

using namespace classmarking;

// A folder of the benchmark's own below the temporary folder, removed at the end.
struct Folder {
    Folder()
        : path(std::filesystem::temp_directory_path() /
               ("keystride-class-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path);
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::string file(const std::string& name) const { return (path / name).string(); }
    std::filesystem::path path;
};

struct ThirtyTests {
    ThirtyTests() {
        const std::string make = "python3 '" + std::string(KEYSTRIDE_SOURCE_DIR) +
                                 "/scripts/make-class.py' '" + folder.path.string() +
                                 "' 30 1 >/dev/null";
        if (std::system(make.c_str()) != 0)
            std::abort();
    }
    Folder folder;
    std::string source = folder.file("source.txt");
};

const ThirtyTests& thirtyTests() {
    static const ThirtyTests generated;
    return generated;
}

ClassMarking markThirty(int jobs) {
    const ThirtyTests& generated = thirtyTests();
    ClassMarkingOptions options;
    options.source = generated.source;
    options.tests = listTests({generated.folder.file("class")}).tests;
    options.writeOutputs = WriteOutputs::No;
    options.jobs = jobs;
    return markClass(options);
}

// range(0): the threads marking at once; 0 is one per core.
void BM_MarkClassOf30(benchmark::State& state) {
    for (auto _ : state) {
        const ClassMarking marked = markThirty(static_cast<int>(state.range(0)));
        if (marked.tests.size() != 30)
            state.SkipWithError("the class was not marked");
    }
}
BENCHMARK(BM_MarkClassOf30)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ClassReportOf30_Pages(benchmark::State& state) {
    const ClassMarking marked = markThirty(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(classReport(marked.tests, thirtyTests().source));
}
BENCHMARK(BM_ClassReportOf30_Pages)->Unit(benchmark::kMillisecond);

// Every page written as a whole (a new file renamed over the old one, made durable).
void BM_ClassReportOf30_Written(benchmark::State& state) {
    const ClassMarking marked = markThirty(1);
    for (auto _ : state) {
        if (writeClassReport(FileSystem::real(), thirtyTests().folder.file("report"), marked.tests,
                             thirtyTests().source))
            state.SkipWithError("the report was not written");
    }
}
BENCHMARK(BM_ClassReportOf30_Written)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
} // namespace keystride::bench
