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

// The layout faults of the scoring, in the order the report lists them. Each fault that holds
// costs one word with errors and one report line.
struct LayoutFaults {
    bool lineFeeds = false;   // the numbers of line breaks differ
    bool fullStops = false;   // fewer "." than the source
    bool commas = false;      // fewer ","
    bool marks = false;       // fewer "!" and "?"
    bool courier = false;     // not all in Courier or Courier New
    bool lineSpacing = false; // not the line spacing the settings ask for
};
LayoutFaults layoutFaults(const MarkingState& state);

// The counts the first four faults compare.
struct LayoutCounts {
    int typedLineBreaks = 0, sourceLineBreaks = 0;
    int typedStops = 0, sourceStops = 0;
    int typedCommas = 0, sourceCommas = 0;
    int typedMarks = 0, sourceMarks = 0;
};
LayoutCounts layoutCounts(const MarkingState& state);

// The report lines of the layout faults, in scoring order, for the faults that hold.
std::vector<Text> faultLines(const LayoutFaults& faults);

} // namespace keystride::marking
