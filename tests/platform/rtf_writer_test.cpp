#include "platform/rtf/rtf_reader.h"
#include "platform/rtf/rtf_writer.h"

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

TEST(RtfWriter, ParagraphsHaveTheFixedShape) {
    Paragraph endMarkedBold = paragraph({{CharFormat{}, u"end.  "}});
    endMarkedBold.markFormat = bold();
    struct Row {
        const char* name;
        RichDocument doc;
        std::string body;
    };
    const Row rows[] = {
        {"empty document still names its format, and an empty last paragraph keeps its mark",
         RichDocument{}, "\\pard\\f0\\fs24\\cf1\\par}"},
        // The sentence-end tidy finds "." + two spaces + CR only if nothing stands between
        // them, also when the paragraph mark has a format of its own.
        {"text runs straight into its line end",
         RichDocument::fromPlainText(u"end.  \r\nNext", CharFormat{}),
         "\\pard\\f0\\fs24\\cf1 end.  \r\n\\par \\pard Next}"},
        {"formatted paragraph mark", document({endMarkedBold, paragraph({{CharFormat{}, u"x"}})}),
         "\\pard\\f0\\fs24\\cf1 end.  \r\n\\b\\par \\pard\\b0 x}"},
        {"empty paragraphs close their control word before the line end",
         RichDocument::fromPlainText(u"\r\n\r\na", CharFormat{}),
         "\\pard \r\n\\f0\\fs24\\cf1\\par \\pard \r\n\\par \\pard a}"},
        {"line spacing per paragraph",
         document({paragraph({{CharFormat{}, u"a"}}, LineSpacing::OneAndAHalf),
                   paragraph({{CharFormat{}, u"b"}}, LineSpacing::Double),
                   paragraph({{CharFormat{}, u"c"}}, LineSpacing::Single)}),
         "\\pard\\sl360\\slmult1\\f0\\fs24\\cf1 a\r\n\\par "
         "\\pard\\sl480\\slmult1 b\r\n\\par \\pard c}"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(writeRtf(row.doc), std::string(kHeader) + row.body) << row.name;
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

// After a bold run's control word a delimiter space comes only where the text would join the
// word; plain text is only escaped.
TEST(RtfWriter, TextIsEscapedByClassAndDelimitedOnlyWhereNeeded) {
    using Rows = std::vector<std::pair<std::u16string, std::string>>;
    const Rows afterBold = {{u"x", "\\b x"},    {u"5", "\\b 5"},    {u" a", "\\b  a"},
                            {u"-", "\\b -"},    {u".", "\\b."},     {u",", "\\b,"},
                            {u"é", "\\b\\'e9"}, {u"\\", "\\b\\\\"}, {u"\ta", "\\b\\tab a"}};
    const Rows plainText = {
        {u"Hi. , ! ? ; :", "Hi. , ! ? ; :"},
        {u"{a}\\", "\\{a\\}\\\\"},
        {u"a\tb", "a\\tab b"},
        {u"é€“”", "\\'e9\\'80\\'93\\'94"},
        {u"Łк", "\\u321?\\u1082?"},
        {u"\uFFFD", "\\u-3?"},
        {u"\U0001F600", "\\u-10179?\\u-8704?"},
        {u"a\x01\x1f\x0b"
         u"b",
         "a\\u1?\\u31?\\u11?b"},
        {u"\x7f", "\\'7f"},
    };
    for (const auto& [rows, format] :
         {std::pair{afterBold, bold()}, std::pair{plainText, CharFormat{}}}) {
        for (const auto& [text, written] : rows) {
            RichDocument doc = document({paragraph({{CharFormat{}, u"a"}, {format, text}})});
            EXPECT_EQ(body(writeRtf(doc)), "\\pard\\f0\\fs24\\cf1 a" + written + "}")
                << toUtf8(text);
        }
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

TEST(RtfWriter, FinalLineEndsAndControlCharactersSurviveAReload) {
    // The sentence-end tidy rewrites a pane through its markup; nothing of the learner's text
    // may be lost on the way.
    for (const std::u16string text : {u"abc\r\n", u"abc\r\n\r\n", u"", u"\r\n", u"a\fb\x01c"}) {
        const RichDocument doc = RichDocument::fromPlainText(text, CharFormat{});
        EXPECT_EQ(readRtf(writeRtf(doc), CharFormat{}).document.plainText(), text)
            << toUtf8(text).size() << " characters";
    }
}

} // namespace
} // namespace keystride
