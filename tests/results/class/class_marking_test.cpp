// Marking a class: each test as it is marked alone, or the window's session reproduced; the same
// marks on any number of threads; outputs in the order of the class; cancellation between tests.
#include "class_fixture.h"

#include "marking/results_record.h"
#include "results/run_json.h"

#include <stop_token>

namespace keystride::classmarking::testing {
namespace {

using marking::RunRecord;

std::string errorClasses(const RunRecord& run) {
    std::string out;
    for (const RunRecord::Error& error : *run.errors)
        out += char('0' + error.errorClass);
    return out;
}

bool sameMarks(const RunRecord& a, const RunRecord& b) {
    return a.errorCount == b.errorCount && a.wpmTenths == b.wpmTenths &&
           runRecordJson(a).substr(0, runRecordJson(a).find("\"excess_words\"")) ==
               runRecordJson(b).substr(0, runRecordJson(b).find("\"excess_words\""));
}

using ClassMarkingTest = ClassFixture;

// The marks keystride-mark gave this class before each test got a state of its own: the window
// marking the nine tests one after another. Test 8 follows a longer test, whose source words
// beyond its own compared part make one of its wrong words two words joined.
TEST_F(ClassMarkingTest, ASessionGivesTheWindowsMarksAndFreshStatesTheMarksOfEachTestAlone) {
    const struct {
        int errorCount;
        double wpm;
        const char* classes;
    } session[Learners] = {
        {103, 60.2,
         "4044402000040500404044454204004415404441041444000000045444440454341455440441240444540440"
         "04440404410000"},
        {11, 5.9, "00010"},
        {64, 40.9, "500000000454205002054004454041042000040444040010000405044400000"},
        {15, 8.4, "000400544400"},
        {44, 33.1, "440054502040404440445440404440044054405440"},
        {16, 8.5, "4434425044000"},
        {40, 36.2, "54025044020540055450444004044004540450"},
        {14, 8.6, "000000440"},
        {85, 61,
         "0034042055401414005442400001400444440044524415454124404400550414204444450455544005"
         "00"},
    };
    const ClassMarking inSession = markClass(options(StateMode::Session));
    const ClassMarking fresh = markClass(options());
    ASSERT_EQ(inSession.tests.size(), std::size_t(Learners));
    ASSERT_EQ(fresh.tests.size(), std::size_t(Learners));
    int sessionDiffers = 0;
    for (int i = 0; i < Learners; ++i) {
        const RunRecord& s = inSession.tests[std::size_t(i)].run;
        EXPECT_EQ(s.errorCount, session[i].errorCount) << tests[std::size_t(i)];
        EXPECT_EQ(s.wpm(), session[i].wpm) << tests[std::size_t(i)];
        EXPECT_EQ(errorClasses(s), session[i].classes) << tests[std::size_t(i)];
        const RunRecord single = alone(tests[std::size_t(i)]);
        EXPECT_TRUE(sameMarks(fresh.tests[std::size_t(i)].run, single)) << tests[std::size_t(i)];
        sessionDiffers += !sameMarks(s, single);
    }
    EXPECT_EQ(sessionDiffers, 1) << "the generated class shows what a session carries over";
}

TEST_F(ClassMarkingTest, MarksDoNotDependOnTheNumberOfThreads) {
    const ClassMarking one = markClass(options(StateMode::Fresh, 1));
    const ClassMarking four = markClass(options(StateMode::Fresh, 4));
    ASSERT_EQ(one.tests.size(), four.tests.size());
    for (std::size_t i = 0; i < one.tests.size(); ++i)
        EXPECT_EQ(runRecordJson(one.tests[i].run), runRecordJson(four.tests[i].run)) << i;
}

// Several threads write the marked tests and the result lines; the results file still lists
// the class in order, and cancelling from the progress stops between tests with every begun
// test written whole.
TEST_F(ClassMarkingTest, ProgressAndResultLinesFollowTheClassAndCancelStopsBetweenTests) {
    for (int jobs : {1, 4}) {
        SCOPED_TRACE(jobs);
        std::filesystem::remove(folder.file("Resultaat.res"));
        ClassMarkingOptions o = options(StateMode::Fresh, jobs);
        o.writeOutputs = WriteOutputs::Yes;
        std::stop_source stop;
        std::vector<int> reported;
        const ClassMarking marked = markClass(
            o,
            [&](int index, const MarkedTest& test) {
                reported.push_back(index);
                EXPECT_TRUE(test.written) << test.chosen;
                if (index == 2)
                    stop.request_stop();
            },
            stop.get_token());
        EXPECT_TRUE(marked.cancelled);
        ASSERT_GE(marked.tests.size(), 3u);
        ASSERT_LT(marked.tests.size(), std::size_t(Learners));
        std::string expected;
        for (std::size_t i = 0; i < marked.tests.size(); ++i) {
            EXPECT_EQ(reported.at(i), int(i));
            expected += marking::resultRecordBytes(*marked.tests[i].run.resultLine);
        }
        EXPECT_EQ(keystride::testing::readFile(folder.file("Resultaat.res")), expected);
    }
}

TEST_F(ClassMarkingTest, ATestThatCannotBeOpenedKeepsItsRowAndTheOthersAreMarked) {
    ClassMarkingOptions o = options();
    o.tests.insert(o.tests.begin() + 1, folder.file("class/absent.rtf"));
    const ClassMarking marked = markClass(o);
    ASSERT_EQ(marked.tests.size(), std::size_t(Learners + 1));
    const MarkedTest& absent = marked.tests[1];
    EXPECT_FALSE(absent.opened());
    EXPECT_NE(absent.problem.find("absent.rtf"), std::string::npos) << absent.problem;
    EXPECT_FALSE(absent.run.completed);
    ASSERT_EQ(absent.run.messages.size(), 1u);
    EXPECT_EQ(absent.run.messages[0].second, absent.problem);
    EXPECT_TRUE(marked.tests[0].run.completed);
    EXPECT_TRUE(marked.tests[2].run.completed);

    o.source = folder.file("no-source.txt");
    const ClassMarking noSource = markClass(o);
    EXPECT_NE(noSource.sourceProblem.find("no-source.txt"), std::string::npos);
    EXPECT_TRUE(noSource.tests.empty());
}

} // namespace
} // namespace keystride::classmarking::testing
