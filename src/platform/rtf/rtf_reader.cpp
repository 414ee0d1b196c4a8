// The reader's token loop: groups and their formatting scopes, \* marks, the fallback of \u,
// and the hand-over of each token to the destination it belongs to.
#include "platform/rtf/rtf_reader.h"

#include "platform/rtf/rtf_document_builder.h"

#include <algorithm>
#include <new>
#include <utility>

namespace keystride {

namespace rtfreading {

namespace {

// Where the last '{' or control word of the input starts (npos: none). Stray bytes after the
// end of the document, even a lone backslash, are not markup.
std::size_t lastMarkup(std::string_view input) {
    for (std::size_t i = input.size(); i-- > 0;) {
        const char c = input[i];
        if (c == '{')
            return i;
        if (c == '\\' && i + 1 < input.size()) {
            const char next = input[i + 1];
            if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z'))
                return i;
        }
    }
    return std::string_view::npos;
}

} // namespace

RtfReadResult RtfDocumentBuilder::read() {
    try {
        parse();
        finish();
    } catch (const std::bad_alloc&) {
        // Only a pathological document gets here; keep what was read.
        warn(OutOfMemory, "The document is too large to read completely; the rest was left out.");
        try {
            finish();
        } catch (const std::bad_alloc&) {
            m_result.document = RichDocument{};
        }
    }
    return std::move(m_result);
}

void RtfDocumentBuilder::parse() {
    m_result.document.paragraphs.clear();
    const std::size_t start = m_input.find('{');
    if (start == std::string_view::npos) {
        warn(NoGroup, "The file holds no RTF group; nothing was read.");
        return;
    }
    std::string_view lead = m_input.substr(0, start);
    if (lead.starts_with("\xEF\xBB\xBF"))
        lead.remove_prefix(3); // the UTF-8 byte-order mark
    if (lead.find_first_not_of(" \t\r\n") != std::string_view::npos)
        warn(LeadingBytes, "Bytes before the first '{' were ignored.");
    m_lastMarkup = lastMarkup(m_input);

    RtfTokenizer tokenizer(m_input, start);
    while (!m_stopped) {
        const RtfToken token = tokenizer.next();
        m_position = tokenizer.position();
        if (token.kind == RtfTokenKind::End)
            break;
        if (m_skipDepth > 0) {
            // Inside a skipped destination only the group structure matters.
            if (token.kind == RtfTokenKind::GroupStart)
                ++m_skipDepth;
            else if (token.kind == RtfTokenKind::GroupEnd && --m_skipDepth == 0)
                groupEnd();
            continue;
        }
        switch (token.kind) {
        case RtfTokenKind::GroupStart:
            groupStart();
            break;
        case RtfTokenKind::GroupEnd:
            groupEnd();
            break;
        case RtfTokenKind::ControlWord:
            controlWord(token);
            break;
        case RtfTokenKind::ControlSymbol:
            controlSymbol(token.symbol);
            break;
        case RtfTokenKind::HexByte:
            hexByte(token);
            break;
        case RtfTokenKind::Text:
            m_starPending = false;
            text(token.text);
            break;
        case RtfTokenKind::Binary:
            m_starPending = false;
            if (m_unicodeSkipPending > 0)
                --m_unicodeSkipPending; // binary data is a single fallback unit
            break;
        case RtfTokenKind::End:
            break;
        }
    }
    reportTokenizerFindings(tokenizer);
}

void RtfDocumentBuilder::reportTokenizerFindings(const RtfTokenizer& tokenizer) {
    if (tokenizer.sawOverlongWord())
        warn(OverlongWord, "A control word longer than 32 letters was ignored.");
    if (tokenizer.sawTruncatedBinary())
        warn(TruncatedBinary, "Binary data (\\bin) ran past the end of the file.");
    const std::size_t open = m_saved.size() + m_overflowDepth + (m_skipDepth > 0 ? 1 : 0);
    if (!m_stopped && open > 0) {
        warn(UnclosedGroups, std::to_string(open) +
                                 " group(s) were still open at the end of the file; the text "
                                 "read up to there was kept.");
    }
}

void RtfDocumentBuilder::groupStart() {
    flushPending();
    m_starPending = false;
    m_unicodeSkipPending = 0;
    if (m_saved.size() + 1 >= kMaxGroupDepth) {
        ++m_overflowDepth;
        warn(TooDeep, "Groups nested deeper than 1000 levels were read without their own "
                      "formatting scope.");
        return;
    }
    m_saved.push_back(m_state);
}

void RtfDocumentBuilder::groupEnd() {
    flushPending();
    m_starPending = false;
    m_unicodeSkipPending = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_saved.size() > 1) {
        leaveGroup();
        return;
    }
    // The outermost group closes. Markup after it means a brace too many somewhere inside:
    // ignore this one and read on; otherwise the document ends here.
    if (m_saved.empty() || m_position > m_lastMarkup || m_lastMarkup == std::string_view::npos) {
        m_stopped = true;
        return;
    }
    warn(ExtraClosingBrace, "A closing brace without a matching opening brace was ignored.");
}

// Restores the state outside the group; a destination that ends with it hands over what it
// gathered.
void RtfDocumentBuilder::leaveGroup() {
    const Destination leaving = m_state.destination;
    m_state = m_saved.back();
    m_saved.pop_back();
    const bool ended = m_state.destination != leaving;
    if (ended && leaving == Destination::ExactSize && m_exactSize > 0)
        m_state.chars.size = m_exactSize;
    if (m_fontEntryActive && m_saved.size() < m_fontEntryDepth)
        commitFontEntry();
    if (ended && leaving == Destination::ColourTable && m_colourHasValue)
        commitColour(); // a last entry without its ';'
}

void RtfDocumentBuilder::controlWord(const RtfToken& token) {
    const RtfControl control = lookupRtfWord(token.text);
    const bool star = std::exchange(m_starPending, false);
    if (control.word != RtfWord::Unicode)
        flushPending();
    if (m_unicodeSkipPending > 0) {
        --m_unicodeSkipPending; // a control word is a single fallback unit
        return;
    }
    if (m_state.destination == Destination::UnicodePair) {
        unicodePairWord(control.word, star);
        return;
    }
    if (star && starredWord(control.word, token))
        return;
    switch (m_state.destination) {
    case Destination::Text:
        bodyWord(control, token);
        break;
    case Destination::FontTable:
        fontTableWord(control.word, token);
        break;
    case Destination::ColourTable:
        colourTableWord(control.word, token.parameter);
        break;
    case Destination::UnicodePair:
    case Destination::ExactSize:
        break;
    }
}

// A destination marked with \* that the reader does not know is skipped with everything in it.
// Of the marked ones \ud carries document content, read as its destination says, and \kssize
// the exact size of the group around it; true when the word was handled here.
bool RtfDocumentBuilder::starredWord(RtfWord word, const RtfToken& token) {
    if (word == RtfWord::UnicodeDestination)
        return false;
    if (word != RtfWord::ExactFontSize) {
        startSkipping();
        return true;
    }
    // The size belongs to the group around this one, where its \fs stands; it is set there
    // when this group ends.
    m_state.destination = Destination::ExactSize;
    m_exactSize = token.hasParameter ? std::clamp(token.parameter, 0, kMaxSize) : 0;
    return true;
}

void RtfDocumentBuilder::controlSymbol(char symbol) {
    const bool star = symbol == '*';
    flushPending();
    if (m_unicodeSkipPending > 0) {
        --m_unicodeSkipPending;
        m_starPending = false;
        return;
    }
    m_starPending = star;
    switch (symbol) {
    case '~':
        emit(u'\u00A0');
        break;
    case '_':
        emit(u'\u2011');
        break;
    case '{':
    case '}':
    case '\\':
        emit(static_cast<char16_t>(symbol));
        break;
    case '\t':
        emit(u'\t');
        break;
    case '\n':
        if (m_state.destination == Destination::Text)
            endParagraph();
        break;
    default:
        break; // \- (optional hyphen), \: and the rest add nothing
    }
}

void RtfDocumentBuilder::hexByte(const RtfToken& token) {
    m_starPending = false;
    if (m_unicodeSkipPending > 0) {
        --m_unicodeSkipPending;
        return;
    }
    if (!token.validHex)
        return;
    if (m_state.destination == Destination::Text)
        hexText(token.byte);
    else if (m_state.destination == Destination::FontTable)
        fontNameByte(token.byte);
}

void RtfDocumentBuilder::text(std::string_view bytes) {
    if (m_unicodeSkipPending > 0) {
        const auto skipped = std::min<std::size_t>(bytes.size(), m_unicodeSkipPending);
        m_unicodeSkipPending -= static_cast<int>(skipped);
        bytes.remove_prefix(skipped);
    }
    if (bytes.empty())
        return;
    switch (m_state.destination) {
    case Destination::Text:
        bodyText(bytes);
        break;
    case Destination::FontTable:
        fontTableText(bytes);
        break;
    case Destination::ColourTable:
        colourTableText(bytes);
        break;
    case Destination::ExactSize:
        exactSizeText(bytes);
        break;
    case Destination::UnicodePair:
        break;
    }
}

void RtfDocumentBuilder::warn(Warning warning, std::string message) {
    if ((m_warned & warning) != 0)
        return;
    m_warned |= warning;
    m_result.warnings.push_back(std::move(message));
}

} // namespace rtfreading

bool looksLikeRtf(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && bytes.substr(start, 5) == "{\\rtf";
}

RtfReadResult readRtf(std::string_view bytes, const CharFormat& base) {
    rtfreading::RtfDocumentBuilder builder(bytes, base);
    return builder.read();
}

std::vector<std::string> readRtf(std::string_view bytes, const CharFormat& base,
                                 const RtfParagraphSink& sink) {
    rtfreading::RtfDocumentBuilder builder(bytes, base, &sink);
    return builder.read().warnings;
}

} // namespace keystride
