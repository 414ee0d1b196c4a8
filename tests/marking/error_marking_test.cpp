#include "marking/error_marking.h"
#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

CharFormat formatAt(const MemoryPane& pane, int position) {
    for (const FormatSpan& span : pane.formatSpans()) {
        if (position >= span.start && position < span.start + span.length)
            return span.format;
    }
    ADD_FAILURE() << "no character at " << position;
    return {};
}

void addError(MarkingState& s, std::u16string word, int start) {
    ++s.ErrorCount;
    s.ErrorWords(s.ErrorCount) = std::move(word);
    s.ErrorStart(s.ErrorCount) = static_cast<std::int16_t>(start);
}

TEST(FontMarking, FramesAWordWithoutItsTrailingSpace) {
    MemoryPane typed;
    typed.setText(u"abc def");
    MarkingState s;
    addError(s, u"abc ", 0); // the first word's start is recorded as 0
    MarkErrors(s, typed, true);
    const CharFormat first = formatAt(typed, 0), middle = formatAt(typed, 1),
                     last = formatAt(typed, 2), space = formatAt(typed, 3);
    EXPECT_EQ(first.font, "Courier1");
    EXPECT_EQ(middle.font, "Courierraam");
    EXPECT_EQ(last.font, "Courier2");
    for (const CharFormat& f : {first, middle, last}) {
        EXPECT_TRUE(f.bold);
        EXPECT_EQ(f.colour, colours::red);
    }
    EXPECT_FALSE(first.underline);
    EXPECT_TRUE(middle.underline && last.underline);
    EXPECT_EQ(space, CharFormat{}) << "the trailing space is untouched";
    EXPECT_EQ(typed.text(), u"abc def");
}

TEST(FontMarking, ShortWordsAreFramedWhole) {
    MemoryPane typed;
    typed.setText(u"xx a yy");
    MarkingState s;
    addError(s, u"a ", 4);
    MarkErrors(s, typed, true);
    EXPECT_EQ(formatAt(typed, 3).font, "Courier3");
    EXPECT_EQ(formatAt(typed, 4).font, "Courier3") << "the space of a one-letter word too";
    EXPECT_EQ(formatAt(typed, 5).font, "Courier New");
}

TEST(FontMarking, SpaceFaultsBecomeUnderscoresOfTheSameLength) {
    MemoryPane typed;
    typed.setText(u"one  two. Three. Four");
    MarkingState s;
    addError(s, DoubleSpaceMarker, 4);
    addError(s, SingleSpaceMarker, 10);
    addError(s, u"Four", 18);
    MarkErrors(s, typed, true);
    EXPECT_EQ(typed.text(), u"one _two._Three. Four");
    EXPECT_EQ(formatAt(typed, 3).font, "Courier3");
    EXPECT_EQ(formatAt(typed, 4).font, "Courier3");
    EXPECT_EQ(formatAt(typed, 9).font, "Courier3");
    EXPECT_EQ(formatAt(typed, 17).font, "Courier1") << "later marks land on the right characters";
    EXPECT_EQ(formatAt(typed, 20).font, "Courier2");
}

TEST(ColourMarking, WhiteOnRedAndFontsUnchanged) {
    MemoryPane typed;
    typed.setText(u"one  two three");
    MarkingState s;
    addError(s, DoubleSpaceMarker, 4);
    addError(s, u"three", 10);
    ++s.RepeatCount;
    s.RepeatWords(1) = u"two ";
    s.RepeatStart(1) = 6;
    MarkErrors(s, typed, false);
    EXPECT_EQ(typed.text(), u"one  two three") << "marker spaces are highlighted, not replaced";
    const CharFormat space = formatAt(typed, 3), word = formatAt(typed, 12), repeat = formatAt(typed, 5);
    EXPECT_EQ(space.background, colours::red);
    EXPECT_EQ(word.background, colours::red);
    EXPECT_EQ(word.colour, colours::white);
    EXPECT_TRUE(word.bold);
    EXPECT_EQ(word.font, "Courier New");
    EXPECT_EQ(repeat.colour, colours::red);
    EXPECT_TRUE(repeat.underline);
    EXPECT_FALSE(repeat.background.has_value());
}

} // namespace
} // namespace keystride::marking::testing
