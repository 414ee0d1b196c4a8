#include "marking/word_comparison.h"
#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

using Entry = std::tuple<std::u16string, int, int>; // word, class (for repeats: 0), start

TEST(CompareWords, FindsTheErrorsTheirClassesAndTheRepeats) {
    struct Row {
        std::u16string source, typed;
        std::vector<Entry> errors, repeats = {};
        int sourceEnd = 0; // 0: the whole source
    };
    const std::u16string greek = u"alpha beta gamma delta epsilon zeta eta theta iota kappa mu";
    const Row rows[] = {
        // A word before a full stop, or before "?" and "!" (no blank asked for there).
        {u"I see a house. It is red", u"I see a house It is red", {}},
        {u"Is it you? Yes it is", u"Is it you Yes it is", {}},
        // A line end where the source has a full stop.
        {u"the end.\r\nNext line", u"the end\r\nNext line", {}},
        // Capitals matter; the first word's start is recorded as 0.
        {u"The cat sat on a mat", u"the cat sat on a mat", {{u"the ", WrongWord, 0}}},
        // A word split in two; when the first half is a source word only the second is wrong.
        {u"We did something good", u"We did some thing good", {{u"some thing", JoinedWord, 8}}},
        {u"some did something good", u"some did some thing good", {{u"thing ", 0, 15}}},
        // A hyphen left out is a join; one typed word is not.
        {u"a well-known fact", u"a well known fact", {{u"well known", JoinedWord, 3}}},
        {u"a well-known fact", u"a wellknown fact", {{u"wellknown ", WrongWord, 3}}},
        // Two source words run together; then a full stop or a comma inside wins.
        {u"say one two three", u"say onetwo three", {{u"onetwo ", WordsRunTogether, 5}}},
        {u"the end. Next one", u"the end.Next one", {{u"end.Next ", FullStopFault, 5}}},
        {u"red, blue and green", u"red,blue and green", {{u"red,blue ", CommaFault, 0}}},
        // A wrong word counts every time; a repeated fault of a class counts once.
        {u"the cat and the dog", u"teh cat and teh dog", {{u"teh ", 0, 0}, {u"teh ", 0, 13}}},
        {u"Yes, no. Yes, no. The end of it all.",
         u"Yes,no. Yes,no. The end of it all.",
         {{u"Yes,no. ", CommaFault, 0}},
         {{u"Yes,no. ", 0, 9}}},
        // The last word is judged against the 40 characters before the end of the compared
        // part: outside them (the join then finds it with the empty word after it), a cut-short
        // word inside them, and a compared part so short that the window starts at 1.
        {greek, u"alpha beta gamma alpha", {{u"alpha ", JoinedWord, 18}}},
        {greek, u"alpha beta gamma kapp", {}},
        {greek, u"alpha beta gamma zeta", {}, {}, 30},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(toUtf8(row.typed));
        MarkingState s;
        prepareWords(s, row.source, row.typed);
        const int end = row.sourceEnd ? row.sourceEnd : static_cast<int>(row.source.size());
        CompareWords(s, {IndexedText(row.source), static_cast<std::int16_t>(end)});
        std::vector<Entry> errors, repeats;
        for (int k = 1; k <= s.ErrorCount; ++k)
            errors.push_back({s.ErrorWords(k), s.ErrorClass(k), s.ErrorStart(k)});
        for (int m = 1; m <= s.RepeatCount; ++m)
            repeats.push_back({s.RepeatWords(m), 0, s.RepeatStart(m)});
        EXPECT_EQ(errors, row.errors);
        EXPECT_EQ(repeats, row.repeats);
    }
}

TEST(RecordError, ALineEndAfterAMarkIsNoError) {
    const std::pair<std::u16string, bool> rows[] = {
        {u"\r", false}, {u"!\r", false}, {u".\r", false}, {u"\n", false},
        {u"a\r", true}, {u"7\r", true},  {u"_\r", true},  {u"ab\r", true},
    };
    for (const auto& [word, isError] : rows) {
        MarkingState s;
        prepareWords(s, u"zzz", u"x");
        s.TypedWords(1) = word;
        RecordError(s, IndexedText(u"zzz"), 1);
        EXPECT_EQ(s.ErrorCount, isError ? 1 : 0) << toUtf8(word);
    }
}

} // namespace
} // namespace keystride::marking::testing
