// One marking run as one JSON object on one line, for teachers' scripts and for checking the
// marks against other tools.
#pragma once

#include "marking/marking_run.h"

#include <string>

namespace keystride {

// Keys in this order, a value the run never reached as null: completed, messages, source_end,
// end_found, stroke_count, source_words, typed_words, errors, repeats, excess_words, excess_text,
// error_count, wpm, report, typed_text, marked_file, result_line, runs, test, words_typed,
// layout_faults (line_feeds, full_stops, commas, marks, courier, line_spacing: true for a fault
// that costs a word), error_notes (per entry of errors: the join and the two-word form it found,
// whether the doubled-word pass recorded it).
std::string runRecordJson(const marking::RunRecord& run);

} // namespace keystride
