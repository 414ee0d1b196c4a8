// A marking run: compares the typed speed test with the source document, counts the words with
// errors and the layout faults, appends the report, marks every fault in the typed text, saves
// the marked test and appends the result line. It reaches the documents only through the pane
// interface and the user only through MarkingHost, so the window, the command-line tool and the
// tests drive the same code.
#pragma once

#include "marking/marking_state.h"
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
    std::string CurrentFileName; // file most recently chosen in an open dialog
    std::int32_t LineSpacingMode = 0;
    bool CutOffPending = false;
    bool CutOffGiven = false;
    std::int16_t SourceEnd = 0;
    bool FontMarking = false;
    bool WriteProtected = false;
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

// What one run did, for the command-line tool and the tests. Values a run never reached stay
// empty.
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
        int errorClass = 0;
    };
    std::optional<std::vector<Error>> errors;
    struct Repeat {
        std::u16string word;
        int start = 0;
    };
    std::optional<std::vector<Repeat>> repeats;
    std::optional<std::vector<std::u16string>> excessWords;
    std::optional<std::u16string> excessText;
    std::optional<int> errorCount;
    std::optional<double> wpm;
    std::optional<std::u16string> report;
    std::optional<std::string> markedFile;
    std::optional<std::string> resultLine;
};

class MarkingEngine {
public:
    explicit MarkingEngine(MarkingEnvironment env);

    // Command2, mnuCalculate (F12), and the re-run after a cut-off click.
    void StartMarkingRun();
    // Command8: the next click in the source pane gives the end of the compared part.
    void ArmCutOff();
    // The source pane's click handler: with a cut-off requested, the caret position becomes the
    // end of the compared part, shown in blue, and a new run starts.
    void SourcePaneClicked();
    // Command7: saves the typed pane as the marked test beside the speed test.
    FileResult SaveMarkedTest();

    const MarkingState& state() const { return m_state; }
    MarkingState& state() { return m_state; }
    const RunRecord& lastRun() const { return m_record; }

private:
    void showMessage(const std::string& title, const std::string& text);
    void runPhases();
    bool handleDiskError(const FileError& error);

    MarkingEnvironment m_env;
    MarkingState m_state;
    RunRecord m_record;
    bool m_typedWordsSplit = false;
};

} // namespace keystride::marking
