#include "marking/scoring_report.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace keystride::marking {

namespace {

std::int16_t toErrorCount(long long value) {
    if (value > INT16_MAX || value < INT16_MIN)
        throw CapacityExceeded{"error count beyond 16 bits"};
    return static_cast<std::int16_t>(value);
}

Text ascii(const std::string& s) {
    return Text(s.begin(), s.end());
}

long long floorDiv(long long a, long long b) {
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Round half to even for a value given in tenths; returns whole units.
long long roundTenthsHalfEven(long long tenths) {
    long long whole = floorDiv(tenths, 10);
    const long long rest = tenths - whole * 10; // 0..9
    if (rest > 5 || (rest == 5 && (whole % 2 != 0)))
        ++whole;
    return whole;
}

} // namespace

std::string plainForm(long long value) {
    return std::to_string(value);
}

std::string signedForm(long long value) {
    return value < 0 ? std::to_string(value) : " " + std::to_string(value);
}

std::string signedFormTenths(long long tenths) {
    const bool negative = tenths < 0;
    const long long magnitude = std::llabs(tenths);
    std::string digits;
    if (magnitude % 10 == 0) {
        digits = std::to_string(magnitude / 10);
    } else {
        const long long whole = magnitude / 10;
        digits = (whole == 0 ? std::string() : std::to_string(whole)) + "." +
                 std::to_string(magnitude % 10);
    }
    return (negative ? "-" : " ") + digits;
}

LayoutFaults layoutFaults(const MarkingState& state) {
    LayoutFaults faults;
    faults.lineFeeds = state.TypedLineBreaks != state.SourceLineBreaks;
    faults.fullStops = state.TypedStops < state.SourceStops;
    faults.commas = state.TypedCommas < state.SourceCommas;
    faults.marks = state.TypedMarks < state.SourceMarks;
    faults.courier = !state.CourierOk;
    faults.lineSpacing = !state.LineSpacingOk;
    return faults;
}

LayoutCounts layoutCounts(const MarkingState& state) {
    return {state.TypedLineBreaks, state.SourceLineBreaks, state.TypedStops, state.SourceStops,
            state.TypedCommas,     state.SourceCommas,     state.TypedMarks, state.SourceMarks};
}

std::vector<Text> faultLines(const LayoutFaults& faults) {
    const std::pair<bool, const char16_t*> lines[] = {
        {faults.lineFeeds, u"Wrong number of line feeds"},
        {faults.fullStops, u"Missing full stop(s)"},
        {faults.commas, u"Missing comma(s)"},
        {faults.marks, u"Missing <!> or <?>"},
        {faults.courier, u"Courier/Courier New missing"},
        {faults.lineSpacing, u"Wrong line spacing"},
    };
    std::vector<Text> out;
    for (const auto& [holds, line] : lines) {
        if (holds)
            out.push_back(line);
    }
    return out;
}

Score ScoreTest(MarkingState& state, const SettingsStore& settings) {
    long long errors = state.ErrorCount;
    errors += static_cast<long long>(faultLines(layoutFaults(state)).size());
    state.ErrorCount = toErrorCount(errors);

    const long long excessLength = length(state.ExcessText);
    state.ErrorCount = toErrorCount(excessLength / 6 + state.ErrorCount - state.ExcessAlsoErrors);
    if (excessLength > 0 && state.ErrorCount == 0)
        state.ErrorCount = 1;
    // Without counting the strokes of excess words, every five of their characters is one more
    // word with errors.
    if (!settings.countExcessStrokes())
        state.ErrorCount = toErrorCount(excessLength / 5 + state.ErrorCount);

    Score score;
    // Strokes / 5 to the nearest whole number; a whole number of strokes never gives a tie.
    score.grossWords = (state.StrokeCount + 2) / 5;
    state.WpmTenths = score.grossWords - state.ErrorCount;
    return score;
}

void BuildReport(MarkingState& state, const Score& score, const SettingsStore& settings) {
    state.FaultText.clear();
    if (state.ExcessCount > 0) {
        state.FaultText = u"Excess words: ";
        for (int e = 1; e <= state.ExcessCount; ++e) {
            if (e > 1)
                state.FaultText += u", ";
            state.FaultText += state.ExcessWords(e);
        }
    }
    for (const Text& line : faultLines(layoutFaults(state)))
        state.FaultText += u"\r\n" + line;

    const long long strokes = state.StrokeCount;
    Text& report = state.ReportText;
    report = u"\r\n|| " + ascii(plainForm(strokes)) + u"     " +
             ascii(signedForm(state.ErrorCount)) + u"m\r\n" + state.FaultText;
    report += u"\r\n" + ascii(plainForm(strokes)) + u" \u00f7 5 = " +
              ascii(signedForm(score.grossWords)) + u"\r\n";
    report += u"Less no. of words with errors:  - " + ascii(signedForm(state.ErrorCount)) + u" = " +
              ascii(signedForm(state.WpmTenths));
    report += u"\r\nWPM = " + ascii(signedForm(state.WpmTenths)) + u" \u00f7 10 = " +
              ascii(signedFormTenths(state.WpmTenths)) + u" ";
    if (settings.wpmInteger()) {
        state.WpmTenths = static_cast<int>(roundTenthsHalfEven(state.WpmTenths) * 10);
        report += u"= " + ascii(signedFormTenths(state.WpmTenths));
    }
    if (settings.wpmMultipleOf5()) {
        // m = floor(5 x WPM); the result is 5 x (m / 25), truncated toward zero.
        const long long m = floorDiv(5LL * state.WpmTenths, 10);
        const long long multiple = 5 * (m / 25);
        state.WpmTenths = static_cast<int>(multiple * 10);
        report += u"        Final: " + ascii(signedFormTenths(state.WpmTenths)) + u" wpm ";
    }
}

} // namespace keystride::marking
