// Body text: bytes decoded in the character set in force (the font's, else the document's),
// gathered into runs of one format and paragraphs with their marks and line spacing.
#include "platform/rtf/rtf_document_builder.h"

#include <utility>

namespace keystride::rtfreading {

namespace {

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

} // namespace

void RtfDocumentBuilder::bodyText(std::string_view bytes) {
    if (!(m_runChars == m_state.chars)) {
        flushRun();
        m_runChars = m_state.chars;
    }
    const int codePage = textCodePage();
    std::size_t i = 0;
    while (i < bytes.size()) {
        // ASCII between escapes stands for itself: a stretch of it goes into the run at once.
        std::size_t end = i;
        if (m_decoder.idle() && m_pendingHighSurrogate == 0) {
            while (end < bytes.size() && static_cast<std::uint8_t>(bytes[end]) < 0x80)
                ++end;
            m_runText.append(bytes.begin() + static_cast<std::ptrdiff_t>(i),
                             bytes.begin() + static_cast<std::ptrdiff_t>(end));
        }
        if (end < bytes.size())
            m_decoder.put(static_cast<std::uint8_t>(bytes[end++]), codePage,
                          [this](char16_t c) { appendToRun(c); });
        i = end;
    }
}

void RtfDocumentBuilder::hexText(std::uint8_t byte) {
    m_decoder.put(byte, textCodePage(), [this](char16_t c) { appendToRun(c); });
}

// A character of the current destination: body text, or a face name being read.
void RtfDocumentBuilder::emit(char16_t c) {
    if (m_state.destination == Destination::Text)
        appendToRun(c);
    else if (m_state.destination == Destination::FontTable && m_fontEntryActive &&
             m_fontEntryName.size() < kMaxFontNameLength)
        m_fontEntryName.push_back(c);
}

void RtfDocumentBuilder::appendToRun(char16_t c) {
    // Line ends and NUL written as escapes are dropped like raw ones: only paragraph
    // breaks end lines, and runs never hold CR or LF.
    if (c == u'\r' || c == u'\n' || c == 0)
        return;
    if (!(m_runChars == m_state.chars)) {
        flushRun();
        m_runChars = m_state.chars;
    }
    if (m_pendingHighSurrogate != 0) {
        const char16_t high = std::exchange(m_pendingHighSurrogate, 0);
        if (isLowSurrogate(c)) {
            m_runText.push_back(high);
            m_runText.push_back(c);
            return;
        }
        m_runText.push_back(kReplacementCharacter); // a high surrogate without its partner
    }
    if (isHighSurrogate(c)) {
        m_pendingHighSurrogate = c; // kept back until its partner shows whether it has one
        return;
    }
    m_runText.push_back(isLowSurrogate(c) ? kReplacementCharacter : c);
}

void RtfDocumentBuilder::flushHalfRead() {
    if (!m_decoder.idle())
        m_decoder.flush([this](char16_t c) { appendToRun(c); });
    if (!m_nameDecoder.idle())
        m_nameDecoder.flush([this](char16_t c) { emit(c); });
}

void RtfDocumentBuilder::flushRun() {
    if (m_runText.empty())
        return;
    CharFormat format = resolve(m_runChars);
    if (!m_paragraph.runs.empty() && m_paragraph.runs.back().format == format) {
        m_paragraph.runs.back().text += m_runText;
        m_runText.clear();
        return;
    }
    // The run takes a copy of exactly its size; the buffer keeps its room for the next run.
    m_paragraph.runs.push_back(TextRun{std::move(format), m_runText});
    m_runText.clear();
}

// Ends the run being gathered: half-read characters become replacement characters.
void RtfDocumentBuilder::finishRun() {
    flushPending();
    if (m_pendingHighSurrogate != 0) {
        m_pendingHighSurrogate = 0;
        appendToRun(kReplacementCharacter);
    }
    flushRun();
}

void RtfDocumentBuilder::endParagraph() {
    finishRun();
    m_paragraph.markFormat = resolve(m_state.chars);
    setParagraphFormat(m_paragraph);
    deliverParagraph();
    m_endedAnyParagraph = true;
}

void RtfDocumentBuilder::deliverParagraph() {
    ++m_delivered;
    if (!m_sink) {
        m_result.document.paragraphs.push_back(std::move(m_paragraph));
        m_paragraph = Paragraph{};
        return;
    }
    (*m_sink)(m_paragraph);
    // The runs' room is kept for the next paragraph.
    m_paragraph.runs.clear();
    m_paragraph.format = ParaFormat{};
    m_paragraph.markFormat = CharFormat{};
}

void RtfDocumentBuilder::finish() {
    finishRun();
    // A break at the very end of the document leaves an empty last paragraph behind it; that
    // paragraph is not part of the text (the break is the document's final mark).
    const bool trailingBreak = m_paragraph.runs.empty() && m_endedAnyParagraph;
    if (!trailingBreak) {
        m_paragraph.markFormat = resolve(m_state.chars);
        setParagraphFormat(m_paragraph);
        deliverParagraph();
    }
    m_paragraph = Paragraph{};
    if (m_delivered == 0) {
        m_paragraph.markFormat = resolve(CharState{});
        deliverParagraph();
    }
}

void RtfDocumentBuilder::setParagraphFormat(Paragraph& paragraph) const {
    LineSpacing spacing = LineSpacing::Single;
    if (m_state.lineMultiple == 1 && m_state.lineSpacing == 360)
        spacing = LineSpacing::OneAndAHalf;
    else if (m_state.lineMultiple == 1 && m_state.lineSpacing == 480)
        spacing = LineSpacing::Double;
    paragraph.format.lineSpacing = spacing;
}

// The code page of text in font `font` (-1: no font), remembered until the fonts or the
// document's code page change.
int RtfDocumentBuilder::fontCodePage(int font) {
    int codePage = m_documentCodePage;
    if (font >= 0) {
        const auto found = m_fonts.find(font);
        if (found != m_fonts.end() && found->second.codePage != 0)
            codePage = found->second.codePage;
    }
    m_codePageCacheFont = font;
    m_codePageCacheValue = codePage;
    return codePage;
}

void RtfDocumentBuilder::setDocumentCodePage(int codePage) {
    m_documentCodePage = codePage;
    m_codePageCacheFont = -2;
}

} // namespace keystride::rtfreading
