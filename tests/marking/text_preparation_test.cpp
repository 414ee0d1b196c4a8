#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

// Where the words start is checked by every comparison row; here is the blank before a lone full
// stop, which no comparison row meets.
TEST(SplitWords, AFullStopAfterABlankIsAWordOfItsOwn) {
    const std::pair<std::u16string, std::vector<std::u16string>> rows[] = {
        {u"The cat .  Sat", {u"The ", u"cat ", u" .", u" ", u"Sat"}},
        {u"x  .\r\ny", {u"x ", u" ", u" .", u"\n", u"y"}},
    };
    for (const auto& [text, expected] : rows) {
        MarkingState s;
        SplitWords(s, text);
        std::vector<std::u16string> words;
        for (int k = 1; k <= s.WordCount; ++k)
            words.push_back(s.WordBuffer(k));
        EXPECT_EQ(words, expected) << toUtf8(text);
    }
}

TEST(CountStrokes, ShiftedAndAccentedCharactersCostMore) {
    const std::pair<std::u16string, int> rows[] = {
        {u"Hi!\r\n", 6}, // H 2, i 1, ! 2, CR 1, LF 0
        {u"\u00ea", 3},  // e circumflex, 234 in Windows-1252
        {u"\u20ac", 3},  // the euro sign is 128 there
        {u"\u0101", 1},  // a with macron has no Windows-1252 code
        {u"\"a\" b", 7}, // quotes 2 each, a 1, space 1, b 1
        {u"~!@#$%^&*()_{}|:<>?", 38},
        {u"az09-=[];',./\\`", 15},
    };
    for (const auto& [text, strokes] : rows) {
        MarkingState s;
        CountStrokes(s, text);
        EXPECT_EQ(s.StrokeCount, strokes) << toUtf8(text);
    }
}

TEST(SentenceEndTidy, DropsSpacesBetweenASentenceMarkAndTheParagraphEnd) {
    MemoryPane typed;
    MemoryPane source;
    typed.setText(u"end.  \r\nWhy? \r\nNo!  \r\nkeep.   \r\nlast.  ");
    source.setText(u"one.  \r\ntwo");
    SentenceEndTidy(typed, source);
    EXPECT_EQ(typed.text(), u"end.\r\nWhy?\r\nNo!\r\nkeep.   \r\nlast.  ")
        << "three spaces stay, and the last paragraph has no paragraph end";
    EXPECT_EQ(source.text(), u"one.\r\ntwo");
}

} // namespace
} // namespace keystride::marking::testing
