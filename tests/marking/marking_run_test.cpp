// Whole marking runs over in-memory panes: the record a run returns, its gates, the cut-off and
// the outputs. Disk failures and the tables' capacities are the hardening suite's.
#include "marking_fixture.h"

#include <filesystem>

namespace keystride::marking::testing {
namespace {

const std::u16string Source =
    u"The quick brown fox jumps over the lazy dog. Pack my box with five dozen liquor jugs.\r\n"
    u"How vexingly quick daft zebras jump! The five boxing wizards jump quickly. Then all the "
    u"jolly dogs and cats went home";
// Two wrong words and a missing full stop.
const std::u16string Typed =
    u"The quick brown fox jumps ovr the lazy dog. Pack my box with five dozen liquor jugs\r\n"
    u"How vexingly quick daft zebras jump! The five boxing wizzards jump quickly.";

TEST(MarkingRun, ReturnsEverythingItFoundAndWritesBothFiles) {
    MarkingWorld w;
    w.setTexts(Source, Typed);
    const RunRecord& run = w.run();
    ASSERT_TRUE(run.completed) << (run.messages.empty() ? "" : run.messages[0].second);
    EXPECT_EQ(std::tuple(w.host.messages.size(), w.host.clockStops, w.host.busy),
              std::tuple(0ul, 1, false));

    ASSERT_EQ(run.errors.value().size(), 2u);
    EXPECT_EQ(run.errors->at(0).word + run.errors->at(1).word, u"ovr wizzards ");
    EXPECT_EQ(run.errorCount, 3) << "two words and the missing full stop";
    const LayoutFaults& faults = run.scoring.value().faults;
    EXPECT_EQ(faultLines(faults), std::vector<std::u16string>{u"Missing full stop(s)"});
    EXPECT_EQ(run.scoring->grossWords, (*run.strokeCount + 2) / 5);
    EXPECT_EQ(run.wpmTenths, run.scoring->grossWords - 3);
    // The pane as the run leaves it: the typed test with its report.
    EXPECT_TRUE(w.typed.text().starts_with(Typed + u"\r\n|| "));
    EXPECT_EQ(run.typedText, w.typed.text());
    EXPECT_EQ(run.typedRuns, w.typed.formatSpans());

    // What the marked test and the result line hold is keystride-mark's test.
    EXPECT_EQ(run.markedFile, w.folder.file("Toets1.rug"));
    const std::string firstLine = *run.resultLine + "\r\n";
    EXPECT_EQ(readFile(w.folder.file("Resultaat.res")), firstLine);

    // Marking the same test again after reopening adds a second line.
    w.typed.setText(Typed);
    const std::string secondLine = *w.run().resultLine + "\r\n";
    EXPECT_EQ(readFile(w.folder.file("Resultaat.res")), firstLine + secondLine);
}

TEST(MarkingRun, GatesEndTheRunWithTheirMessageAndChangeNoCount) {
    struct Row {
        std::u16string source, typed;
        Message message;
        int openCommands, clockStops;
    };
    const Row rows[] = {
        Row{Source, Typed + u"\r\nLess no. of words with errors:  -  3 =  80",
            {"!", "This speed test is already marked... Reopen to mark again."}, 1, 0},
        Row{Source.substr(0, 49), Typed,
            {"Error", "Source Document missing, or smaller than 50 characters..."}, 0, 0},
        // Fifty characters pass the source gate; the typed test is then too short.
        Row{Source.substr(0, 50), u"too short",
            {"Error", "Speed test missing, or should be at least 50 characters..."}, 0, 1},
    };
    for (const Row& row : rows) {
        MarkingWorld w;
        w.setTexts(row.source, row.typed);
        w.engine.state().ErrorCount = 7;
        const RunRecord& run = w.run();
        EXPECT_FALSE(run.completed);
        EXPECT_EQ(w.host.messages, std::vector<Message>{row.message});
        EXPECT_EQ(run.messages, w.host.messages);
        EXPECT_EQ(std::tuple(w.host.openCommands, w.host.clockStops, w.host.busy),
                  std::tuple(row.openCommands, row.clockStops, false));
        EXPECT_TRUE(row.clockStops != 0 || w.engine.state().ErrorCount == 7) << "no counts change";
        EXPECT_FALSE(std::filesystem::exists(w.folder.file("Resultaat.res")));
    }
}

TEST(MarkingRun, ACutOffClickAfterUnableToCompareAndAGivenCutOffMarkAlike) {
    MarkingWorld clicked;
    clicked.setTexts(Source, std::u16string(70, u'z'));
    clicked.source.setSelStart(30);
    clicked.engine.SourcePaneClicked(); // no cut-off requested: nothing happens
    EXPECT_TRUE(!clicked.engine.lastRun().sourceEnd && clicked.source.formatSpans().size() == 1);
    clicked.run();
    ASSERT_EQ(clicked.host.messages.size(), 1u);
    EXPECT_EQ(clicked.host.messages[0].first, "Unable to compare");
    EXPECT_TRUE(clicked.workspace.CutOffPending);
    clicked.source.setSelStart(60);
    clicked.engine.SourcePaneClicked();

    MarkingWorld given;
    given.setTexts(Source, std::u16string(70, u'z'));
    const RunRecord& run = given.engine.StartMarkingRunWithCutOff(60);

    // The compared part stands out in bold blue; the run did not search for the end.
    const CharFormat blue{"Courier New", 9.75, colours::blue, {}, true};
    for (MarkingWorld* w : {&clicked, &given}) {
        EXPECT_EQ(std::tuple(w->workspace.SourceEnd, w->workspace.CutOffPending,
                             w->workspace.CutOffGiven, w->engine.lastRun().completed),
                  std::tuple(60, false, false, true));
        EXPECT_EQ(w->engine.lastRun().sourceEnd, 60);
        EXPECT_EQ(w->source.formatSpans().at(0), (FormatSpan{0, 60, blue}));
    }
    EXPECT_EQ(clicked.engine.lastRun().report, run.report);
    EXPECT_EQ(clicked.engine.lastRun().typedRuns, run.typedRuns);
}

TEST(MarkingRun, TheExcessWordListShowsWhiteOnRedUpToItsLineEnd) {
    MarkingWorld w;
    const std::u16string sentence = u"Seven swans swam over the wide lake in the morning.";
    w.setTexts(sentence, sentence + u" Seven swans swam over the wide lake in the morning.");
    const RunRecord& run = w.run();
    ASSERT_TRUE(run.completed);
    ASSERT_FALSE(run.excessWords->empty());
    // From the label's end up to and including the line end, and nothing more.
    const std::size_t label = run.typedText.find(u"Excess words: ");
    const std::size_t lineEnd = run.typedText.find(u'\r', label);
    ASSERT_NE(lineEnd, std::u16string::npos);
    const std::string marks = marksOf(run.typedRuns, static_cast<int>(run.typedText.size()));
    EXPECT_EQ(marks.substr(label, lineEnd + 2 - label),
              std::string(14, 'R') + std::string(lineEnd + 1 - label - 14, 'x') + "R");
}

TEST(MarkingRun, AnUntitledTestIsSavedAsUnti) {
    MarkingWorld w;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(w.folder.path());
    w.setTexts(Source, Typed);
    w.host.label3 = "   ";
    const RunRecord& run = w.run();
    std::filesystem::current_path(previous);
    EXPECT_EQ(w.host.label3, "Untitled");
    EXPECT_EQ(run.markedFile, "Unti.rug");
    EXPECT_TRUE(std::filesystem::exists(w.folder.file("Unti.rug")));
    EXPECT_TRUE(run.resultLine->starts_with("Unti.rug   "));
}

// Four wrong words each found inside a longer source word, as when the comparison lost its
// place, advise marking by hand; three do not.
TEST(MarkingRun, ErrorWordsFoundInTheSourceAdviseManualMarking) {
    const std::u16string tail = u" epsilon zeta eta theta iota kappa lambda mu nu xi omicron";
    for (const auto& [source, advised] : {std::pair(u"xalpha xbeta xgamma xdelta", true),
                                          std::pair(u"xalpha xbeta xgamma delta", false)}) {
        MarkingWorld w;
        w.setTexts(source + tail + u" and a few more words", u"alpha beta gamma delta" + tail);
        ASSERT_TRUE(w.run().completed);
        EXPECT_EQ(!w.host.messages.empty() && w.host.messages.back().first == "Attention", advised);
    }
}

} // namespace
} // namespace keystride::marking::testing
