// The RTF reader: the text of each construct, the code pages, the formats it keeps, its bounds
// on hostile markup, and every file of the real-world corpus.
#include "platform/panes/memory_pane.h"
#include "platform/rtf/rtf_reader.h"
#include "support/document_text.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace keystride {
namespace {

using testing::formatOf;
using testing::paragraphLines;

RtfReadResult read(std::string_view rtf) {
    return readRtf(rtf, CharFormat{.font = "Base Face", .size = 9.75, .colour = colours::red});
}

// The pane reads markup as RTF only when it starts with the header, blanks and a byte-order mark
// aside.
TEST(LooksLikeRtf, RecognisesTheHeaderOnly) {
    const std::pair<std::string_view, bool> rows[] = {
        {"\xEF\xBB\xBF \r\n{\\rtf", true}, {R"({\RTF1})", false}, {R"({ \rtf1})", false}};
    for (const auto& [bytes, expected] : rows)
        EXPECT_EQ(looksLikeRtf(bytes), expected) << bytes;
}

// The text each construct reads to: breaks, symbols, destinations, \u escapes, code pages.
TEST(RtfReader, TextOfEachConstruct) {
    const std::tuple<const char*, std::string_view, std::string> rows[] = {
        {R"(trailing \par dropped)", R"({\rtf1 Hello\par })", "Hello"},
        {"one empty paragraph kept", R"({\rtf1 a\par\par })", "a\n"},
        {"breaks", R"({\rtf1 a\line b\sect c\page d\row e})", "a\nb\nc\nd\ne"},
        {"backslash-CR LF", "{\\rtf1 a\\\r\nb}", "a\nb"},
        {"raw line ends ignored", "{\\rtf1 Bug\nTe\r\nst\r}", "BugTest"},
        {"one delimiting space", R"({\rtf1\b  two})", " two"},
        {"nul bytes ignored", std::string_view("{\\rtf1 a\0b}", 11), "ab"},
        {"escaped line ends and NUL ignored", R"({\rtf1\uc0 a\'0d\'0a\u10 \u13 \u0 b})", "ab"},
        {"tab and cell", R"({\rtf1 a\tab b\cell c\nestcell d})", "a\tb\tc\td"},
        {"no-break space and hyphen, optional hyphen", R"({\rtf1 a\~b\_c\-d})", "a\u00A0b\u2011cd"},
        {"escaped markup", R"({\rtf1 \{x\}\\})", R"({x}\)"},
        {"named punctuation", R"({\rtf1 \emdash\endash\lquote\rquote\ldblquote\rdblquote\bullet})",
         "\u2014\u2013\u2018\u2019\u201C\u201D\u2022"},
        {"unknown words ignored", R"({\rtf1 a\foo12 b\bar c})", "abc"},
        // Destinations that are not body text.
        {"tables, info, pictures, objects, headers, footers, footnotes, lists",
         R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red1\green2\blue3;}{\info{\title T}})"
         R"({\pict\wmetafile8 0102ab}{\object{\*\objdata 01}{\result{\pict 02}}}{\header h})"
         R"({\footerl f}x{\footnote n}{\*\listtable{\list{\leveltext \'02\'00.;}}})"
         R"({\*\listoverridetable}{\listtext 1.\tab}{\pntext 2.\tab}y})",
         "xy"},
        {"starred known word", R"({\rtf1{\*\b hidden}x})", "x"},
        {"unstarred field instruction", R"({\rtf1{\field{\fldinst PAGE}{\fldrslt 7}}})", "7"},
        {R"(8-bit variant of \upr)", R"({\rtf1{\upr{ansi}{\*\ud{uni}}}})", "uni"},
        {"binary data with braces", R"({\rtf1 a{\pict\bin4 }}{\}b})", "ab"},
        {R"(\bin without length)", R"({\rtf1 a{\pict\bin 0102}b})", "ab"},
        // \u escapes skip their fallback.
        {"default skip of one", R"({\rtf1 \u915?x})", "\u0393x"},
        {"skip counts a hex escape as one", R"({\rtf1 \u8364\'80x})", "\u20ACx"},
        {"skip counts a control word as one", R"({\rtf1\uc1\u915\par x})", "\u0393x"},
        {"a group ends the skip", R"({\rtf1\uc3{\u915 a}bc})", "\u0393bc"},
        {"lone high surrogate", R"({\rtf1\uc0 \u55357 x})", "\uFFFDx"},
        {"invalid hex escape is a unit", R"({\rtf1 x\u345\'3?x\par})", "x\u0159x"},
        // Bytes decode by the font's charset, then \ansicpg.
        {"default code page 1252", R"({\rtf1 \'80\'e9})", "\u20AC\u00E9"},
        {R"(\ansicpg1250)", R"({\rtf1\ansi\ansicpg1250 \'9a\'e8})", "\u0161\u010D"},
        {R"(\pc is 437)", R"({\rtf1\pc \'82\'b0})", "\u00E9\u2591"},
        {R"(\mac is Mac Roman)", R"({\rtf1\mac \'8e})", "\u00E9"},
        {"raw 8-bit bytes", "{\\rtf1\\ansi\\ansicpg1251 \xC0\xFF}", "\u0410\u044F"},
        {R"(font charset wins over \ansicpg)",
         R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset238 CE;})"
         R"({\f1\fcharset0 W;}}\f0\'e8\f1\'e8})",
         "\u010D\u00E8"},
        {R"(charset 1 and no charset fall back to \ansicpg)",
         R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fcharset1 X;}{\f1 Y;}}\f0\'c0\f1\'c1})",
         "\u0410\u0411"},
        {R"(\deff font charset before any \f)",
         R"({\rtf1\ansi\deff1{\fonttbl{\f1\fcharset204 Cyr;}}\'c0})", "\u0410"},
        // Turkish, Hebrew, Arabic, Baltic, Vietnamese, Thai, OEM and Mac charsets.
        {"each single-byte charset's page",
         R"({\rtf1{\fonttbl{\f0\fcharset162 T;}{\f1\fcharset177 H;}{\f2\fcharset178 A;})"
         R"({\f3\fcharset186 B;}{\f4\fcharset163 V;}{\f5\fcharset222 Th;}{\f6\fcharset255 O;})"
         R"({\f7\fcharset77 M;}}\f0\'f0\f1\'e0\f2\'c7\f3\'e8\f4\'d0\f5\'a1\f6\'82\f7\'8e})",
         "\u011F\u05D0\u0627\u010D\u0110\u0E01\u00E9\u00E9"},
        // Windows reads a byte 1252 leaves undefined as the C1 control of that number.
        {"bytes a page leaves undefined",
         R"({\rtf1{\fonttbl{\f0\fcharset161 G;}{\f1\fcharset177 H;})"
         R"({\f2\fcharset222 T;}}\'81\f0\'aa\f1\'d9\f2\'db})",
         "\u0081\uFFFD\uFFFD\uFFFD"},
        {"double-byte charsets",
         R"({\rtf1{\fonttbl{\f0\fcharset129 K;}{\f1\fcharset136 B;})"
         R"({\f2\fcharset134 S;}}\f0\'c7\'d1\f1\'a4\'a4\f2\'b2\'e2})",
         "\uD55C\u4E2D\u6D4B"},
        {"lone lead byte before a space", R"({\rtf1\ansi\ansicpg950 \'a9 x})", "\uFFFD x"},
        {"single-byte katakana", R"({\rtf1\ansi\ansicpg932 \'b1})", "\uFF71"},
        {"UTF-8 code page", "{\\rtf1\\ansi\\ansicpg65001 h\xC3\xA9 \xF0\x9F\x92\xA9}",
         "h\u00E9 \U0001F4A9"},
        {"broken UTF-8", "{\\rtf1\\ansi\\ansicpg65001 \xE2\x98 \xFF}", "\uFFFD \uFFFD"},
    };
    for (const auto& [name, rtf, expected] : rows)
        EXPECT_EQ(paragraphLines(read(rtf).document), expected) << name;
}

