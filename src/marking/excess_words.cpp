#include "marking/excess_words.h"

#include "marking/word_comparison.h"

#include <algorithm>
#include <vector>

namespace keystride::marking {

Text bareForm(TextView word) {
    Text bare = trim(word);
    if (!bare.empty()) {
        switch (bare.back()) {
        case u'\r': case u'!': case u'?': case u'.': case u',': case u';': case u':': case u'%':
            bare.pop_back();
            break;
        default:
            break;
        }
    }
    for (char16_t mark : {u'.', u',', u'!', u'?', u'%'}) {
        if (!bare.empty() && bare.back() == mark)
            bare.pop_back();
    }
    return bare;
}

namespace {

bool isListed(const WordTable& table, int count, const Text& word) {
    for (int m = 1; m <= count; ++m) {
        if (table(m) == word)
            return true;
    }
    return false;
}

std::vector<Text> collectCandidates(MarkingState& state, TextView typedText) {
    std::vector<Text> candidates;
    for (int k = 1; k <= state.TypedWordCount; ++k) {
        Text& word = state.TypedWords(k);
        const bool taken = isListed(state.ErrorWords, state.ErrorCount, word) ||
                           isListed(state.RepeatWords, state.RepeatCount, word);
        // Second halves of joined pairs take no further part in counting.
        if (!state.JoinedSeconds.empty() && state.JoinedSeconds.find(word) != Text::npos)
            word.clear();
        if (taken)
            continue;
        const Text bare = bareForm(word);
        if (std::find(candidates.begin(), candidates.end(), bare) != candidates.end())
            continue;
        if (!bare.empty() && bare != u"\n" && contains(typedText, bare)) {
            if (static_cast<int>(candidates.size()) >= ExcessCandidateCapacity)
                throw CapacityExceeded{"more than 1000 excess candidates"};
            candidates.push_back(bare);
        }
    }
    return candidates;
}

void countSurplus(MarkingState& state, const std::vector<Text>& candidates) {
    // Bare forms are computed once per word; candidates are compared against them many times.
    std::vector<Text> typedBare;
    for (int k = 1; k <= state.TypedWordCount; ++k)
        typedBare.push_back(bareForm(state.TypedWords(k)));
    std::vector<Text> sourceBare;
    for (int k = 1; k <= state.SourceWordCount; ++k)
        sourceBare.push_back(bareForm(state.SourceWords(k)));

    for (const Text& candidate : candidates) {
        const auto t = std::count(typedBare.begin(), typedBare.end(), candidate);
        const auto s = std::count(sourceBare.begin(), sourceBare.end(), candidate);
        for (auto surplus = t - s; surplus > 0; --surplus) {
            if (state.ExcessCount >= WordCapacity)
                throw CapacityExceeded{"more than 1500 excess words"};
            ++state.ExcessCount;
            state.ExcessWords(state.ExcessCount) = candidate + u" ";
            state.ExcessText += candidate + u" ";
        }
    }
}

void findDoubledWords(MarkingState& state, const IndexedText& sourceText) {
    const int bound = state.TypedWordCount;
    for (state.CurrentIndex = 2; state.CurrentIndex <= bound; ++state.CurrentIndex) {
        const int i = state.CurrentIndex;
        const Text& word = state.TypedWords(i);
        if (trim(word).empty() || word == u"\r" || word != state.TypedWords(i - 1))
            continue;
        const Text pair = state.TypedWords(i - 1) + word;
        if (sourceText.contains(pair))
            continue;
        const int entriesBefore = state.ErrorCount;
        RecordError(state, sourceText, i);
        // A doubled word withdrawn as a repeat of an earlier fault adds no entry.
        if (state.ErrorCount > entriesBefore)
            state.ErrorDoubled(state.ErrorCount) = 1;
        if (state.DoubledCount >= ByteCounterLimit)
            throw CapacityExceeded{"more than 255 doubled words"};
        ++state.DoubledCount;
    }
}

void bracketDoubledExcess(MarkingState& state) {
    state.ExcessAlsoErrors = 0;
    if (state.DoubledCount == 0)
        return;
    for (int e = 1; e <= state.ExcessCount; ++e) {
        for (int m = 1; m <= state.ErrorCount; ++m) {
            if (trim(state.ExcessWords(e)) != trim(state.ErrorWords(m)))
                continue;
            state.ExcessWords(e) = u"(" + state.ExcessWords(e) + u")";
            ++state.ExcessAlsoErrors;
            if (state.ExcessAlsoErrors == state.DoubledCount)
                return;
        }
    }
}

} // namespace

void FindExcessAndDoubledWords(MarkingState& state, const ExcessInput& input) {
    state.ExcessCount = 0;
    state.ExcessText.clear();
    state.DoubledCount = 0;
    state.ExcessAlsoErrors = 0;
    const std::vector<Text> candidates = collectCandidates(state, input.typedText);
    countSurplus(state, candidates);
    findDoubledWords(state, input.sourceText);
    bracketDoubledExcess(state);
}

} // namespace keystride::marking
