#include "platform/rtf_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace keystride {
namespace {

const char kHeader[] = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Courier "
                       "New;}}{\\colortbl ;\\red0\\green0\\blue0;}\\uc1\r\n";

Paragraph paragraph(std::vector<TextRun> runs, LineSpacing spacing = LineSpacing::Single) {
    Paragraph p;
    p.format.lineSpacing = spacing;
    p.runs = std::move(runs);
    return p;
}

RichDocument document(std::vector<Paragraph> paragraphs) {
    RichDocument doc;
    doc.paragraphs = std::move(paragraphs);
    return doc;
}

// The markup after the header line.
std::string body(const std::string& rtf) {
    std::size_t end = rtf.find("\r\n");
    return end == std::string::npos ? rtf : rtf.substr(end + 2);
}

CharFormat bold() {
    CharFormat f;
    f.bold = true;
    return f;
}

TEST(RtfWriter, PlainDocumentHasTheFixedShape) {
    RichDocument doc = RichDocument::fromPlainText(u"end.  \r\nNext", CharFormat{});
    EXPECT_EQ(writeRtf(doc),
              std::string(kHeader) + "\\pard\\f0\\fs24\\cf1 end.  \r\n\\par \\pard Next}");
}

TEST(RtfWriter, EmptyDocumentStillNamesItsFormat) {
    EXPECT_EQ(writeRtf(RichDocument{}), std::string(kHeader) + "\\pard\\f0\\fs24\\cf1}");
}

TEST(RtfWriter, ParagraphTextRunsStraightIntoItsLineEnd) {
    // The sentence-end tidy finds "." + two spaces + CR only if nothing stands between them,
    // also when the paragraph mark has a format of its own.
    Paragraph first = paragraph({{CharFormat{}, u"end.  "}});
    first.markFormat = bold();
    RichDocument doc = document({first, paragraph({{CharFormat{}, u"x"}})});
    EXPECT_EQ(body(writeRtf(doc)), "\\pard\\f0\\fs24\\cf1 end.  \r\n\\b\\par \\pard\\b0 x}");
}

TEST(RtfWriter, EmptyParagraphsCloseTheirControlWordBeforeTheLineEnd) {
    RichDocument doc = RichDocument::fromPlainText(u"\r\n\r\na", CharFormat{});
    EXPECT_EQ(body(writeRtf(doc)), "\\pard \r\n\\f0\\fs24\\cf1\\par \\pard \r\n\\par \\pard a}");
}

TEST(RtfWriter, LineSpacingIsWrittenPerParagraph) {
    RichDocument doc = document({paragraph({{CharFormat{}, u"a"}}, LineSpacing::OneAndAHalf),
                                 paragraph({{CharFormat{}, u"b"}}, LineSpacing::Double),
                                 paragraph({{CharFormat{}, u"c"}}, LineSpacing::Single)});
    std::string rtf = writeRtf(doc);
    EXPECT_EQ(body(rtf), "\\pard\\sl360\\slmult1\\f0\\fs24\\cf1 a\r\n\\par "
                         "\\pard\\sl480\\slmult1 b\r\n\\par \\pard c}");
    EXPECT_NE(rtf.find("\\sl360\\"), std::string::npos);
    EXPECT_NE(rtf.find("\\sl480\\"), std::string::npos);
}

TEST(RtfWriter, FormatWordsNameOnlyWhatChanged) {
    CharFormat arial;
    arial.font = "Arial";
    arial.size = 9.75;
    CharFormat red;
    red.colour = colours::red;
    red.background = colours::blue;
    red.underline = true;
    red.italic = true;
    CharFormat half;
    half.size = 10.5;
    RichDocument doc = document({paragraph({{CharFormat{}, u"a"},
                                            {bold(), u"B"},
                                            {arial, u"c"},
                                            {red, u"d"},
                                            {CharFormat{}, u"e"},
                                            {half, u"f"}})});
    std::string rtf = writeRtf(doc);
    EXPECT_EQ(rtf.substr(0, rtf.find("\r\n")),
              "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil\\fcharset0 Courier New;}"
              "{\\f1\\fnil\\fcharset0 Arial;}}{\\colortbl ;\\red0\\green0\\blue0;"
              "\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\uc1");
    EXPECT_EQ(body(rtf), "\\pard\\f0\\fs24\\cf1 a\\b B\\f1\\fs20{\\*\\kssize 195}\\b0 c"
                         "\\f0\\fs24\\cf2\\highlight3\\i\\ul d"
                         "\\cf1\\highlight0\\i0\\ulnone e\\fs21 f}");
}

TEST(RtfWriter, DelimiterSpaceOnlyWhereTheTextWouldJoinTheControlWord) {
    struct Row {
        std::u16string text;
        std::string written;
    };
    const Row rows[] = {{u"x", "\\b x"},    {u"5", "\\b 5"},    {u" a", "\\b  a"},
                        {u"-", "\\b -"},    {u".", "\\b."},     {u",", "\\b,"},
                        {u"é", "\\b\\'e9"}, {u"\\", "\\b\\\\"}, {u"\ta", "\\b\\tab a"}};
    for (const Row& row : rows) {
        RichDocument doc = document({paragraph({{CharFormat{}, u"a"}, {bold(), row.text}})});
        EXPECT_EQ(body(writeRtf(doc)), "\\pard\\f0\\fs24\\cf1 a" + row.written + "}")
            << toUtf8(row.text);
    }
}

TEST(RtfWriter, CharactersAreEscapedByClass) {
    struct Row {
        std::u16string text;
        std::string written;
    };
    const Row rows[] = {
        {u"Hi. , ! ? ; :", "Hi. , ! ? ; :"},
        {u"{a}\\", "\\{a\\}\\\\"},
        {u"a\tb", "a\\tab b"},
        {u"é€“”", "\\'e9\\'80\\'93\\'94"},
        {u"Łк", "\\u321?\\u1082?"},
        {u"\uFFFD", "\\u-3?"},
        {u"\U0001F600", "\\u-10179?\\u-8704?"},
        {u"a\x01\x1f\x0b"
         u"b",
         "ab"},
        {u"\x7f", "\\'7f"},
    };
    for (const Row& row : rows) {
        RichDocument doc = document({paragraph({{CharFormat{}, u"x" + row.text}})});
        EXPECT_EQ(body(writeRtf(doc)), "\\pard\\f0\\fs24\\cf1 x" + row.written + "}")
            << toUtf8(row.text);
    }
}

TEST(RtfWriter, NoRawLineBreakInsideText) {
    RichDocument doc = RichDocument::fromPlainText(u"one\r\ntwo\r\nthree", CharFormat{});
    doc.paragraphs[1].runs[0].text = u"t\rw\no"; // never made by the panes, still not text
    std::string rtf = writeRtf(doc);
    std::size_t breaks = 0;
    for (std::size_t at = rtf.find('\n'); at != std::string::npos; at = rtf.find('\n', at + 1)) {
        ++breaks;
        EXPECT_EQ(rtf[at - 1], '\r');
    }
    EXPECT_EQ(breaks, 3u); // the header's and the two paragraph ends
    EXPECT_NE(rtf.find("two\r\n\\par "), std::string::npos);
}

TEST(RtfWriter, FontNamesAreEscapedLikeText) {
    CharFormat f;
    f.font = "Caf\xc3\xa9 {x}";
    RichDocument doc = document({paragraph({{f, u"a"}})});
    EXPECT_NE(writeRtf(doc).find("{\\f0\\fnil\\fcharset0 Caf\\'e9 \\{x\\};}"), std::string::npos);
}

} // namespace
} // namespace keystride
