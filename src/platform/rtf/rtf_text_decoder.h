// Turns the 8-bit text bytes of RTF markup (raw bytes and \'hh escapes) into UTF-16 under the
// code page in force: single-byte Windows and DOS pages, the double-byte East Asian pages, whose
// characters may arrive as two separate escapes, and UTF-8 (code page 65001).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace keystride {

inline constexpr int kUtf8CodePage = 65001;
inline constexpr char16_t kReplacementCharacter = 0xFFFD;

// True when the decoder can read text in `codePage`.
bool isReadableRtfCodePage(int codePage);

class RtfTextDecoder {
public:
    // True while no multi-byte sequence is half read, so an ASCII byte stands for itself.
    bool idle() const { return m_pendingCount == 0; }

    // Decodes `byte` in `codePage` and passes every finished character to `out`.
    template <typename Out> void put(std::uint8_t byte, int codePage, Out&& out);
    // Ends a half-read sequence (it becomes one replacement character).
    template <typename Out> void flush(Out&& out) {
        if (m_pendingCount != 0) {
            m_pendingCount = 0;
            out(kReplacementCharacter);
        }
    }

private:
    char16_t singleByte(std::uint8_t byte, int codePage);
    template <typename Out> void putDoubleByte(std::uint8_t byte, int codePage, Out&& out);
    template <typename Out> void putUtf8(std::uint8_t byte, Out&& out);
    void startUtf8(int length, char32_t firstBits, char32_t minimum) {
        m_utf8Needed = length;
        m_utf8Value = firstBits;
        m_utf8Minimum = minimum; // shorter encodings of the same character are refused
        m_pendingCount = 1;
        m_pendingCodePage = kUtf8CodePage;
    }

    int m_pendingCodePage = 0;
    int m_pendingCount = 0;
    int m_utf8Needed = 0;
    char32_t m_utf8Value = 0;
    char32_t m_utf8Minimum = 0;
    std::uint8_t m_lead = 0;

    // Upper halves of the single-byte code pages met so far; documents switch between a few
    // (one per font charset), so a handful of slots keeps every switch a lookup.
    struct PageTable {
        int codePage = 0;
        std::array<char16_t, 128> high{};
    };
    std::array<PageTable, 4> m_tables{};
    std::size_t m_lastTable = 0;
    std::size_t m_nextSlot = 0;
};

// Characters of a double-byte page that are not a lead byte, decoded alone.
char16_t decodeDoubleByteSingle(int codePage, std::uint8_t byte);
// The pair's character, or the replacement character when the pair is undefined.
char16_t decodeDoubleBytePair(int codePage, std::uint8_t lead, std::uint8_t trail);
bool isRtfLeadByte(int codePage, std::uint8_t byte);
bool isDoubleByteTrail(std::uint8_t byte);
bool isDoubleBytePage(int codePage);

template <typename Out> void RtfTextDecoder::put(std::uint8_t byte, int codePage, Out&& out) {
    if (m_pendingCount != 0 && m_pendingCodePage != codePage)
        flush(out);
    if (codePage == kUtf8CodePage) {
        putUtf8(byte, out);
        return;
    }
    if (isDoubleBytePage(codePage)) {
        putDoubleByte(byte, codePage, out);
        return;
    }
    out(byte < 0x80 ? static_cast<char16_t>(byte) : singleByte(byte, codePage));
}

template <typename Out>
void RtfTextDecoder::putDoubleByte(std::uint8_t byte, int codePage, Out&& out) {
    if (m_pendingCount != 0) {
        m_pendingCount = 0;
        if (isDoubleByteTrail(byte)) {
            out(decodeDoubleBytePair(codePage, m_lead, byte));
            return;
        }
        // A lead byte without its trail byte: the lead byte is lost, the other byte stands.
        out(kReplacementCharacter);
    }
    if (isRtfLeadByte(codePage, byte)) {
        m_lead = byte;
        m_pendingCount = 1;
        m_pendingCodePage = codePage;
        return;
    }
    out(decodeDoubleByteSingle(codePage, byte));
}

template <typename Out> void RtfTextDecoder::putUtf8(std::uint8_t byte, Out&& out) {
    if (m_pendingCount != 0) {
        if ((byte & 0xC0) == 0x80) {
            m_utf8Value = (m_utf8Value << 6) | (byte & 0x3F);
            ++m_pendingCount;
            if (m_pendingCount < m_utf8Needed)
                return;
            m_pendingCount = 0;
            const char32_t cp = m_utf8Value;
            if (cp < m_utf8Minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
                out(kReplacementCharacter);
            } else if (cp >= 0x10000) {
                out(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
                out(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
            } else {
                out(static_cast<char16_t>(cp));
            }
            return;
        }
        m_pendingCount = 0;
        out(kReplacementCharacter); // a cut-short sequence; this byte starts afresh
    }
    if (byte < 0x80) {
        out(static_cast<char16_t>(byte));
    } else if ((byte & 0xE0) == 0xC0) {
        startUtf8(2, byte & 0x1F, 0x80);
    } else if ((byte & 0xF0) == 0xE0) {
        startUtf8(3, byte & 0x0F, 0x800);
    } else if ((byte & 0xF8) == 0xF0) {
        startUtf8(4, byte & 0x07, 0x10000);
    } else {
        out(kReplacementCharacter);
    }
}

} // namespace keystride
