// Pane text written as UTF-8: whole, appended, or handed out in pieces, a surrogate pair is never
// cut in two, wherever the pieces end.
#include "platform/richtext/rich_text.h"

#include <gtest/gtest.h>

#include <string>

namespace keystride {
namespace {

TEST(Utf8, TextIsWrittenTheSameWholeAppendedAndInPieces) {
    const std::u16string pile = u"\U0001F4A9"; // a surrogate pair
    // Pieces hold 16384 units; pairs are put across that border and across twice it.
    const std::u16string ascii(16383, u'a');
    const std::tuple<const char*, std::u16string, std::string> rows[] = {
        {"one to four bytes", u"a\u00e9\u20ac" + pile, "a\xc3\xa9\xe2\x82\xac\xf0\x9f\x92\xa9"},
        {"lone surrogates", u"x\xd83d y\xdca9", "x\xef\xbf\xbd y\xef\xbf\xbd"},
        {"pair across a piece border", ascii + pile + u"b",
         std::string(16383, 'a') + "\xf0\x9f\x92\xa9" + "b"},
        {"pair across the second border", ascii + pile + ascii + pile,
         std::string(16383, 'a') + "\xf0\x9f\x92\xa9" + std::string(16383, 'a') +
             "\xf0\x9f\x92\xa9"},
        {"high surrogate ending the text", ascii + u"\xd83d",
         std::string(16383, 'a') + "\xef\xbf\xbd"},
    };
    for (const auto& [name, text, utf8] : rows) {
        SCOPED_TRACE(name);
        EXPECT_EQ(toUtf8(text), utf8);
        std::string appended = "before ";
        appendUtf8(appended, text);
        EXPECT_EQ(appended, "before " + utf8);
        std::string joined;
        int pieces = 0;
        EXPECT_TRUE(writeUtf8Pieces(text, [&](std::string_view piece) {
            joined += piece;
            return ++pieces > 0;
        }));
        EXPECT_EQ(joined, utf8);
        EXPECT_LE(pieces, 3);
    }
}

TEST(Utf8, AFailedWriteStopsThePieces) {
    const std::u16string text(3 * 16384, u'a');
    int pieces = 0;
    EXPECT_FALSE(writeUtf8Pieces(text, [&](std::string_view) { return ++pieces < 2; }));
    EXPECT_EQ(pieces, 2);
}

} // namespace
} // namespace keystride
