#include "platform/rtf/rtf_writer.h"

#include "platform/richtext/codepages.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>

namespace keystride {

namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

// A size in whole units of 1/`perPoint` point, kept within what RTF numbers hold.
int sizeIn(double points, int perPoint) {
    if (!std::isfinite(points))
        points = 12.0;
    double units = std::round(points * perPoint);
    return static_cast<int>(std::clamp(units, 1.0, 32767.0));
}

bool isWholeHalfPoint(double points) {
    if (!std::isfinite(points))
        return true;
    return std::abs(points * 2.0 - std::round(points * 2.0)) < 1e-9;
}

class RtfWriter {
public:
    explicit RtfWriter(const RichDocument& doc) : m_doc(doc) {}

    std::string write() {
        collectTables();
        m_out.reserve(estimateSize());
        writeHeader();
        const auto& paragraphs = m_doc.paragraphs;
        for (std::size_t p = 0; p < paragraphs.size(); ++p) {
            const bool last = p + 1 == paragraphs.size();
            writeParagraph(paragraphs[p], last);
        }
        if (paragraphs.empty())
            controlWord("pard");
        m_out += '}';
        return std::move(m_out);
    }

private:
    // Every format that the body writes, in the order it writes them.
    template <typename Visit> void forEachWrittenFormat(Visit visit) const {
        const auto& paragraphs = m_doc.paragraphs;
        for (std::size_t p = 0; p < paragraphs.size(); ++p) {
            for (const TextRun& run : paragraphs[p].runs)
                visit(run.format);
            if (p + 1 < paragraphs.size() || paragraphs[p].runs.empty())
                visit(paragraphs[p].markFormat);
        }
    }

    void collectTables() {
        forEachWrittenFormat([this](const CharFormat& format) {
            if (std::find(m_fonts.begin(), m_fonts.end(), format.font) == m_fonts.end())
                m_fonts.push_back(format.font);
            addColour(format.colour);
            if (format.background)
                addColour(*format.background);
        });
        if (m_fonts.empty())
            m_fonts.push_back(CharFormat{}.font);
    }

    void addColour(Colour colour) {
        if (std::find(m_colours.begin(), m_colours.end(), colour) == m_colours.end())
            m_colours.push_back(colour);
    }

    std::size_t estimateSize() const {
        std::size_t size = 256 + 64 * m_fonts.size() + 32 * m_colours.size();
        for (const Paragraph& paragraph : m_doc.paragraphs) {
            size += 32;
            for (const TextRun& run : paragraph.runs)
                size += run.text.size() + 24;
        }
        return size;
    }

    int fontIndex(const std::string& font) const {
        return static_cast<int>(std::find(m_fonts.begin(), m_fonts.end(), font) - m_fonts.begin());
    }

    // Colour table entry 0 is the automatic colour; the table's own entries start at 1.
    int colourIndex(Colour colour) const {
        return 1 + static_cast<int>(std::find(m_colours.begin(), m_colours.end(), colour) -
                                    m_colours.begin());
    }

    void writeHeader() {
        m_out += "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
        for (std::size_t i = 0; i < m_fonts.size(); ++i) {
            m_out += "{\\f";
            m_out += std::to_string(i);
            m_out += "\\fnil\\fcharset0 ";
            m_afterControlWord = false;
            writeText(fromUtf8(m_fonts[i]));
            m_out += ";}";
        }
        m_out += "}{\\colortbl ;";
        for (Colour colour : m_colours) {
            m_out += "\\red" + std::to_string(colour.red) + "\\green" +
                     std::to_string(colour.green) + "\\blue" + std::to_string(colour.blue) + ";";
        }
        m_out += "}\\uc1\r\n";
        m_afterControlWord = false;
    }

