#include "marking/word_comparison.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace keystride::marking {

namespace {

// The source words of this run, for looking typed words up without a scan per word.
class SourceWordSet {
public:
    explicit SourceWordSet(const MarkingState& state) {
        for (int j = 1; j <= state.SourceWordCount; ++j)
            m_words.insert(state.SourceWords(j));
    }
    bool contains(TextView word) const { return m_words.count(word) != 0; }

private:
    std::unordered_set<TextView> m_words;
};

bool accepted(const SourceWordSet& sourceWords, const IndexedText& source, TextView word) {
    if (sourceWords.contains(word))
        return true;
    if (trim(word).empty())
        return true;
    // A word the source holds only with its sentence mark attached.
    const Text w = trimRight(word);
    if (source.contains(u" " + w + u".") || source.contains(u" " + w + u",") ||
        source.contains(w + u"?") || source.contains(w + u"!"))
        return true;
    if (!word.empty() && word.back() == u'\r' &&
        source.contains(Text(word.substr(0, word.size() - 1)) + u"."))
        return true;
    return false;
}

bool inRange(char16_t c, char16_t low, char16_t high) {
    return c >= low && c <= high;
}

// True when `first` without trailing spaces followed by `second` without leading spaces is
// `word`; compared in place, since it runs for every source word of every error.
bool isRunTogether(TextView first, TextView second, TextView word) {
    while (!first.empty() && first.back() == u' ')
        first.remove_suffix(1);
    while (!second.empty() && second.front() == u' ')
        second.remove_prefix(1);
    return first.size() + second.size() == word.size() && word.starts_with(first) &&
           word.ends_with(second);
}

void attemptJoin(MarkingState& state, const IndexedText& source, int index) {
    const Text a = trim(state.TypedWords(index));
    const Text b = trim(state.TypedWords(index + 1));
    const std::array<std::pair<Text, JoinKind>, 4> candidates = {{
        {a + b, JoinKind::SplitWord},
        {a + u"-" + b, JoinKind::MissingHyphen},
        {a + u"'" + b, JoinKind::MissingApostrophe},
        {a + u" .", JoinKind::DetachedFullStop},
    }};
    for (const auto& [candidate, kind] : candidates) {
        if (!source.contains(candidate))
            continue;
        state.JoinedPair = candidate;
        state.JoinedKind = kind;
        state.JoinedSeconds += state.TypedWords(index + 1) + u"/";
        state.TypedWords(index) = a + u" " + b;
        return;
    }
    state.JoinedPair.clear();
    state.JoinedKind = JoinKind::None;
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
        if (isRunTogether(state.SourceWords(k), state.SourceWords(k + 1), word))
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

void RecordError(MarkingState& state, const IndexedText& source, int index) {
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
    state.ErrorJoinedPair(entry) = state.JoinedPair;
    state.ErrorJoinKind(entry) = state.JoinedKind;
    state.ErrorDoubled(entry) = 0;
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
            state.RepeatJoinedPair(state.RepeatCount) = state.JoinedPair;
            state.RepeatJoinKind(state.RepeatCount) = state.JoinedKind;
            if (k != state.ErrorCount)
                --state.ErrorCount;
        }
    }
    if (!state.JoinedPair.empty())
        ++state.CurrentIndex;
}

void CompareWords(MarkingState& state, const ComparisonInput& input) {
    const IndexedText& source = input.sourceText;
    const SourceWordSet sourceWords(state);
    const int bound = state.TypedWordCount - 1;
    for (state.CurrentIndex = 1; state.CurrentIndex <= bound; ++state.CurrentIndex) {
        if (!accepted(sourceWords, source, state.TypedWords(state.CurrentIndex)))
            RecordError(state, source, state.CurrentIndex);
    }
    // The last typed word may be cut short: it is judged only against the end of the compared
    // part of the source.
    const int index = state.CurrentIndex;
    const Text word = state.TypedWords(index);
    const Text window = mid(source.text(), std::max(1, input.sourceEnd - 40), 40);
    if (!word.empty() && !contains(window, word))
        RecordError(state, source, index);
}

} // namespace keystride::marking
