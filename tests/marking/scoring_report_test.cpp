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

std::string report(MarkingState& s, const SettingsStore& settings = {}) {
    BuildReport(s, ScoreTest(s, settings), settings);
    return toUtf8(s.ReportText);
}

TEST(Report, MatchesTheTeachersExampleCharacterForCharacter) {
    MarkingState s = scoredState(2480, 16);
    s.SourceCommas = 3;
    s.TypedCommas = 2;
    EXPECT_EQ(report(s), "\r\n|| 2480      17m\r\n"
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
    EXPECT_NE(report(s).find("1234 \u00f7 5 =  247\r\n"), std::string::npos);
    EXPECT_EQ(toUtf8(s.FaultText), "Excess words: the , (and )\r\nWrong number of line feeds\r\n"
                                   "Missing full stop(s)\r\nMissing <!> or <?>\r\n"
                                   "Courier/Courier New missing\r\nWrong line spacing");
    // Five faults, one excess group of 8 characters, one bracketed entry already counted.
    EXPECT_EQ(s.ErrorCount, 5 + 1 - 1);
}

TEST(Scoring, ExcessWordsAndTheDisplaySwitchesSetTheSpeed) {
    struct Row {
        int strokes, errors;
        std::u16string excess;
        const char *excessStrokes, *integer, *multiple;
        std::string tail; // of the report
        int finalTenths;
    };
    // strokes / 5 = gross; (gross - errors) / 10 = WPM.
    const Row rows[] = {
        {35, 0, u"", "J", "N", "N", " \u00f7 10 =  .7 ", 7},
        {0, 5, u"", "J", "N", "N", " \u00f7 10 = -.5 ", -5},
        // A short excess text alone still costs one error; with the strokes taken out ("N",
        // exactly) 8 characters cost one for the sixes and one more for the fives.
        {500, 0, u"ab ", "J", "N", "N", "-  1 =  99\r\nWPM =  99 \u00f7 10 =  9.9 ", 99},
        {500, 0, u"the and ", "N", "N", "N", "-  2 =  98\r\nWPM =  98 \u00f7 10 =  9.8 ", 98},
        {500, 0, u"the and ", "n", "N", "N", "-  1 =  99\r\nWPM =  99 \u00f7 10 =  9.9 ", 99},
        // Whole numbers with ties to even; multiples of 5, also of negative speeds.
        {1125, 0, u"", "J", "J", "N", " \u00f7 10 =  22.5 =  22", 220},
        {1175, 0, u"", "J", "J", "N", " \u00f7 10 =  23.5 =  24", 240},
        {1245, 0, u"", "J", "N", "J", " \u00f7 10 =  24.9         Final:  20 wpm ", 200},
        {1250, 0, u"", "J", "N", "J", " \u00f7 10 =  25         Final:  25 wpm ", 250},
        {0, 35, u"", "J", "N", "J", " \u00f7 10 = -3.5         Final:  0 wpm ", 0},
        {0, 48, u"", "J", "N", "J", " \u00f7 10 = -4.8         Final:  0 wpm ", 0},
        {0, 49, u"", "J", "N", "J", " \u00f7 10 = -4.9         Final: -5 wpm ", -50},
        {1175, 0, u"", "J", "J", "J", " \u00f7 10 =  23.5 =  24        Final:  20 wpm ", 200},
    };
    for (const Row& row : rows) {
        MarkingState s = scoredState(row.strokes, row.errors);
        s.ExcessText = row.excess;
        SettingsStore settings;
        settings.CountExcessStrokes = row.excessStrokes;
        settings.WpmInteger = row.integer;
        settings.WpmMultipleOf5 = row.multiple;
        const std::string text = report(s, settings);
        EXPECT_TRUE(text.ends_with(row.tail)) << text;
        EXPECT_EQ(s.WpmTenths, row.finalTenths) << text;
    }
}

TEST(ResultsRecord, NamesTheMarkedTestBesideTheSpeedTestInTheSystemsCodePage) {
    EXPECT_EQ(markedTestName("D:\\Klas\\Toets2.rtf"), "D:\\Klas\\Toets2.rug");
    EXPECT_EQ(markedTestName("Untitled"), "Unti.rug");
    EXPECT_EQ(markedTestName("/home/klas/T\u00e9st.rtf"), "/home/klas/T\u00e9st.rug");
    EXPECT_EQ(resultLine("D:\\Klas\\Toets2.rug", 315), "D:\\Klas\\Toets2.rug   31.5 wpm");
    EXPECT_EQ(resultLine("Toets1.rug", -25), "Toets1.rug  -2.5 wpm");
    EXPECT_EQ(resultLine("Toets1.rug", 320), "Toets1.rug   32 wpm");
    EXPECT_EQ(resultRecordBytes("T\u00e9.rug   3 wpm"), "T\xe9.rug   3 wpm\r\n");
}

} // namespace
} // namespace keystride::marking::testing
