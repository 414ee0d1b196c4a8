#include "marking_fixture.h"

#include <cerrno>

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

const std::string ReportLabel = "Less no. of words with errors:";

TEST_F(MarkingRunTest, MarksATestAndWritesTheMarkedTestAndTheResultLine) {
    setTexts(Source, Typed);
    engine->StartMarkingRun();
    const RunRecord& run = engine->lastRun();
    ASSERT_TRUE(run.completed) << (run.messages.empty() ? "" : run.messages[0].second);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.clockStops, 1);
    EXPECT_FALSE(host.busy);

    ASSERT_TRUE(run.errors);
    std::vector<std::u16string> words;
    for (const auto& e : *run.errors)
        words.push_back(e.word);
    EXPECT_EQ(words, (std::vector<std::u16string>{u"ovr ", u"wizzards "}));
    EXPECT_EQ(run.errorCount, 3) << "two words and the missing full stop";
    EXPECT_NE(toUtf8(typedPane.text()).find(ReportLabel), std::string::npos);
    EXPECT_TRUE(typedPane.text().starts_with(Typed));

    const std::string rug = path("Toets1.rug");
    EXPECT_EQ(run.markedFile, rug);
    EXPECT_TRUE(std::filesystem::exists(rug));
    EXPECT_EQ(readFile("Resultaat.res"), *run.resultLine + "\r\n");
    EXPECT_TRUE(run.resultLine->starts_with(rug + "   ")) << *run.resultLine;

    // Marking the same test again after reopening overwrites the .rug and adds a second line.
    typedPane.setText(Typed);
    engine->StartMarkingRun();
    EXPECT_EQ(readFile("Resultaat.res"), *run.resultLine + "\r\n" + *engine->lastRun().resultLine + "\r\n");
}

TEST_F(MarkingRunTest, RefusesATestThatIsAlreadyMarked) {
    setTexts(Source, Typed + u"\r\n" + fromUtf8(ReportLabel) + u"  -  3 =  80");
    engine->state().ErrorCount = 7;
    engine->StartMarkingRun();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], (std::pair<std::string, std::string>{
                                    "!", "This speed test is already marked... Reopen to mark again."}));
    EXPECT_EQ(host.openCommands, 1);
    EXPECT_EQ(engine->state().ErrorCount, 7) << "no counts change";
    EXPECT_EQ(host.clockStops, 0);
}

TEST_F(MarkingRunTest, SourceOfFiftyCharactersPassesTheGateFortyNineDoNot) {
    setTexts(Source.substr(0, 49), Typed);
    engine->StartMarkingRun();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].second, "Source Document missing, or smaller than 50 characters...");

    host.messages.clear();
    setTexts(Source.substr(0, 50), u"too short");
    engine->StartMarkingRun();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].second, "Speed test missing, or should be at least 50 characters...");
    EXPECT_FALSE(host.busy);
    EXPECT_FALSE(std::filesystem::exists(path("Resultaat.res")));
}

TEST_F(MarkingRunTest, CutOffClickEndsTheComparedPartAndRunsAgain) {
    setTexts(Source, std::u16string(70, u'z'));
    engine->StartMarkingRun();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].first, "Unable to compare");
    EXPECT_TRUE(workspace.CutOffPending);

    sourcePane.setSelStart(60);
    engine->SourcePaneClicked();
    EXPECT_EQ(workspace.SourceEnd, 60);
    EXPECT_FALSE(workspace.CutOffPending);
    EXPECT_FALSE(workspace.CutOffGiven);
    EXPECT_TRUE(engine->lastRun().completed);
    EXPECT_EQ(engine->lastRun().sourceEnd, 60);
    const std::vector<FormatSpan> spans = sourcePane.formatSpans();
    ASSERT_FALSE(spans.empty());
    EXPECT_EQ(spans[0].length, 60);
    EXPECT_EQ(spans[0].format.colour, colours::blue);
    EXPECT_TRUE(spans[0].format.bold);
}

TEST_F(MarkingRunTest, AClickWithoutACutOffRequestChangesNothing) {
    setTexts(Source, Typed);
    sourcePane.setSelStart(30);
    engine->SourcePaneClicked();
    EXPECT_FALSE(engine->lastRun().completed);
    EXPECT_EQ(sourcePane.formatSpans().size(), 1u);
    EXPECT_EQ(typedPane.text(), Typed);
}

