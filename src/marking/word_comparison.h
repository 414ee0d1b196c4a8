// The word-by-word comparison: every typed word not found in the source becomes an entry of
// the error list with its position and class; split words, words run together and detached full
// stops count once although they touch two typed words; the same fault typed again is a repeat.
#pragma once

#include "marking/marking_state.h"
#include "marking/text_search.h"

#include <cstdint>

namespace keystride::marking {

struct ComparisonInput {
    const IndexedText& sourceText; // the source pane's whole plain text
    std::int16_t sourceEnd; // end of the compared part
};

// The main pass over the typed words, then the last-word check.
void CompareWords(MarkingState& state, const ComparisonInput& input);

// Records typed word `index` as an error unless it is a bare line end; may join it with the
// next word and then advance state.CurrentIndex past that word.
void RecordError(MarkingState& state, const IndexedText& sourceText, int index);

} // namespace keystride::marking
