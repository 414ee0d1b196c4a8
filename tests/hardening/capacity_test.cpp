// Texts at exactly the capacity of each of the marking engine's tables, and one beyond: at the
// capacity the run completes; one beyond it ends with "Document too large..." and writes
// nothing.
#include "support/marking_world.h"

#include <gtest/gtest.h>

#include <functional>

namespace keystride::testing {
namespace {

// The k-th of a series of distinct words of `letters` lowercase letters.
std::u16string word(int k, int letters) {
    std::u16string out(static_cast<std::size_t>(letters), u'a');
    for (int i = letters - 1; i >= 0 && k > 0; --i, k /= 26)
        out[static_cast<std::size_t>(i)] = static_cast<char16_t>(u'a' + k % 26);
    return out;
}

// A copy of `count` pieces, piece k being `piece(k)`, joined by `separator`. What the learner was
// to copy is exactly the typed text: against a longer source the compared part runs two
// characters past the typed text's last one, so it would hold a word more than the typed text
// and fill its table first.
struct Texts {
    std::u16string source;
    std::u16string typed;
};
Texts copy(int count, const std::function<std::u16string(int)>& piece,
           std::u16string_view separator = u" ") {
    std::u16string typed = piece(0);
    for (int k = 1; k < count; ++k)
        typed += std::u16string(separator) + piece(k);
    return {typed, typed};
}

// Exactly `n` characters of distinct nine-letter words.
Texts characters(int n) {
    std::u16string typed = copy(n / 10 + 1, [](int k) { return word(k, 9); }).typed;
    typed.resize(static_cast<std::size_t>(n - 1));
    typed += u'x';
    return {typed, typed};
}

// `n` words of four letters; every word occurs twice, far apart, so the excess-word candidates
// stay well below their own capacity.
Texts words(int n) {
    return copy(n, [half = (n + 1) / 2](int k) { return word(k % half, 4); });
}

// A line-break counter counts the line breaks of a text plus one: `n` - 1 line breaks.
Texts lineBreakCounter(int n) {
    return copy(
        n, [](int k) { return word(2 * k, 5) + u" " + word(2 * k + 1, 5); }, u"\r\n");
}

// `n` distinct words, each a candidate for an excess word. The first word, with a full stop,
// closes the text again: the last word of a copy that ends exactly where its source ends is
// counted as an error (and so is no candidate), and a word whose bare form is a candidate
// already changes nothing.
Texts excessCandidates(int n) {
    return copy(n + 1, [n](int k) { return k < n ? word(k, 4) : word(0, 4) + u"."; });
}

// A copy of 700 distinct words in which the first `n` even-numbered words were typed twice.
Texts doubledWords(int n) {
    const std::u16string source = copy(700, [](int k) { return word(k, 4); }).typed;
    const Texts typed = copy(700, [n](int k) {
        return k % 2 == 0 && k / 2 < n ? word(k, 4) + u" " + word(k, 4) : word(k, 4);
    });
    return {source + u" and more", typed.typed};
}

struct Capacity {
    const char* name;
    int capacity;
    std::function<Texts(int)> make;
};

// Whether the run completed, the titles and texts of its messages, and the files it left in the
// world's folder.
std::tuple<bool, std::vector<Message>, std::vector<std::string>> mark(const Texts& texts) {
    MarkingWorld world;
    world.setTexts(texts.source, texts.typed);
    const bool completed = world.run().completed;
    EXPECT_FALSE(world.host.busy);
    return {completed, world.host.messages, world.folder.listing()};
}

class TableCapacity : public ::testing::TestWithParam<Capacity> {};

TEST_P(TableCapacity, AtTheCapacityTheRunCompletesOneBeyondItEndsAndWritesNothing) {
    const Capacity& c = GetParam();
    const auto [completed, messages, files] = mark(c.make(c.capacity));
    EXPECT_TRUE(completed) << (messages.empty() ? "" : messages[0].second);
    EXPECT_TRUE(messages.empty() || messages[0].first == "Attention");
    EXPECT_EQ(files, (std::vector<std::string>{"Resultaat.res", "Toets1.rug"}));
    EXPECT_EQ(mark(c.make(c.capacity + 1)),
              std::tuple(false, std::vector<Message>{{"Error", "Document too large..."}},
                         std::vector<std::string>{}));
}

INSTANTIATE_TEST_SUITE_P(EveryTable, TableCapacity,
                         ::testing::Values(Capacity{"Characters", 8000, characters},
                                           Capacity{"Words", 1500, words},
                                           Capacity{"LineBreakCounter", 255, lineBreakCounter},
                                           Capacity{"ExcessCandidates", 1000, excessCandidates},
                                           Capacity{"DoubledWords", 255, doubledWords}),
                         [](const ::testing::TestParamInfo<Capacity>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace keystride::testing
