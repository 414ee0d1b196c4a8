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

CharFormat baseFormat() {
    CharFormat base;
    base.font = "Base Face";
    base.size = 9.75;
    base.colour = colours::red;
    return base;
}

RtfReadResult read(std::string_view rtf) {
    return readRtf(rtf, baseFormat());
}

// The pane reads markup as RTF only when it starts with the header, blanks and a byte-order mark
// aside.
TEST(LooksLikeRtf, RecognisesTheHeaderOnly) {
    const std::pair<std::string_view, bool> rows[] = {
        {"\xEF\xBB\xBF \r\n{\\rtf", true}, {"{\\RTF1}", false}, {"{ \\rtf1}", false}};
    for (const auto& [bytes, expected] : rows)
        EXPECT_EQ(looksLikeRtf(bytes), expected) << bytes;
}

// The text each construct reads to: breaks, symbols, destinations, \u escapes, code pages.
TEST(RtfReader, TextOfEachConstruct) {
    const std::tuple<const char*, std::string_view, std::string> rows[] = {
        {"trailing \\par dropped", "{\\rtf1 Hello\\par }", "Hello"},
        {"one empty paragraph kept", "{\\rtf1 a\\par\\par }", "a\n"},
        {"breaks", "{\\rtf1 a\\line b\\sect c\\page d\\row e}", "a\nb\nc\nd\ne"},
        {"backslash-CR LF", "{\\rtf1 a\\\r\nb}", "a\nb"},
        {"raw line ends ignored", "{\\rtf1 Bug\nTe\r\nst\r}", "BugTest"},
        {"one delimiting space", "{\\rtf1\\b  two}", " two"},
        {"nul bytes ignored", std::string_view("{\\rtf1 a\0b}", 11), "ab"},
        {"escaped line ends and NUL ignored", "{\\rtf1\\uc0 a\\'0d\\'0a\\u10 \\u13 \\u0 b}", "ab"},
        {"tab and cell", "{\\rtf1 a\\tab b\\cell c\\nestcell d}", "a\tb\tc\td"},
        {"no-break space and hyphen, optional hyphen", "{\\rtf1 a\\~b\\_c\\-d}",
         "a\u00A0b\u2011cd"},
        {"escaped markup", "{\\rtf1 \\{x\\}\\\\}", "{x}\\"},
        {"named punctuation",
         "{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}",
         "\u2014\u2013\u2018\u2019\u201C\u201D\u2022"},
        {"unknown words ignored", "{\\rtf1 a\\foo12 b\\bar c}", "abc"},
        // Destinations that are not body text.
        {"font and colour tables, info",
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}{\\info{\\title T}}x}",
         "x"},
        {"unknown starred destination", "{\\rtf1{\\*\\mystery hidden {nested}}x}", "x"},
        {"starred known word", "{\\rtf1{\\*\\b hidden}x}", "x"},
        {"picture and object",
         "{\\rtf1{\\pict\\wmetafile8 0102ab}{\\object{\\*\\objdata 01}{\\result{\\pict 02}}}x}",
         "x"},
        {"headers, footers and footnotes", "{\\rtf1{\\header h}{\\footerl f}x{\\footnote n}y}",
         "xy"},
        {"list tables and numbers",
         "{\\rtf1{\\*\\listtable{\\list{\\leveltext \\'02\\'00.;}}}{\\*\\listoverridetable}"
         "{\\listtext 1.\\tab}{\\pntext 2.\\tab}x}",
         "x"},
        {"unstarred field instruction", "{\\rtf1{\\field{\\fldinst PAGE}{\\fldrslt 7}}}", "7"},
        {"8-bit variant of \\upr", "{\\rtf1{\\upr{ansi}{\\*\\ud{uni}}}}", "uni"},
        {"binary data with braces", "{\\rtf1 a{\\pict\\bin4 }}{\\}b}", "ab"},
        {"\\bin without length", "{\\rtf1 a{\\pict\\bin 0102}b}", "ab"},
        // \u escapes skip their fallback.
        {"default skip of one", "{\\rtf1 \\u915?x}", "\u0393x"},
        {"skip counts a hex escape as one", "{\\rtf1 \\u8364\\'80x}", "\u20ACx"},
        {"skip counts a control word as one", "{\\rtf1\\uc1\\u915\\par x}", "\u0393x"},
        {"a group ends the skip", "{\\rtf1\\uc3{\\u915 a}bc}", "\u0393bc"},
        {"delimiting space is not a fallback", "{\\rtf1 \\u915 ?x}", "\u0393x"},
        {"lone high surrogate", "{\\rtf1\\uc0 \\u55357 x}", "\uFFFDx"},
        {"invalid hex escape is a unit", "{\\rtf1 x\\u345\\'3?x\\par}", "x\u0159x"},
        // Bytes decode by the font's charset, then \ansicpg.
        {"default code page 1252", "{\\rtf1 \\'80\\'e9}", "\u20AC\u00E9"},
        {"\\ansicpg1250", "{\\rtf1\\ansi\\ansicpg1250 \\'9a\\'e8}", "\u0161\u010D"},
        {"\\pc is 437", "{\\rtf1\\pc \\'82\\'b0}", "\u00E9\u2591"},
        {"\\mac is Mac Roman", "{\\rtf1\\mac \\'8e}", "\u00E9"},
        {"raw 8-bit bytes", "{\\rtf1\\ansi\\ansicpg1251 \xC0\xFF}", "\u0410\u044F"},
        {"font charset wins over \\ansicpg",
         "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset238 CE;}{\\f1\\fcharset0 W;}}"
         "\\f0\\'e8\\f1\\'e8}",
         "\u010D\u00E8"},
        {"charset 1 falls back to \\ansicpg",
         "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset1 X;}}\\f0\\'c0}", "\u0410"},
        {"font without charset uses \\ansicpg",
         "{\\rtf1\\ansi\\ansicpg1253{\\fonttbl{\\f0 X;}}\\f0\\'c1}", "\u0391"},
        {"\\deff font charset before any \\f",
         "{\\rtf1\\ansi\\deff1{\\fonttbl{\\f1\\fcharset204 Cyr;}}\\'c0}", "\u0410"},
        // Turkish, Hebrew, Arabic, Baltic, Vietnamese, Thai, OEM and Mac charsets.
        {"each single-byte charset's page",
         "{\\rtf1{\\fonttbl{\\f0\\fcharset162 T;}{\\f1\\fcharset177 H;}{\\f2\\fcharset178 A;}"
         "{\\f3\\fcharset186 B;}{\\f4\\fcharset163 V;}{\\f5\\fcharset222 Th;}"
         "{\\f6\\fcharset255 O;}{\\f7\\fcharset77 M;}}"
         "\\f0\\'f0\\f1\\'e0\\f2\\'c7\\f3\\'e8\\f4\\'d0\\f5\\'a1\\f6\\'82\\f7\\'8e}",
         "\u011F\u05D0\u0627\u010D\u0110\u0E01\u00E9\u00E9"},
        // Windows reads a byte 1252 leaves undefined as the C1 control of that number.
        {"bytes a page leaves undefined",
         "{\\rtf1{\\fonttbl{\\f0\\fcharset161 G;}{\\f1\\fcharset177 H;}{\\f2\\fcharset222 T;}}"
         "\\'81\\f0\\'aa\\f1\\'d9\\f2\\'db}",
         "\u0081\uFFFD\uFFFD\uFFFD"},
        {"double-byte charsets",
         "{\\rtf1{\\fonttbl{\\f0\\fcharset129 K;}{\\f1\\fcharset136 B;}{\\f2\\fcharset134 S;}}"
         "\\f0\\'c7\\'d1\\f1\\'a4\\'a4\\f2\\'b2\\'e2}",
         "\uD55C\u4E2D\u6D4B"},
        {"lone lead byte before a space", "{\\rtf1\\ansi\\ansicpg950 \\'a9 x}", "\uFFFD x"},
        {"single-byte katakana", "{\\rtf1\\ansi\\ansicpg932 \\'b1}", "\uFF71"},
        {"UTF-8 code page", "{\\rtf1\\ansi\\ansicpg65001 h\xC3\xA9 \xF0\x9F\x92\xA9}",
         "h\u00E9 \U0001F4A9"},
        {"broken UTF-8", "{\\rtf1\\ansi\\ansicpg65001 \xE2\x98 \xFF}", "\uFFFD \uFFFD"},
    };
    for (const auto& [name, rtf, expected] : rows)
        EXPECT_EQ(paragraphLines(read(rtf).document), expected) << name;
}

