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

Text ascii(const std::string& s) { return Text(s.begin(), s.end()); }

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

std::string plainForm(long long value) { return std::to_string(value); }

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

std::vector<Text> faultLines(const MarkingState& state) {
    std::vector<Text> lines;
    if (state.TypedLineBreaks != state.SourceLineBreaks)
        lines.push_back(u"Wrong number of line feeds");
    if (state.TypedStops < state.SourceStops)
        lines.push_back(u"Missing full stop(s)");
    if (state.TypedCommas < state.SourceCommas)
        lines.push_back(u"Missing comma(s)");
    if (state.TypedMarks < state.SourceMarks)
        lines.push_back(u"Missing <!> or <?>");
    if (!state.CourierOk)
        lines.push_back(u"Courier/Courier New missing");
    if (!state.LineSpacingOk)
        lines.push_back(u"Wrong line spacing");
    return lines;
}

Score ScoreTest(MarkingState& state, const SettingsStore& settings) {
    long long errors = state.ErrorCount;
    errors += static_cast<long long>(faultLines(state).size());
    state.ErrorCount = toErrorCount(errors);

    const long long excessLength = length(state.ExcessText);
    state.ErrorCount =
        toErrorCount(excessLength / 6 + state.ErrorCount - state.ExcessAlsoErrors);
    if (excessLength > 0 && state.ErrorCount == 0)
        state.ErrorCount = 1;
    // Without counting the strokes of excess words, every five of their characters is one more
    // word with errors.
    if (settings.CountExcessStrokes == "N")
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
    for (const Text& line : faultLines(state))
        state.FaultText += u"\r\n" + line;

    const long long strokes = state.StrokeCount;
    Text& report = state.ReportText;
    report = u"\r\n|| " + ascii(plainForm(strokes)) + u"     " +
             ascii(signedForm(state.ErrorCount)) + u"m\r\n" + state.FaultText;
    report += u"\r\n" + ascii(plainForm(strokes)) + u" \u00f7 5 = " +
              ascii(signedForm(score.grossWords)) + u"\r\n";
    report += u"Less no. of words with errors:  - " + ascii(signedForm(state.ErrorCount)) +
              u" = " + ascii(signedForm(state.WpmTenths));
    report += u"\r\nWPM = " + ascii(signedForm(state.WpmTenths)) + u" \u00f7 10 = " +
              ascii(signedFormTenths(state.WpmTenths)) + u" ";
    if (settings.WpmInteger == "J") {
        state.WpmTenths = static_cast<int>(roundTenthsHalfEven(state.WpmTenths) * 10);
        report += u"= " + ascii(signedFormTenths(state.WpmTenths));
    }
    if (settings.WpmMultipleOf5 == "J") {
        // m = floor(5 x WPM); the result is 5 x (m / 25), truncated toward zero.
        const long long m = floorDiv(5LL * state.WpmTenths, 10);
        const long long multiple = 5 * (m / 25);
        state.WpmTenths = static_cast<int>(multiple * 10);
        report += u"        Final: " + ascii(signedFormTenths(state.WpmTenths)) + u" wpm ";
    }
}

} // namespace keystride::marking
