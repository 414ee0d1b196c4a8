// The control words the RTF reader acts on, classified once in a sorted table.
#pragma once

#include <string_view>

namespace keystride {

enum class RtfWord {
    Unknown, // every word not in the table: read and ignored
    // Groups whose content is never document text.
    SkipDestination,
    FontTable,
    ColourTable,
    UnicodePair,        // \upr: an 8-bit variant followed by a \ud Unicode variant
    UnicodeDestination, // \ud
    // Document character set.
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    // Font and colour table entries.
    FontCharset,
    Red,
    Green,
    Blue,
    // Character format.
    Plain,
    Font,
    FontSize,
    ExactFontSize, // {\*\kssize N}: the size in twentieths of a point, beside a rounded \fs
    Colour,
    Background,
    Highlight,
    Bold,
    Italic,
    Underline,
    UnderlineNone,
    // Paragraph format.
    ParagraphDefaults,
    LineSpacing,
    LineSpacingMultiple,
    // Text.
    ParagraphEnd,
    Tab,
    Unicode,
    UnicodeSkip,
    EmDash,
    EnDash,
    LeftQuote,
    RightQuote,
    LeftDoubleQuote,
    RightDoubleQuote,
    Bullet,
    EmSpace,
    EnSpace,
    QuarterEmSpace,
    Binary,
};

// The meaning of control word `name` (letters only, case-sensitive); Unknown when it has none.
RtfWord lookupRtfWord(std::string_view name);

} // namespace keystride