TEST(RtfReader, FontTableNamesAndDefaults) {
    const RichDocument named =
        read("{\\rtf1\\deff1{\\fonttbl{\\f0\\froman\\fcharset0{\\*\\panose 0202}Times New Roman"
             "{\\*\\falt Alt};}{\\f1\\fswiss Arial ;}{\\f2\\fnil\\fcharset129 "
             "\\'b8\\'bc\\'c0\\'ba;}}"
             "first \\f0 times \\f2 korean \\f9 missing \\plain plain}")
            .document;
    // Entries without groups or without their ';', and a document without \deff.
    const RichDocument flat = read("{\\rtf1{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\fmodern Courier;}"
                                   "{\\fonttbl{\\f2 NoSemicolon}}x\\f1 a\\f2 b}")
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
        read(
            "{\\rtf1{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;"
            "\\red1\\green2\\blue3}"
            "start {\\b bold}{\\i italic}{\\ul under}{\\uldb dbl}{\\ulw words}{\\ul\\ul0 offzero}"
            "{\\ul\\ulnone offnone}{\\ulc2 ulcolour}{\\fs39 size}{\\fs0 zero}"
            "{\\fs20{\\*\\kssize 195}exact\\fs30 rounded}{\\cf1 red}{\\cf1\\cf0 auto}{\\cf3 third}"
            "{\\cf99 far}{\\highlight2 hl}{\\highlight2\\highlight0 nohl}{\\cb1 cb}{\\chcbpat2 pat}"
            "{\\b\\i\\ul\\fs40\\cf1\\highlight2\\plain reset}}")
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
    const RichDocument blue = read("{\\rtf1{\\colortbl\\red0\\green0\\blue255;}\\cf0 x}").document;
    EXPECT_EQ(formatOf(blue, u"x").colour, colours::blue);
}

