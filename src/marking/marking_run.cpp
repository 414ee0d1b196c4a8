#include "marking/marking_run.h"

#include "marking/end_detection.h"
#include "marking/error_marking.h"
#include "marking/excess_words.h"
#include "marking/layout_checks.h"
#include "marking/results_record.h"
#include "marking/scoring_report.h"
#include "marking/text_preparation.h"
#include "marking/word_comparison.h"

namespace keystride::marking {

namespace {

const std::string AlreadyMarkedLabel = "Less no. of words with errors:";

struct RunEnded {};

template <typename Table>
std::vector<Text> tableEntries(const Table& table, int count) {
    std::vector<Text> out;
    for (int k = 1; k <= count; ++k)
        out.push_back(table(k));
    return out;
}

} // namespace

MarkingEngine::MarkingEngine(MarkingEnvironment env) : m_env(env) {}

void MarkingEngine::showMessage(const std::string& title, const std::string& text) {
    m_record.messages.emplace_back(title, text);
    m_env.host.showMessage(title, text);
}

void MarkingEngine::ArmCutOff() { m_env.workspace.CutOffPending = true; }

void MarkingEngine::SourcePaneClicked() {
    WorkspaceState& ws = m_env.workspace;
    if (!ws.CutOffPending)
        return;
    const int caret = m_env.source.selStart();
    ws.SourceEnd = static_cast<std::int16_t>(caret > INT16_MAX ? INT16_MAX : caret);
    // The compared part stands out in bold blue.
    m_env.source.setSelStart(0);
    m_env.source.setSelLength(ws.SourceEnd);
    m_env.source.setSelBold(true);
    m_env.source.setSelColour(colours::blue);
    ws.CutOffGiven = true;
    ws.CutOffPending = false;
    StartMarkingRun();
}

void MarkingEngine::StartMarkingRun() {
    m_record = RunRecord{};
    // A cut-off click has already set the end of the compared part, whatever the gates decide.
    if (m_env.workspace.CutOffGiven)
        m_record.sourceEnd = m_env.workspace.SourceEnd;
    m_typedWordsSplit = false;
    const std::u16string typedText = m_env.typed.text();
    if (typedText.find(fromUtf8(AlreadyMarkedLabel)) != std::u16string::npos) {
        showMessage("!", "This speed test is already marked... Reopen to mark again.");
        m_env.host.openSpeedTest();
        return;
    }
    if (m_env.source.textLength() < 50) {
        showMessage("Error", "Source Document missing, or smaller than 50 characters...");
        return;
    }
    m_state.ErrorCount = 0;
    m_state.RepeatCount = 0;
    m_env.host.stopClock();

    m_env.host.processEvents();
    m_env.host.processEvents();
    m_env.host.setBusy(true);
    try {
        runPhases();
    } catch (const CapacityExceeded&) {
        m_env.host.setBusy(false);
        showMessage("Error", "Document too large...");
    } catch (const RunEnded&) {
        m_env.host.setBusy(false);
    }
    // The typed words as the run leaves them (joined, rewritten and blanked words included).
    if (m_typedWordsSplit)
        m_record.typedWords = tableEntries(m_state.TypedWords, m_state.TypedWordCount);
}

void MarkingEngine::runPhases() {
    MarkingState& s = m_state;
    WorkspaceState& ws = m_env.workspace;
    const SettingsStore& settings = m_env.settings;

    // Every output of the word comparison starts empty in each run.
    s.ErrorWords.clear();
    s.ErrorStart.clear();
    s.ErrorClass.clear();
    s.RepeatWords.clear();
    s.RepeatStart.clear();
    s.JoinedPair.clear();
    s.JoinedSeconds.clear();
    s.TwoSpaceConvention = false;
    s.CourierOk = s.LineSpacingOk = false;
    s.TypedLineBreaks = s.SourceLineBreaks = 0;

    SentenceEndTidy(m_env.typed, m_env.source);
    ClearWordTables(s);

    const std::u16string sourceText = m_env.source.text();
    {
        const std::u16string typedWhole = m_env.typed.text();
        const DetectionOutcome outcome =
            DetectSourceEnd(s, {typedWhole, sourceText}, ws.CutOffGiven, ws.SourceEnd);
        if (outcome == DetectionOutcome::TypedTooShort) {
            m_env.host.setBusy(false);
            showMessage("Error", "Speed test missing, or should be at least 50 characters...");
            throw RunEnded{};
        }
        m_record.endFound = s.EndFound;
        if (outcome == DetectionOutcome::NotFound) {
            m_env.host.setBusy(false);
            showMessage("Unable to compare",
                        "Too many errors to detect end of document. Please click in source "
                        "document to indicate last corresponding word...");
            ws.CutOffPending = true;
            throw RunEnded{};
        }
        m_record.sourceEnd = ws.SourceEnd;
    }

    SplitWords(s, left(sourceText, ws.SourceEnd));
    for (int k = 1; k <= s.WordCount; ++k)
        s.SourceWords(k) = s.WordBuffer(k);
    s.SourceWordCount = static_cast<std::int16_t>(s.WordCount);
    m_record.sourceWords = tableEntries(s.SourceWords, s.SourceWordCount);

    ClearWordTables(s);
    const std::u16string typedText = trimRight(m_env.typed.text());
    CountStrokes(s, typedText);
    m_record.strokeCount = s.StrokeCount;
    SplitWords(s, typedText);
    for (int k = 1; k <= s.WordCount; ++k)
        s.TypedWords(k) = s.WordBuffer(k);
    s.TypedWordCount = s.WordCount;
    m_typedWordsSplit = true;

    const IndexedText indexedSource(sourceText);
    CompareWords(s, {indexedSource, ws.SourceEnd});
    CheckCourier(s, m_env.typed, settings);
    CheckLineSpacing(s, m_env.typed, settings, ws.LineSpacingMode);
    CountLineFeeds(s, typedText, sourceText, ws.SourceEnd);
    {
        const std::u16string paneText = m_env.typed.text();
        FindExcessAndDoubledWords(s, {paneText, indexedSource});
        m_record.excessWords = tableEntries(s.ExcessWords, s.ExcessCount);
        m_record.excessText = s.ExcessText;
        CheckSpaces(s, paneText);
    }
    CountPunctuation(s, typedText, sourceText, ws.SourceEnd);

    m_record.errors.emplace();
    for (int k = 1; k <= s.ErrorCount; ++k)
        m_record.errors->push_back({s.ErrorWords(k), s.ErrorStart(k), s.ErrorClass(k)});
    m_record.repeats.emplace();
    for (int m = 1; m <= s.RepeatCount; ++m)
        m_record.repeats->push_back({s.RepeatWords(m), s.RepeatStart(m)});

    MarkErrors(s, m_env.typed, ws.FontMarking);
    const Score score = ScoreTest(s, settings);
    BuildReport(s, score, settings);
    m_record.errorCount = s.ErrorCount;
    m_record.wpm = s.WpmTenths / 10.0;
    m_env.host.setBusy(false);

    // The report goes at the end of the typed test in red, without a highlight.
    DocumentPane& typed = m_env.typed;
    const int lengthBefore = typed.textLength();
    typed.setSelStart(lengthBefore);
    s.HighlightColour = colours::white;
    HighliteText(typed, s.HighlightColour);
    typed.setSelColour(colours::red);
    typed.setSelUnderline(false);
    typed.setSelFontName("Courier");
    typed.setSelText(s.ReportText);
    m_record.report = s.ReportText;
    m_record.completed = true;

    // The excess-word list shows white on red; the learner's own text is not searched.
    {
        const std::u16string withReport = typed.text();
        const int p = findFrom(withReport, u"Excess words: ", lengthBefore);
        if (p > 0) {
            const int q = findFrom(withReport, u"\r", p);
            typed.setSelStart(p + 13);
            typed.setSelLength(q - p - 13);
            typed.setSelBold(false);
            typed.setSelColour(colours::white);
            s.HighlightColour = colours::red;
            HighliteText(typed, s.HighlightColour);
        }
    }
    typed.setSelStart(typed.textLength());

    if (FileResult error = SaveMarkedTest()) {
        if (handleDiskError(*error))
            return;
    }
    const std::string line = resultLine(*m_record.markedFile, s.WpmTenths);
    m_record.resultLine = line;
    if (!ws.WriteProtected) {
        if (FileResult error = m_env.files.append(m_env.resultsPath, resultRecordBytes(line))) {
            if (handleDiskError(*error))
                return;
        }
    }

    // Error words that do occur in the source suggest that the comparison lost its place.
    int foundInSource = 0;
    for (int k = 1; k <= s.ErrorCount && k <= WordCapacity; ++k) {
        const Text& word = s.ErrorWords(k);
        if (!trim(word).empty() && indexedSource.contains(word))
            ++foundInSource;
    }
    if (foundInSource > 3)
        showMessage("Attention",
                    "If necessary, mark this speed test manually for best results. Or else "
                    "reopen the test and press F9 to force end of speed test.");
}

FileResult MarkingEngine::SaveMarkedTest() {
    std::string label = m_env.host.typedTestName();
    if (label.find_first_not_of(' ') == std::string::npos) {
        label = "Untitled";
        m_env.host.setTypedTestName(label);
    }
    const std::string name = markedTestName(label);
    m_record.markedFile = name;
    if (m_env.workspace.WriteProtected)
        return std::nullopt;
    return m_env.typed.saveFile(name);
}

// Returns true when the run ends here.
bool MarkingEngine::handleDiskError(const FileError& error) {
    WorkspaceState& ws = m_env.workspace;
    if (error.code == errorcodes::PathFileAccess) {
        showMessage("Error", "Vela Keystride does not have access to write-protected disk.");
        m_env.typed.loadFile(ws.CurrentFileName);
        m_env.typed.setSelStart(1);
        ws.WriteProtected = true;
        return true;
    }
    // Every other disk failure (a full disk, a locked file) is reported the same way, so that a
    // lost result never goes unnoticed.
    showMessage("Error", "Vela Keystride does not have access to write-protected disk. Please "
                         "save speed tests on an accessible disk.");
    ws.WriteProtected = true;
    return true;
}

} // namespace keystride::marking
