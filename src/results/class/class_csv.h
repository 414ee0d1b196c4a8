// A class's marks as a spreadsheet: one row per test, with the values keystride-mark's JSON
// gives for it.
#pragma once

#include "class_marking.h"

#include "platform/files/file_system.h"

#include <string>
#include <vector>

namespace keystride::classmarking {

// RFC 4180, UTF-8, CR LF line ends, a header row, then one row per test in order:
//   test          the speed test's name as the window showed it ("test")
//   completed     the run reached its report ("completed")
//   strokes       "stroke_count"
//   errors        "error_count": the words with errors after scoring
//   wpm           "wpm"
//   words         "words_typed"
//   excess_words  how many entries "excess_words" has
//   excess_text   "excess_text"
//   line_feeds, full_stops, commas, marks, courier, line_spacing
//                 each layout fault of "layout_faults": true when it cost a word
//   end_found     "end_found"
//   marked_file   "marked_file"
//   message       every message of the run (or why the test could not be opened) as
//                 "title: text", one per line
// A value the run never reached is an empty field; numbers are written as the JSON writes them.
std::string classCsv(const std::vector<MarkedTest>& tests);

// Writes the CSV to `path` as a whole: a failed write leaves no part of it behind.
FileResult writeClassCsv(FileSystem& files, const std::string& path,
                         const std::vector<MarkedTest>& tests);

} // namespace keystride::classmarking
