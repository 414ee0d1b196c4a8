#include "marking/results_record.h"
#include "marking/scoring_report.h"
#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

MarkingState scoredState(int strokes, int errors) {
    MarkingState s;
    s.StrokeCount = strokes;
    s.ErrorCount = static_cast<std::int16_t>(errors);
    s.CourierOk = true;
    s.LineSpacingOk = true;
    return s;
}

TEST(Report, MatchesTheTeachersExampleCharacterForCharacter) {
    MarkingState s = scoredState(2480, 16);
    s.SourceCommas = 3;
    s.TypedCommas = 2;
    SettingsStore settings;
    const Score score = ScoreTest(s, settings);
    BuildReport(s, score, settings);
    EXPECT_EQ(s.ErrorCount, 17);
    EXPECT_EQ(toUtf8(s.ReportText), "\r\n|| 2480      17m\r\n"
                                    "\r\nMissing comma(s)\r\n"
                                    "2480 \u00f7 5 =  496\r\n"
                                    "Less no. of words with errors:  -  17 =  479\r\n"
                                    "WPM =  479 \u00f7 10 =  47.9 ");
    EXPECT_EQ(s.WpmTenths, 479);
}

TEST(Report, ListsExcessWordsAndEveryFaultInOrder) {
    MarkingState s = scoredState(1234, 0);
    s.ExcessCount = 2;
    s.ExcessWords(1) = u"the ";
    s.ExcessWords(2) = u"(and )";
    s.ExcessText = u"the and ";
    s.ExcessAlsoErrors = 1;
    s.TypedLineBreaks = 2;
    s.SourceLineBreaks = 3;
    s.SourceStops = 1;
    s.SourceMarks = 1;
    s.CourierOk = false;
    s.LineSpacingOk = false;
    SettingsStore settings;
    BuildReport(s, ScoreTest(s, settings), settings);
    EXPECT_EQ(toUtf8(s.FaultText), "Excess words: the , (and )\r\nWrong number of line feeds\r\n"
                                   "Missing full stop(s)\r\nMissing <!> or <?>\r\n"
                                   "Courier/Courier New missing\r\nWrong line spacing");
    // Five faults, one excess group of 8 characters, one bracketed entry already counted.
    EXPECT_EQ(s.ErrorCount, 5 + 1 - 1);
    EXPECT_NE(toUtf8(s.ReportText).find("1234 \u00f7 5 =  247\r\n"), std::string::npos);
}

TEST(Scoring, ExcessWordsCountAsErrors) {
    SettingsStore settings;
    {
        MarkingState s = scoredState(500, 0);
        s.ExcessText = u"ab ";
        ScoreTest(s, settings);
        EXPECT_EQ(s.ErrorCount, 1) << "a short excess text alone still costs one error";
    }
    {
        settings.CountExcessStrokes = "N";
        MarkingState s = scoredState(500, 0);
        s.ExcessText = u"the and ";
        ScoreTest(s, settings);
        EXPECT_EQ(s.ErrorCount, 2) << "8 characters: one for the sixes, one more for the fives";
    }
    {
        settings.CountExcessStrokes = "n";
        MarkingState s = scoredState(500, 0);
        s.ExcessText = u"the and ";
        ScoreTest(s, settings);
        EXPECT_EQ(s.ErrorCount, 1) << "only an exact N turns the stroke count off";
    }
}

TEST(Scoring, DisplaySwitchesRoundTheSpeed) {
    struct Case {
        int strokes;
        int errors;
        std::string integer, multiple;
        std::string tail;
        int finalTenths;
    };
    // strokes / 5 = gross; (gross - errors) / 10 = WPM.
    const std::vector<Case> cases = {
        {1125, 0, "J", "N", " \u00f7 10 =  22.5 =  22", 220},
        {1175, 0, "J", "N", " \u00f7 10 =  23.5 =  24", 240},
        {1245, 0, "N", "J", " \u00f7 10 =  24.9         Final:  20 wpm ", 200},
        {1250, 0, "N", "J", " \u00f7 10 =  25         Final:  25 wpm ", 250},
        {0, 35, "N", "J", " \u00f7 10 = -3.5         Final:  0 wpm ", 0},
        {0, 48, "N", "J", " \u00f7 10 = -4.8         Final:  0 wpm ", 0},
        {0, 49, "N", "J", " \u00f7 10 = -4.9         Final: -5 wpm ", -50},
        {1175, 0, "J", "J", " \u00f7 10 =  23.5 =  24        Final:  20 wpm ", 200},
        {0, 5, "N", "N", " \u00f7 10 = -.5 ", -5},
    };
    for (const Case& c : cases) {
        MarkingState s = scoredState(c.strokes, c.errors);
        SettingsStore settings;
        settings.WpmInteger = c.integer;
        settings.WpmMultipleOf5 = c.multiple;
        BuildReport(s, ScoreTest(s, settings), settings);
        const std::string report = toUtf8(s.ReportText);
        EXPECT_TRUE(report.size() >= c.tail.size() &&
                    report.compare(report.size() - c.tail.size(), c.tail.size(), c.tail) == 0)
            << report;
        EXPECT_EQ(s.WpmTenths, c.finalTenths) << report;
    }
}

TEST(NumberForms, SignedFormHasNoZeroBeforeThePoint) {
    EXPECT_EQ(signedForm(17), " 17");
    EXPECT_EQ(signedForm(0), " 0");
    EXPECT_EQ(signedForm(-3), "-3");
    EXPECT_EQ(signedFormTenths(7), " .7");
    EXPECT_EQ(signedFormTenths(-5), "-.5");
    EXPECT_EQ(signedFormTenths(479), " 47.9");
    EXPECT_EQ(signedFormTenths(-25), "-2.5");
    EXPECT_EQ(signedFormTenths(320), " 32");
}

TEST(ResultsRecord, NamesTheMarkedTestBesideTheSpeedTest) {
    EXPECT_EQ(markedTestName("D:\\Klas\\Toets2.rtf"), "D:\\Klas\\Toets2.rug");
    EXPECT_EQ(markedTestName("Untitled"), "Unti.rug");
    EXPECT_EQ(markedTestName("/home/klas/T\u00e9st.rtf"), "/home/klas/T\u00e9st.rug");
    EXPECT_EQ(resultLine("D:\\Klas\\Toets2.rug", 315), "D:\\Klas\\Toets2.rug   31.5 wpm");
    EXPECT_EQ(resultLine("Toets1.rug", -25), "Toets1.rug  -2.5 wpm");
    EXPECT_EQ(resultRecordBytes("T\u00e9.rug   3 wpm"), "T\xe9.rug   3 wpm\r\n");
}

} // namespace
} // namespace keystride::marking::testing
