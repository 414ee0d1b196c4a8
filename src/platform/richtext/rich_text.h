// The rich-text model shared by the RTF reader and writer, the in-memory pane and the window's
// pane. Text is UTF-16: positions count UTF-16 code units, and a paragraph break is the two
// characters CR LF, as the panes report it in their plain text.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace keystride {

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;

    friend bool operator==(const Colour&, const Colour&) = default;

    static constexpr Colour rgb(int r, int g, int b) {
        return Colour{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                      static_cast<std::uint8_t>(b)};
    }
    // "#rrggbb", lower-case hex.
    std::string hex() const;
};

namespace colours {
inline constexpr Colour black = Colour::rgb(0, 0, 0);
inline constexpr Colour white = Colour::rgb(255, 255, 255);
inline constexpr Colour red = Colour::rgb(255, 0, 0);
inline constexpr Colour blue = Colour::rgb(0, 0, 255);
inline constexpr Colour paneGrey = Colour::rgb(224, 224, 224);
} // namespace colours

struct CharFormat {
    std::string font = "Courier New"; // face name, UTF-8
    double size = 12.0;               // points; 9.75 stays 9.75
    Colour colour = colours::black;
    std::optional<Colour> background; // none, or a highlight colour
    bool bold = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const CharFormat&, const CharFormat&) = default;
};

// Paragraph line-spacing rule, as the Format menu and the line-spacing check number it.
enum class LineSpacing : int { Single = 0, OneAndAHalf = 1, Double = 2 };

struct ParaFormat {
    LineSpacing lineSpacing = LineSpacing::Single;
    friend bool operator==(const ParaFormat&, const ParaFormat&) = default;
};

struct TextRun {
    CharFormat format;
    std::u16string text; // never holds CR or LF
    friend bool operator==(const TextRun&, const TextRun&) = default;
};

struct Paragraph {
    ParaFormat format;
    std::vector<TextRun> runs;
    // Format of the paragraph mark (the CR LF that ends every paragraph but the last).
    CharFormat markFormat;
    friend bool operator==(const Paragraph&, const Paragraph&) = default;
};

// A document is a list of paragraphs of character runs; it always holds at least one paragraph.
struct RichDocument {
    std::vector<Paragraph> paragraphs{Paragraph{}};

    // Plain text: the paragraphs joined by CR LF.
    std::u16string plainText() const;
    // A document holding `text` in one format; CR LF, lone CR and lone LF each end a paragraph.
    static RichDocument fromPlainText(std::u16string_view text, const CharFormat& format);
    friend bool operator==(const RichDocument&, const RichDocument&) = default;
};

// One maximal stretch of equally formatted characters of a pane's plain text (0-based start).
struct FormatSpan {
    int start = 0;
    int length = 0;
    CharFormat format;
    friend bool operator==(const FormatSpan&, const FormatSpan&) = default;
};

// Text conversions used at the edges (files, command line, JSON).
std::u16string fromUtf8(std::string_view utf8);
std::string toUtf8(std::u16string_view text);
// The same conversion appended to `out`.
void appendUtf8(std::string& out, std::u16string_view text);
// The same conversion handed to `write` a piece at a time, for output too large to hold twice;
// false, and the rest left out, as soon as `write` returns false.
bool writeUtf8Pieces(std::u16string_view text, const std::function<bool(std::string_view)>& write);
// True when `bytes` is well-formed UTF-8.
bool isValidUtf8(std::string_view bytes);

} // namespace keystride
