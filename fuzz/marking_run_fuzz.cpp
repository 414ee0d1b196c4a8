// Fuzz target for a whole marking run. The input is cut into the eight settings values, a flag
// byte, a cut-off position, the source document and the speed test (separated by a NUL byte;
// either may be RTF or plain text). The run works on in-memory panes and a file layer that keeps
// nothing, and must either complete or end with one of its own messages, writing its two files
// exactly when it completes; a cut-off click after "Unable to compare" starts a second run that
// must hold to the same.
#include "marking/marking_run.h"
#include "marking/results_record.h"
#include "platform/panes/memory_pane.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>
#include <utility>

namespace {

using namespace keystride;

// What the run showed, printed with a broken invariant.
std::string g_context;

// Reports the broken invariant's line, so a finding says what it broke.
void checkAt(bool condition, int line) {
    if (condition)
        return;
    std::fprintf(stderr, "%sinvariant broken at %s:%d\n", g_context.c_str(), __FILE__, line);
    std::abort();
}
#define check(condition) checkAt((condition), __LINE__)

// Counts what would have been written and keeps nothing; there is nothing to read.
class DiscardingFileSystem final : public FileSystem {
public:
    bool exists(const std::string&) const override { return false; }
    bool isFile(const std::string&) const override { return false; }
    ReadResult readAll(const std::string& path, std::size_t) const override {
        return ReadResult{{}, fileErrorFromErrno(ENOENT, path, FileOperation::Read)};
    }
    FileResult writeAtomic(const std::string& path, std::string_view) override {
        ++writes;
        lastWritten = path;
        return std::nullopt;
    }
    FileResult append(const std::string&, std::string_view bytes) override {
        ++appends;
        lastAppended.assign(bytes);
        return std::nullopt;
    }
    FileResult remove(const std::string&) override { return std::nullopt; }

    int writes = 0;
    int appends = 0;
    std::string lastWritten;
    std::string lastAppended;
};

class QuietHost final : public marking::MarkingHost {
public:
    void showMessage(const std::string&, const std::string&) override {}
    void setBusy(bool busy) override { m_busy = busy; }
    void stopClock() override {}
    void openSpeedTest() override {}
    std::string typedTestName() const override { return m_name; }
    void setTypedTestName(const std::string& name) override { m_name = name; }