TEST_F(MarkingRunTest, WriteProtectedRunsMarkButWriteNothing) {
    setTexts(Source, Typed);
    workspace.WriteProtected = true;
    engine->StartMarkingRun();
    EXPECT_TRUE(engine->lastRun().completed);
    EXPECT_NE(toUtf8(typedPane.text()).find(ReportLabel), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path("Toets1.rug")));
    EXPECT_FALSE(std::filesystem::exists(path("Resultaat.res")));
}

TEST_F(MarkingRunTest, AnInaccessibleResultsFileReloadsTheTestAndStopsWriting) {
    const std::string testFile = path("Toets1.txt");
    std::ofstream(testFile, std::ios::binary) << toUtf8(Typed);
    setTexts(Source, Typed);
    workspace.CurrentFileName = testFile;
    std::ofstream(path("Resultaat.res"), std::ios::binary) << "earlier line\r\n";
    files.failOn(FaultyFileSystem::Operation::Append, path("Resultaat.res"), EACCES);

    engine->StartMarkingRun();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], (std::pair<std::string, std::string>{
                                    "Error", "Vela Keystride does not have access to write-protected disk."}));
    EXPECT_TRUE(workspace.WriteProtected);
    EXPECT_EQ(typedPane.text(), Typed) << "the test is reloaded without its report";
    EXPECT_EQ(typedPane.selStart(), 1);
    EXPECT_EQ(readFile("Resultaat.res"), "earlier line\r\n");
}

TEST_F(MarkingRunTest, OtherDiskFailuresAskForAnAccessibleDisk) {
    setTexts(Source, Typed);
    files.failOn(FaultyFileSystem::Operation::WriteAtomic, path("Toets1.rug"),
                 FileError{errorcodes::WriteProtectedDisk, "write-protected"});
    engine->StartMarkingRun();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].second, "Vela Keystride does not have access to write-protected "
                                       "disk. Please save speed tests on an accessible disk.");
    EXPECT_TRUE(workspace.WriteProtected);
    EXPECT_FALSE(std::filesystem::exists(path("Resultaat.res")));
    EXPECT_NE(toUtf8(typedPane.text()).find(ReportLabel), std::string::npos)
        << "the report stays in the pane";
}

TEST_F(MarkingRunTest, AnUntitledTestIsSavedAsUnti) {
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);
    setTexts(Source, Typed);
    host.label3 = "   ";
    engine->StartMarkingRun();
    std::filesystem::current_path(previous);
    EXPECT_EQ(host.label3, "Untitled");
    EXPECT_EQ(engine->lastRun().markedFile, "Unti.rug");
    EXPECT_TRUE(std::filesystem::exists(folder / "Unti.rug"));
    EXPECT_TRUE(engine->lastRun().resultLine->starts_with("Unti.rug   "));
}

TEST_F(MarkingRunTest, ErrorWordsFoundInTheSourceAdviseManualMarking) {
    // Each wrong word occurs inside a longer source word, as when the comparison lost its place.
    const std::u16string tail = u"epsilon zeta eta theta iota kappa lambda mu nu xi omicron";
    const std::u16string more = u" and a few more words";
    setTexts(u"xalpha xbeta xgamma xdelta " + tail + more, u"alpha beta gamma delta " + tail);
    engine->StartMarkingRun();
    ASSERT_TRUE(engine->lastRun().completed);
    ASSERT_EQ(engine->lastRun().errorCount, 4);
    ASSERT_FALSE(host.messages.empty());
    EXPECT_EQ(host.messages.back().first, "Attention");

    host.messages.clear();
    setTexts(u"xalpha xbeta xgamma delta " + tail + more, u"alpha beta gamma delta " + tail);
    engine->StartMarkingRun();
    ASSERT_EQ(engine->lastRun().errorCount, 3);
    EXPECT_TRUE(host.messages.empty()) << "three such words are not enough";
}

TEST_F(MarkingRunTest, TextsBeyondTheTablesEndWithAMessageAndWriteNothing) {
    std::u16string typed = Source;
    while (typed.size() <= 8000)
        typed += u" " + Source;
    setTexts(Source, typed);
    engine->StartMarkingRun();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0], (std::pair<std::string, std::string>{"Error", "Document too large..."}));
    EXPECT_FALSE(host.busy);
    EXPECT_FALSE(std::filesystem::exists(path("Resultaat.res")));
}

} // namespace
} // namespace keystride::marking::testing
