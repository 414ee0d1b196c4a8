#include "mark_reasons.h"

#include "marking/scoring_report.h"

#include <map>

namespace keystride::classmarking {

namespace {

using marking::JoinKind;
using marking::RunRecord;

Reason joinReason(const RunRecord::Error& error) {
    // A joined word that ends in a detached full stop or comma is classed by the mark.
    if (error.errorClass == marking::FullStopFault)
        return Reason::DetachedFullStop;
    if (error.errorClass == marking::CommaFault)
        return Reason::DetachedComma;
    switch (error.join) {
    case JoinKind::MissingHyphen:
        return Reason::MissingHyphen;
    case JoinKind::MissingApostrophe:
        return Reason::MissingApostrophe;
    case JoinKind::DetachedFullStop:
        return Reason::DetachedFullStop;
    case JoinKind::SplitWord:
    case JoinKind::None:
        break;
    }
    return Reason::SplitWord;
}

} // namespace

Reason reasonOf(const RunRecord::Error& error) {
    if (error.word == marking::DoubleSpaceMarker)
        return Reason::SpaceTooMany;
    if (error.word == marking::SingleSpaceMarker)
        return Reason::MissingSecondSpace;
    if (error.doubled)
        return Reason::DoubledWord;
    if (error.join != JoinKind::None)
        return joinReason(error);
    switch (error.errorClass) {
    case marking::FullStopFault:
        return Reason::FullStopInside;
    case marking::CommaFault:
        return Reason::CommaInside;
    case marking::MarkFault:
        return Reason::MarkInside;
    case marking::WordsRunTogether:
        return Reason::WordsJoined;
    default:
        return Reason::WrongWord;
    }
}

const char* reasonText(Reason reason) {
    switch (reason) {
    case Reason::WrongWord:
        return "a wrong word";
    case Reason::SplitWord:
        return "a word split in two";
    case Reason::WordsJoined:
        return "two words joined";
    case Reason::MissingHyphen:
        return "a missing hyphen";
    case Reason::MissingApostrophe:
        return "a missing apostrophe";
    case Reason::DetachedFullStop:
        return "a detached full stop";
    case Reason::DetachedComma:
        return "a detached comma";
    case Reason::FullStopInside:
        return "a full stop inside the word";
    case Reason::CommaInside:
        return "a comma inside the word";
    case Reason::MarkInside:
        return "a ? ! ; or : inside the word";
    case Reason::DoubledWord:
        return "a doubled word";
    case Reason::RepeatedError:
        return "a repeated error";
    case Reason::ExcessWord:
        return "an excess word";
    case Reason::SpaceTooMany:
        return "a space too many";
    case Reason::MissingSecondSpace:
        return "a missing second space after a sentence";
    case Reason::LayoutFault:
        return "a layout fault";
    }
    return "";
}

std::vector<ReasonCount> reasonCounts(const RunRecord& run) {
    std::map<Reason, int> counts;
    for (const RunRecord::Error& error : entries(run.errors))
        ++counts[reasonOf(error)];
    if (run.repeats && !run.repeats->empty())
        counts[Reason::RepeatedError] += static_cast<int>(run.repeats->size());
    // A bracketed excess entry is a doubled word, already counted as one.
    for (const std::u16string& entry : entries(run.excessWords)) {
        if (!entry.starts_with(u"("))
            ++counts[Reason::ExcessWord];
    }
    const int faults = static_cast<int>(layoutFaultNotes(run).size());
    if (faults > 0)
        counts[Reason::LayoutFault] += faults;
    std::vector<ReasonCount> out;
    for (const auto& [reason, count] : counts)
        out.push_back({reason, count});
    return out;
}

std::vector<LayoutFaultNote> layoutFaultNotes(const RunRecord& run) {
    if (!run.scoring)
        return {};
    const marking::LayoutFaults& f = run.scoring->faults;
    const marking::LayoutCounts& c = run.scoring->counts;
    auto compared = [](const char* what, int typed, int source) {
        return "the test has " + std::to_string(typed) + " " + what + ", the source " +
               std::to_string(source) + " up to the end of the compared part";
    };
    const std::pair<bool, std::string> notes[] = {
        {f.lineFeeds, compared("line breaks", c.typedLineBreaks, c.sourceLineBreaks)},
        {f.fullStops, compared("full stops", c.typedStops, c.sourceStops)},
        {f.commas, compared("commas", c.typedCommas, c.sourceCommas)},
        {f.marks, compared("\"!\" and \"?\"", c.typedMarks, c.sourceMarks)},
        {f.courier, "not all of the test is in Courier or Courier New"},
        {f.lineSpacing, "the test is not in the line spacing the settings ask for"},
    };
    const std::vector<std::u16string> lines = marking::faultLines(f);
    std::vector<LayoutFaultNote> out;
    for (const auto& [holds, counted] : notes) {
        if (holds)
            out.push_back({lines[out.size()], counted});
    }
    return out;
}

} // namespace keystride::classmarking
