#include "marking/end_detection.h"
#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

// A source text without repeated 12-character pieces.
std::u16string numberedSource(int words) {
    std::u16string text;
    for (int i = 0; i < words; ++i)
        text += u"word" + fromUtf8(std::to_string(1000 + i)) + u" ";
    return text;
}

struct Detected {
    DetectionOutcome outcome;
    int sourceEnd;
};

Detected detect(std::u16string_view typed, std::u16string_view source, bool cutOff = false,
                std::int16_t givenEnd = 0) {
    MarkingState s;
    std::int16_t end = givenEnd;
    bool given = cutOff;
    DetectionOutcome outcome = DetectSourceEnd(s, {typed, source}, given, end);
    EXPECT_FALSE(given) << "a given cut-off is used once";
    return {outcome, end};
}

TEST(DetectSourceEnd, FindsTheLastFortyCharactersVerbatim) {
    const std::u16string source = numberedSource(40);
    const std::u16string typed = source.substr(0, 120);
    const Detected d = detect(typed, source);
    EXPECT_EQ(d.outcome, DetectionOutcome::Found);
    EXPECT_EQ(d.sourceEnd, 120 - 40 + 1 + 41) << "position of the piece + 41";

    const Detected whole = detect(source, source);
    EXPECT_EQ(whole.sourceEnd, static_cast<int>(source.size())) << "never beyond the source";
}

TEST(DetectSourceEnd, UsesTheLastOccurrence) {
    const std::u16string part = numberedSource(12);
    const std::u16string source = part + u"something else entirely here " + part + u"tail";
    const Detected d = detect(part, source);
    const int later = static_cast<int>(source.rfind(part.substr(part.size() - 40))) + 1;
    EXPECT_EQ(d.sourceEnd, later + 41);
}

TEST(DetectSourceEnd, ShorterPiecesSkipATypingErrorAtTheEnd) {
    const std::u16string source = numberedSource(40);
    std::u16string typed = source.substr(0, 200);
    typed[typed.size() - 3] = u'#'; // inside the last 16 characters
    const Detected d = detect(typed, source);
    EXPECT_EQ(d.outcome, DetectionOutcome::Found);
    EXPECT_EQ(d.sourceEnd, 200 - 40 + 41) << "the 36 characters from L - 40";
}

TEST(DetectSourceEnd, TypedTestsShorterThanFiftyAreRefused) {
    const std::u16string source = numberedSource(40);
    EXPECT_EQ(detect(source.substr(0, 49), source).outcome, DetectionOutcome::TypedTooShort);
    EXPECT_EQ(detect(source.substr(0, 50), source).outcome, DetectionOutcome::Found);
    const Detected given = detect(u"short", source, true, 1234);
    EXPECT_EQ(given.outcome, DetectionOutcome::Found) << "a clicked end skips the length check";
    EXPECT_EQ(given.sourceEnd, 1234);
}

TEST(FindFragmentPair, PiecesMustLieLessThan75Apart) {
    const std::u16string a = u"AAAAAAAAAAAA";
    const std::u16string b = u"BBBBBBBBBBBB";
    auto sourceWithGap = [&](int gap) {
        return b + std::u16string(static_cast<std::size_t>(gap - 12), u'x') + a +
               u" and then some more\r\nwords";
    };
    for (const auto& [gap, found] : std::vector<std::pair<int, bool>>{{74, true}, {75, false}, {76, false}}) {
        MarkingState s;
        std::int16_t end = 0;
        const std::u16string source = sourceWithGap(gap);
        FindFragmentPair(s, source, a, b, 3, end);
        EXPECT_EQ(s.EndFound, found) << "gap " << gap;
        if (found)
            EXPECT_EQ(end, gap + 27) << "moved from pa + k + 21 to the next space before a CR";
    }
}

TEST(DetectSourceEnd, AskForACutOffWhenNothingFits) {
    const std::u16string source = numberedSource(40);
    EXPECT_EQ(detect(std::u16string(60, u'q'), source).outcome, DetectionOutcome::NotFound);
}

} // namespace
} // namespace keystride::marking::testing
