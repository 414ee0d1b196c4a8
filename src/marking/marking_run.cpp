#include "marking/marking_run.h"

#include "marking/end_detection.h"
#include "marking/error_marking.h"
#include "marking/excess_words.h"
#include "marking/layout_checks.h"
#include "marking/results_record.h"
#include "marking/text_preparation.h"
#include "marking/word_comparison.h"

#include <algorithm>

namespace keystride::marking {

namespace {

const Text AlreadyMarkedLabel = u"Less no. of words with errors:";
const Text ExcessLabel = u"Excess words: ";

// A message or a disk failure has ended the run; the busy indication is already hidden.
struct RunEnded {};

template <typename Table> std::vector<Text> tableEntries(const Table& table, int count) {
    std::vector<Text> out;
    for (int k = 1; k <= count; ++k)
        out.push_back(table(k));
    return out;
}

} // namespace

// The texts every phase after the sentence-end tidy reads; the panes' plain text does not change
// again until the error marking.
struct MarkingEngine::RunTexts {
    RunTexts(Text sourceText, Text typedText)
        : source(std::move(sourceText)), whole(std::move(typedText)), typed(trimRight(whole)),
          indexedSource(source) {}

    const Text source; // the source pane's whole plain text
    const Text whole;  // the typed pane's whole plain text
    const Text typed;  // the same without trailing spaces
    const IndexedText indexedSource;
};

void ClearSourceMarks(DocumentPane& source) {
    source.setSelStart(0);
    source.setSelLength(source.textLength());
    source.setSelColour(colours::black);
    source.setSelBold(false);
    source.setSelUnderline(false);
    source.setSelStart(0);
}

MarkingEngine::MarkingEngine(MarkingEnvironment env) : m_env(env) {}

void MarkingEngine::showMessage(const std::string& title, const std::string& text) {
    m_record.messages.emplace_back(title, text);
    m_env.host.showMessage(title, text);
}

void MarkingEngine::ArmCutOff() {
    m_env.workspace.CutOffPending = true;
}

void MarkingEngine::SourcePaneClicked() {
    if (m_env.workspace.CutOffPending)
        StartMarkingRunWithCutOff(m_env.source.selStart());
}

const RunRecord& MarkingEngine::StartMarkingRunWithCutOff(int caretPosition) {
    WorkspaceState& ws = m_env.workspace;
    ws.SourceEnd = static_cast<std::int16_t>(std::min<int>(caretPosition, INT16_MAX));
    // The compared part stands out in bold blue.
    m_env.source.setSelStart(0);
    m_env.source.setSelLength(ws.SourceEnd);
    m_env.source.setSelBold(true);
    m_env.source.setSelColour(colours::blue);
    ws.CutOffGiven = true;
    ws.CutOffPending = false;
    return StartMarkingRun();
}

const RunRecord& MarkingEngine::StartMarkingRun() {
    m_record = RunRecord{};
    m_record.typedTest = m_env.host.typedTestName();
    // A cut-off click has already set the end of the compared part, whatever the gates decide.
    if (m_env.workspace.CutOffGiven)
        m_record.sourceEnd = m_env.workspace.SourceEnd;
    if (m_env.typed.text().find(AlreadyMarkedLabel) != Text::npos) {
        showMessage("!", "This speed test is already marked... Reopen to mark again.");
        m_env.host.openSpeedTest();
    } else if (m_env.source.textLength() < 50) {
        showMessage("Error", "Source Document missing, or smaller than 50 characters...");
    } else {
        m_state.ErrorCount = 0;
        m_state.RepeatCount = 0;
        m_env.host.stopClock();
        // Twice, as the window has always done: a label shown from the first round of events
        // may need a second round to be drawn before the long computation starts.
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
    }
    // The typed words as the run leaves them (joined, rewritten and blanked words included).
    if (m_record.typedWords)
        m_record.typedWords = tableEntries(m_state.TypedWords, m_state.TypedWordCount);
    m_record.typedText = m_env.typed.text();
    m_record.typedRuns = m_env.typed.formatSpans();
    return m_record;
}

void MarkingEngine::runPhases() {
    clearRunResults();
    SentenceEndTidy(m_env.typed, m_env.source);
    const RunTexts texts(m_env.source.text(), m_env.typed.text());
    m_record.sourceText = texts.source;
    ClearWordTables(m_state);
    findSourceEnd(texts);
    splitSource(texts.source);
    ClearWordTables(m_state);
    splitTyped(texts.typed);
    compareAndCheck(texts);
    MarkErrors(m_state, m_env.typed, m_env.workspace.FontMarking);
    scoreAndRecord();
    m_env.host.setBusy(false);
    highlightExcessWords(appendReport());
    m_env.typed.setSelStart(m_env.typed.textLength());
    if (writeOutputs())
        adviseManualMarking(texts);
}

// Every output of the word comparison starts empty in each run.
void MarkingEngine::clearRunResults() {
    MarkingState& s = m_state;
    s.ErrorWords.clear();
    s.ErrorStart.clear();
    s.ErrorClass.clear();
    s.RepeatWords.clear();
    s.RepeatStart.clear();
    s.JoinedPair.clear();
    s.JoinedKind = JoinKind::None;
    s.JoinedSeconds.clear();
    s.ErrorJoinedPair.clear();
    s.ErrorJoinKind.clear();
    s.ErrorDoubled.clear();
    s.RepeatJoinedPair.clear();
    s.RepeatJoinKind.clear();
    s.TwoSpaceConvention = false;
    s.CourierOk = s.LineSpacingOk = false;
    s.TypedLineBreaks = s.SourceLineBreaks = 0;
}

void MarkingEngine::findSourceEnd(const RunTexts& texts) {
    WorkspaceState& ws = m_env.workspace;
    const DetectionOutcome outcome =
        DetectSourceEnd(m_state, {texts.whole, texts.source}, ws.CutOffGiven, ws.SourceEnd);
    if (outcome == DetectionOutcome::TypedTooShort) {
        m_env.host.setBusy(false);
        showMessage("Error", "Speed test missing, or should be at least 50 characters...");
        throw RunEnded{};
    }
    m_record.endFound = m_state.EndFound;
    if (outcome == DetectionOutcome::NotFound) {
        m_env.host.setBusy(false);
        showMessage("Unable to compare", "Too many errors to detect end of document. Please click "
                                         "in source document to indicate last corresponding "
                                         "word...");
        ws.CutOffPending = true;
        throw RunEnded{};
    }
    m_record.sourceEnd = ws.SourceEnd;
}

void MarkingEngine::splitSource(const Text& sourceText) {
    MarkingState& s = m_state;
    SplitWords(s, left(sourceText, m_env.workspace.SourceEnd));
    for (int k = 1; k <= s.WordCount; ++k)
        s.SourceWords(k) = s.WordBuffer(k);
    s.SourceWordCount = static_cast<std::int16_t>(s.WordCount);
    m_record.sourceWords = tableEntries(s.SourceWords, s.SourceWordCount);
}

void MarkingEngine::splitTyped(const Text& typedText) {
    MarkingState& s = m_state;
    CountStrokes(s, typedText);
    m_record.strokeCount = s.StrokeCount;
    SplitWords(s, typedText);
    for (int k = 1; k <= s.WordCount; ++k)
        s.TypedWords(k) = s.WordBuffer(k);
    s.TypedWordCount = s.WordCount;
    m_record.splitTypedWords.emplace();
    m_record.wordsTyped = 0;
    for (int k = 1; k <= s.TypedWordCount; ++k) {
        const Text& word = s.TypedWords(k);
        // The first word's start is recorded as 0, as the error list records it.
        m_record.splitTypedWords->push_back({word, s.WordStart(k)});
        if (word.find_first_not_of(u" \r\n") != Text::npos)
            ++*m_record.wordsTyped;
    }
    // Filled when the run ends: the later phases rewrite the typed words.
    m_record.typedWords.emplace();
}

void MarkingEngine::compareAndCheck(const RunTexts& texts) {
    MarkingState& s = m_state;
    const std::int16_t sourceEnd = m_env.workspace.SourceEnd;
    CompareWords(s, {texts.indexedSource, sourceEnd});
    CheckCourier(s, m_env.typed, m_env.settings);
    CheckLineSpacing(s, m_env.typed, m_env.settings, m_env.workspace.lineSpacing());
    CountLineFeeds(s, texts.typed, texts.source, sourceEnd);
    FindExcessAndDoubledWords(s, {texts.whole, texts.indexedSource});
    m_record.excessWords = tableEntries(s.ExcessWords, s.ExcessCount);
    m_record.excessText = s.ExcessText;
    CheckSpaces(s, texts.whole);
    CountPunctuation(s, texts.typed, texts.source, sourceEnd);

    m_record.errors.emplace();
    for (int k = 1; k <= s.ErrorCount; ++k)
        m_record.errors->push_back({s.ErrorWords(k), s.ErrorStart(k), s.ErrorClass(k),
                                    s.ErrorJoinKind(k), s.ErrorJoinedPair(k),
                                    s.ErrorDoubled(k) != 0});
    m_record.repeats.emplace();
    for (int m = 1; m <= s.RepeatCount; ++m)
        m_record.repeats->push_back(
            {s.RepeatWords(m), s.RepeatStart(m), s.RepeatJoinKind(m), s.RepeatJoinedPair(m)});
}

void MarkingEngine::scoreAndRecord() {
    MarkingState& s = m_state;
    const Score score = ScoreTest(s, m_env.settings);
    BuildReport(s, score, m_env.settings);
    m_record.scoring = RunRecord::Scoring{layoutFaults(s),    layoutCounts(s), s.DoubledCount,
                                          s.ExcessAlsoErrors, s.JoinedSeconds, score.grossWords};
    m_record.errorCount = s.ErrorCount;
    m_record.wpmTenths = s.WpmTenths;
}

// The report goes at the end of the typed test in red, without a highlight. Returns the length
// of the typed text before it.
int MarkingEngine::appendReport() {
    DocumentPane& typed = m_env.typed;
    const int lengthBefore = typed.textLength();
    typed.setSelStart(lengthBefore);
    m_state.HighlightColour = colours::white;
    HighliteText(typed, m_state.HighlightColour);
    typed.setSelColour(colours::red);
    typed.setSelUnderline(false);
    typed.setSelFontName("Courier");
    typed.setSelText(m_state.ReportText);
    m_record.report = m_state.ReportText;
    m_record.completed = true;
    return lengthBefore;
}

// The excess-word list shows white on red; the learner's own text is not searched.
void MarkingEngine::highlightExcessWords(int lengthBefore) {
    DocumentPane& typed = m_env.typed;
    const Text withReport = typed.text();
    const int p = findFrom(withReport, ExcessLabel, lengthBefore);
    if (p == 0)
        return;
    const int q = findFrom(withReport, u"\r", p);
    // p and q are 1-based, the selection start 0-based: p - 1 + 14 = p + 13 is the first
    // character after the label and its blank. The length q - p - 13 runs one character
    // further than the last word, so the line's carriage return is highlighted too.
    typed.setSelStart(p + 13);
    typed.setSelLength(q - p - 13);
    typed.setSelBold(false);
    typed.setSelColour(colours::white);
    m_state.HighlightColour = colours::red;
    HighliteText(typed, m_state.HighlightColour);
}

// The marked test, then the result line; false when a disk failure has ended the run.
bool MarkingEngine::writeOutputs() {
    if (FileResult error = SaveMarkedTest()) {
        handleDiskError(*error);
        return false;
    }
    const std::string line = resultLine(*m_record.markedFile, m_state.WpmTenths);
    m_record.resultLine = line;
    if (m_env.workspace.WriteProtected)
        return true;
    if (FileResult error = m_env.files.append(m_env.resultsPath, resultRecordBytes(line))) {
        handleDiskError(*error);
        return false;
    }
    return true;
}

// Error words that do occur in the source suggest that the comparison lost its place.
void MarkingEngine::adviseManualMarking(const RunTexts& texts) {
    int foundInSource = 0;
    for (int k = 1; k <= m_state.ErrorCount && k <= WordCapacity; ++k) {
        const Text& word = m_state.ErrorWords(k);
        if (!trim(word).empty() && texts.indexedSource.contains(word))
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

// Either failure ends the run and stops every later write.
void MarkingEngine::handleDiskError(const FileError& error) {
    WorkspaceState& ws = m_env.workspace;
    if (error.code == errorcodes::PathFileAccess) {
        showMessage("Error", "Vela Keystride does not have access to write-protected disk.");
        m_env.typed.loadFile(ws.CurrentFileName);
        m_env.typed.setSelStart(1);
    } else {
        // Every other disk failure (a full disk, a locked file) is reported the same way, so
        // that a lost result never goes unnoticed.
        showMessage("Error", "Vela Keystride does not have access to write-protected disk. "
                             "Please save speed tests on an accessible disk.");
    }
    ws.WriteProtected = true;
}

} // namespace keystride::marking
