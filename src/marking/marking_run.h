// A marking run: compares the typed speed test with the source document, counts the words with
// errors and the layout faults, appends the report, marks every fault in the typed text, saves
// the marked test and appends the result line. It reaches the documents only through the pane
// interface and the user only through MarkingHost, so the window, the command-line tool and the
// tests drive the same code.
#pragma once

#include "marking/marking_state.h"
#include "marking/scoring_report.h"
#include "platform/files/file_system.h"
#include "platform/panes/document_pane.h"
#include "settings/settings_store.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace keystride::marking {

// Global state of the workspace that a run reads and sets.
struct WorkspaceState {
    std::string CurrentFileName;      // file most recently chosen in an open dialog
    std::int32_t LineSpacingMode = 0; // a LineSpacing value: 0 single, 1 one and a half, 2 double
    bool CutOffPending = false;
    bool CutOffGiven = false;
    std::int16_t SourceEnd = 0;
    bool FontMarking = false;
    bool WriteProtected = false;

    LineSpacing lineSpacing() const { return static_cast<LineSpacing>(LineSpacingMode); }
    void setLineSpacing(LineSpacing rule) { LineSpacingMode = static_cast<std::int32_t>(rule); }
};

// What a run asks of the user interface.
class MarkingHost {
public:
    virtual ~MarkingHost() = default;
    virtual void showMessage(const std::string& title, const std::string& text) = 0;
    // "Please wait..." and the busy animation.
    virtual void setBusy(bool busy) = 0;
    // Lets pending window events be drawn before the long computation.
    virtual void processEvents() {}
    virtual void stopClock() = 0;
    // The open-speed-test command, offered after the already-marked message.
    virtual void openSpeedTest() = 0;
    // The speed test's file name as the window shows it (`Label3`).
    virtual std::string typedTestName() const = 0;
    virtual void setTypedTestName(const std::string& name) = 0;
};

struct MarkingEnvironment {
    DocumentPane& typed;  // RichTextBox1
    DocumentPane& source; // RichTextBox2
    const SettingsStore& settings;
    WorkspaceState& workspace;
    MarkingHost& host;
    FileSystem& files;
    // "Resultaat.res", addressed by its bare name: the current folder.
    std::string resultsPath = "Resultaat.res";
};

// What one run found, in the order the report and the outputs use it. Values a run never
// reached stay empty. Everything a later reader (the JSON of keystride-mark, an explanation of
// each mark) needs is here, so that nothing is recomputed from the engine's tables or the panes.
struct RunRecord {
    bool completed = false;
    std::vector<std::pair<std::string, std::string>> messages; // title, text
    std::optional<int> sourceEnd;
    std::optional<bool> endFound;
    std::optional<int> strokeCount;
    std::optional<std::vector<std::u16string>> sourceWords;
    std::optional<std::vector<std::u16string>> typedWords;
    struct Error {
        std::u16string word;
        int start = 0;
        int errorClass = 0; // ErrorClassValue
        // What explains the entry besides its class: the two-word form a join found in the
        // source for it (none for a word that was not joined), and whether the doubled-word
        // pass recorded it.
        JoinKind join = JoinKind::None;
        std::u16string joinedPair;
        bool doubled = false;
    };
    std::optional<std::vector<Error>> errors;
    struct Repeat {
        std::u16string word;
        int start = 0;
        // As for an error: the two-word form a join found for it.
        JoinKind join = JoinKind::None;
        std::u16string joinedPair;
    };
    std::optional<std::vector<Repeat>> repeats;
    // As the report shows them: a word that is also a doubled word stands in brackets.
    std::optional<std::vector<std::u16string>> excessWords;
    std::optional<std::u16string> excessText;
    // What the scoring counted besides the word errors.
    struct Scoring {
        LayoutFaults faults;
        LayoutCounts counts;
        int doubledCount = 0;
        int excessAlsoErrors = 0;     // bracketed excess entries, already counted as errors
        std::u16string joinedSeconds; // second halves of words run together
        int grossWords = 0;           // strokes / 5
    };
    std::optional<Scoring> scoring;
    std::optional<int> errorCount;
    std::optional<int> wpmTenths; // the speed as the result line gives it, in tenths
    std::optional<std::u16string> report;
    std::optional<std::string> markedFile;
    std::optional<std::string> resultLine;
    // The typed pane as the run leaves it.
    std::u16string typedText;
    std::vector<FormatSpan> typedRuns;
    // The speed test's name as the window showed it when the run started (Label3).
    std::string typedTest;
    // The source pane's plain text that the run compared with (after the sentence-end tidy).
    std::optional<std::u16string> sourceText;
    // The typed words as the split made them, before the comparison joins, rewrites or blanks
    // any, each with its start in the typed text (1-based; 0 for the first word, as the error
    // list records it).
    struct TypedWord {
        std::u16string word;
        int start = 0;
    };
    std::optional<std::vector<TypedWord>> splitTypedWords;
    // The typed words that hold anything besides blanks and line ends.
    std::optional<int> wordsTyped;

    std::optional<double> wpm() const {
        return wpmTenths ? std::optional<double>(*wpmTenths / 10.0) : std::nullopt;
    }
};

// Removes the blue cut-off marking (and any bold or underline) from the source pane.
void ClearSourceMarks(DocumentPane& source);

// One engine per workspace: it keeps the tables of the last run (MarkingState) between runs, as
// the window reads them afterwards. A fresh engine, or a fresh MarkingState, marks a test
// without anything left over from an earlier one.
class MarkingEngine {
public:
    explicit MarkingEngine(MarkingEnvironment env);

    // Command2, mnuCalculate (F12).
    const RunRecord& StartMarkingRun();
    // The compared part of the source ends at `caretPosition` (the characters before it): it is
    // shown in bold blue and a run starts that does not search for the end.
    const RunRecord& StartMarkingRunWithCutOff(int caretPosition);
    // Command8: the next click in the source pane gives the end of the compared part.
    void ArmCutOff();
    // The source pane's click handler: with a cut-off requested, the caret position is handed
    // to StartMarkingRunWithCutOff.
    void SourcePaneClicked();
    // Command7: saves the typed pane as the marked test beside the speed test.
    FileResult SaveMarkedTest();

    const MarkingState& state() const { return m_state; }
    MarkingState& state() { return m_state; }
    const RunRecord& lastRun() const { return m_record; }

private:
    struct RunTexts;
    void showMessage(const std::string& title, const std::string& text);
    void runPhases();
    void clearRunResults();
    void findSourceEnd(const RunTexts& texts);
    void splitSource(const std::u16string& sourceText);
    void splitTyped(const std::u16string& typedText);
    void compareAndCheck(const RunTexts& texts);
    void scoreAndRecord();
    int appendReport();
    void highlightExcessWords(int lengthBefore);
    bool writeOutputs();
    void adviseManualMarking(const RunTexts& texts);
    void handleDiskError(const FileError& error);

    MarkingEnvironment m_env;
    MarkingState m_state;
    RunRecord m_record;
};

} // namespace keystride::marking
