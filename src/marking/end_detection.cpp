#include "marking/end_detection.h"

#include <cstdlib>

namespace keystride::marking {

namespace {

std::int16_t toPosition(int value) {
    if (value > INT16_MAX || value < INT16_MIN)
        throw CapacityExceeded{"source position beyond 32767"};
    return static_cast<std::int16_t>(value);
}

} // namespace

void FindEndFragment(MarkingState& state, TextView sourceText, std::int16_t& sourceEnd) {
    const int p = findLast(sourceText, state.EndFragment);
    if (p <= 0)
        return;
    state.EndFound = true;
    // The same offset for every piece length: the end lands a little past the piece.
    int end = p + 41;
    if (end > length(sourceText))
        end = length(sourceText);
    sourceEnd = toPosition(end);
}

void FindFragmentPair(MarkingState& state, TextView sourceText, TextView a, TextView b, int k,
                      std::int16_t& sourceEnd) {
    int pa = findLast(sourceText, a);
    int pb = findLast(sourceText, b);
    if (pb > 0 && pa > 0 && std::abs(pb - pa) > 75) {
        // Too far apart: one of the two was found in the wrong place; try the earlier ones.
        if (pa > pb)
            pa = findLastWithin(sourceText, a, pa);
        if (pb > pa)
            pb = findLastWithin(sourceText, b, pb);
    }
    if (!(pb > 0 && std::abs(pb - pa) < 75 && pa > 0))
        return;
    state.EndFound = true;
    int end = pa + k + 21;
    // Move the end to the next word boundary.
    const int q = findFrom(sourceText, u" ", end - 1);
    if (q != 0) {
        const int r = findFrom(sourceText, u"\r", end - 1);
        if (q < r)
            end = q;
        else if (r != 0)
            end = r;
    }
    sourceEnd = toPosition(end);
}

DetectionOutcome DetectSourceEnd(MarkingState& state, const DetectionInput& input,
                                 bool& cutOffGiven, std::int16_t& sourceEnd) {
    if (cutOffGiven) {
        state.EndFound = true;
        cutOffGiven = false;
        return DetectionOutcome::Found;
    }
    const TextView typed = input.typedText;
    const int L = length(typed);
    if (L < 50)
        return DetectionOutcome::TypedTooShort;
    state.EndFound = false;

    for (int k = 0; k <= 24 && !state.EndFound; k += 3) {
        state.EndFragment = right(typed, 40 - k);
        FindEndFragment(state, input.sourceText, sourceEnd);
    }
    for (int k = 36; k >= 18 && !state.EndFound; k -= 3) {
        state.EndFragment = mid(typed, L - 40, k);
        FindEndFragment(state, input.sourceText, sourceEnd);
    }
    Text a;
    Text b;
    for (int k = 1; k <= 18 && !state.EndFound; ++k) {
        a = mid(typed, L - (20 + k), 12);
        // A piece that would start before the text is not formed; it keeps its last value.
        if (L - (50 + k) >= 1)
            b = mid(typed, L - (50 + k), 12);
        FindFragmentPair(state, input.sourceText, a, b, k, sourceEnd);
    }
    return state.EndFound ? DetectionOutcome::Found : DetectionOutcome::NotFound;
}

} // namespace keystride::marking
