// Marking a whole class: every speed test of a list against one source document, with the marks
// the window gives. Each test is marked as the window marks a test it opens right after
// starting (a fresh marking state, the source pane as the teacher's open left it), so that no
// learner's marks depend on whose test was marked before; or, on request, all tests in order on
// one state, as the window marks one test after another.
//
// Threads: markClass blocks its caller until the class is marked, and may be called on any
// thread (a window's worker thread); calls do not share state. Word-processor documents are
// converted first, one after another; then fresh tests are marked on up to `jobs` threads of its
// own. The progress callback runs on one of those threads (or the calling one), never two calls
// at once, once per test in the order of the tests; it must not throw, and a window hands its
// arguments (copied) to its own thread. A cancellation is seen between tests: the tests already
// begun are finished, with their files written, and the rest are left out, so the result holds
// the first tests of the list.
#pragma once

#include "marking/marking_run.h"
#include "settings/settings_store.h"

#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace keystride::classmarking {

enum class StateMode {
    // Each test on a state of its own, as right after the window starts.
    Fresh,
    // All tests in the order given on one state, as the window marks one after another.
    Session,
};

enum class WriteOutputs {
    Yes, // each test's marked file (".rug") and its line in the results file
    No,  // nothing but the conversions of word-processor documents is written
};

struct ClassMarkingOptions {
    std::string source;             // the source document, in any format the window opens
    std::vector<std::string> tests; // the speed tests, in the order of every output
    SettingsStore settings;
    bool fontMarking = false; // FontMarking: marking faces, else colours
    // The compared part of the source ends at this caret position, as after a click in the source
    // pane following "Unable to compare".
    std::optional<int> cutOff;
    // The spacing the tests were typed with, instead of the one opening each test detects.
    std::optional<LineSpacing> lineSpacing;
    WriteOutputs writeOutputs = WriteOutputs::Yes;
    // "Resultaat.res", addressed by its bare name: the current folder.
    std::string resultsPath = "Resultaat.res";
    StateMode state = StateMode::Fresh;
    // Threads marking at once with a fresh state; 0 is one per core. A session marks on one.
    int jobs = 0;
    // Where the converter Docx2Rtf is looked for when it is not on the PATH.
    std::string converterFolder;
};

struct MarkedTest {
    std::string chosen; // the test as listed
    // Why the test could not be opened or converted; "" when it was. A test that was opened
    // but could not be marked ("Unable to compare", "Document too large...") carries the run's
    // messages in its record instead.
    std::string problem;
    // The run's record. A test that could not be opened has a record that never completed,
    // whose one message (title "Error") is the problem and whose typedTest is `chosen`.
    marking::RunRecord run;
    // The marked test and the result line were written.
    bool written = false;
    // Writing them failed: the run ended with the write-protected message.
    bool diskFailed = false;

    bool opened() const { return problem.empty(); }
};

struct ClassMarking {
    // Why the source document could not be opened or converted; nothing was marked then.
    std::string sourceProblem;
    // One per test, in the order of the options; after a cancellation only the tests begun.
    std::vector<MarkedTest> tests;
    bool cancelled = false;
};

// Called once per test as soon as it and every test before it are marked and written.
// `index` is its place in the options' list.
using ClassProgress = std::function<void(int index, const MarkedTest& test)>;

ClassMarking markClass(const ClassMarkingOptions& options, const ClassProgress& progress = {},
                       std::stop_token cancel = {});

// The speed tests that files and folders stand for: a file stands for itself; a folder for
// every .rtf, .txt, .doc, .docx and .odt file in it, sorted by name, where a word-processor
// document and the .rtf of the same name are one test (the document, converted again over that
// .rtf). A folder that cannot be read is named in `problems`.
struct TestList {
    std::vector<std::string> tests;
    std::vector<std::string> problems;
};
TestList listTests(const std::vector<std::string>& filesAndFolders);

// The threads a fresh class is marked on when `jobs` is 0.
int defaultJobs();

} // namespace keystride::classmarking
