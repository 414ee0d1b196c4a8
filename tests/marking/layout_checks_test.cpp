#include "marking/layout_checks.h"
#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

std::vector<std::pair<std::u16string, int>> spaceEntries(std::u16string_view typed) {
    MarkingState s;
    CheckSpaces(s, typed);
    std::vector<std::pair<std::u16string, int>> out;
    for (int k = 1; k <= s.ErrorCount; ++k)
        out.emplace_back(s.ErrorWords(k), s.ErrorStart(k));
    return out;
}

using Entries = std::vector<std::pair<std::u16string, int>>;

TEST(CheckSpaces, OneSuperfluousDoubleSpaceIsReported) {
    EXPECT_EQ(spaceEntries(u"one two  three  four"), (Entries{{DoubleSpaceMarker, 8}}));
    EXPECT_TRUE(spaceEntries(u"Stop.  Go on").empty())
        << "two spaces after a mark are the convention";
    EXPECT_EQ(spaceEntries(u"Stop.   Go on"), (Entries{{DoubleSpaceMarker, 7}}))
        << "three spaces: the fault is found at the second, preceded by a space";
}

TEST(CheckSpaces, SpacingAfterSentenceEndsMustBeConsistent) {
    EXPECT_EQ(spaceEntries(u"One. Two. Three.  Four."), (Entries{{DoubleSpaceMarker, 17}}));
    EXPECT_TRUE(spaceEntries(u"One.  Two.  Three.  Four.").empty());
    EXPECT_EQ(spaceEntries(u"One.  Two. Three.  Four."), (Entries{{SingleSpaceMarker, 11}}));
    EXPECT_TRUE(spaceEntries(u"no marks at all").empty());
    EXPECT_EQ(spaceEntries(u"Why? Because.  So."), (Entries{{DoubleSpaceMarker, 14}}))
        << "the first sentence end is the question mark, followed by one space";
}

TEST(CheckSpaces, MarksOtherThanFullStopsAreFoundOnlyBeforeAFullStop) {
    // Without any full stop the first sentence end stays at 0.
    EXPECT_TRUE(spaceEntries(u"Why?  Because!  Yes").empty());
    EXPECT_TRUE(spaceEntries(u"Yes. Why?  Because. Ok.").empty());
    EXPECT_EQ(spaceEntries(u"Yes. Why?  Because.  Ok."), (Entries{{DoubleSpaceMarker, 10}}));
}

TEST(CountLineBreaks, CountsCarriageReturnsBeforeTheStartPlusOne) {
    EXPECT_EQ(CountLineBreaks(u"abc", 2), 1);
    EXPECT_EQ(CountLineBreaks(u"a\r\nb\r\nc", 6), 3);
    EXPECT_EQ(CountLineBreaks(u"\r\nb", 2), 1) << "a CR at position 1 adds no extra one";
    EXPECT_EQ(CountLineBreaks(u"ab\r", 2), 1) << "a CR at the start position's end is not seen";
    std::u16string many;
    for (int i = 0; i < 254; ++i)
        many += u"x\r\n";
    EXPECT_EQ(CountLineBreaks(many + u"y", static_cast<int>(many.size())), 255);
    EXPECT_THROW(CountLineBreaks(many + u"x\r\ny", static_cast<int>(many.size()) + 3),
                 CapacityExceeded);
}

TEST(CountPunctuation, ComparesOnlyTheComparedPartOfTheSource) {
    MarkingState s;
    CountPunctuation(s, u"a. b, c! d?", u"a. b, c! d? e. f.", 11);
    EXPECT_EQ(s.TypedStops, 1);
    EXPECT_EQ(s.TypedCommas, 1);
    EXPECT_EQ(s.TypedMarks, 2);
    EXPECT_EQ(s.SourceStops, 1);
    EXPECT_EQ(s.SourceMarks, 2);
}

TEST(CheckCourier, TheWholeTestFromItsSecondCharacterMustBeCourier) {
    MemoryPane typed;
    typed.setText(u"Xbcdef");
    typed.setSelStart(0);
    typed.setSelLength(1);
    typed.setSelFontName("Arial");
    SettingsStore settings;
    settings.CheckCourier = "J";
    MarkingState s;
    CheckCourier(s, typed, settings);
    EXPECT_TRUE(s.CourierOk) << "the first character is not examined";

    typed.setSelStart(3);
    typed.setSelLength(1);
    typed.setSelFontName("Arial");
    CheckCourier(s, typed, settings);
    EXPECT_FALSE(s.CourierOk);

    settings.CheckCourier = "N";
    CheckCourier(s, typed, settings);
    EXPECT_TRUE(s.CourierOk);
    settings.CheckCourier = "j";
    CheckCourier(s, typed, settings);
    EXPECT_FALSE(s.CourierOk) << "anything but N switches the check on";
}

TEST(CheckLineSpacing, TheMarkupOrTheFormatMenuMeetsTheCheck) {
    MemoryPane typed;
    typed.setText(u"one\r\ntwo");
    SettingsStore settings;
    settings.CheckSpacing15 = "J";
    MarkingState s;
    CheckLineSpacing(s, typed, settings, LineSpacing::Single);
    EXPECT_FALSE(s.LineSpacingOk);
    CheckLineSpacing(s, typed, settings, LineSpacing::OneAndAHalf);
    EXPECT_TRUE(s.LineSpacingOk) << "1.5 spacing chosen in the Format menu";
    typed.setSelStart(0);
    typed.setSelLength(typed.textLength());
    typed.setSelLineSpacing(LineSpacing::OneAndAHalf);
    CheckLineSpacing(s, typed, settings, LineSpacing::Single);
    EXPECT_TRUE(s.LineSpacingOk) << "1.5 spacing found in the markup";

    settings.CheckDoubleSpacing = "J";
    CheckLineSpacing(s, typed, settings, LineSpacing::OneAndAHalf);
    EXPECT_FALSE(s.LineSpacingOk) << "with both switches on the markup must hold the other one";
    CheckLineSpacing(s, typed, settings, LineSpacing::Double);
    EXPECT_TRUE(s.LineSpacingOk);
}

} // namespace
} // namespace keystride::marking::testing
