// The control words the RTF reader acts on, classified once in a sorted table.
#pragma once

#include <cstdint>
#include <string_view>

namespace keystride {

// RTF's classes of control words: what a word does with its parameter.
enum class RtfWordClass : std::uint8_t {
    Unknown,     // every word not in the table: read and ignored
    Destination, // starts a group whose content is not body text, or not only
    Flag,        // sets something; a parameter means nothing
    Toggle,      // on without a parameter or with a non-zero one, off with 0
    Value,       // the parameter is the number it sets
    Symbol,      // stands for a character or a paragraph break
};

enum class RtfWord : std::uint8_t {
    Unknown,
    // Destinations.
    SkipDestination,    // metadata, pictures, objects, headers, notes, field instructions...
    FontTable,          // \fonttbl
    ColourTable,        // \colortbl
    UnicodePair,        // \upr: an 8-bit variant followed by a \ud Unicode variant
    UnicodeDestination, // \ud
    // Document character set and tables.
    CharacterSet, // \ansi, \mac, \pc, \pca: the code page is the entry's argument
    AnsiCodePage,
    DefaultFont,
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
    Background, // \cb, \chcbpat and \highlight
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
    Character, // the entry's argument is the character
    Unicode,
    UnicodeSkip,
    Binary,
};

struct RtfControl {
    RtfWordClass wordClass = RtfWordClass::Unknown;
    RtfWord word = RtfWord::Unknown;
    // The character a Character symbol stands for, or the code page a CharacterSet flag names.
    std::uint16_t argument = 0;
};

// The meaning of control word `name` (letters only, case-sensitive); Unknown when it has none.
RtfControl lookupRtfWord(std::string_view name);

} // namespace keystride
