// The state of the marking engine: the word and character tables at their fixed capacities,
// indexed from 1, and the counts and flags of the last run. Every phase of a run reads and writes
// this one object; the report, the output files and the command-line tool read it afterwards.
#pragma once

#include "platform/richtext/rich_text.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace keystride::marking {

// Raised when a text does not fit the tables; the run ends with "Document too large...".
struct CapacityExceeded {
    std::string what;
};

inline constexpr int WordCapacity = 1500;
inline constexpr int CharCapacity = 8000;
inline constexpr int ExcessCandidateCapacity = 1000; // entries 0..999
inline constexpr int ByteCounterLimit = 255;

// A 1-based table of fixed capacity. A few slots past the capacity exist because the splitter
// and the clearing step touch entries just beyond the last word; the capacity itself is
// enforced where the tables are filled.
template <typename T, int Capacity, int Slack = 8> class Table {
public:
    Table() : m_items(Capacity + Slack + 1) {}
    T& operator()(int k) { return m_items.at(checked(k)); }
    const T& operator()(int k) const { return m_items.at(checked(k)); }
    static constexpr int capacity() { return Capacity; }
    void clear() { std::fill(m_items.begin(), m_items.end(), T{}); }

private:
    static std::size_t checked(int k) {
        if (k < 0 || k > Capacity + Slack)
            throw CapacityExceeded{"table index out of range"};
        return static_cast<std::size_t>(k);
    }
    std::vector<T> m_items;
};

using WordTable = Table<std::u16string, WordCapacity>;

// Error classes of the word comparison.
enum ErrorClassValue : std::uint8_t {
    WrongWord = 0,
    FullStopFault = 1,
    CommaFault = 2,
    MarkFault = 3,
    WordsRunTogether = 4,
    JoinedWord = 5,
};

// Which two-word form a join found in the source, in the order the join tries them.
enum class JoinKind : std::uint8_t {
    None = 0,
    SplitWord,         // the two halves of one word
    MissingHyphen,     // a compound typed without its hyphen
    MissingApostrophe, // a word typed without its apostrophe
    DetachedFullStop,  // a full stop typed apart from its word
};

// Marker words of the space checks; the error marking recognises them by exact comparison.
inline const std::u16string DoubleSpaceMarker = u"\u2022\u2022";
inline const std::u16string SingleSpaceMarker = u"\u2022";

struct MarkingState {
    // Word splitting (shared by both splits).
    WordTable WordBuffer;
    int WordCount = 0;
    Table<std::int16_t, CharCapacity> WordStart;
    Table<char16_t, CharCapacity> CharTable;
    int StrokeCount = 0;

    WordTable SourceWords;
    std::int16_t SourceWordCount = 0;
    WordTable TypedWords;
    int TypedWordCount = 0;

    // Error list and repeats.
    std::int16_t ErrorCount = 0;
    WordTable ErrorWords;
    Table<std::int16_t, WordCapacity> ErrorStart;
    Table<std::uint8_t, WordCapacity> ErrorClass;
    std::int16_t RepeatCount = 0;
    WordTable RepeatWords;
    Table<std::int16_t, WordCapacity> RepeatStart;
    std::u16string JoinedPair;
    JoinKind JoinedKind = JoinKind::None; // the form JoinedPair holds
    std::u16string JoinedSeconds;
    // Per entry of the error list, for explaining it: the join found when it was recorded, and
    // whether the doubled-word pass recorded it. Nothing in the marking reads them.
    WordTable ErrorJoinedPair;
    Table<JoinKind, WordCapacity> ErrorJoinKind;
    Table<std::uint8_t, WordCapacity> ErrorDoubled;
    // The same for each repeat.
    WordTable RepeatJoinedPair;
    Table<JoinKind, WordCapacity> RepeatJoinKind;
    // The typed-word index shared by the main pass, the error recorder and the doubled words.
    std::int16_t CurrentIndex = 0;

    // Excess and doubled words.
    std::int16_t ExcessCount = 0;
    WordTable ExcessWords;
    std::u16string ExcessText;
    std::uint8_t DoubledCount = 0;
    std::int16_t ExcessAlsoErrors = 0;

    // Layout and punctuation.
    bool CourierOk = false;
    bool LineSpacingOk = false;
    std::uint8_t TypedLineBreaks = 0;
    std::uint8_t SourceLineBreaks = 0;
    bool TwoSpaceConvention = false;
    int TypedStops = 0, SourceStops = 0;
    int TypedCommas = 0, SourceCommas = 0;
    std::int16_t TypedMarks = 0, SourceMarks = 0;

    // End of the compared part.
    bool EndFound = false;
    std::u16string EndFragment;

    // Scoring and report. The speed is kept in tenths so that every stage is exact.
    Colour HighlightColour = colours::white;
    std::u16string ReportText;
    std::u16string FaultText;
    int WpmTenths = 0;
};

} // namespace keystride::marking