TEST(RtfReader, FontTableNamesAndDefaults) {
    const RichDocument named =
        read(R"({\rtf1\deff1{\fonttbl{\f0\froman\fcharset0{\*\panose 0202}Times New Roman)"
             R"({\*\falt Alt};}{\f1\fswiss Arial ;})"
             R"({\f2\fnil\fcharset129 \'b8\'bc\'c0\'ba;}})"
             R"(first \f0 times \f2 korean \f9 missing \plain plain})")
            .document;
    // Entries without groups or without their ';', and a document without \deff.
    const RichDocument flat = read(R"({\rtf1{\fonttbl\f0\fswiss Helvetica;\f1\fmodern Courier;})"
                                   R"({\fonttbl{\f2 NoSemicolon}}x\f1 a\f2 b})")
                                  .document;
    const std::tuple<const RichDocument*, std::u16string_view, std::string> rows[] = {
        {&named, u"first", "Arial"},
        {&named, u"times", "Times New Roman"},
        {&named, u"korean", "\uB9D1\uC740"}, // hex escapes in the name's charset
        {&named, u"missing", "Arial"},       // an unknown number falls back to \deff
        {&named, u"plain", "Arial"},
        {&flat, u"x", "Base Face"}, // without \deff the caller's face stands in
        {&flat, u"a", "Courier"},
        {&flat, u"b", "NoSemicolon"},
    };
    for (const auto& [document, text, font] : rows)
        EXPECT_EQ(formatOf(*document, text).font, font) << toUtf8(text);
}

