// Scoring (the final number of words with errors and the words per minute, in the stages the
// report shows) and the report appended to the typed test.
#pragma once

#include "marking/marking_state.h"
#include "marking/text_search.h"
#include "settings/settings_store.h"

#include <string>

namespace keystride::marking {

// Numbers as the report and the results file write them: a leading space for zero and positive
// values, "-" for negative ones, "." as decimal point, no zero before the point.
std::string signedForm(long long value);
std::string plainForm(long long value);
// A value given in tenths (479 is 47.9).
std::string signedFormTenths(long long tenths);

struct Score {
    int grossWords = 0;
};

// Adds the layout faults and the excess words to ErrorCount and computes the speed.
Score ScoreTest(MarkingState& state, const SettingsStore& settings);

// Builds ReportText (and FaultText) and applies the display switches to the speed.
void BuildReport(MarkingState& state, const Score& score, const SettingsStore& settings);

// The report lines of the layout faults, in scoring order, for the faults that hold.
std::vector<Text> faultLines(const MarkingState& state);

} // namespace keystride::marking
