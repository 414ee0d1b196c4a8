#include "marking/layout_checks.h"
#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

TEST(CheckSpaces, ADoubleSpaceTooManyAndInconsistentSentenceEndsGetOneEntryEach) {
    using Entries = std::vector<std::pair<std::u16string, int>>;
    const std::pair<std::u16string, Entries> rows[] = {
        {u"one two  three  four", {{DoubleSpaceMarker, 8}}}, // only the first place
        {u"Stop.  Go on", {}},                               // two after a mark: the convention
        {u"Stop.   Go on", {{DoubleSpaceMarker, 7}}},        // the second space follows a space
        {u"One. Two. Three.  Four.", {{DoubleSpaceMarker, 17}}},
        {u"One.  Two. Three.  Four.", {{SingleSpaceMarker, 11}}},
        {u"no marks at all", {}},
        {u"Why? Because.  So.", {{DoubleSpaceMarker, 14}}}, // the first end is the "?"
        {u"Why?  Because!  Yes", {}}, // without a full stop the first sentence end stays 0
        {u"Yes. Why?  Because. Ok.", {}},
        {u"Yes. Why?  Because.  Ok.", {{DoubleSpaceMarker, 10}}},
    };
    for (const auto& [typed, expected] : rows) {
        MarkingState s;
        CheckSpaces(s, typed);
        Entries entries;
        for (int k = 1; k <= s.ErrorCount; ++k)
            entries.emplace_back(s.ErrorWords(k), s.ErrorStart(k));
        EXPECT_EQ(entries, expected) << toUtf8(typed);
    }
}

TEST(CountLineBreaks, CountsCarriageReturnsBeforeTheStartPlusOne) {
    const std::tuple<std::u16string, int, int> rows[] = {
        {u"abc", 2, 1},
        {u"a\r\nb\r\nc", 6, 3},
        {u"\r\nb", 2, 1}, // a CR at position 1 adds no extra one
        {u"ab\r", 2, 1},  // a CR at the start position's end is not seen
    };
    for (const auto& [text, start, count] : rows)
        EXPECT_EQ(CountLineBreaks(text, start), count) << toUtf8(text);
}

TEST(CountPunctuation, CountsOnlyTheComparedPartOfTheSource) {
    MarkingState s;
    CountPunctuation(s, u"a. b, c! d?", u"a. b, c! d? e. f, g!", 11);
    EXPECT_EQ(std::tuple(s.TypedStops, s.TypedCommas, s.TypedMarks), std::tuple(1, 1, 2));
    EXPECT_EQ(std::tuple(s.SourceStops, s.SourceCommas, s.SourceMarks), std::tuple(1, 1, 2));
}

TEST(LayoutChecks, CourierAndTheLineSpacingAsTheSwitchesAsk) {
    using enum LineSpacing;
    struct Row {
        int arialAt; // one character in Arial
        LineSpacing markup, menu;
        const char *courier, *spacing15, *doubleSpacing;
        bool courierOk, spacingOk;
    };
    const Row rows[] = {
        // The first character is not examined.
        {0, Single, Single, "J", "N", "N", true, true},
        {2, Single, Single, "J", "N", "N", false, true},
        {2, Single, Single, "N", "N", "N", true, true},
        // 1.5 spacing is found in the markup or chosen in the Format menu.
        {0, Single, Single, "J", "J", "N", true, false},
        {0, Single, OneAndAHalf, "J", "J", "N", true, true},
        {0, OneAndAHalf, Single, "J", "J", "N", true, true},
        // Both switches on: the menu meets one of them, the markup must meet the other.
        {0, OneAndAHalf, OneAndAHalf, "J", "J", "J", true, false},
        {0, OneAndAHalf, Double, "J", "J", "J", true, true},
    };
    for (const Row& row : rows) {
        MemoryPane typed;
        typed.setText(u"Xbc\r\ndef");
        typed.setSelStart(0);
        typed.setSelLength(typed.textLength());
        typed.setSelLineSpacing(row.markup);
        typed.setSelStart(row.arialAt);
        typed.setSelLength(1);
        typed.setSelFontName("Arial");
        SettingsStore settings;
        settings.CheckCourier = row.courier;
        settings.CheckSpacing15 = row.spacing15;
        settings.CheckDoubleSpacing = row.doubleSpacing;
        MarkingState s;
        CheckCourier(s, typed, settings);
        CheckLineSpacing(s, typed, settings, row.menu);
        EXPECT_EQ(std::pair(s.CourierOk, s.LineSpacingOk), std::pair(row.courierOk, row.spacingOk))
            << "row " << &row - rows;
    }
}

} // namespace
} // namespace keystride::marking::testing