// What a format has beyond the plain one (the caller's face, RTF's own 12 points, black, no
// background): size, colour, "on" background, then b, i, u.
std::string differences(const CharFormat& f) {
    std::ostringstream out;
    out << (f.font == "Base Face" ? "" : f.font);
    if (f.size != 12.0)
        out << f.size;
    out << (f.colour == colours::black ? "" : f.colour.hex())
        << (f.background ? "on " + f.background->hex() : "") << (f.bold ? "b" : "")
        << (f.italic ? "i" : "") << (f.underline ? "u" : "");
    return out.str();
}

TEST(RtfReader, CharacterFormat) {
    const RichDocument d =
        read(R"({\rtf1)"
             R"({\colortbl;\red255\green0\blue0;\red0\green0\blue255;\red1\green2\blue3}start )"
             R"({\b bold}{\i italic}{\ul under}{\uldb dbl}{\ulw words}{\ul\ul0 offzero})"
             R"({\ul\ulnone offnone}{\ulc2 ulcolour}{\fs39 size}{\fs0 zero}{\fs20)"
             R"({\*\kssize 195}exact\fs30 rounded}{\cf1 red}{\cf1\cf0 auto}{\cf3 third}{\cf99 far})"
             R"({\highlight2 hl}{\highlight2\highlight0 nohl}{\cb1 cb}{\chcbpat2 pat})"
             R"({\b\i\ul\fs40\cf1\highlight2\plain reset}})")
            .document;
    // "exact": kept exactly beside the rounded \fs; "third": an entry without its ';'.
    const std::pair<std::u16string_view, std::string> rows[] = {
        {u"start", ""},         {u"bold", "b"},        {u"italic", "i"}, {u"under", "u"},
        {u"dbl", "u"},          {u"words", "u"},       {u"offzero", ""}, {u"offnone", ""},
        {u"ulcolour", ""},      {u"size", "19.5"},     {u"zero", ""},    {u"exact", "9.75"},
        {u"rounded", "15"},     {u"red", "#ff0000"},   {u"auto", ""},    {u"third", "#010203"},
        {u"far", ""},           {u"hl", "on #0000ff"}, {u"nohl", ""},    {u"cb", "on #ff0000"},
        {u"pat", "on #0000ff"}, {u"reset", ""},
    };
    for (const auto& [text, format] : rows)
        EXPECT_EQ(differences(formatOf(d, text)), format) << toUtf8(text);
    // An explicit first entry is used for \cf0.
    const RichDocument blue = read(R"({\rtf1{\colortbl\red0\green0\blue255;}\cf0 x})").document;
    EXPECT_EQ(formatOf(blue, u"x").colour, colours::blue);
}

TEST(RtfReader, LineSpacing) {
    const RtfReadResult result =
        read(R"({\rtf1\pard\sl360\slmult1 a\par b\par\pard\sl480\slmult1 c\par\pard\sl360 d\par)"
             R"(\pard\sl276\slmult1 e\par\pard\sl480\slmult1\pard f\par)"
             R"({\pard\sl480\slmult1 g\par}h\par\pard i\sl360\slmult1\par})");
    std::vector<LineSpacing> spacings;
    for (const Paragraph& paragraph : result.document.paragraphs)
        spacings.push_back(paragraph.format.lineSpacing);
    using enum LineSpacing;
    EXPECT_EQ(spacings, (std::vector{OneAndAHalf, OneAndAHalf, Double, Single, Single, Single,
                                     Double, Single, // the group ended the spacing
                                     OneAndAHalf})); // the format in force at the \par counts
}

