// Shared set-up for the marking tests: the word tables filled as a run fills them, and the
// marking world of the test-support library.
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

inline std::vector<std::u16string> errorWords(const MarkingState& s) {
    std::vector<std::u16string> out;
    for (int k = 1; k <= s.ErrorCount; ++k)
        out.push_back(s.ErrorWords(k));
    return out;
}

using keystride::testing::MarkingWorld;
using keystride::testing::Message;
using keystride::testing::readFile;

} // namespace keystride::marking::testing
