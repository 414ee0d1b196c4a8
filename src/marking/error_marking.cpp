#include "marking/error_marking.h"

#include "marking/text_search.h"

namespace keystride::marking {

namespace {

// The characters of a word, without its trailing space; the first error word's recorded start
// of 0 means position 1.
void selectMarkedRange(DocumentPane& pane, const Text& word, int start) {
    pane.setSelStart(start - 1);
    pane.setSelLength(endsWith(word, u" ") ? length(word) - 1 : length(word));
}

int entryStart(const MarkingState& state, int k) {
    const int start = state.ErrorStart(k);
    return (k == 1 && start == 0) ? 1 : start;
}

void markWithFonts(MarkingState& state, DocumentPane& typed) {
    for (int k = 1; k <= state.ErrorCount; ++k) {
        const Text& w = state.ErrorWords(k);
        const int s = entryStart(state, k);
        const int L = length(w);
        selectMarkedRange(typed, w, s);
        // Space faults become visible as underscores of the same length.
        if (w == DoubleSpaceMarker)
            typed.setSelText(u" _");
        else if (w == SingleSpaceMarker)
            typed.setSelText(u"_");
        typed.setSelBold(true);
        typed.setSelColour(colours::red);
        typed.setSelFontName(errorfonts::First);

        typed.setSelStart(s);
        typed.setSelLength(endsWith(w, u" ") ? L - 2 : L - 1);
        typed.setSelUnderline(true);
        typed.setSelFontName(errorfonts::Middle);

        const int last = typed.selStart() + typed.selLength() - 1;
        typed.setSelStart(last);
        typed.setSelLength(1);
        typed.setSelFontName(errorfonts::Last);

        if (L == 2 || L == 1) {
            typed.setSelStart(s - 1);
            typed.setSelLength(L);
            typed.setSelColour(colours::red);
            typed.setSelFontName(errorfonts::Whole);
        }
    }
    for (int m = 1; m <= state.RepeatCount; ++m) {
        selectMarkedRange(typed, state.RepeatWords(m), state.RepeatStart(m));
        typed.setSelColour(colours::red);
        typed.setSelUnderline(true);
        typed.setSelFontName(errorfonts::Repeat);
    }
}

void markWithColours(MarkingState& state, DocumentPane& typed) {
    for (int k = 1; k <= state.ErrorCount; ++k) {
        selectMarkedRange(typed, state.ErrorWords(k), entryStart(state, k));
        typed.setSelBold(true);
        state.HighlightColour = colours::red;
        HighliteText(typed, state.HighlightColour);
        typed.setSelColour(colours::white);
    }
    for (int m = 1; m <= state.RepeatCount; ++m) {
        selectMarkedRange(typed, state.RepeatWords(m), state.RepeatStart(m));
        typed.setSelColour(colours::red);
        typed.setSelUnderline(true);
    }
}

} // namespace

void HighliteText(DocumentPane& pane, Colour newColor) { pane.setSelBackground(newColor); }

void MarkErrors(MarkingState& state, DocumentPane& typed, bool fontMarking) {
    if (fontMarking)
        markWithFonts(state, typed);
    else
        markWithColours(state, typed);
}

} // namespace keystride::marking
