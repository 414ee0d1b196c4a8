#include "platform/rtf/text_loader.h"

#include <gtest/gtest.h>

#include <string>

namespace keystride {
namespace {

TEST(DecodePlainText, ChoosesTheEncodingFromTheBytes) {
    struct Row {
        const char* name;
        std::string bytes;
        std::u16string text;
    };
    const Row rows[] = {
        {"empty", "", u""},
        {"ascii keeps its line ends", "a\r\nb\rc\nd", u"a\r\nb\rc\nd"},
        {"utf-8", "caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80", u"café € \U0001F600"},
        {"utf-8 byte-order mark dropped", "\xef\xbb\xbfHi", u"Hi"},
        {"a mark later on is text", "a\xef\xbb\xbf", u"a\uFEFF"},
        {"windows-1252", "caf\xe9 \x80 \x93ja\x94", u"café € “ja”"},
        {"one bad byte makes the whole file windows-1252", "\xc3\xa9 \xe9", u"\u00c3\u00a9 \u00e9"},
        {"truncated utf-8 sequence", "ab\xe2\x82", u"ab\u00e2\u201a"},
        {"nul dropped in utf-8", std::string("a\0b", 3), u"ab"},
        {"nul dropped in windows-1252", std::string("\xe9\0b", 3), u"éb"},
        {"utf-16 little-endian",
         std::string("\xff\xfe"
                     "A\0\xe9\0\r\0\n\0",
                     10),
         u"Aé\r\n"},
        {"utf-16 big-endian", std::string("\xfe\xff\0A\x20\xac", 6), u"A€"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(decodePlainText(row.bytes), row.text) << row.name;
}

} // namespace
} // namespace keystride
