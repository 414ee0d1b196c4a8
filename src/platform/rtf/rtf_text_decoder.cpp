#include "platform/rtf/rtf_text_decoder.h"

#include "platform/richtext/codepages.h"

namespace keystride {

bool isReadableRtfCodePage(int codePage) {
    return codePage == kUtf8CodePage || isKnownSingleByteCodePage(codePage) ||
           isDoubleByteCodePage(codePage);
}

bool isDoubleBytePage(int codePage) {
    return isDoubleByteCodePage(codePage);
}

bool isRtfLeadByte(int codePage, std::uint8_t byte) {
    return isLeadByte(codePage, byte);
}

bool isDoubleByteTrail(std::uint8_t byte) {
    return byte >= 0x40 && byte <= 0xFE;
}

char16_t decodeDoubleByteSingle(int codePage, std::uint8_t byte) {
    if (byte < 0x80)
        return static_cast<char16_t>(byte);
    // Code page 932 keeps half-width katakana in single bytes.
    if (codePage == 932 && byte >= 0xA1 && byte <= 0xDF)
        return static_cast<char16_t>(0xFF61 + (byte - 0xA1));
    return kReplacementCharacter;
}

char16_t decodeDoubleBytePair(int codePage, std::uint8_t lead, std::uint8_t trail) {
    return decodeDoubleByte(codePage, lead, trail).value_or(kReplacementCharacter);
}

char16_t RtfTextDecoder::singleByte(std::uint8_t byte, int codePage) {
    if (m_tables[m_lastTable].codePage != codePage) {
        std::size_t slot = 0;
        while (slot < m_tables.size() && m_tables[slot].codePage != codePage)
            ++slot;
        if (slot == m_tables.size()) {
            slot = m_nextSlot;
            m_nextSlot = (m_nextSlot + 1) % m_tables.size();
            PageTable& table = m_tables[slot];
            table.codePage = codePage;
            for (int i = 0; i < 128; ++i) {
                const auto b = static_cast<std::uint8_t>(0x80 + i);
                // Bytes a page leaves undefined read as Windows reads them in 1252 (the C1
                // control of that number) and as the replacement character elsewhere.
                table.high[static_cast<std::size_t>(i)] =
                    codePage == 1252
                        ? decodeWindows1252(b)
                        : decodeCodePageByte(codePage, b).value_or(kReplacementCharacter);
            }
        }
        m_lastTable = slot;
    }
    return m_tables[m_lastTable].high[byte - 0x80];
}

} // namespace keystride
