// Texts at exactly the capacity of each of the marking engine's tables, and one beyond: at the
// capacity the run completes; one beyond it ends with "Document too large..." and writes
// nothing.
#include "hardening_fixture.h"

#include <functional>

namespace keystride::hardening {
namespace {

// The k-th of a series of distinct words of `letters` lowercase letters.
std::u16string word(int k, int letters) {
    std::u16string out(static_cast<std::size_t>(letters), u'a');
    for (int i = letters - 1; i >= 0 && k > 0; --i, k /= 26)
        out[static_cast<std::size_t>(i)] = static_cast<char16_t>(u'a' + k % 26);
    return out;
}

std::u16string join(const std::vector<std::u16string>& words, std::u16string_view separator) {
    std::u16string out;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (i > 0)
            out += separator;
        out += words[i];
    }
    return out;
}

// What the learner was to copy: exactly the typed text. (Against a longer source the compared
// part runs two characters past the typed text's last one, so it would hold a word more than the
// typed text and fill its table first.)
std::u16string sourceFor(const std::u16string& typed) {
    return typed;
}

struct Texts {
    std::u16string source;
    std::u16string typed;
};

// A typed text of exactly `n` characters, all distinct nine-letter words.
Texts characters(int n) {
    std::u16string typed;
    for (int k = 0; static_cast<int>(typed.size()) < n; ++k)
        typed += word(k, 9) + u" ";
    typed.resize(static_cast<std::size_t>(n));
    if (typed.back() == u' ')
        typed.back() = u'x';
    return {sourceFor(typed), typed};
}

// `n` words of four letters; every word occurs twice, far apart, so the excess-word candidates
// stay well below their own capacity.
Texts words(int n) {
    std::vector<std::u16string> list;
    const int half = (n + 1) / 2;
    for (int k = 0; k < n; ++k)
        list.push_back(word(k % half, 4));
    const std::u16string typed = join(list, u" ");
    return {sourceFor(typed), typed};
}

// A line-break counter of `n`: it counts the line breaks of a text plus one, so `n` - 1 line
// breaks in the typed text (and as many in the copied part of the source).
Texts lineBreakCounter(int n) {
    std::vector<std::u16string> lines;
    for (int k = 0; k < n; ++k)
        lines.push_back(word(2 * k, 5) + u" " + word(2 * k + 1, 5));
    const std::u16string typed = join(lines, u"\r\n");
    return {sourceFor(typed), typed};
}

// `n` distinct words, each a candidate for an excess word. The first word, with a full stop,
// closes the text again: the last word of a copy that ends exactly where its source ends is
// counted as an error (and so is no candidate), and a word whose bare form is a candidate
// already changes nothing.
Texts excessCandidates(int n) {
    std::vector<std::u16string> list;
    for (int k = 0; k < n; ++k)
        list.push_back(word(k, 4));
    list.push_back(word(0, 4) + u".");
    const std::u16string typed = join(list, u" ");
    return {sourceFor(typed), typed};
}

// A copy of 700 distinct words in which the first `n` even-numbered words were typed twice.
Texts doubledWords(int n) {
    std::vector<std::u16string> source;
    std::vector<std::u16string> typed;
    for (int k = 0; k < 700; ++k) {
        source.push_back(word(k, 4));
        typed.push_back(word(k, 4));
        if (k % 2 == 0 && k / 2 < n)
            typed.push_back(word(k, 4));
    }
    return {join(source, u" ") + u" and more", join(typed, u" ")};
}

struct Capacity {
    const char* name;
    int capacity;
    std::function<Texts(int)> make;
};

class TableCapacity : public ::testing::TestWithParam<Capacity> {
protected:
    struct Outcome {
        bool completed = false;
        std::vector<Message> messages;
        std::vector<std::string> files;
    };

    Outcome mark(const Texts& texts) {
        TempFolder temp;
        MarkingWorld world(temp.file("Resultaat.res"));
        world.source.setText(texts.source);
        world.typed.setText(texts.typed);
        world.host.label3 = temp.file("Toets1.rtf");
        Outcome outcome;
        outcome.completed = world.run().completed;
        outcome.messages = world.host.messages;
        outcome.files = temp.listing();
        EXPECT_FALSE(world.host.busy);
        return outcome;
    }
};

TEST_P(TableCapacity, AtTheCapacityTheRunCompletesOneBeyondItEndsAndWritesNothing) {
    const Capacity& c = GetParam();
    const Outcome at = mark(c.make(c.capacity));
    EXPECT_TRUE(at.completed) << (at.messages.empty() ? "" : at.messages[0].second);
    EXPECT_TRUE(at.messages.empty() || at.messages[0].first == "Attention");
    EXPECT_EQ(at.files, (std::vector<std::string>{"Resultaat.res", "Toets1.rug"}));

    const Outcome beyond = mark(c.make(c.capacity + 1));
    EXPECT_FALSE(beyond.completed);
    EXPECT_EQ(beyond.messages, std::vector<Message>{TooLarge});
    EXPECT_TRUE(beyond.files.empty());
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

// The text builders themselves: a wrong count here would make the capacities above meaningless.
TEST(CapacityTexts, HaveExactlyTheirSize) {
    EXPECT_EQ(characters(8000).typed.size(), 8000u);
    EXPECT_EQ(characters(8001).typed.size(), 8001u);
    const std::u16string w = words(1500).typed;
    EXPECT_EQ(std::count(w.begin(), w.end(), u' '), 1499);
    const std::u16string l = lineBreakCounter(255).typed;
    EXPECT_EQ(std::count(l.begin(), l.end(), u'\r'), 254);
    EXPECT_EQ(std::count(l.begin(), l.end(), u'\n'), 254);
    const std::u16string d = doubledWords(255).typed;
    EXPECT_EQ(std::count(d.begin(), d.end(), u' '), 700 + 255 - 1);
    EXPECT_NE(word(0, 4), word(675, 4));
    EXPECT_NE(word(25, 4), word(26, 4));
}

} // namespace
} // namespace keystride::hardening
