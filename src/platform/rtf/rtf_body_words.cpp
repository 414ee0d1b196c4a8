// Control words of the document body, one handler per class of word: destinations, flags,
// toggles, values and symbols; and the character format they build, resolved into the model's.
#include "platform/rtf/rtf_document_builder.h"

#include <algorithm>

namespace keystride::rtfreading {

void RtfDocumentBuilder::bodyWord(RtfControl control, const RtfToken& token) {
    switch (control.wordClass) {
    case RtfWordClass::Unknown:
        break;
    case RtfWordClass::Destination:
        enterDestination(control.word);
        break;
    case RtfWordClass::Flag:
        flagWord(control);
        break;
    case RtfWordClass::Toggle:
        toggleWord(control.word, !token.hasParameter || token.parameter != 0);
        break;
    case RtfWordClass::Value:
        valueWord(control.word, token);
        break;
    case RtfWordClass::Symbol:
        symbolWord(control);
        break;
    }
}

void RtfDocumentBuilder::enterDestination(RtfWord word) {
    switch (word) {
    case RtfWord::SkipDestination:
        startSkipping();
        break;
    case RtfWord::FontTable:
        m_state.destination = Destination::FontTable;
        break;
    case RtfWord::ColourTable:
        m_state.destination = Destination::ColourTable;
        m_colourHasValue = false;
        m_colourPending = Colour{};
        break;
    case RtfWord::UnicodePair:
        m_state.outsideUnicodePair = m_state.destination;
        m_state.destination = Destination::UnicodePair;
        break;
    default:
        break; // \ud outside \upr is read as body text
    }
}

void RtfDocumentBuilder::flagWord(RtfControl control) {
    switch (control.word) {
    case RtfWord::CharacterSet:
        setDocumentCodePage(control.argument);
        break;
    case RtfWord::Plain:
        m_state.chars = CharState{};
        break;
    case RtfWord::UnderlineNone:
        m_state.chars.underline = false;
        break;
    case RtfWord::ParagraphDefaults:
        m_state.lineSpacing = 0;
        m_state.lineMultiple = 0;
        break;
    default:
        break;
    }
}

void RtfDocumentBuilder::toggleWord(RtfWord word, bool on) {
    CharState& chars = m_state.chars;
    if (word == RtfWord::Bold)
        chars.bold = on;
    else if (word == RtfWord::Italic)
        chars.italic = on;
    else if (word == RtfWord::Underline)
        chars.underline = on;
}

void RtfDocumentBuilder::valueWord(RtfWord word, const RtfToken& token) {
    switch (word) {
    case RtfWord::Font:
    case RtfWord::FontSize:
    case RtfWord::ExactFontSize:
    case RtfWord::Colour:
    case RtfWord::Background:
        characterValue(word, token);
        break;
    case RtfWord::LineSpacing:
        m_state.lineSpacing = token.parameter;
        break;
    case RtfWord::LineSpacingMultiple:
        m_state.lineMultiple = token.parameter;
        break;
    case RtfWord::AnsiCodePage:
    case RtfWord::DefaultFont:
        documentValue(word, token.parameter);
        break;
    case RtfWord::Unicode:
    case RtfWord::UnicodeSkip:
        unicodeWord(word, token);
        break;
    default:
        break; // table entries and \bin mean nothing in the body
    }
}

void RtfDocumentBuilder::characterValue(RtfWord word, const RtfToken& token) {
    CharState& chars = m_state.chars;
    const int value = token.parameter;
    const auto colourAt = [this](int index) -> std::optional<Colour> {
        if (index < 0 || static_cast<std::size_t>(index) >= m_colours.size())
            return std::nullopt;
        return m_colours[static_cast<std::size_t>(index)];
    };
    switch (word) {
    case RtfWord::Font:
        if (token.hasParameter)
            chars.font = std::max(value, 0);
        break;
    case RtfWord::FontSize:
        chars.size = value > 0 ? std::min(value, kMaxSize / 10) * 10 : kDefaultSize;
        break;
    case RtfWord::ExactFontSize:
        if (token.hasParameter && value > 0)
            chars.size = std::min(value, kMaxSize);
        break;
    case RtfWord::Colour:
        chars.colour = colourAt(value).value_or(colours::black); // \cf0 and "auto" entries
        break;
    case RtfWord::Background: {
        // Index 0 and "auto" entries mean no background.
        const std::optional<Colour> background = value > 0 ? colourAt(value) : std::nullopt;
        chars.hasBackground = background.has_value();
        if (background)
            chars.background = *background;
        break;
    }
    default:
        break;
    }
}

void RtfDocumentBuilder::documentValue(RtfWord word, int value) {
    if (word == RtfWord::DefaultFont) {
        m_hasDefaultFont = true;
        m_defaultFont = value;
        m_codePageCacheFont = -2;
        return;
    }
    if (isReadableRtfCodePage(value)) {
        setDocumentCodePage(value);
        return;
    }
    warn(UnknownCodePage, "Code page " + std::to_string(value) +
                              " is not known; its text was read as code page " +
                              std::to_string(m_documentCodePage) + ".");
}

// \u and \uc, in the body and in font names alike.
void RtfDocumentBuilder::unicodeWord(RtfWord word, const RtfToken& token) {
    const int value = token.parameter;
    if (word == RtfWord::UnicodeSkip) {
        m_state.unicodeSkip = token.hasParameter ? std::clamp(value, 0, kMaxUnicodeSkip) : 1;
        return;
    }
    const int code = value < 0 ? value + 65536 : value;
    emit(code >= 0 && code <= 0xFFFF ? static_cast<char16_t>(code) : kReplacementCharacter);
    m_unicodeSkipPending = m_state.unicodeSkip;
}

void RtfDocumentBuilder::symbolWord(RtfControl control) {
    if (control.word == RtfWord::ParagraphEnd)
        endParagraph();
    else
        emit(static_cast<char16_t>(control.argument));
}

CharFormat RtfDocumentBuilder::resolve(const CharState& chars) {
    if (m_resolvedValid && chars == m_resolvedChars)
        return m_resolved;
    CharFormat format;
    format.font = fontName(chars.font);
    format.size = chars.size / 20.0;
    format.colour = chars.colour;
    if (chars.hasBackground)
        format.background = chars.background;
    format.bold = chars.bold;
    format.italic = chars.italic;
    format.underline = chars.underline;
    m_resolvedChars = chars;
    m_resolved = format;
    m_resolvedValid = true;
    return format;
}

const std::string& RtfDocumentBuilder::fontName(int number) const {
    if (number >= 0) {
        const auto found = m_fonts.find(number);
        if (found != m_fonts.end() && !found->second.name.empty())
            return found->second.name;
    }
    if (m_hasDefaultFont) {
        const auto found = m_fonts.find(m_defaultFont);
        if (found != m_fonts.end() && !found->second.name.empty())
            return found->second.name;
    }
    return m_base.font;
}

} // namespace keystride::rtfreading