TEST(RtfReader, LineSpacing) {
    const RtfReadResult result =
        read("{\\rtf1\\pard\\sl360\\slmult1 a\\par b\\par\\pard\\sl480\\slmult1 c\\par"
             "\\pard\\sl360 d\\par\\pard\\sl276\\slmult1 e\\par\\pard\\sl480\\slmult1\\pard f\\par"
             "{\\pard\\sl480\\slmult1 g\\par}h\\par"
             "\\pard i\\sl360\\slmult1\\par}");
    const std::vector<LineSpacing> expected = {
        LineSpacing::OneAndAHalf, LineSpacing::OneAndAHalf, LineSpacing::Double,
        LineSpacing::Single,      LineSpacing::Single,      LineSpacing::Single,
        LineSpacing::Double,      LineSpacing::Single, // the group ended the spacing
        LineSpacing::OneAndAHalf,                      // the format in force at the \par counts
    };
    ASSERT_EQ(result.document.paragraphs.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(result.document.paragraphs[i].format.lineSpacing, expected[i]) << i;
}

TEST(RtfReader, MalformedInputYieldsWhatCouldBeRead) {
    struct Row {
        const char* name;
        std::string_view rtf;
        std::string expected;
        bool warns;
    };
    const Row rows[] = {
        {"byte-order mark and blanks", "\xEF\xBB\xBF \r\n{\\rtf1 text}", "text", false},
        {"trailing garbage", "{\\rtf1 text}-", "text", false},
        {"closing braces past the end", "{\\rtf1 text}}}}", "text", false},
        {"extra brace inside", "{\\rtf1 a}b\\par c}", "ab\nc", true},
        {"unclosed groups", "{\\rtf1 a{\\b b{\\i c", "abc", true},
        {"truncated control word", "{\\rtf1 a\\pa", "a", true},
        {"truncated hex escape", "{\\rtf1 a\\'4", "a", true},
        {"overlong control word", "{\\rtf1 a\\abcdefghijklmnopqrstuvwxyzabcdefghijklmnop b}", "ab",
         true},
        {"\\bin past the end", "{\\rtf1 a\\bin999 bc}", "a", true},
        {"huge parameters", "{\\rtf1 \\fs99999999999999999999 a\\uc99999999 b\\cf-5 c}", "abc",
         false},
        {"unknown code page keeps 1252", "{\\rtf1\\ansi\\ansicpg1181 \\'e9}", "\u00E9", true},
    };
    for (const Row& row : rows) {
        const RtfReadResult result = read(row.rtf);
        EXPECT_EQ(paragraphLines(result.document), row.expected) << row.name;
        EXPECT_EQ(!result.warnings.empty(), row.warns) << row.name;
    }
}

// --- Real-world files ---------------------------------------------------------------------------

std::string withoutTrailingWhitespace(std::string text) {
    while (!text.empty() && std::string_view(" \t\r\n").find(text.back()) != std::string::npos)
        text.pop_back();
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
        const std::string name = line.substr(0, line.find('\t'));
        std::string text = line.substr(line.rfind('\t') + 1);
        if (std::count(line.begin(), line.end(), '\t') < 6 || text.empty())
            continue;
        for (std::size_t at = 0; (at = text.find('\\', at)) != std::string::npos; ++at) {
            if (at + 1 < text.size() && (text[at + 1] == 'n' || text[at + 1] == 't'))
                text.replace(at, 2, text[at + 1] == 'n' ? "\n" : "\t");
        }
        texts[name] = text;
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
