// Splits RTF markup into tokens in one pass over the bytes, without allocating. Bounds every
// input-controlled quantity: control words past 32 letters, numeric parameters (clamped to the
// 32-bit range) and \bin lengths (clipped to the bytes that remain).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace keystride {

enum class RtfTokenKind {
    End,
    GroupStart,
    GroupEnd,
    ControlWord,   // `text` = the letters, `parameter`/`hasParameter`
    ControlSymbol, // `symbol` = the character after the backslash ('\n' for backslash-newline)
    HexByte,       // \'hh: `byte`, or `validHex` false when the two characters were not hex
    Text,          // `text` = bytes without braces, backslashes, CR, LF or NUL
    Binary,        // `text` = the data that followed \binN
};

struct RtfToken {
    RtfTokenKind kind = RtfTokenKind::End;
    std::string_view text;
    int parameter = 0;
    bool hasParameter = false;
    char symbol = 0;
    std::uint8_t byte = 0;
    bool validHex = false;
};

class RtfTokenizer {
public:
    static constexpr std::size_t kMaxWordLength = 32;

    explicit RtfTokenizer(std::string_view input, std::size_t start = 0)
        : m_input(input), m_pos(start) {}

    RtfToken next();

    std::size_t position() const { return m_pos; }
    // A control word longer than kMaxWordLength letters was met (and reported as having no name).
    bool sawOverlongWord() const { return m_sawOverlongWord; }
    // A \bin length reached past the end of the input.
    bool sawTruncatedBinary() const { return m_sawTruncatedBinary; }

private:
    RtfToken readControl();

    std::string_view m_input;
    std::size_t m_pos = 0;
    bool m_sawOverlongWord = false;
    bool m_sawTruncatedBinary = false;
};

} // namespace keystride
