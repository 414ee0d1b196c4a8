#include "class_marking.h"

#include "class_desk.h"

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <thread>

namespace keystride::classmarking {

namespace {

// The source pane as the teacher's open leaves it: converted where needed and loaded with
// "Courier New" as its base font. "" when it loaded, else why not.
std::string openSource(MemoryPane& source, const std::string& path, ClassConversions& conversions) {
    const ConversionOutcome conversion = conversions.convert(path);
    if (conversion.error)
        return "cannot convert the source document " + path +
               " to RTF: " + conversion.error->description;
    if (FileResult error = source.loadFile(conversion.path))
        return "cannot open the source document " + path + ": " + error->description;
    return {};
}

// A test that fails in a way the marking does not foresee (memory running out) is reported on
// its row; the others are still marked.
template <typename Mark> MarkedTest guarded(const std::string& chosen, Mark mark) {
    try {
        return mark();
    } catch (const std::exception& e) {
        return unopenedTest(chosen, "cannot mark the speed test " + chosen + ": " + e.what());
    }
}

class ClassRun {
public:
    ClassRun(const ClassMarkingOptions& options, const ClassProgress& progress,
             std::stop_token cancel)
        : m_options(options), m_progress(progress), m_cancel(std::move(cancel)),
          m_files(options.writeOutputs == WriteOutputs::Yes ? FileSystem::real() : m_noWrite),
          // Conversions write .rtf files even when nothing else is written: they are the
          // documents' other form, not results.
          m_conversions(FileSystem::real(), options.converterFolder),
          m_source(CharFormat{"Courier New", 9.75}, m_files) {}

    ClassMarking run() {
        m_result.sourceProblem = openSource(m_source, m_options.source, m_conversions);
        if (!m_result.sourceProblem.empty())
            return std::move(m_result);
        convertTests();
        if (m_options.state == StateMode::Session)
            markSession();
        else
            markFresh();
        m_result.cancelled = m_cancel.stop_requested() && m_begun < int(m_options.tests.size());
        m_result.tests.resize(static_cast<std::size_t>(m_begun));
        return std::move(m_result);
    }

private:
    // Before any test is marked, so that the marking alone runs on several threads.
    void convertTests() {
        for (const std::string& test : m_options.tests) {
            if (m_cancel.stop_requested())
                break;
            m_converted.push_back(m_conversions.convert(test));
        }
    }

    int testCount() const { return static_cast<int>(m_converted.size()); }

    void report(int index, MarkedTest test) {
        MarkedTest& slot = m_result.tests[static_cast<std::size_t>(index)];
        slot = std::move(test);
        if (m_progress)
            m_progress(index, slot);
    }

    // One desk for every test, in order.
    void markSession() {
        const ClassSetup setup{m_options, m_source};
        Desk desk(setup, m_files);
        m_result.tests.resize(static_cast<std::size_t>(testCount()));
        for (int i = 0; i < testCount() && !m_cancel.stop_requested(); ++i) {
            const std::string& chosen = m_options.tests[static_cast<std::size_t>(i)];
            report(i, guarded(chosen, [&] {
                       return desk.mark(chosen, m_converted[static_cast<std::size_t>(i)]);
                   }));
            m_begun = i + 1;
        }
    }

    // A desk of its own for every test, on up to `jobs` threads.
    void markFresh() {
        m_result.tests.resize(static_cast<std::size_t>(testCount()));
        const int jobs = std::clamp(m_options.jobs > 0 ? m_options.jobs : defaultJobs(), 1,
                                    std::max(1, testCount()));
        if (jobs == 1) {
            markFreshTests();
        } else {
            std::vector<std::jthread> threads;
            for (int t = 0; t < jobs; ++t)
                threads.emplace_back([this] { markFreshTests(); });
        }
        m_begun = std::min(m_next.load(), testCount());
    }

    // Takes the next test until none is left or the marking is cancelled.
    void markFreshTests() {
        const ClassSetup setup{m_options, m_source};
        while (!m_cancel.stop_requested()) {
            const int i = m_next.fetch_add(1);
            if (i >= testCount())
                return;
            const std::string& chosen = m_options.tests[static_cast<std::size_t>(i)];
            MarkedTest test = guarded(chosen, [&] {
                TurnFileSystem files(m_files, m_turnstile, i);
                Desk desk(setup, files);
                return desk.mark(chosen, m_converted[static_cast<std::size_t>(i)]);
            });
            m_turnstile.waitFor(i);
            report(i, std::move(test));
            m_turnstile.pass(i);
        }
    }

    const ClassMarkingOptions& m_options;
    const ClassProgress& m_progress;
    std::stop_token m_cancel;
    NoWriteFileSystem m_noWrite{FileSystem::real()};
    FileSystem& m_files;
    ClassConversions m_conversions;
    MemoryPane m_source;
    std::vector<ConversionOutcome> m_converted;
    ClassMarking m_result;
    Turnstile m_turnstile;
    std::atomic<int> m_next{0};
    int m_begun = 0;
};

} // namespace

ClassMarking markClass(const ClassMarkingOptions& options, const ClassProgress& progress,
                       std::stop_token cancel) {
    ClassRun run(options, progress, std::move(cancel));
    return run.run();
}

int defaultJobs() {
    return static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
}

} // namespace keystride::classmarking
