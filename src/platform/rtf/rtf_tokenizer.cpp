#include "platform/rtf/rtf_tokenizer.h"

#include <array>
#include <climits>

namespace keystride {

namespace {

// Bytes that end a text token: markup, and the line ends and NUL bytes that RTF ignores.
constexpr std::array<bool, 256> makeTextStops() {
    std::array<bool, 256> stops{};
    stops['\\'] = true;
    stops['{'] = true;
    stops['}'] = true;
    stops['\r'] = true;
    stops['\n'] = true;
    stops['\0'] = true;
    return stops;
}
constexpr std::array<bool, 256> kTextStops = makeTextStops();

RtfToken tokenOf(RtfTokenKind kind) {
    RtfToken token;
    token.kind = kind;
    return token;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

RtfToken RtfTokenizer::next() {
    const std::size_t size = m_input.size();
    while (m_pos < size) {
        const char c = m_input[m_pos];
        switch (c) {
        case '{':
            ++m_pos;
            return tokenOf(RtfTokenKind::GroupStart);
        case '}':
            ++m_pos;
            return tokenOf(RtfTokenKind::GroupEnd);
        case '\\':
            return readControl();
        case '\r':
        case '\n':
        case '\0':
            ++m_pos;
            continue;
        default:
            break;
        }
        const std::size_t start = m_pos;
        while (m_pos < size && !kTextStops[static_cast<unsigned char>(m_input[m_pos])])
            ++m_pos;
        RtfToken token = tokenOf(RtfTokenKind::Text);
        token.text = m_input.substr(start, m_pos - start);
        return token;
    }
    return tokenOf(RtfTokenKind::End);
}

RtfToken RtfTokenizer::readControl() {
    const std::size_t size = m_input.size();
    ++m_pos; // the backslash
    if (m_pos >= size)
        return tokenOf(RtfTokenKind::End);

    const char first = m_input[m_pos];
    if (!isLetter(first)) {
        ++m_pos;
        if (first != '\'') {
            RtfToken token = tokenOf(RtfTokenKind::ControlSymbol);
            // A backslash before a line end stands for \par, whichever line-end bytes follow.
            token.symbol = first == '\r' ? '\n' : first;
            if (first == '\r' && m_pos < size && m_input[m_pos] == '\n')
                ++m_pos;
            return token;
        }
        // \'hh: two hex digits. Characters that are not hex are taken as part of the broken
        // escape (which then yields no character), but markup is never swallowed.
        RtfToken token = tokenOf(RtfTokenKind::HexByte);
        int value = 0;
        bool valid = true;
        for (int i = 0; i < 2; ++i) {
            if (m_pos >= size) {
                valid = false;
                break;
            }
            const char h = m_input[m_pos];
            if (h == '\\' || h == '{' || h == '}') {
                valid = false;
                break;
            }
            ++m_pos;
            const int digit = hexValue(h);
            if (digit < 0)
                valid = false;
            else
                value = value * 16 + digit;
        }
        token.validHex = valid;
        token.byte = static_cast<std::uint8_t>(value);
        return token;
    }

    const std::size_t nameStart = m_pos;
    while (m_pos < size && isLetter(m_input[m_pos]))
        ++m_pos;
    RtfToken token = tokenOf(RtfTokenKind::ControlWord);
    const std::size_t nameLength = m_pos - nameStart;
    if (nameLength <= kMaxWordLength)
        token.text = m_input.substr(nameStart, nameLength);
    else
        m_sawOverlongWord = true; // left nameless, so it matches nothing

    if (m_pos < size && (isDigit(m_input[m_pos]) || (m_input[m_pos] == '-' && m_pos + 1 < size &&
                                                     isDigit(m_input[m_pos + 1])))) {
        const bool negative = m_input[m_pos] == '-';
        if (negative)
            ++m_pos;
        long long value = 0;
        while (m_pos < size && isDigit(m_input[m_pos])) {
            if (value <= INT_MAX)
                value = value * 10 + (m_input[m_pos] - '0');
            ++m_pos;
        }
        if (value > INT_MAX)
            value = INT_MAX;
        token.parameter = static_cast<int>(negative ? -value : value);
        token.hasParameter = true;
    }
    if (m_pos < size && m_input[m_pos] == ' ')
        ++m_pos; // the delimiting space belongs to the control word

    if (token.text == "bin" && token.hasParameter && token.parameter > 0) {
        std::size_t length = static_cast<std::size_t>(token.parameter);
        if (length > size - m_pos) {
            length = size - m_pos;
            m_sawTruncatedBinary = true;
        }
        RtfToken data = tokenOf(RtfTokenKind::Binary);
        data.text = m_input.substr(m_pos, length);
        m_pos += length;
        return data;
    }
    return token;
}

} // namespace keystride
