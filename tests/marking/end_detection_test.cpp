#include "marking/end_detection.h"
#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

// A source text without repeated 12-character pieces: "word1000 word1001 ...".
std::u16string numberedSource(int words) {
    std::u16string text;
    for (int i = 0; i < words; ++i)
        text += u"word" + fromUtf8(std::to_string(1000 + i)) + u" ";
    return text;
}

TEST(DetectSourceEnd, FindsWhereTheCopiedPartOfTheSourceEnds) {
    const std::u16string source = numberedSource(40); // 360 characters
    const std::u16string part = numberedSource(12);   // 108 characters
    std::u16string typo = source.substr(0, 200);
    typo[197] = u'#'; // inside the last 16 characters
    struct Row {
        const char* name;
        std::u16string typed, source;
        std::int16_t clicked; // the end a cut-off click gave, 0 for none
        DetectionOutcome outcome;
        int sourceEnd;
    };
    using enum DetectionOutcome;
    const Row rows[] = {
        {"last 40 verbatim: their position + 41", source.substr(0, 120), source, 0, Found, 122},
        {"never beyond the source", source, source, 0, Found, 360},
        {"the last occurrence wins", part, part + u"something else entirely here " + part + u"tail",
         0, Found, 206 + 41},
        {"36 characters from L - 40 skip a typo at the end", typo, source, 0, Found, 201},
        {"50 characters pass the length check", source.substr(0, 50), source, 0, Found, 52},
        {"49 are refused", source.substr(0, 49), source, 0, TypedTooShort, 0},
        {"a clicked end skips the length check", u"short", source, 1234, Found, 1234},
        {"nothing fits: ask for a cut-off", std::u16string(60, u'q'), source, 0, NotFound, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        MarkingState s;
        std::int16_t end = row.clicked;
        bool given = row.clicked != 0;
        EXPECT_EQ(DetectSourceEnd(s, {row.typed, row.source}, given, end), row.outcome);
        EXPECT_EQ(end, row.sourceEnd);
        EXPECT_FALSE(given) << "a given cut-off is used once";
    }
}

TEST(FindFragmentPair, PiecesMustLieLessThan75Apart) {
    const std::u16string a = u"AAAAAAAAAAAA", b = u"BBBBBBBBBBBB";
    const std::pair<int, bool> gaps[] = {{74, true}, {75, false}, {76, false}};
    for (const auto& [gap, found] : gaps) {
        SCOPED_TRACE(gap);
        const std::u16string source =
            b + std::u16string(std::size_t(gap - 12), u'x') + a + u" and then some more\r\nwords";
        MarkingState s;
        std::int16_t end = 0;
        FindFragmentPair(s, source, a, b, 3, end);
        EXPECT_EQ(s.EndFound, found);
        EXPECT_EQ(end, found ? gap + 27 : 0) << "pa + k + 21, moved on to the next space";
    }
}

} // namespace
} // namespace keystride::marking::testing
