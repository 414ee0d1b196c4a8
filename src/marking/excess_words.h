// Excess words (correct words typed more often than the source holds them) and doubled words
// (a word typed twice in a row where the source has it once).
#pragma once

#include "marking/marking_state.h"
#include "marking/text_search.h"

namespace keystride::marking {

// The word without blanks and without its trailing sentence marks, line end and "%".
Text bareForm(TextView word);

struct ExcessInput {
    TextView typedText;  // the typed pane's whole plain text
    const IndexedText& sourceText; // the source pane's whole plain text
};

// Candidates, counting, doubled words and bracketing, in that order.
void FindExcessAndDoubledWords(MarkingState& state, const ExcessInput& input);

} // namespace keystride::marking
