// Bytes to text and back out. Plain-text documents: the encoding is told from the bytes alone
// (UTF-8 and Windows-1252 as such are the pane conformance suite's; here are the marks and the
// mixtures). What keystride-mark and keystride-doc print: a path or text that is not valid UTF-8
// (a file name is any bytes) is replaced rather than refused.
#include "platform/richtext/format_json.h"
#include "platform/rtf/text_loader.h"

#include <gtest/gtest.h>

#include <string>

namespace keystride {
namespace {

TEST(DecodePlainText, ChoosesTheEncodingFromTheBytes) {
    const std::tuple<const char*, std::string, std::u16string> rows[] = {
        {"utf-8 byte-order mark dropped", "\xef\xbb\xbfHi", u"Hi"},
        {"a mark later on is text", "a\xef\xbb\xbf", u"a\uFEFF"},
        {"one bad byte makes the whole file windows-1252", "\xc3\xa9 \xe9", u"\u00c3\u00a9 \u00e9"},
        {"truncated utf-8 sequence", "ab\xe2\x82", u"ab\u00e2\u201a"},
        {"nul dropped in utf-8", std::string("a\0b", 3), u"ab"},
        {"utf-16 little-endian", std::string("\xff\xfe\x41\0\xe9\0\r\0\n\0", 10), u"Aé\r\n"},
        {"utf-16 big-endian", std::string("\xfe\xff\0A\x20\xac", 6), u"A€"},
    };
    for (const auto& [name, bytes, text] : rows)
        EXPECT_EQ(decodePlainText(bytes), text) << name;
}

TEST(FormatJson, TextThatIsNotUtf8IsReplaced) {
    EXPECT_EQ(jsonText(Json("bad \xe9 byte")), "\"bad \xef\xbf\xbd byte\"");
}

} // namespace
} // namespace keystride
