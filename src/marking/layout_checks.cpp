#include "marking/layout_checks.h"

#include <string>

namespace keystride::marking {

namespace {

void selectFromSecondCharacter(DocumentPane& typed) {
    typed.setSelStart(1);
    typed.setSelLength(typed.textLength());
}

// The first of the three sentence-mark patterns, searched the way the checks always have: the
// full-stop result, replaced by a "?" or "!" result only when that lies before it.
int findSentenceMark(TextView text, int start, TextView stop, TextView question, TextView bang) {
    int p = findFrom(text, stop, start);
    const int q = findFrom(text, question, start);
    if (q > 0 && q < p)
        p = q;
    const int e = findFrom(text, bang, start);
    if (e > 0 && e < p)
        p = e;
    return p;
}

void appendMarker(MarkingState& state, const Text& marker, int start) {
    if (state.ErrorCount >= WordCapacity)
        throw CapacityExceeded{"more than 1500 errors"};
    ++state.ErrorCount;
    state.ErrorWords(state.ErrorCount) = marker;
    state.ErrorStart(state.ErrorCount) = static_cast<std::int16_t>(start);
    state.ErrorJoinedPair(state.ErrorCount).clear();
    state.ErrorJoinKind(state.ErrorCount) = JoinKind::None;
    state.ErrorDoubled(state.ErrorCount) = 0;
}

bool precedesSuperfluousSpace(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || c == u' ' || c == u',' ||
           c == u'\'';
}

} // namespace

void CheckCourier(MarkingState& state, DocumentPane& typed, const SettingsStore& settings) {
    if (!settings.checkCourier()) {
        state.CourierOk = true;
        return;
    }
    selectFromSecondCharacter(typed);
    const std::optional<std::string> font = typed.selFontName();
    state.CourierOk = font && (*font == "Courier" || *font == "Courier New");
}

void CheckLineSpacing(MarkingState& state, DocumentPane& typed, const SettingsStore& settings,
                      LineSpacing lineSpacingMode) {
    state.LineSpacingOk = true;
    selectFromSecondCharacter(typed);
    if (!settings.checkSpacing15() && !settings.checkDoubleSpacing())
        return;
    const std::string markup = typed.textRtf();
    if (settings.checkSpacing15() && markup.find("\\sl360\\") == std::string::npos &&
        lineSpacingMode != LineSpacing::OneAndAHalf)
        state.LineSpacingOk = false;
    if (settings.checkDoubleSpacing() && markup.find("\\sl480\\") == std::string::npos &&
        lineSpacingMode != LineSpacing::Double)
        state.LineSpacingOk = false;
}

std::uint8_t CountLineBreaks(TextView text, int start) {
    int counter = 0;
    int position = start;
    while (true) {
        // A start before the first character finds nothing.
        const int found = position >= 1 ? findLastWithin(text, u"\r", position) : 0;
        ++counter;
        if (counter > ByteCounterLimit)
            throw CapacityExceeded{"more than 255 line breaks"};
        if (found == 0)
            break;
        position = found - 1;
        if (position == 0)
            break;
    }
    return static_cast<std::uint8_t>(counter);
}

void CountLineFeeds(MarkingState& state, TextView typedText, TextView sourceText,
                    std::int16_t sourceEnd) {
    state.TypedLineBreaks = CountLineBreaks(typedText, length(typedText) - 1);
    state.SourceLineBreaks = CountLineBreaks(sourceText, sourceEnd - 1);
}

void CheckSpaces(MarkingState& state, TextView T) {
    // A space too many inside a sentence: only the first place is reported.
    for (int p = findFrom(T, u"  ", 2); p > 0; p = findFrom(T, u"  ", p + 1)) {
        if (precedesSuperfluousSpace(T[static_cast<std::size_t>(p - 2)])) {
            appendMarker(state, DoubleSpaceMarker, p);
            break;
        }
    }

    // The first sentence end decides whether the learner uses one space or two.
    int f = findFrom(T, u".");
    const int q = findFrom(T, u"?");
    if (q > 0 && q < f)
        f = q;
    const int e = findFrom(T, u"!");
    if (e > 0 && e < f)
        f = e;
    if (findFrom(T, u".") == 0 && q == 0 && e == 0)
        return;
    state.TwoSpaceConvention = mid(T, f + 1, 2) == u"  ";

    if (!state.TwoSpaceConvention) {
        const int p = findSentenceMark(T, f + 2, u".  ", u"?  ", u"!  ");
        if (p > 0)
            appendMarker(state, DoubleSpaceMarker, p + 1);
        return;
    }
    for (int round = 0; round < 15; ++round) {
        const int p = findSentenceMark(T, f + 2, u". ", u"? ", u"! ");
        if (p <= 0)
            continue;
        if (mid(T, p + 2, 1) != u" ") {
            appendMarker(state, SingleSpaceMarker, p + 1);
            return;
        }
        f = p + 2;
    }
}

void CountPunctuation(MarkingState& state, TextView typedText, TextView sourceText,
                      std::int16_t sourceEnd) {
    if (length(typedText) > CharCapacity || sourceEnd > CharCapacity)
        throw CapacityExceeded{"more than 8000 characters"};
    auto count = [](TextView text, int upTo, int& stops, int& commas, std::int16_t& marks) {
        for (int i = 1; i <= upTo && i <= length(text); ++i) {
            const char16_t c = text[static_cast<std::size_t>(i - 1)];
            if (c == u'.')
                ++stops;
            else if (c == u',')
                ++commas;
            else if (c == u'!' || c == u'?')
                ++marks;
        }
    };
    count(typedText, length(typedText), state.TypedStops, state.TypedCommas, state.TypedMarks);
    count(sourceText, sourceEnd, state.SourceStops, state.SourceCommas, state.SourceMarks);
}

} // namespace keystride::marking
