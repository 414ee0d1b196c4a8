// Finding where the copied part of the source ends: pieces of the end of the typed test are
// searched in the source, long ones first, then pairs of short pieces near each other.
#pragma once

#include "marking/marking_state.h"
#include "marking/text_search.h"

#include <cstdint>

namespace keystride::marking {

enum class DetectionOutcome {
    Found,          // EndFound, SourceEnd set
    TypedTooShort,  // "Speed test missing, or should be at least 50 characters..."
    NotFound,       // "Unable to compare": the user is to click the end
};

struct DetectionInput {
    TextView typedText;  // the typed pane's whole plain text
    TextView sourceText; // the source pane's whole plain text
};

// Sets EndFound and `sourceEnd`; honours and clears `cutOffGiven`.
DetectionOutcome DetectSourceEnd(MarkingState& state, const DetectionInput& input,
                                 bool& cutOffGiven, std::int16_t& sourceEnd);

// Single-piece search for state.EndFragment.
void FindEndFragment(MarkingState& state, TextView sourceText, std::int16_t& sourceEnd);
// Pair search for two 12-character pieces.
void FindFragmentPair(MarkingState& state, TextView sourceText, TextView a, TextView b, int k,
                      std::int16_t& sourceEnd);

} // namespace keystride::marking
