#include "marking/excess_words.h"
#include "marking/word_comparison.h"
#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

void runPasses(MarkingState& s, std::u16string_view source, std::u16string_view typed) {
    prepareWords(s, source, typed);
    const IndexedText indexed(source);
    CompareWords(s, {indexed, static_cast<std::int16_t>(source.size())});
    FindExcessAndDoubledWords(s, {typed, indexed});
}

std::vector<std::u16string> excess(const MarkingState& s) {
    std::vector<std::u16string> out;
    for (int e = 1; e <= s.ExcessCount; ++e)
        out.push_back(s.ExcessWords(e));
    return out;
}

TEST(BareForm, DropsBlanksMarksAndLineEnds) {
    EXPECT_EQ(bareForm(u"House. "), u"House");
    EXPECT_EQ(bareForm(u"House"), u"House");
    EXPECT_NE(bareForm(u"house "), bareForm(u"House "));
    EXPECT_EQ(bareForm(u"end.\r"), u"end");
    EXPECT_EQ(bareForm(u"50%. "), u"50");
    EXPECT_EQ(bareForm(u"what?!"), u"what");
    EXPECT_EQ(bareForm(u"\n"), u"\n");
    EXPECT_EQ(bareForm(u"  "), u"");
}

TEST(ExcessWords, ASentenceTypedTwiceGivesOneEntryPerSurplusWord) {
    MarkingState s;
    runPasses(s, u"The sun is hot. We swim in the sea.", u"The sun is hot. The sun is hot. We swim in the sea.");
    EXPECT_EQ(excess(s), (std::vector<std::u16string>{u"The ", u"sun ", u"is ", u"hot "}));
    EXPECT_EQ(s.ExcessText, u"The sun is hot ");
    EXPECT_EQ(s.ErrorCount, 0);
}

TEST(ExcessWords, NoneWhenEveryWordOccursAsOftenAsInTheSource) {
    MarkingState s;
    runPasses(s, u"the dog and the cat and the bird", u"the dog and the cat and the bird");
    EXPECT_EQ(s.ExcessCount, 0);
    EXPECT_TRUE(s.ExcessText.empty());
}

TEST(DoubledWords, ADoubledWordIsAnErrorAndABracketedExcessWord) {
    MarkingState s;
    runPasses(s, u"I like the big red car very much.", u"I like the big big red car very much.");
    EXPECT_EQ(errorWords(s), std::vector<std::u16string>{u"big "});
    EXPECT_EQ(s.DoubledCount, 1);
    EXPECT_EQ(excess(s), std::vector<std::u16string>{u"(big )"});
    EXPECT_EQ(s.ExcessText, u"big ") << "the excess text keeps the entry without brackets";
    EXPECT_EQ(s.ExcessAlsoErrors, 1);
}

TEST(DoubledWords, APairTheSourceHoldsIsNoError) {
    MarkingState s;
    runPasses(s, u"he said that that was it", u"he said that that was it");
    EXPECT_EQ(s.ErrorCount, 0);
    EXPECT_EQ(s.DoubledCount, 0);
}

TEST(ExcessWords, AWordThatIsAlwaysAnErrorIsNeverExcess) {
    MarkingState s;
    runPasses(s, u"one two three four five six", u"one twoo three twoo four five six");
    EXPECT_EQ(errorWords(s), (std::vector<std::u16string>{u"twoo ", u"twoo "}));
    EXPECT_EQ(s.ExcessCount, 0);
}

TEST(ExcessWords, SecondHalvesOfJoinedWordsAreBlanked) {
    MarkingState s;
    runPasses(s, u"We did something good today", u"We did some thing good today");
    EXPECT_TRUE(s.TypedWords(4).empty());
    EXPECT_EQ(s.ExcessCount, 0);
}

} // namespace
} // namespace keystride::marking::testing
