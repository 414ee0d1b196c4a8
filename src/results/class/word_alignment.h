// The compared part of the source beside the typed words, for showing a learner where each mark
// lies. The alignment only places words side by side (a longest common subsequence of the
// words' bare forms); which words are marks, and why, comes from the run's record.
#pragma once

#include "mark_reasons.h"

#include "marking/marking_run.h"

#include <string>
#include <vector>

namespace keystride::classmarking {

struct AlignedRow {
    std::u16string source; // a word of the compared part, without its delimiter; "" for none
    std::u16string typed;  // what the learner typed there (a joined pair as typed); "" for none
    std::vector<Reason> reasons; // empty when nothing was marked here
    // For a join: the form the source holds ("something" for "some thing").
    std::u16string joinedPair;
    bool lineEnd = false;       // the typed word ends its line
    bool sourceLineEnd = false; // the source word ends its line
};

std::vector<AlignedRow> alignWords(const marking::RunRecord& run);

} // namespace keystride::classmarking
