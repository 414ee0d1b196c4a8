// Shared set-up for the marking tests: the word tables filled as a run fills them, the marks
// of a pane in one line, and the marking world of the test-support library.
#pragma once

#include "marking/marking_run.h"
#include "marking/text_preparation.h"
#include "platform/panes/memory_pane.h"
#include "support/marking_world.h"

#include <gtest/gtest.h>

namespace keystride::marking::testing {

// Splits `source` and `typed` into the word tables as a run does before the comparison.
inline void prepareWords(MarkingState& s, std::u16string_view source, std::u16string_view typed) {
    ClearWordTables(s);
    SplitWords(s, source);
    for (int k = 1; k <= s.WordCount; ++k)
        s.SourceWords(k) = s.WordBuffer(k);
    s.SourceWordCount = static_cast<std::int16_t>(s.WordCount);
    ClearWordTables(s);
    SplitWords(s, typed);
    for (int k = 1; k <= s.WordCount; ++k)
        s.TypedWords(k) = s.WordBuffer(k);
    s.TypedWordCount = s.WordCount;
}

// One character per character of the text, saying how it is marked:
//   .  untouched (the pane's base format)
//   1  first letter of an error: "Courier1", bold, red
//   m  letters after it: "Courierraam", bold, red, underlined
//   2  last letter: "Courier2", bold, red, underlined
//   3  a word of one or two characters or a space fault: "Courier3", red
//   d  a repeated error in font marking: "DoCourier", red, underlined
//   W  an error in colour marking: bold white on red, font unchanged
//   r  a repeated error in colour marking: red, underlined, font unchanged
//   R  the report: red "Courier" on white (bold as the text before it)
//   x  the report's excess-word list: white on red "Courier"
//   ?  anything else
inline char markOf(const CharFormat& f) {
    const bool red = f.colour == colours::red && !f.background;
    const bool markFont = red && f.bold;
    if (f == CharFormat{})
        return '.';
    if (f.font == "Courier1" && markFont && !f.underline)
        return '1';
    if (f.font == "Courierraam" && markFont && f.underline)
        return 'm';
    if (f.font == "Courier2" && markFont && f.underline)
        return '2';
    if (f.font == "Courier3" && red)
        return '3';
    if (f.font == "DoCourier" && red && f.underline)
        return 'd';
    const bool courierNew = f.font == CharFormat{}.font;
    if (courierNew && f.bold && f.colour == colours::white && f.background == colours::red)
        return 'W';
    if (courierNew && red && f.underline)
        return 'r';
    const bool report = f.font == "Courier" && !f.underline;
    if (report && f.colour == colours::red && f.background == colours::white)
        return 'R';
    return report && !f.bold && f.colour == colours::white && f.background == colours::red ? 'x'
                                                                                           : '?';
}

inline std::string marksOf(const std::vector<FormatSpan>& spans, int length) {
    std::string marks(static_cast<std::size_t>(length), '?');
    for (const FormatSpan& span : spans) {
        for (int i = span.start; i < span.start + span.length && i < length; ++i)
            marks[static_cast<std::size_t>(i)] = markOf(span.format);
    }
    return marks;
}

using keystride::testing::MarkingWorld;
using keystride::testing::Message;
using keystride::testing::readFile;

} // namespace keystride::marking::testing
