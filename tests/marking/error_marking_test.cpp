#include "marking/error_marking.h"
#include "marking_fixture.h"

namespace keystride::marking::testing {
namespace {

using Entries = std::vector<std::pair<std::u16string, int>>; // word, 1-based start

TEST(MarkErrors, EveryEntryIsMarkedOnItsOwnCharacters) {
    struct Row {
        bool fontMarking;
        std::u16string text;
        Entries errors, repeats;
        std::u16string marked; // the text afterwards
        std::string marks;     // see markOf()
    };
    const Row rows[] = {
        // A first word (its start recorded as 0) without its space, and a repeat.
        Row{true, u"abc def", {{u"abc ", 0}}, {{u"def", 5}}, u"abc def", "1m2.ddd"},
        // A one-letter word is framed with its space.
        Row{true, u"xx a yy", {{u"a ", 4}}, {}, u"xx a yy", "...33.."},
        // Space faults become underscores of the same length: later marks land where they were.
        Row{true, u"one  two. Three. Four",
            {{DoubleSpaceMarker, 4}, {SingleSpaceMarker, 10}, {u"Four", 18}}, {},
            u"one _two._Three. Four", "...33....3.......1mm2"},
        // Colour marking highlights the spaces themselves and leaves the fonts alone.
        Row{false, u"one  two three", {{DoubleSpaceMarker, 4}, {u"three", 10}}, {{u"two ", 6}},
            u"one  two three", "...WWrrr.WWWWW"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(toUtf8(row.text));
        MemoryPane typed;
        typed.setText(row.text);
        MarkingState s;
        for (const auto& [word, start] : row.errors) {
            s.ErrorWords(++s.ErrorCount) = word;
            s.ErrorStart(s.ErrorCount) = static_cast<std::int16_t>(start);
        }
        for (const auto& [word, start] : row.repeats) {
            s.RepeatWords(++s.RepeatCount) = word;
            s.RepeatStart(s.RepeatCount) = static_cast<std::int16_t>(start);
        }
        MarkErrors(s, typed, row.fontMarking);
        EXPECT_EQ(typed.text(), row.marked);
        EXPECT_EQ(marksOf(typed.formatSpans(), typed.textLength()), row.marks);
    }
}

} // namespace
} // namespace keystride::marking::testing
