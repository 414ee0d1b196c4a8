#include "word_alignment.h"

#include "marking/excess_words.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <optional>

namespace keystride::classmarking {

namespace {

using marking::RunRecord;

std::u16string withoutDelimiters(std::u16string_view word) {
    while (!word.empty() && (word.back() == u' ' || word.back() == u'\r' || word.back() == u'\n'))
        word.remove_suffix(1);
    return std::u16string(word);
}

struct Unit {
    AlignedRow row;     // its typed side
    std::u16string key; // what the alignment compares
};

// The typed word holding 1-based position `position`; the first word's start is recorded as 0.
std::size_t wordAt(const std::vector<RunRecord::TypedWord>& words, int position) {
    const auto after = std::upper_bound(
        words.begin(), words.end(), position,
        [](int p, const RunRecord::TypedWord& w) { return p < std::max(1, w.start); });
    return after == words.begin() ? 0 : static_cast<std::size_t>(after - words.begin() - 1);
}

// One mark at a typed word: an entry of the error list (a space fault at the word whose
// delimiter it falls on) or a repeat, with the join it took part in.
struct Mark {
    Reason reason;
    marking::JoinKind join;
    const std::u16string* word; // as the run's list has it
    const std::u16string* joinedPair;
};

std::vector<std::vector<Mark>> marksAt(const RunRecord& run,
                                       const std::vector<RunRecord::TypedWord>& words) {
    std::vector<std::vector<Mark>> marks(words.size());
    if (words.empty())
        return marks;
    for (const RunRecord::Error& e : entries(run.errors))
        marks[wordAt(words, e.start)].push_back({reasonOf(e), e.join, &e.word, &e.joinedPair});
    for (const RunRecord::Repeat& r : entries(run.repeats))
        marks[wordAt(words, r.start)].push_back(
            {Reason::RepeatedError, r.join, &r.word, &r.joinedPair});
    return marks;
}

// The typed words as units of the alignment: a word with what was marked at it, a joined pair as
// one unit. Blanks and line ends stand alone only where a fault lies.
std::vector<Unit> typedUnits(const RunRecord& run) {
    const std::vector<RunRecord::TypedWord>& words = *run.splitTypedWords;
    const std::vector<std::vector<Mark>> marks = marksAt(run, words);
    std::vector<Unit> units;
    for (std::size_t k = 0; k < words.size(); ++k) {
        Unit unit;
        unit.row.typed = withoutDelimiters(words[k].word);
        unit.key = marking::bareForm(unit.row.typed);
        const Mark* join = nullptr;
        for (const Mark& mark : marks[k]) {
            unit.row.reasons.push_back(mark.reason);
            if (mark.join != marking::JoinKind::None)
                join = &mark;
        }
        if (join && k + 1 < words.size()) {
            // The join took the next typed word with it; the pair shows as the run's list has it.
            ++k;
            unit.row.typed = withoutDelimiters(*join->word);
            unit.row.joinedPair = *join->joinedPair;
            if (join->join != marking::JoinKind::DetachedFullStop)
                unit.key = marking::bareForm(*join->joinedPair);
        }
        unit.row.lineEnd = words[k].word.ends_with(u'\r');
        const bool blank = unit.row.typed.find_first_not_of(u' ') == std::u16string::npos;
        if (!blank || !unit.row.reasons.empty())
            units.push_back(std::move(unit));
    }
    return units;
}

// The words of the compared part without their delimiters; `lineEnds` tells which end a line.
std::vector<std::u16string> sourceWords(const RunRecord& run, std::vector<bool>& lineEnds) {
    std::vector<std::u16string> out;
    for (const std::u16string& word : *run.sourceWords) {
        std::u16string text = withoutDelimiters(word);
        if (text.empty())
            continue;
        lineEnds.push_back(word.ends_with(u'\r'));
        out.push_back(std::move(text));
    }
    return out;
}

// Index pairs (source, typed) of a longest common subsequence of the two key lists.
std::vector<std::pair<std::size_t, std::size_t>>
commonWords(const std::vector<std::u16string>& sourceKeys, const std::vector<Unit>& typed) {
    const std::size_t n = sourceKeys.size(), m = typed.size();
    std::vector<std::uint16_t> table((n + 1) * (m + 1), 0);
    auto at = [&](std::size_t i, std::size_t j) -> std::uint16_t& {
        return table[i * (m + 1) + j];
    };
    for (std::size_t i = n; i-- > 0;) {
        for (std::size_t j = m; j-- > 0;)
            at(i, j) = sourceKeys[i] == typed[j].key ? at(i + 1, j + 1) + 1
                                                     : std::max(at(i + 1, j), at(i, j + 1));
    }
    std::vector<std::pair<std::size_t, std::size_t>> pairs;
    for (std::size_t i = 0, j = 0; i < n && j < m;) {
        if (sourceKeys[i] == typed[j].key && at(i, j) == at(i + 1, j + 1) + 1)
            pairs.emplace_back(i++, j++);
        else if (at(i + 1, j) >= at(i, j + 1))
            ++i;
        else
            ++j;
    }
    return pairs;
}

// How alike two words look: the characters they share at the start and at the end.
int likeness(std::u16string_view a, std::u16string_view b) {
    std::size_t front = 0;
    while (front < a.size() && front < b.size() && a[front] == b[front])
        ++front;
    std::size_t back = 0;
    while (back < a.size() - front && back < b.size() - front &&
           a[a.size() - 1 - back] == b[b.size() - 1 - back])
        ++back;
    return static_cast<int>(front + back);
}

// The rows of an alignment, built in order.
class Rows {
public:
    Rows(const std::vector<std::u16string>& source, const std::vector<bool>& sourceLineEnds,
         const std::vector<Unit>& typed)
        : m_source(source), m_sourceLineEnds(sourceLineEnds), m_typed(typed) {}