    void writeParagraph(const Paragraph& paragraph, bool last) {
        controlWord("pard");
        if (paragraph.format.lineSpacing == LineSpacing::OneAndAHalf) {
            controlWord("sl", 360);
            controlWord("slmult", 1);
        } else if (paragraph.format.lineSpacing == LineSpacing::Double) {
            controlWord("sl", 480);
            controlWord("slmult", 1);
        }
        for (const TextRun& run : paragraph.runs) {
            if (run.text.empty())
                continue;
            writeFormatChange(run.format);
            writeText(run.text);
        }
        if (last) {
            // An empty last paragraph still has a format: the one typing there would take.
            // Readers take a paragraph mark at the very end of a document for the document's
            // own final mark and drop the empty paragraph after it; one more mark keeps the
            // empty last paragraph (the text's final line end) through a save and a reload.
            if (paragraph.runs.empty()) {
                writeFormatChange(paragraph.markFormat);
                controlWord("par");
            }
            return;
        }
        // The paragraph's text must run straight into CR LF, so that the markup holds
        // "end.  " + CR; a control word still open is closed by a space first.
        if (m_afterControlWord)
            m_out += ' ';
        m_out += "\r\n";
        m_afterControlWord = false;
        writeFormatChange(paragraph.markFormat);
        m_out += "\\par ";
        m_afterControlWord = false;
    }

    void writeFormatChange(const CharFormat& to) {
        const CharFormat* from = m_current ? &*m_current : nullptr;
        if (!from || from->font != to.font)
            controlWord("f", fontIndex(to.font));
        if (!from || from->size != to.size) {
            controlWord("fs", sizeIn(to.size, 2));
            if (!isWholeHalfPoint(to.size)) {
                m_out += "{\\*\\kssize ";
                m_out += std::to_string(sizeIn(to.size, 20));
                m_out += '}';
                m_afterControlWord = false;
            }
        }
        if (!from || from->colour != to.colour)
            controlWord("cf", colourIndex(to.colour));
        if (from ? from->background != to.background : to.background.has_value())
            controlWord("highlight", to.background ? colourIndex(*to.background) : 0);
        if (from ? from->bold != to.bold : to.bold)
            to.bold ? controlWord("b") : controlWord("b", 0);
        if (from ? from->italic != to.italic : to.italic)
            to.italic ? controlWord("i") : controlWord("i", 0);
        if (from ? from->underline != to.underline : to.underline)
            controlWord(to.underline ? "ul" : "ulnone");
        m_current = to;
    }

    void controlWord(std::string_view word, std::optional<int> parameter = std::nullopt) {
        m_out += '\\';
        m_out += word;
        if (parameter)
            m_out += std::to_string(*parameter);
        m_afterControlWord = true;
    }

    static bool needsDelimiter(char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u' ' || c == u'-';
    }

    void writeText(std::u16string_view text) {
        for (char16_t c : text) {
            if (c == u'\t') {
                m_out += "\\tab ";
            } else if (c == u'\r' || c == u'\n' || c == 0) {
                continue; // line breaks are paragraphs
            } else if (c < 0x20) {
                // Other control characters stay in the text (a form feed in a learner's file).
                controlWord("u", c);
                m_out += '?';
                m_afterControlWord = false;
            } else if (c == u'\\' || c == u'{' || c == u'}') {
                m_out += '\\';
                m_out += static_cast<char>(c);
            } else if (c < 0x7F) {
                if (m_afterControlWord && needsDelimiter(c))
                    m_out += ' ';
                m_out += static_cast<char>(c);
            } else if (auto byte = encodeWindows1252(c)) {
                m_out += "\\'";
                m_out += kHexDigits[*byte >> 4];
                m_out += kHexDigits[*byte & 0xF];
            } else {
                m_out += "\\u";
                m_out += std::to_string(static_cast<int>(static_cast<std::int16_t>(c)));
                m_out += '?';
            }
            m_afterControlWord = false;
        }
    }

    const RichDocument& m_doc;
    std::vector<std::string> m_fonts;
    std::vector<Colour> m_colours;
    std::optional<CharFormat> m_current;
    bool m_afterControlWord = false;
    std::string m_out;
};

} // namespace

std::string writeRtf(const RichDocument& doc) {
    return RtfWriter(doc).write();
}

} // namespace keystride
