#include "marking/word_comparison.h"
#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

struct Compared {
    std::vector<std::u16string> errors;
    std::vector<int> classes;
    std::vector<int> starts;
    std::vector<std::u16string> repeats;
};

Compared compare(std::u16string_view source, std::u16string_view typed, MarkingState& s) {
    prepareWords(s, source, typed);
    const IndexedText indexed(source);
    CompareWords(s, {indexed, static_cast<std::int16_t>(source.size())});
    Compared out;
    for (int k = 1; k <= s.ErrorCount; ++k) {
        out.errors.push_back(s.ErrorWords(k));
        out.classes.push_back(s.ErrorClass(k));
        out.starts.push_back(s.ErrorStart(k));
    }
    for (int m = 1; m <= s.RepeatCount; ++m)
        out.repeats.push_back(s.RepeatWords(m));
    return out;
}

TEST(CompareWords, AcceptsSourceWordsAndWordsBeforeASentenceMark) {
    MarkingState s;
    EXPECT_TRUE(compare(u"I see a house. It is red", u"I see a house It is red", s).errors.empty());
    EXPECT_TRUE(compare(u"Is it you? Yes it is", u"Is it you Yes it is", s).errors.empty())
        << "no leading space is asked for before ? and !";
    EXPECT_TRUE(compare(u"the end.\r\nNext line", u"the end\r\nNext line", s).errors.empty())
        << "a word at a line end whose source form ends with a full stop";
}

TEST(CompareWords, CapitalsMatter) {
    MarkingState s;
    const Compared c = compare(u"The cat sat on a mat", u"the cat sat on a mat", s);
    EXPECT_EQ(c.errors, std::vector<std::u16string>{u"the "});
    EXPECT_EQ(c.classes, std::vector<int>{WrongWord});
    EXPECT_EQ(c.starts, std::vector<int>{0}) << "the first word's start is recorded as 0";
}

TEST(CompareWords, JoinsAWordSplitInTwo) {
    MarkingState s;
    Compared c = compare(u"We did something good today", u"We did some thing good today", s);
    EXPECT_EQ(c.errors, std::vector<std::u16string>{u"some thing"});
    EXPECT_EQ(c.classes, std::vector<int>{JoinedWord});
    EXPECT_EQ(s.JoinedSeconds, u"thing /");

    c = compare(u"some people did something good", u"some people did some thing good", s);
    EXPECT_EQ(c.errors, std::vector<std::u16string>{u"thing "})
        << "when the first half is a source word of its own only the second half is wrong";

    c = compare(u"It is a well-known fact", u"It is a well known fact", s);
    EXPECT_EQ(c.errors, std::vector<std::u16string>{u"well known"});
    EXPECT_EQ(c.classes, std::vector<int>{JoinedWord});

    c = compare(u"It is a well-known fact", u"It is a wellknown fact", s);
    EXPECT_EQ(c.errors, std::vector<std::u16string>{u"wellknown "});
    EXPECT_EQ(c.classes, std::vector<int>{WrongWord});
}

TEST(CompareWords, ClassifiesWordsRunTogetherAndMisplacedMarks) {
    MarkingState s;
    Compared c = compare(u"say one two three", u"say onetwo three", s);
    EXPECT_EQ(c.classes, std::vector<int>{WordsRunTogether});

    c = compare(u"the end. Next one", u"the end.Next one", s);
    EXPECT_EQ(c.errors, std::vector<std::u16string>{u"end.Next "});
    EXPECT_EQ(c.classes, std::vector<int>{FullStopFault}) << "run together, then the full stop wins";

    c = compare(u"red, blue and green", u"red,blue and green", s);
    EXPECT_EQ(c.classes, std::vector<int>{CommaFault});
}

TEST(CompareWords, RepeatedFaultsCountOnceButWrongWordsEveryTime) {
    MarkingState s;
    Compared c = compare(u"the cat and the dog ran", u"teh cat and teh dog ran", s);
    EXPECT_EQ(c.errors, (std::vector<std::u16string>{u"teh ", u"teh "}));
    EXPECT_TRUE(c.repeats.empty());

    c = compare(u"Yes, no. Yes, no. The end of it all.", u"Yes,no. Yes,no. The end of it all.", s);
    EXPECT_EQ(c.errors, std::vector<std::u16string>{u"Yes,no. "});
    EXPECT_EQ(c.classes, std::vector<int>{CommaFault});
    EXPECT_EQ(c.repeats, std::vector<std::u16string>{u"Yes,no. "});
    EXPECT_EQ(s.RepeatStart(1), 9);
}

TEST(RecordError, LineEndsAfterMarksAreNoErrors) {
    struct Case {
        std::u16string word;
        bool error;
    };
    const std::vector<Case> cases = {
        {u"\r", false}, {u"!\r", false}, {u".\r", false}, {u"\n", false},
        {u"a\r", true}, {u"7\r", true},  {u"_\r", true},  {u"ab\r", true},
    };
    for (const Case& c : cases) {
        MarkingState s;
        prepareWords(s, u"zzz", u"x");
        s.TypedWords(1) = c.word;
        s.TypedWordCount = 1;
        RecordError(s, IndexedText(u"zzz"), 1);
        EXPECT_EQ(s.ErrorCount, c.error ? 1 : 0) << toUtf8(c.word);
    }
}

TEST(CompareWords, LastWordIsJudgedAgainstTheEndOfTheComparedPart) {
    const std::u16string text = u"alpha beta gamma delta epsilon zeta eta theta iota kappa lambda mu";
    const IndexedText source(text);
    MarkingState s;
    prepareWords(s, text, u"alpha beta gamma alpha");
    CompareWords(s, {source, static_cast<std::int16_t>(text.size())});
    EXPECT_EQ(errorWords(s), std::vector<std::u16string>{u"alpha "})
        << "alpha lies outside the 40 characters before the end; the join attempt then finds "
           "it (with the empty word after it) elsewhere in the source";

    prepareWords(s, text, u"alpha beta gamma lambd");
    CompareWords(s, {source, static_cast<std::int16_t>(text.size())});
    EXPECT_TRUE(errorWords(s).empty()) << "a cut-short last word found near the end is accepted";

    prepareWords(s, text, u"alpha beta gamma zeta");
    CompareWords(s, {source, 30});
    EXPECT_TRUE(errorWords(s).empty()) << "a short compared part: the window starts at 1";
}

} // namespace
} // namespace keystride::marking::testing
