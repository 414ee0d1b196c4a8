#include "marking/excess_words.h"
#include "marking/word_comparison.h"
#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

// A mark is dropped twice over, the second time after a line end or another mark.
TEST(BareForm, DropsBlanksMarksAndLineEnds) {
    const std::pair<std::u16string, std::u16string> rows[] = {
        {u"House. ", u"House"}, {u"end.\r", u"end"}, {u"50%. ", u"50"},
        {u"what?!", u"what"},   {u"\n", u"\n"},      {u"  ", u""},
    };
    for (const auto& [word, bare] : rows)
        EXPECT_EQ(bareForm(word), bare) << toUtf8(word);
}

TEST(ExcessWords, SurplusOccurrencesAreExcessAndDoubledWordsAreBracketedErrors) {
    struct Row {
        std::u16string source, typed;
        std::u16string errors; // the error words, each followed by "|"
        std::u16string excess; // the excess entries one after the other, as the report lists them
        std::u16string excessText;
        int doubled; // doubled words, each also a bracketed excess entry
    };
    const Row rows[] = {
        // A sentence typed twice.
        {u"The sun is hot. We swim.", u"The sun is hot. The sun is hot. We swim.", u"",
         u"The sun is hot ", u"The sun is hot ", 0},
        // Every word as often as in the source.
        {u"the dog and the cat", u"the dog and the cat", u"", u"", u"", 0},
        // A doubled word; then a doubled pair that the source holds.
        {u"I like the big red car.", u"I like the big big red car.", u"big |", u"(big )", u"big ",
         1},
        {u"he said that that was it", u"he said that that was it", u"", u"", u"", 0},
        // A word that is an error wherever it is typed.
        {u"one two three four five", u"one twoo three twoo four five", u"twoo |twoo |", u"", u"",
         0},
        // The second half of a joined word is blanked.
        {u"We did something good today", u"We did some thing good today", u"some thing|", u"", u"",
         0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(toUtf8(row.typed));
        MarkingState s;
        prepareWords(s, row.source, row.typed);
        const IndexedText indexed(row.source);
        CompareWords(s, {indexed, static_cast<std::int16_t>(row.source.size())});
        FindExcessAndDoubledWords(s, {row.typed, indexed});
        std::u16string errors, excess;
        for (int k = 1; k <= s.ErrorCount; ++k)
            errors += s.ErrorWords(k) + u"|";
        for (int e = 1; e <= s.ExcessCount; ++e)
            excess += s.ExcessWords(e);
        EXPECT_EQ(std::tuple(errors, excess, s.ExcessText, s.DoubledCount, s.ExcessAlsoErrors),
                  std::tuple(row.errors, row.excess, row.excessText, row.doubled, row.doubled));
    }
}

} // namespace
} // namespace keystride::marking::testing