    void add(std::optional<std::size_t> s, std::optional<std::size_t> t) {
        AlignedRow row = t ? m_typed[*t].row : AlignedRow{};
        if (s) {
            row.source = m_source[*s];
            row.sourceLineEnd = m_sourceLineEnds[*s];
        }
        rows.push_back(std::move(row));
        keys.push_back(t ? m_typed[*t].key : std::u16string());
    }

    // The words between two matches: as many as can be stand side by side, each typed word
    // beside the source word most like it, in order; the rest on rows of their own.
    void addGap(std::size_t s0, std::size_t s1, std::size_t t0, std::size_t t1) {
        const std::size_t n = s1 - s0, m = t1 - t0;
        std::vector<int> best((n + 1) * (m + 1), 0);
        auto at = [&](std::size_t i, std::size_t j) -> int& { return best[i * (m + 1) + j]; };
        auto paired = [&](std::size_t i, std::size_t j) {
            return 1 + likeness(m_source[s0 + i], m_typed[t0 + j].row.typed) + at(i + 1, j + 1);
        };
        for (std::size_t i = n; i-- > 0;) {
            for (std::size_t j = m; j-- > 0;)
                at(i, j) = std::max({at(i + 1, j), at(i, j + 1), paired(i, j)});
        }
        std::size_t i = 0, j = 0;
        while (i < n || j < m) {
            if (i < n && j < m && at(i, j) == paired(i, j))
                add(s0 + i++, t0 + j++);
            else if (i < n && (j == m || at(i, j) == at(i + 1, j)))
                add(s0 + i++, std::nullopt);
            else
                add(std::nullopt, t0 + j++);
        }
    }

    std::vector<AlignedRow> rows;
    std::vector<std::u16string> keys; // the typed key of each row

private:
    const std::vector<std::u16string>& m_source;
    const std::vector<bool>& m_sourceLineEnds;
    const std::vector<Unit>& m_typed;
};

// Unmarked typed words the alignment left without a source word, whose bare form the run
// counted as excess, are shown as the excess words (as many as the run counted).
void markExcessWords(const RunRecord& run, std::vector<AlignedRow>& rows,
                     const std::vector<std::u16string>& keys) {
    std::map<std::u16string, int> surplus;
    for (const std::u16string& entry : entries(run.excessWords)) {
        if (!entry.starts_with(u"("))
            ++surplus[marking::bareForm(entry)];
    }
    for (std::size_t r = 0; r < rows.size(); ++r) {
        AlignedRow& row = rows[r];
        auto left = surplus.find(keys[r]);
        if (row.source.empty() && !row.typed.empty() && row.reasons.empty() &&
            left != surplus.end() && left->second > 0) {
            row.reasons.push_back(Reason::ExcessWord);
            --left->second;
        }
    }
}

} // namespace

std::vector<AlignedRow> alignWords(const RunRecord& run) {
    if (!run.splitTypedWords || !run.sourceWords)
        return {};
    std::vector<bool> sourceLineEnds;
    const std::vector<std::u16string> source = sourceWords(run, sourceLineEnds);
    std::vector<std::u16string> sourceKeys;
    for (const std::u16string& word : source)
        sourceKeys.push_back(marking::bareForm(word));
    const std::vector<Unit> typed = typedUnits(run);
    Rows rows(source, sourceLineEnds, typed);
    std::size_t s = 0, t = 0;
    for (const auto& [i, j] : commonWords(sourceKeys, typed)) {
        rows.addGap(s, i, t, j);
        rows.add(i, j);
        s = i + 1;
        t = j + 1;
    }
    rows.addGap(s, source.size(), t, typed.size());
    markExcessWords(run, rows.rows, rows.keys);
    return std::move(rows.rows);
}

} // namespace keystride::classmarking