TEST(RtfReader, MalformedInputYieldsWhatCouldBeRead) {
    // what it reads to, and whether the reader warns
    const std::tuple<const char*, std::string_view, std::string, bool> rows[] = {
        {"byte-order mark and blanks", "\xEF\xBB\xBF \r\n{\\rtf1 text}", "text", false},
        {"trailing garbage", R"({\rtf1 text}-)", "text", false},
        {"closing braces past the end", R"({\rtf1 text}}}})", "text", false},
        {"extra brace inside", R"({\rtf1 a}b\par c})", "ab\nc", true},
        {"unclosed groups", R"({\rtf1 a{\b b{\i c)", "abc", true},
        {"truncated control word", R"({\rtf1 a\pa)", "a", true},
        {"truncated hex escape", R"({\rtf1 a\'4)", "a", true},
        {"overlong control word", R"({\rtf1 a\abcdefghijklmnopqrstuvwxyzabcdefghijklmnop b})", "ab",
         true},
        {R"(\bin past the end)", R"({\rtf1 a\bin999 bc})", "a", true},
        {"huge parameters", R"({\rtf1 \fs99999999999999999999 a\uc99999999 b\cf-5 c})", "abc",
         false},
        {"unknown code page keeps 1252", R"({\rtf1\ansi\ansicpg1181 \'e9})", "\u00E9", true},
    };
    for (const auto& [name, rtf, expected, warns] : rows) {
        const RtfReadResult result = read(rtf);
        EXPECT_EQ(std::pair(paragraphLines(result.document), !result.warnings.empty()),
                  std::pair(expected, warns))
            << name;
    }
}

// --- Real-world files ---------------------------------------------------------------------------

std::string withoutTrailingWhitespace(std::string text) {
    text.erase(text.find_last_not_of(" \t\r\n") + 1);
    return text;
}

// MANIFEST.tsv: file, source, path, licence, writer, features, plain_text ("\n" and "\t"
// escaped; empty when not given).
std::map<std::string, std::string> knownTexts(const std::filesystem::path& manifest) {
    std::map<std::string, std::string> texts;
    std::ifstream in(manifest);
    std::string line;
    std::getline(in, line); // header
    while (std::getline(in, line)) {
        std::string text = line.substr(line.rfind('\t') + 1);
        if (std::count(line.begin(), line.end(), '\t') < 6 || text.empty())
            continue;
        for (std::size_t at = 0; (at = text.find('\\', at)) != std::string::npos; ++at) {
            if (text[at + 1] == 'n' || text[at + 1] == 't') // [size()] is the terminating NUL
                text.replace(at, 2, text[at + 1] == 'n' ? "\n" : "\t");
        }
        texts[line.substr(0, line.find('\t'))] = text;
    }
    return texts;
}

// Each file is read once: it must make the text the manifest knows, and a pane holding it must save
// markup that loads again as the same document.
TEST(RtfReaderCorpus, EveryFileReadsAndSurvivesASaveAndReload) {
    const std::filesystem::path corpus = KEYSTRIDE_RTF_CORPUS;
    if (!std::filesystem::is_directory(corpus))
        GTEST_SKIP() << "no RTF corpus at " << corpus;
    const std::map<std::string, std::string> known = knownTexts(corpus / "MANIFEST.tsv");
    std::size_t compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() != ".rtf")
            continue;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const std::string bytes = testing::readFile(entry.path());
        const RichDocument document = read(bytes).document;
        if (const auto text = known.find(name); text != known.end()) {
            EXPECT_EQ(withoutTrailingWhitespace(paragraphLines(document)),
                      withoutTrailingWhitespace(text->second));
            ++compared;
        }

        MemoryPane pane;
        pane.setTextRtf(bytes);
        MemoryPane reloaded;
        reloaded.setTextRtf(pane.textRtf());
        EXPECT_EQ(reloaded.text(), pane.text());
        EXPECT_EQ(reloaded.formatSpans(), pane.formatSpans());
        EXPECT_EQ(reloaded.paragraphSpacings(), pane.paragraphSpacings());
    }
    EXPECT_EQ(compared, known.size());
}

} // namespace
} // namespace keystride
