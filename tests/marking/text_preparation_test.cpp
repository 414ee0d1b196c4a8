#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

TEST(SplitWords, WordsKeepTheirDelimiterAndWhereTheyStart) {
    struct Row {
        std::u16string text;
        std::vector<std::u16string> words;
        std::vector<int> starts; // the first word's stays 0
    };
    const Row rows[] = {
        {u"The cat .  Sat", {u"The ", u"cat ", u" .", u" ", u"Sat"}, {0, 5, 9, 11, 12}},
        {u"Stop.\r\nNext", {u"Stop.\r", u"\n", u"Next"}, {0, 7, 8}},
        {u"a b ", {u"a ", u"b "}, {0, 3}},
        {u". x", {u". ", u"x"}, {0, 3}},
        {u"x  .\r\ny", {u"x ", u" ", u" .", u"\n", u"y"}, {0, 3, 4, 6, 7}},
        {u"", {}, {}},
    };
    for (const Row& row : rows) {
        MarkingState s;
        SplitWords(s, u"an earlier split");
        ClearWordTables(s);
        SplitWords(s, row.text);
        std::vector<std::u16string> words;
        std::vector<int> starts;
        for (int k = 1; k <= s.WordCount; ++k) {
            words.push_back(s.WordBuffer(k));
            starts.push_back(s.WordStart(k));
        }
        EXPECT_EQ(words, row.words) << toUtf8(row.text);
        EXPECT_EQ(starts, row.starts) << toUtf8(row.text);
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
