// Why each mark was given, in plain words, read from the marking run's own error classes, joins
// and lists, so that an explanation can never disagree with a mark.
#pragma once

#include "marking/marking_run.h"

#include <optional>
#include <string>
#include <vector>

namespace keystride::classmarking {

// The entries of one of the run's lists; none when the run did not reach it.
template <typename T> const std::vector<T>& entries(const std::optional<std::vector<T>>& list) {
    static const std::vector<T> none;
    return list ? *list : none;
}

enum class Reason {
    WrongWord,
    SplitWord,
    WordsJoined,
    MissingHyphen,
    MissingApostrophe,
    DetachedFullStop,
    DetachedComma,
    FullStopInside,
    CommaInside,
    MarkInside,
    DoubledWord,
    RepeatedError,
    ExcessWord,
    SpaceTooMany,
    MissingSecondSpace,
    LayoutFault,
};

// The reason of an entry of the error list.
Reason reasonOf(const marking::RunRecord::Error& error);
// "a wrong word", "a word split in two", ...
const char* reasonText(Reason reason);

// Every kind of mark of one run with how often it was given, in the order of the Reason list:
// the error entries, the repeats, the excess words and the layout faults (each fault one).
struct ReasonCount {
    Reason reason;
    int count = 0;
};
std::vector<ReasonCount> reasonCounts(const marking::RunRecord& run);

// A layout fault that cost a word: its report line and what was counted.
struct LayoutFaultNote {
    std::u16string line; // as the report has it: "Missing comma(s)"
    std::string counted; // "the test has 10, the source 12 up to the end of the compared part"
};
std::vector<LayoutFaultNote> layoutFaultNotes(const marking::RunRecord& run);

} // namespace keystride::classmarking
