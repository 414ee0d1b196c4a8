// The markup the panes save: its exact shape, which the sentence-end tidy searches and other
// word processors read, and the escapes that carry every character through a reload.
#include "platform/rtf/rtf_writer.h"

#include <gtest/gtest.h>

#include <string>

namespace keystride {
namespace {

const char kHeader[] = R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 Courier )"
                       "New;}}{\\colortbl ;\\red0\\green0\\blue0;}\\uc1\r\n";

using Runs = std::vector<TextRun>;

RichDocument document(std::vector<Runs> paragraphs, std::vector<LineSpacing> spacings = {}) {
    RichDocument doc;
    doc.paragraphs.clear();
    for (std::size_t i = 0; i < paragraphs.size(); ++i) {
        doc.paragraphs.emplace_back().runs = std::move(paragraphs[i]);
        doc.paragraphs.back().format.lineSpacing =
            i < spacings.size() ? spacings[i] : LineSpacing::Single;
    }
    return doc;
}

const CharFormat bold{.bold = true};

TEST(RtfWriter, ParagraphsHaveTheFixedShape) {
    RichDocument endMarkedBold =
        document({Runs{{CharFormat{}, u"end.  "}}, Runs{{CharFormat{}, u"x"}}});
    endMarkedBold.paragraphs[0].markFormat = bold;
    const std::tuple<const char*, RichDocument, std::string> rows[] = {
        {"empty document still names its format, and an empty last paragraph keeps its mark",
         RichDocument{}, R"(\pard\f0\fs24\cf1\par})"},
        // The sentence-end tidy finds "." + two spaces + CR only if nothing stands between
        // them, also when the paragraph mark has a format of its own.
        {"text runs straight into its line end",
         RichDocument::fromPlainText(u"end.  \r\nNext", CharFormat{}),
         "\\pard\\f0\\fs24\\cf1 end.  \r\n\\par \\pard Next}"},
        {"formatted paragraph mark", endMarkedBold,
         "\\pard\\f0\\fs24\\cf1 end.  \r\n\\b\\par \\pard\\b0 x}"},
        {"empty paragraphs close their control word before the line end",
         RichDocument::fromPlainText(u"\r\n\r\na", CharFormat{}),
         "\\pard \r\n\\f0\\fs24\\cf1\\par \\pard \r\n\\par \\pard a}"},
        {"line spacing per paragraph",
         document(
             {Runs{{CharFormat{}, u"a"}}, Runs{{CharFormat{}, u"b"}}, Runs{{CharFormat{}, u"c"}}},
             {LineSpacing::OneAndAHalf, LineSpacing::Double, LineSpacing::Single}),
         "\\pard\\sl360\\slmult1\\f0\\fs24\\cf1 a\r\n\\par "
         "\\pard\\sl480\\slmult1 b\r\n\\par \\pard c}"},
        // A line break inside a run (never made by the panes) is dropped, never a raw line end.
        {"line break inside a run", document({Runs{{CharFormat{}, u"t\rw\no"}}}),
         R"(\pard\f0\fs24\cf1 two})"},
    };
    for (const auto& [name, doc, written] : rows)
        EXPECT_EQ(writeRtf(doc), std::string(kHeader) + written) << name;
}

TEST(RtfWriter, FormatWordsNameOnlyWhatChanged) {
    const CharFormat cafe{.font = "Caf\xc3\xa9 {x}", .size = 9.75};
    const CharFormat red{
        .colour = colours::red, .background = colours::blue, .italic = true, .underline = true};
    const CharFormat half{.size = 10.5};
    const Runs runs = {{CharFormat{}, u"a"}, {bold, u"B"},         {cafe, u"c"},
                       {red, u"d"},          {CharFormat{}, u"e"}, {half, u"f"}};
    // Font names are escaped like text.
    EXPECT_EQ(writeRtf(document({runs})),
              R"({\rtf1\ansi\ansicpg1252\deff0{\fonttbl{\f0\fnil\fcharset0 Courier New;})"
              R"({\f1\fnil\fcharset0 Caf\'e9 \{x\};}}{\colortbl ;\red0\green0\blue0;)"
              "\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\\uc1\r\n"
              R"(\pard\f0\fs24\cf1 a\b B\f1\fs20{\*\kssize 195}\b0 c)"
              R"(\f0\fs24\cf2\highlight3\i\ul d\cf1\highlight0\i0\ulnone e\fs21 f})");
}

// After a control word a delimiter space comes only where the text would join the word (a
// digit or hyphen would become its parameter); text is escaped by class: markup characters,
// Windows-1252 bytes, and \u with a "?" fallback for the rest, control characters included.
TEST(RtfWriter, TextIsEscapedByClassAndDelimitedOnlyWhereNeeded) {
    const std::tuple<bool, std::u16string, std::string> rows[] = {
        {true, u"x", R"(\b x)"},
        {true, u"5", R"(\b 5)"},
        {true, u"-", "\\b -"},
        {true, u" a", R"(\b  a)"},
        {true, u".", "\\b."},
        {true, u"é", "\\b\\'e9"},
        {false, u"{a}\\", "\\{a\\}\\\\"},
        {false, u"\té€“”\x7f", R"(\tab \'e9\'80\'93\'94\'7f)"},
        {false, u"Łк\uFFFD", R"(\u321?\u1082?\u-3?)"},
        {false, u"\U0001F600\x01\x1f", R"(\u-10179?\u-8704?\u1?\u31?)"},
    };
    for (const auto& [afterBold, text, written] : rows) {
        EXPECT_EQ(writeRtf(document(
                      {Runs{{CharFormat{}, u"a"}, {afterBold ? bold : CharFormat{}, text}}})),
                  kHeader + (R"(\pard\f0\fs24\cf1 a)" + written + "}"))
            << toUtf8(text);
    }
}

} // namespace
} // namespace keystride
