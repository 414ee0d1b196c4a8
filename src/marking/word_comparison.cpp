#include "marking/word_comparison.h"

#include <algorithm>
#include <array>

namespace keystride::marking {

namespace {

bool isSourceWord(const MarkingState& state, TextView word) {
    for (int j = 1; j <= state.SourceWordCount; ++j) {
        if (state.SourceWords(j) == word)
            return true;
    }
    return false;
}

bool accepted(const MarkingState& state, TextView source, TextView word) {
    if (isSourceWord(state, word))
        return true;
    if (trim(word).empty())
        return true;
    // A word the source holds only with its sentence mark attached.
    const Text w = trimRight(word);
    if (contains(source, u" " + w + u".") || contains(source, u" " + w + u",") ||
        contains(source, w + u"?") || contains(source, w + u"!"))
        return true;
    if (!word.empty() && word.back() == u'\r' &&
        contains(source, Text(word.substr(0, word.size() - 1)) + u"."))
        return true;
    return false;
}

bool inRange(char16_t c, char16_t low, char16_t high) { return c >= low && c <= high; }

void attemptJoin(MarkingState& state, TextView source, int index) {
    const Text a = trim(state.TypedWords(index));
    const Text b = trim(state.TypedWords(index + 1));
    const std::array<Text, 4> candidates = {a + b, a + u"-" + b, a + u"'" + b, a + u" ."};
    for (const Text& candidate : candidates) {
        if (!contains(source, candidate))
            continue;
        state.JoinedPair = candidate;
        state.JoinedSeconds += state.TypedWords(index + 1) + u"/";
        state.TypedWords(index) = a + u" " + b;
        return;
    }
    state.JoinedPair.clear();
}

void classify(MarkingState& state, int index, int entry) {
    std::uint8_t errorClass = WrongWord;
    state.ErrorClass(entry) = errorClass;
    Text& word = state.TypedWords(index);
    if (word.empty() || word == u"\r")
        return;
    if (word == u". ")
        word = u" ."; // the error list keeps ". "
    const int L = length(word) - 1;
    for (int k = 1; k <= state.TypedWordCount - 1; ++k) {
        if (trimRight(state.SourceWords(k)) + trimLeft(state.SourceWords(k + 1)) == word)
            errorClass = WordsRunTogether;
    }
    static const std::array<std::pair<char16_t, std::uint8_t>, 6> marks = {{
        {u'.', FullStopFault},
        {u',', CommaFault},
        {u'?', MarkFault},
        {u'!', MarkFault},
        {u';', MarkFault},
        {u':', MarkFault},
    }};
    const Text head = left(word, L);
    const Text trimmed = trim(word);
    for (const auto& [mark, markClass] : marks) {
        if (head.find(mark) != Text::npos && (trimmed.empty() || trimmed.back() != mark))
            errorClass = markClass;
    }
    if (!state.JoinedPair.empty()) {
        errorClass = JoinedWord;
        const Text tail = right(word, 2);
        if (tail == u" .")
            errorClass = FullStopFault;
        if (tail == u" ,")
            errorClass = CommaFault;
    }
    state.ErrorClass(entry) = errorClass;
}

} // namespace

void RecordError(MarkingState& state, TextView source, int index) {
    {
        const Text& word = state.TypedWords(index);
        // A line end after a punctuation mark or on its own is not a typing error.
        if (word.size() < 3 && word.find(u'\r') != Text::npos) {
            const char16_t first = word.front();
            if (!inRange(first, u'A', u'z') && !inRange(first, u'0', u'9'))
                return;
        }
        if (word == u"\n")
            return;
    }
    attemptJoin(state, source, index);

    if (state.ErrorCount >= WordCapacity)
        throw CapacityExceeded{"more than 1500 errors"};
    ++state.ErrorCount;
    const int entry = state.ErrorCount;
    state.ErrorWords(entry) = state.TypedWords(index);
    state.ErrorStart(entry) = state.WordStart(index);
    classify(state, index, entry);

    // The same fault (same word, same class other than a wrong word) counts once; later ones
    // are kept as repeats.
    if (state.ErrorCount > 1) {
        const std::uint8_t newClass = state.ErrorClass(entry);
        const int bound = state.ErrorCount - 1;
        for (int k = 1; k <= bound; ++k) {
            if (state.ErrorWords(k) != state.TypedWords(index) || state.ErrorClass(k) != newClass ||
                newClass == WrongWord)
                continue;
            if (state.RepeatCount >= WordCapacity)
                throw CapacityExceeded{"more than 1500 repeats"};
            ++state.RepeatCount;
            state.RepeatWords(state.RepeatCount) = state.TypedWords(index);
            state.RepeatStart(state.RepeatCount) = state.WordStart(index);
            if (k != state.ErrorCount)
                --state.ErrorCount;
        }
    }
    if (!state.JoinedPair.empty())
        ++state.CurrentIndex;
}

void CompareWords(MarkingState& state, const ComparisonInput& input) {
    const TextView source = input.sourceText;
    const int bound = state.TypedWordCount - 1;
    for (state.CurrentIndex = 1; state.CurrentIndex <= bound; ++state.CurrentIndex) {
        if (!accepted(state, source, state.TypedWords(state.CurrentIndex)))
            RecordError(state, source, state.CurrentIndex);
    }
    // The last typed word may be cut short: it is judged only against the end of the compared
    // part of the source.
    const int index = state.CurrentIndex;
    const Text word = state.TypedWords(index);
    const Text window = mid(source, std::max(1, input.sourceEnd - 40), 40);
    if (!word.empty() && !contains(window, word))
        RecordError(state, source, index);
}

} // namespace keystride::marking
