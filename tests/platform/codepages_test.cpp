#include "platform/richtext/codepages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

namespace keystride {
namespace {

struct ByteCase {
    int codePage;
    std::uint8_t byte;
    std::optional<char16_t> expected;
};

// The pages the reader's own table does not already decode, and bytes no page defines.
TEST(CodePages, DecodesEachSingleBytePageAndOnlyThose) {
    const ByteCase cases[] = {
        {1252, 0x81, std::nullopt},  {1250, 0x81, std::nullopt}, {1253, 0xC1, u'\u0391'},
        {1253, 0xAA, std::nullopt},  {1254, 0xF0, u'\u011F'},    {1255, 0xE0, u'\u05D0'},
        {1255, 0xD9, std::nullopt},  {1256, 0xC7, u'\u0627'},    {1257, 0xE8, u'\u010D'},
        {1257, 0xA1, std::nullopt},  {1258, 0xD0, u'\u0110'},    {874, 0xDB, std::nullopt},
        {0, 0x41, std::nullopt},     {1181, 0x41, std::nullopt}, {932, 0x41, std::nullopt},
        {65001, 0x41, std::nullopt},
    };
    for (const ByteCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "code page " << c.codePage << " byte " << int(c.byte));
        EXPECT_EQ(decodeCodePageByte(c.codePage, c.byte), c.expected);
    }
    for (int page : {437, 850, 874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258, 10000}) {
        ASSERT_TRUE(isKnownSingleByteCodePage(page)) << page;
        for (int byte = 0; byte < 0x80; ++byte)
            ASSERT_EQ(decodeCodePageByte(page, static_cast<std::uint8_t>(byte)),
                      static_cast<char16_t>(byte))
                << page;
    }
    for (int page : {0, 1181, 932, 936, 949, 950, 65001})
        EXPECT_FALSE(isKnownSingleByteCodePage(page)) << page;
}

TEST(CodePages, Windows1252EncodesWhatItDecodes) {
    for (int byte = 0; byte < 0x100; ++byte) {
        const auto b = static_cast<std::uint8_t>(byte);
        const std::optional<char16_t> c = decodeCodePageByte(1252, b);
        if (c) {
            EXPECT_EQ(encodeWindows1252(*c), b) << byte;
        }
    }
    EXPECT_EQ(encodeWindows1252(u'\u0161'), 0x9A);
    EXPECT_EQ(encodeWindows1252(u'\u0410'), std::nullopt);
}

TEST(CodePages, CharsetsNameTheirCodePages) {
    const std::pair<int, std::optional<int>> cases[] = {
        {0, 1252},   {238, 1250},       {204, 1251},       {161, 1253},        {162, 1254},
        {177, 1255}, {178, 1256},       {186, 1257},       {163, 1258},        {222, 874},
        {128, 932},  {134, 936},        {129, 949},        {136, 950},         {255, 437},
        {77, 10000}, {1, std::nullopt}, {2, std::nullopt}, {-5, std::nullopt},
    };
    for (const auto& [charset, page] : cases)
        EXPECT_EQ(codePageForCharset(charset), page) << charset;
}

TEST(CodePages, DecodesDoubleBytePairs) {
    struct PairCase {
        int codePage;
        std::uint8_t lead;
        std::uint8_t trail;
        bool isLead;
        std::optional<char16_t> expected;
    };
    const PairCase cases[] = {
        {932, 0x82, 0xA0, true, u'\u3042'}, // a trail byte above 0x7F
        {932, 0x83, 0x43, true, u'\u30A4'}, // a trail byte that looks like ASCII 'C'
        {936, 0xB2, 0xE2, true, u'\u6D4B'},
        {949, 0xC7, 0xD1, true, u'\uD55C'},
        {950, 0xA4, 0xA4, true, u'\u4E2D'},
        {932, 0x82, 0x20, true, std::nullopt},  // trail byte out of range
        {932, 0x41, 0x82, false, std::nullopt}, // not a lead byte
        {932, 0xB1, 0x82, false, std::nullopt}, // single-byte katakana
        {1252, 0x82, 0xA0, false, std::nullopt},
    };
    for (const PairCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "code page " << c.codePage << " lead " << int(c.lead));
        EXPECT_EQ(isDoubleByteCodePage(c.codePage), c.codePage != 1252);
        EXPECT_EQ(isLeadByte(c.codePage, c.lead), c.isLead);
        EXPECT_EQ(decodeDoubleByte(c.codePage, c.lead, c.trail), c.expected);
    }
}

} // namespace
} // namespace keystride
