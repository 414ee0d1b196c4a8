#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

std::vector<std::u16string> split(std::u16string_view text, MarkingState& s) {
    ClearWordTables(s);
    SplitWords(s, text);
    std::vector<std::u16string> words;
    for (int k = 1; k <= s.WordCount; ++k)
        words.push_back(s.WordBuffer(k));
    return words;
}

TEST(SplitWords, WordsKeepTheirDelimiter) {
    struct Case {
        std::u16string text;
        std::vector<std::u16string> words;
    };
    const std::vector<Case> cases = {
        {u"The cat .  Sat", {u"The ", u"cat ", u" .", u" ", u"Sat"}},
        {u"Stop.\r\nNext", {u"Stop.\r", u"\n", u"Next"}},
        {u"a b ", {u"a ", u"b "}},
        {u". x", {u". ", u"x"}},
        {u"x  .\r\ny", {u"x ", u" ", u" .", u"\n", u"y"}},
        {u"", {}},
    };
    for (const Case& c : cases) {
        MarkingState s;
        EXPECT_EQ(split(c.text, s), c.words) << toUtf8(c.text);
    }
}

TEST(SplitWords, RecordsWhereEachWordStarts) {
    MarkingState s;
    split(u"The cat .  Sat", s);
    ASSERT_EQ(s.WordCount, 5);
    EXPECT_EQ(s.WordStart(1), 0) << "the first word's start stays as the clearing left it";
    EXPECT_EQ(s.WordStart(2), 5);
    EXPECT_EQ(s.WordStart(3), 9);
    EXPECT_EQ(s.WordStart(4), 11);
    EXPECT_EQ(s.WordStart(5), 12);
}

TEST(CountStrokes, ShiftedAndAccentedCharactersCostMore) {
    struct Case {
        std::u16string text;
        int strokes;
    };
    const std::vector<Case> cases = {
        {u"Hi!\r\n", 6}, // H 2, i 1, ! 2, CR 1, LF 0
        {u"\u00ea", 3},  // e circumflex, 234 in Windows-1252
        {u"\u20ac", 3},  // the euro sign is 128 there
        {u"\u0101", 1},  // a with macron has no Windows-1252 code
        {u"\"a\" b", 7}, // quotes 2 each, a 1, space 1, b 1
        {u"~!@#$%^&*()_{}|:<>?", 38},
        {u"az09-=[];',./\\`", 15},
    };
    for (const Case& c : cases) {
        MarkingState s;
        CountStrokes(s, c.text);
        EXPECT_EQ(s.StrokeCount, c.strokes) << toUtf8(c.text);
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

TEST(ClearWordTables, ClearsFiveEntriesPastThePreviousSplit) {
    MarkingState s;
    split(u"a b c", s);
    s.ErrorWords(3) = u"x";
    s.TypedWords(8) = u"y";
    s.TypedWords(9) = u"z";
    s.ErrorCount = 4;
    ClearWordTables(s);
    EXPECT_TRUE(s.WordBuffer(1).empty());
    EXPECT_TRUE(s.ErrorWords(3).empty());
    EXPECT_TRUE(s.TypedWords(8).empty());
    EXPECT_EQ(s.TypedWords(9), u"z") << "only entries up to the previous count + 5 are cleared";
    EXPECT_EQ(s.ErrorCount, 0);
}

} // namespace
} // namespace keystride::marking::testing
