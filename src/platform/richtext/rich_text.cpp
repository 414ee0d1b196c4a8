#include "platform/richtext/rich_text.h"

#include <algorithm>
#include <cstdio>

namespace keystride {

std::string Colour::hex() const {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "#%02x%02x%02x", red, green, blue);
    return buffer;
}

std::u16string RichDocument::plainText() const {
    std::u16string out;
    for (std::size_t p = 0; p < paragraphs.size(); ++p) {
        if (p > 0)
            out += u"\r\n";
        for (const TextRun& run : paragraphs[p].runs)
            out += run.text;
    }
    return out;
}

RichDocument RichDocument::fromPlainText(std::u16string_view text, const CharFormat& format) {
    RichDocument doc;
    doc.paragraphs.clear();
    Paragraph current;
    current.markFormat = format;
    std::u16string pending;
    auto endParagraph = [&]() {
        if (!pending.empty())
            current.runs.push_back(TextRun{format, pending});
        pending.clear();
        doc.paragraphs.push_back(current);
        current = Paragraph{};
        current.markFormat = format;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endParagraph();
        } else if (c == u'\n') {
            endParagraph();
        } else {
            pending += c;
        }
    }
    endParagraph();
    return doc;
}

std::u16string fromUtf8(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    auto byteAt = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    std::size_t i = 0;
    while (i < utf8.size()) {
        const unsigned char b0 = byteAt(i);
        std::size_t len = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if (b0 < 0x80) {
            len = 1;
            cp = b0;
        } else if ((b0 & 0xE0) == 0xC0) {
            len = 2;
            cp = b0 & 0x1F;
            min = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            len = 3;
            cp = b0 & 0x0F;
            min = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            len = 4;
            cp = b0 & 0x07;
            min = 0x10000;
        }
        bool valid = len > 0 && i + len <= utf8.size();
        for (std::size_t k = 1; valid && k < len; ++k) {
            if ((byteAt(i + k) & 0xC0) != 0x80)
                valid = false;
            else
                cp = (cp << 6) | (byteAt(i + k) & 0x3F);
        }
        if (valid && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            valid = false;
        if (!valid) {
            // A malformed sequence costs one byte and reads as the replacement character.
            out += char16_t(0xFFFD);
            ++i;
            continue;
        }
        i += len;
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
    }
    return out;
}

namespace {

// Writes the code point `cp` (never a surrogate) as two to four bytes at `out`; returns the end.
char* writeCodePoint(char* out, char32_t cp) {
    if (cp < 0x800) {
        *out++ = static_cast<char>(0xC0 | (cp >> 6));
    } else if (cp < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (cp >> 12));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (cp >> 18));
        *out++ = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    }
    *out++ = static_cast<char>(0x80 | (cp & 0x3F));
    return out;
}

// Writes `text` as UTF-8 at `out`, which has room for three bytes a unit; returns the end.
char* writeUtf8(char* out, std::u16string_view text) {
    const std::size_t size = text.size();
    for (std::size_t i = 0; i < size; ++i) {
        char32_t cp = text[i];
        if (cp < 0x80) {
            *out++ = static_cast<char>(cp);
            continue;
        }
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < size && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD; // a lone surrogate cannot be written as UTF-8
        }
        out = writeCodePoint(out, cp);
    }
    return out;
}

// The units of `text` that make one piece of output: at most PieceUnits, and one more rather than
// a surrogate pair cut in two.
constexpr std::size_t PieceUnits = 16384;
std::size_t pieceUnits(std::u16string_view text) {
    std::size_t units = std::min(PieceUnits, text.size());
    if (units < text.size() && text[units - 1] >= 0xD800 && text[units - 1] <= 0xDBFF)
        ++units;
    return units;
}

} // namespace

void appendUtf8(std::string& out, std::u16string_view text) {
    // A piece at a time, the string grown by the most a piece can need and cut back to what it
    // took, so that a unit costs a comparison and a store.
    while (!text.empty()) {
        const std::size_t units = pieceUnits(text);
        const std::size_t at = out.size();
        out.resize(at + 3 * units);
        char* const begin = out.data() + at;
        const char* const end = writeUtf8(begin, text.substr(0, units));
        out.resize(at + static_cast<std::size_t>(end - begin));
        text.remove_prefix(units);
    }
}

bool writeUtf8Pieces(std::u16string_view text, const std::function<bool(std::string_view)>& write) {
    std::string piece;
    while (!text.empty()) {
        const std::size_t units = pieceUnits(text);
        piece.clear();
        appendUtf8(piece, text.substr(0, units));
        if (!write(piece))
            return false;
        text.remove_prefix(units);
    }
    return true;
}

std::string toUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    appendUtf8(out, text);
    return out;
}

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        auto b0 = static_cast<unsigned char>(bytes[i]);
        std::size_t len = 0;
        char32_t min = 0;
        if (b0 < 0x80) {
            ++i;
            continue;
        } else if ((b0 & 0xE0) == 0xC0) {
            len = 2;
            min = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            len = 3;
            min = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            len = 4;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + len > bytes.size())
            return false;
        char32_t cp = b0 & (0xFF >> (len + 1));
        for (std::size_t k = 1; k < len; ++k) {
            auto b = static_cast<unsigned char>(bytes[i + k]);
            if ((b & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (b & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += len;
    }
    return true;
}

} // namespace keystride