    bool busy() const { return m_busy; }
    std::string m_name;

private:
    bool m_busy = false;
};

const std::set<std::pair<std::string, std::string>>& knownMessages() {
    static const std::set<std::pair<std::string, std::string>> messages{
        {"!", "This speed test is already marked... Reopen to mark again."},
        {"Error", "Source Document missing, or smaller than 50 characters..."},
        {"Error", "Speed test missing, or should be at least 50 characters..."},
        {"Unable to compare",
         "Too many errors to detect end of document. Please click in source document to "
         "indicate last corresponding word..."},
        {"Error", "Document too large..."},
        {"Attention", "If necessary, mark this speed test manually for best results. Or else "
                      "reopen the test and press F9 to force end of speed test."},
    };
    return messages;
}

std::string settingValue(std::uint8_t choice) {
    switch (choice % 5) {
    case 0:
        return "J";
    case 1:
        return "N";
    case 2:
        return "j";
    case 3:
        return "";
    default:
        return "JN";
    }
}

// How many characters of a text a rewrite through RTF may lose (see checkRun).
std::size_t lostByTidy(const std::u16string& text) {
    std::size_t lost = 2;
    for (char16_t c : text) {
        if (c < 0x20 && c != u'\t' && c != u'\r' && c != u'\n')
            ++lost;
    }
    return lost;
}

struct Texts {
    std::size_t typed;
    std::size_t source;
};

void checkRun(const marking::MarkingEngine& engine, const QuietHost& host,
              const DiscardingFileSystem& files, int writesBefore, int appendsBefore,
              std::size_t typedBefore, std::size_t droppable, const MemoryPane& typed,
              const Texts& lengths, bool writeProtectedBefore,
              const marking::WorkspaceState& workspace) {
    const marking::RunRecord& run = engine.lastRun();
    g_context.clear();
    for (const auto& message : run.messages)
        g_context += "message: " + message.first + ": " + message.second + "\n";
    for (const auto& message : run.messages)
        check(knownMessages().contains(message));
    check(!host.busy());
    const int writes = files.writes - writesBefore;
    const int appends = files.appends - appendsBefore;
    const bool tooLarge = std::any_of(run.messages.begin(), run.messages.end(), [](const auto& m) {
        return m.second == "Document too large...";
    });
    // No table fills up from texts this short; an overflow here is an indexing fault.
    if (lengths.typed < 250 && lengths.source < 250)
        check(!tooLarge);
    if (!run.completed) {
        check(writes == 0 && appends == 0);
        check(run.messages.size() == 1);
        return;
    }
    check(!tooLarge);
    // The report only adds text. Known exception: the tidy of sentence ends rewrites the pane
    // through its RTF, which loses control characters other than tab and the paragraph break,
    // and a final paragraph break.
    check(static_cast<std::size_t>(typed.textLength()) + droppable >= typedBefore);
    check(run.report.has_value() && !run.report->empty());
    check(typed.text().find(u"Less no. of words with errors:") != std::u16string::npos);
    check(run.markedFile.has_value() && run.markedFile->ends_with(".rug"));
    check(run.resultLine.has_value() && run.resultLine->ends_with(" wpm"));
    check(workspace.WriteProtected == writeProtectedBefore);
    if (writeProtectedBefore) {
        check(writes == 0 && appends == 0);
    } else {
        check(writes == 1 && appends == 1);
        check(files.lastWritten == *run.markedFile);
        check(files.lastAppended == marking::resultRecordBytes(*run.resultLine));
        check(files.lastAppended.ends_with(" wpm\r\n"));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t headerSize = 11;
    if (size < headerSize)
        return 0;
    SettingsStore settings;
    settings.TimeLimit10 = settingValue(data[0]);
    settings.CheckSpacing15 = settingValue(data[1]);
    settings.CountExcessStrokes = settingValue(data[2]);
    settings.CheckDoubleSpacing = settingValue(data[3]);
    settings.WpmOneDecimal = settingValue(data[4]);
    settings.WpmInteger = settingValue(data[5]);
    settings.WpmMultipleOf5 = settingValue(data[6]);
    const std::string courier = settingValue(data[7]);
    settings.CheckCourier = courier.empty() ? " " : courier.substr(0, 1);
    const std::uint8_t flags = data[8];
    const int cutOff = data[9] | (data[10] << 8);

    const std::string_view rest(reinterpret_cast<const char*>(data + headerSize),
                                size - headerSize);
    const std::size_t split = rest.find('\0');
    const std::string_view sourceBytes = rest.substr(0, split);
    const std::string_view typedBytes =
        split == std::string_view::npos ? std::string_view{} : rest.substr(split + 1);

    DiscardingFileSystem files;
    MemoryPane typed(CharFormat{(flags & 0x08) ? "Arial" : "Courier New", 12.0}, files);
    MemoryPane source(CharFormat{"Courier New", 9.75}, files);
    source.setTextRtf(sourceBytes);
    typed.setTextRtf(typedBytes);

    marking::WorkspaceState workspace;
    workspace.FontMarking = flags & 0x01;
    workspace.WriteProtected = flags & 0x02;
    workspace.LineSpacingMode = (flags >> 6) & 0x03;
    QuietHost host;
    host.m_name = (flags & 0x10) ? "   " : "/klas/Toets1.rtf";
    const Texts lengths{static_cast<std::size_t>(typed.textLength()),
                        static_cast<std::size_t>(source.textLength())};
    if (flags & 0x04) {
        // A cut-off given by a click before the run.
        workspace.CutOffGiven = true;
        workspace.SourceEnd =
            static_cast<std::int16_t>(std::min(cutOff % (source.textLength() + 1), 32767));
    }

    marking::MarkingEngine engine(marking::MarkingEnvironment{typed, source, settings, workspace,
                                                              host, files, "Resultaat.res"});
    std::size_t typedBefore = typed.text().size();
    std::size_t droppable = lostByTidy(typed.text());
    bool writeProtected = workspace.WriteProtected;
    engine.StartMarkingRun();
    checkRun(engine, host, files, 0, 0, typedBefore, droppable, typed, lengths, writeProtected,
             workspace);

    // The user answers "Unable to compare" by clicking in the source document.
    if ((flags & 0x20) && workspace.CutOffPending) {
        const int writes = files.writes, appends = files.appends;
        source.setSelStart(cutOff % (source.textLength() + 1));
        source.setSelLength(0);
        typedBefore = typed.text().size();
        droppable = lostByTidy(typed.text());
        writeProtected = workspace.WriteProtected;
        engine.SourcePaneClicked();
        check(!workspace.CutOffPending);
        // The end detection consumes the click; only a run stopped at its gates leaves it (the
        // first run's tidy of sentence ends can shorten the source below 50 characters).
        const auto& messages = engine.lastRun().messages;
        const bool stoppedAtGate =
            !messages.empty() &&
            (messages[0].second.starts_with("Source Document missing") || messages[0].first == "!");
        check(!workspace.CutOffGiven || stoppedAtGate);
        checkRun(engine, host, files, writes, appends, typedBefore, droppable, typed, lengths,
                 writeProtected, workspace);
    }
    return 0;
}
