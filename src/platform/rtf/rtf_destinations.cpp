// The destinations that are not body text but feed it: the font table (names and character
// sets), the colour table, the Unicode variant of \upr and the exact size of {\*\kssize}.
#include "platform/richtext/codepages.h"
#include "platform/rtf/rtf_document_builder.h"

#include <algorithm>

namespace keystride::rtfreading {

// Inside \upr only the \ud variant is read; everything else there is the 8-bit variant.
void RtfDocumentBuilder::unicodePairWord(RtfWord word, bool star) {
    if (word == RtfWord::UnicodeDestination)
        m_state.destination = m_state.outsideUnicodePair;
    else if (star || word == RtfWord::SkipDestination)
        startSkipping();
}

void RtfDocumentBuilder::fontTableWord(RtfWord word, const RtfToken& token) {
    switch (word) {
    case RtfWord::Font:
        if (token.hasParameter)
            startFontEntry(token.parameter);
        break;
    case RtfWord::FontCharset:
        if (m_fontEntryActive)
            m_fontEntryCodePage = codePageForCharset(token.parameter).value_or(0);
        break;
    case RtfWord::Unicode:
    case RtfWord::UnicodeSkip:
        unicodeWord(word, token);
        break;
    case RtfWord::SkipDestination:
        startSkipping();
        break;
    default:
        break;
    }
}

void RtfDocumentBuilder::fontTableText(std::string_view bytes) {
    if (!m_fontEntryActive)
        return;
    for (const char b : bytes) {
        if (b == ';') {
            commitFontEntry();
            return; // anything up to the next \f is not part of a name
        }
        fontNameByte(static_cast<std::uint8_t>(b));
    }
}

// A byte of a face name, in the entry's character set when it names one.
void RtfDocumentBuilder::fontNameByte(std::uint8_t byte) {
    if (!m_fontEntryActive)
        return;
    const int codePage = m_fontEntryCodePage != 0 ? m_fontEntryCodePage : m_documentCodePage;
    m_nameDecoder.put(byte, codePage, [this](char16_t c) { emit(c); });
}

void RtfDocumentBuilder::startFontEntry(int number) {
    if (m_fontEntryActive)
        commitFontEntry();
    m_fontEntryActive = true;
    m_fontEntryNumber = number;
    m_fontEntryCodePage = 0;
    m_fontEntryDepth = m_saved.size();
    m_fontEntryName.clear();
}

void RtfDocumentBuilder::commitFontEntry() {
    if (!m_nameDecoder.idle())
        m_nameDecoder.flush([this](char16_t c) { emit(c); });
    m_fontEntryActive = false;
    const auto notSpace = [](char16_t c) { return c != u' ' && c != u'\t'; };
    const auto first = std::find_if(m_fontEntryName.begin(), m_fontEntryName.end(), notSpace);
    const auto last =
        std::find_if(m_fontEntryName.rbegin(), m_fontEntryName.rend(), notSpace).base();
    std::string name = first < last ? toUtf8(std::u16string_view(&*first, last - first)) : "";
    if (m_fonts.size() >= kMaxFonts && m_fonts.find(m_fontEntryNumber) == m_fonts.end()) {
        warn(TooManyFonts, "The font table holds more than 10000 fonts; the rest were ignored.");
        return;
    }
    m_fonts[m_fontEntryNumber] = FontEntry{std::move(name), m_fontEntryCodePage};
    m_resolvedValid = false;
    m_codePageCacheFont = -2;
}

void RtfDocumentBuilder::colourTableWord(RtfWord word, int value) {
    const auto component = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
    switch (word) {
    case RtfWord::Red:
        m_colourPending.red = component;
        break;
    case RtfWord::Green:
        m_colourPending.green = component;
        break;
    case RtfWord::Blue:
        m_colourPending.blue = component;
        break;
    case RtfWord::SkipDestination:
        startSkipping();
        return;
    default:
        return;
    }
    m_colourHasValue = true;
}

void RtfDocumentBuilder::colourTableText(std::string_view bytes) {
    for (const char b : bytes) {
        if (b == ';')
            commitColour();
    }
}

void RtfDocumentBuilder::commitColour() {
    if (m_colours.size() >= kMaxColours) {
        warn(TooManyColours,
             "The colour table holds more than 10000 colours; the rest were ignored.");
    } else if (m_colourHasValue) {
        m_colours.emplace_back(m_colourPending);
    } else {
        m_colours.emplace_back(std::nullopt);
    }
    m_colourPending = Colour{};
    m_colourHasValue = false;
}

void RtfDocumentBuilder::exactSizeText(std::string_view bytes) {
    for (const char b : bytes) {
        if (b >= '0' && b <= '9')
            m_exactSize = std::min(m_exactSize * 10 + (b - '0'), kMaxSize);
    }
}

} // namespace keystride::rtfreading
