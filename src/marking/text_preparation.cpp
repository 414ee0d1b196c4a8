#include "marking/text_preparation.h"

#include "platform/richtext/codepages.h"

#include <array>
#include <string>

namespace keystride::marking {

namespace {

std::string replaceAll(std::string text, const std::string& find, const std::string& with) {
    std::size_t pos = 0;
    while ((pos = text.find(find, pos)) != std::string::npos) {
        text.replace(pos, find.size(), with);
        pos += with.size();
    }
    return text;
}

// Each replacement reads the pane's markup, replaces and writes it back. The markup is read
// again only after a write, since an unchanged pane gives the same markup.
class PaneMarkup {
public:
    explicit PaneMarkup(DocumentPane& pane) : m_pane(pane), m_markup(pane.textRtf()) {}
    void replace(const std::string& find, const std::string& with) {
        std::string tidied = replaceAll(m_markup, find, with);
        if (tidied == m_markup)
            return;
        m_pane.setTextRtf(tidied);
        m_markup = m_pane.textRtf();
    }

private:
    DocumentPane& m_pane;
    std::string m_markup;
};

bool isDelimiter(char16_t c) {
    return c == u' ' || c == u'\r' || c == u'\n';
}

void requireCharCapacity(TextView text) {
    if (text.size() > static_cast<std::size_t>(CharCapacity))
        throw CapacityExceeded{"more than 8000 characters"};
}

} // namespace

void SentenceEndTidy(DocumentPane& typed, DocumentPane& source) {
    static const std::array<std::pair<const char*, const char*>, 6> replacements = {{
        {".  \r", ".\r"},
        {". \r", ".\r"},
        {"!  \r", "!\r"},
        {"! \r", "!\r"},
        {"?  \r", "?\r"},
        {"? \r", "?\r"},
    }};
    PaneMarkup typedMarkup(typed);
    PaneMarkup sourceMarkup(source);
    for (const auto& [find, with] : replacements) {
        typedMarkup.replace(find, with);
        sourceMarkup.replace(find, with);
    }
}

void ClearWordTables(MarkingState& state) {
    for (int k = 1; k <= state.WordCount + 5; ++k) {
        state.WordBuffer(k).clear();
        state.ErrorWords(k).clear();
        state.TypedWords(k).clear();
        state.WordStart(k) = 0;
    }
    state.ExcessCount = 0;
    state.ErrorCount = 0;
    state.RepeatCount = 0;
    state.TypedStops = state.TypedCommas = state.TypedMarks = 0;
    state.SourceStops = state.SourceCommas = state.SourceMarks = 0;
}

void SplitWords(MarkingState& state, TextView text) {
    requireCharCapacity(text);
    state.WordCount = 1;
    const int n = length(text);
    for (int i = 1; i <= n; ++i) {
        const char16_t c = text[static_cast<std::size_t>(i - 1)];
        state.CharTable(i) = c;
        if (state.WordCount > WordCapacity)
            throw CapacityExceeded{"more than 1500 words"};
        Text& word = state.WordBuffer(state.WordCount);
        word += c;
        if (!isDelimiter(c))
            continue;
        if (!word.empty() && word.front() == u'.' && word.size() < 3 && i > 2 &&
            state.CharTable(i - 2) == u' ')
            word = u" .";
        ++state.WordCount;
        state.WordStart(state.WordCount) = static_cast<std::int16_t>(i + 1);
    }
    // Only the last word can be empty (the text ended with a delimiter); drop it.
    const int count = state.WordCount;
    for (int k = 1; k <= count; ++k) {
        if (!state.WordBuffer(k).empty())
            continue;
        for (int j = k; j <= state.WordCount; ++j) {
            state.WordBuffer(j) = state.WordBuffer(j + 1);
            state.WordStart(j) = state.WordStart(j + 1);
        }
        --state.WordCount;
    }
    if (state.WordCount > WordCapacity)
        throw CapacityExceeded{"more than 1500 words"};
}

int strokesOf(char16_t c) {
    if (c >= u'A' && c <= u'Z')
        return 2;
    switch (c) {
    case u'~':
    case u'!':
    case u'@':
    case u'#':
    case u'$':
    case u'%':
    case u'^':
    case u'&':
    case u'*':
    case u'(':
    case u')':
    case u'_':
    case u'{':
    case u'}':
    case u'|':
    case u':':
    case u'<':
    case u'>':
    case u'?':
    case u'"':
        return 2;
    case u'\n':
        return 0;
    default:
        break;
    }
    // Accented letters typed with a dead key cost three strokes.
    if (c >= 0x80) {
        std::optional<std::uint8_t> code = encodeWindows1252(c);
        if (code && *code >= 128)
            return 3;
    }
    return 1;
}

void CountStrokes(MarkingState& state, TextView text) {
    requireCharCapacity(text);
    state.StrokeCount = 0;
    for (int i = 1; i <= length(text); ++i) {
        const char16_t c = text[static_cast<std::size_t>(i - 1)];
        state.CharTable(i) = c;
        state.StrokeCount += strokesOf(c);
    }
}

} // namespace keystride::marking
