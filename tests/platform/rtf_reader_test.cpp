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

struct TextRow {
    const char* name;
    std::string_view rtf;
    std::string expected;
};

void expectTexts(const std::vector<TextRow>& rows) {
    for (const TextRow& row : rows)
        EXPECT_EQ(paragraphLines(read(row.rtf).document), row.expected) << row.name;
}

TEST(LooksLikeRtf, RecognisesTheHeaderOnly) {
    const std::pair<std::string_view, bool> rows[] = {
        {"{\\rtf", true},          {"\xEF\xBB\xBF \n{\\rtf1}", true},
        {" \t\r\n{\\rtf1}", true}, {"", false},
        {"{\\rt", false},          {"{\\RTF1}", false},
        {"x{\\rtf1}", false},      {"{ \\rtf1}", false},
    };
    for (const auto& [bytes, expected] : rows)
        EXPECT_EQ(looksLikeRtf(bytes), expected) << bytes;
}

// The text each construct reads to: breaks, symbols, destinations, \u escapes, code pages.
TEST(RtfReader, TextOfEachConstruct) {
    expectTexts({
        {"trailing \\par dropped", "{\\rtf1 Hello\\par }", "Hello"},
        {"one empty paragraph kept", "{\\rtf1 a\\par\\par }", "a\n"},
        {"only a \\par", "{\\rtf1\\par }", ""},
        {"empty document", "{\\rtf1 }", ""},
        {"breaks", "{\\rtf1 a\\line b\\sect c\\page d\\row e}", "a\nb\nc\nd\ne"},
        {"backslash-LF", "{\\rtf1 a\\\nb}", "a\nb"},
        {"backslash-CR LF", "{\\rtf1 a\\\r\nb}", "a\nb"},
        {"raw line ends ignored", "{\\rtf1 Bug\nTe\r\nst\r}", "BugTest"},
        {"text after a parameter", "{\\rtf1foobar}", "foobar"},
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
        {"font and colour tables",
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}x}", "x"},
        {"info", "{\\rtf1{\\info{\\title T}{\\author A}}x}", "x"},
        {"unknown starred destination", "{\\rtf1{\\*\\mystery hidden {nested}}x}", "x"},
        {"starred known word", "{\\rtf1{\\*\\b hidden}x}", "x"},
        {"picture", "{\\rtf1{\\pict\\wmetafile8 0102ab}x}", "x"},
        {"object", "{\\rtf1{\\object{\\*\\objdata 01}{\\result{\\pict 02}}}x}", "x"},
        {"headers, footers and footnotes", "{\\rtf1{\\header h}{\\footerl f}x{\\footnote n}y}",
         "xy"},
        {"list tables",
         "{\\rtf1{\\*\\listtable{\\list{\\leveltext \\'02\\'00.;}}}"
         "{\\*\\listoverridetable{\\listoverride}}x}",
         "x"},
        {"list numbers", "{\\rtf1{\\listtext 1.\\tab}{\\pntext 2.\\tab}x}", "x"},
        {"field gives its result",
         "{\\rtf1 see {\\field{\\*\\fldinst {HYPERLINK \"http://x\"}}{\\fldrslt {\\ul link}}}.}",
         "see link."},
        {"unstarred field instruction", "{\\rtf1{\\field{\\fldinst PAGE}{\\fldrslt 7}}}", "7"},
        {"8-bit variant of \\upr", "{\\rtf1{\\upr{ansi}{\\*\\ud{uni}}}}", "uni"},
        {"binary data with braces", "{\\rtf1 a{\\pict\\bin4 }}{\\}b}", "ab"},
        {"binary data outside a picture", "{\\rtf1 a\\bin3 xyzb}", "ab"},
        {"\\bin without length", "{\\rtf1 a{\\pict\\bin 0102}b}", "ab"},
        // \u escapes skip their fallback.
        {"default skip of one", "{\\rtf1 \\u915?x}", "\u0393x"},
        {"negative value", "{\\rtf1 \\u-4064?}", "\uF020"},
        {"skip counts a hex escape as one", "{\\rtf1 \\u8364\\'80x}", "\u20ACx"},
        {"\\uc2 skips two escapes", "{\\rtf1\\uc2\\u24180\\'94\\'4ex}", "\u5E74x"},
        {"\\uc0 skips nothing", "{\\rtf1\\uc0\\u915 ?}", "\u0393?"},
        {"skip counts a control word as one", "{\\rtf1\\uc1\\u915\\par x}", "\u0393x"},
        {"skip counts a symbol as one", "{\\rtf1\\uc1\\u915\\{x}", "\u0393x"},
        {"a group ends the skip", "{\\rtf1\\uc3{\\u915 a}bc}", "\u0393bc"},
        {"\\uc is group-scoped", "{\\rtf1 {\\uc2 \\u915 ab}\\u916 ab}", "\u0393\u0394b"},
        {"delimiting space is not a fallback", "{\\rtf1 \\u915 ?x}", "\u0393x"},
        {"surrogate pair", "{\\rtf1 \\u-10179?\\u-9047?}", "\U0001F4A9"},
        {"lone high surrogate", "{\\rtf1\\uc0 \\u55357 x}", "\uFFFDx"},
        {"lone low surrogate", "{\\rtf1\\uc0 \\u56489 x}", "\uFFFDx"},
        {"reversed pair", "{\\rtf1\\uc0 \\u56489\\u55357 }", "\uFFFD\uFFFD"},
        {"out of range value", "{\\rtf1\\uc0 \\u70000 }", "\uFFFD"},
        {"invalid hex escape is a unit", "{\\rtf1 x\\u345\\'3?x\\par}", "x\u0159x"},
        // Bytes decode by the font's charset, then \ansicpg.
        {"default code page 1252", "{\\rtf1 \\'80\\'e9}", "\u20AC\u00E9"},
        {"\\ansicpg1250", "{\\rtf1\\ansi\\ansicpg1250 \\'9a\\'e8}", "\u0161\u010D"},
        {"\\ansicpg874", "{\\rtf1\\ansi\\ansicpg874 \\'a1}", "\u0E01"},
        {"\\pc is 437", "{\\rtf1\\pc \\'82\\'b0}", "\u00E9\u2591"},
        {"\\pca is 850", "{\\rtf1\\pca \\'d5}", "\u0131"},
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
        {"unknown code page keeps 1252", "{\\rtf1\\ansi\\ansicpg1181 \\'e9}", "\u00E9"},
        {"double-byte pair as escapes", "{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0}", "\u3042"},
        {"double-byte trail looking like ASCII", "{\\rtf1\\ansi\\ansicpg932 \\'83C}", "\u30A4"},
        {"double-byte by font charset",
         "{\\rtf1{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0\\'b2\\'e2}", "\u6D4B"},
        {"lone lead byte before a space", "{\\rtf1\\ansi\\ansicpg950 \\'a9 x}", "\uFFFD x"},
        {"single-byte katakana", "{\\rtf1\\ansi\\ansicpg932 \\'b1}", "\uFF71"},
        {"UTF-8 code page", "{\\rtf1\\ansi\\ansicpg65001 h\xC3\xA9 \xF0\x9F\x92\xA9}",
         "h\u00E9 \U0001F4A9"},
        {"broken UTF-8", "{\\rtf1\\ansi\\ansicpg65001 \xE2\x98 \xFF}", "\uFFFD \uFFFD"},
    });
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

TEST(RtfReader, CharacterFormat) {
    const RichDocument d =
        read("{\\rtf1{\\fonttbl{\\f0 Arial;}}"
             "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red1\\green2\\blue3}"
             "start {\\b bold}{\\i italic}{\\ul under}{\\uldb dbl}{\\ulw words}"
             "{\\ul\\ul0 offzero}{\\ul\\ulnone offnone}{\\ulc2 ulcolour}"
             "{\\fs39 size}{\\fs0 zero}{\\cf1 red}{\\cf1\\cf0 auto}{\\cf3 third}{\\cf99 far}"
             "{\\highlight2 hl}{\\highlight2\\highlight0 nohl}{\\cb1 cb}{\\chcbpat2 pat}"
             "{\\b\\i\\ul\\fs40\\cf1\\highlight2\\plain reset}}")
            .document;
    const CharFormat start = formatOf(d, u"start");
    EXPECT_EQ(start.font, "Base Face");
    EXPECT_EQ(start.size, 12.0); // not the caller's size: RTF's own default
    EXPECT_EQ(start.colour, colours::black);
    EXPECT_FALSE(start.background.has_value());
    EXPECT_FALSE(start.bold || start.italic || start.underline);
    EXPECT_EQ(formatOf(d, u"reset"), start);

    EXPECT_TRUE(formatOf(d, u"bold").bold);
    EXPECT_TRUE(formatOf(d, u"italic").italic);
    for (std::u16string_view on : {u"under", u"dbl", u"words"})
        EXPECT_TRUE(formatOf(d, on).underline) << toUtf8(on);
    for (std::u16string_view off : {u"offzero", u"offnone", u"ulcolour"})
        EXPECT_FALSE(formatOf(d, off).underline) << toUtf8(off);
    EXPECT_EQ(formatOf(d, u"size").size, 19.5);
    EXPECT_EQ(formatOf(d, u"zero").size, 12.0);
    const std::tuple<std::u16string_view, Colour, std::optional<Colour>> colourRows[] = {
        {u"red", colours::red, std::nullopt},           {u"auto", colours::black, std::nullopt},
        {u"third", Colour::rgb(1, 2, 3), std::nullopt}, // an entry without its ';'
        {u"far", colours::black, std::nullopt},         {u"hl", colours::black, colours::blue},
        {u"nohl", colours::black, std::nullopt},        {u"cb", colours::black, colours::red},
        {u"pat", colours::black, colours::blue},
    };
    for (const auto& [text, colour, background] : colourRows) {
        EXPECT_EQ(formatOf(d, text).colour, colour) << toUtf8(text);
        EXPECT_EQ(formatOf(d, text).background, background) << toUtf8(text);
    }
    // An explicit first entry is used for \cf0.
    const RichDocument blue = read("{\\rtf1{\\colortbl\\red0\\green0\\blue255;}\\cf0 x}").document;
    EXPECT_EQ(formatOf(blue, u"x").colour, colours::blue);
}

TEST(RtfReader, ExactSizeBesideTheRoundedFs) {
    const RichDocument d =
        read("{\\rtf1{\\fs20{\\*\\kssize 195}a}b\\fs28{\\*\\kssize 275} c\\fs30 d}").document;
    EXPECT_EQ(formatOf(d, u"a").size, 9.75);
    EXPECT_EQ(formatOf(d, u"b").size, 12.0); // the group ended the size
    EXPECT_EQ(formatOf(d, u"c").size, 13.75);
    EXPECT_EQ(formatOf(d, u"d").size, 15.0);
}

TEST(RtfReader, GroupsRestoreFormatAndRunsMerge) {
    const RtfReadResult result = read("{\\rtf1 a{\\b b}{\\b c}{}{\\i }d{\\b\\b0 e}}");
    ASSERT_EQ(result.document.paragraphs.size(), 1u);
    const std::vector<TextRun>& runs = result.document.paragraphs[0].runs;
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].text, u"a");
    EXPECT_EQ(runs[1].text, u"bc");
    EXPECT_TRUE(runs[1].format.bold);
    EXPECT_EQ(runs[2].text, u"de");
    EXPECT_FALSE(runs[2].format.bold);
}

TEST(RtfReader, ParagraphMarkTakesTheFormatAtThePar) {
    const RtfReadResult result = read("{\\rtf1 {\\b one\\par}two{\\fs48 \\par}three\\b\\par }");
    const std::vector<Paragraph>& p = result.document.paragraphs;
    ASSERT_EQ(p.size(), 3u);
    EXPECT_TRUE(p[0].markFormat.bold);
    EXPECT_EQ(p[0].runs[0].format.size, 12.0);
    EXPECT_EQ(p[1].markFormat.size, 24.0);
    EXPECT_FALSE(p[1].runs[0].format.bold);
    EXPECT_TRUE(p[2].markFormat.bold);
    EXPECT_FALSE(p[2].runs[0].format.bold);
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
        {"empty", "", "", true},
        {"no braces", "plain words", "", true},
        {"lone opening brace", "{", "", true},
        {"lone closing brace", "}", "", true},
        {"leading garbage", "/{\\rtf1 text}", "text", true},
        {"byte-order mark and blanks", "\xEF\xBB\xBF \r\n{\\rtf1 text}", "text", false},
        {"trailing garbage", "{\\rtf1 text}-", "text", false},
        {"trailing garbage with a backslash", "{\\rtf1 text}r\\", "text", false},
        {"closing braces past the end", "{\\rtf1 text}}}}", "text", false},
        {"extra brace inside", "{\\rtf1 a}b\\par c}", "ab\nc", true},
        {"unclosed groups", "{\\rtf1 a{\\b b{\\i c", "abc", true},
        {"truncated control word", "{\\rtf1 a\\pa", "a", true},
        {"truncated backslash", "{\\rtf1 a\\", "a", true},
        {"truncated hex escape", "{\\rtf1 a\\'4", "a", true},
        {"hex escape before markup", "{\\rtf1 a\\'}b", "a", false},
        {"overlong control word", "{\\rtf1 a\\abcdefghijklmnopqrstuvwxyzabcdefghijklmnop b}", "ab",
         true},
        {"\\bin past the end", "{\\rtf1 a\\bin999 bc}", "a", true},
        {"huge parameters", "{\\rtf1 \\fs99999999999999999999 a\\uc99999999 b\\cf-5 c}", "abc",
         false},
        {"unknown code page", "{\\rtf1\\ansi\\ansicpg1181 x}", "x", true},
        {"star without word", "{\\rtf1{\\* a}b}", " ab", false},
        {"nested rtf header", "{\\rtf1 a{\\rtf1 b}c}", "abc", false},
        {"version-less header", "{\\rtf}", "", false},
    };
    for (const Row& row : rows) {
        const RtfReadResult result = read(row.rtf);
        EXPECT_EQ(paragraphLines(result.document), row.expected) << row.name;
        EXPECT_EQ(!result.warnings.empty(), row.warns) << row.name;
        EXPECT_FALSE(result.document.paragraphs.empty()) << row.name;
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
        std::vector<std::string> columns;
        std::stringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');)
            columns.push_back(field);
        if (columns.size() < 7 || columns[6].empty())
            continue;
        std::string text;
        for (std::size_t i = 0; i < columns[6].size(); ++i) {
            const char next = i + 1 < columns[6].size() ? columns[6][i + 1] : '\0';
            if (columns[6][i] == '\\' && (next == 'n' || next == 't'))
                text += next == 'n' ? '\n' : '\t', ++i;
            else
                text += columns[6][i];
        }
        texts[columns[0]] = text;
    }
    return texts;
}

// What every document the reader makes holds to: runs are non-empty, never hold a line break,
// and differ in format from their neighbour.
void expectWellFormed(const RichDocument& document) {
    ASSERT_FALSE(document.paragraphs.empty());
    for (const Paragraph& paragraph : document.paragraphs) {
        for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
            const TextRun& run = paragraph.runs[i];
            EXPECT_FALSE(run.text.empty());
            EXPECT_EQ(run.text.find_first_of(u"\r\n"), std::u16string::npos);
            EXPECT_TRUE(i == 0 || !(paragraph.runs[i - 1].format == run.format));
            EXPECT_GT(run.format.size, 0);
        }
    }
}

// Each file is read once: it must make a well-formed document with the text the manifest knows,
// and a pane holding it must save markup that loads again as the same document.
TEST(RtfReaderCorpus, EveryFileReadsAndSurvivesASaveAndReload) {
    const std::filesystem::path corpus = KEYSTRIDE_RTF_CORPUS;
    if (!std::filesystem::is_directory(corpus))
        GTEST_SKIP() << "no RTF corpus at " << corpus;
    const std::map<std::string, std::string> known = knownTexts(corpus / "MANIFEST.tsv");
    // Files the manifest gives no text for: a piece in each one's character set.
    const std::map<std::string, std::string> pieces = {
        {"word2010-czech-unicode.rtf", "Předpokládá se"}, // \fcharset238 in a 1252 document
        {"word97-linespacing-unicode.rtf", "1½inch"},
        {"richedit-cp1251-ukrainian.rtf", "м. Київ"},
        {"word2013-chinese-cp936.rtf", "测试"},
        {"word2000-japanese-cp932.rtf", "こんにちは"},
        {"outlook-hebrew-rtl-cp1255.rtf", "לתשומת ליבך"},
        {"wordpad-msftedit-unicode-scripts.rtf", "Johann Strauß"},
    };
    std::size_t compared = 0;
    std::map<std::string, RichDocument> documents;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() != ".rtf")
            continue;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const std::string bytes = testing::readFile(entry.path());
        const RichDocument document = read(bytes).document;
        expectWellFormed(document);
        if (const auto text = known.find(name); text != known.end()) {
            EXPECT_EQ(withoutTrailingWhitespace(paragraphLines(document)),
                      withoutTrailingWhitespace(text->second));
            ++compared;
        }
        if (const auto piece = pieces.find(name); piece != pieces.end())
            EXPECT_NE(paragraphLines(document).find(piece->second), std::string::npos);

        MemoryPane pane;
        pane.setTextRtf(bytes);
        MemoryPane reloaded;
        reloaded.setTextRtf(pane.textRtf());
        EXPECT_EQ(reloaded.text(), pane.text());
        EXPECT_EQ(reloaded.formatSpans(), pane.formatSpans());
        EXPECT_EQ(reloaded.paragraphSpacings(), pane.paragraphSpacings());
        documents[name] = document;
    }
    EXPECT_EQ(compared, known.size());

    // Word 97 with \sl360 and \sl480 paragraphs; LibreOffice closes the outermost group early
    // and the body after it is read.
    const auto has = [](const RichDocument& d, LineSpacing spacing) {
        return std::any_of(d.paragraphs.begin(), d.paragraphs.end(),
                           [&](const Paragraph& p) { return p.format.lineSpacing == spacing; });
    };
    EXPECT_TRUE(has(documents["word97-linespacing-unicode.rtf"], LineSpacing::OneAndAHalf));
    EXPECT_TRUE(has(documents["word97-linespacing-unicode.rtf"], LineSpacing::Double));
    EXPECT_GT(paragraphLines(documents["libreoffice6-lists-links-tables.rtf"]).size(), 5000u);
}

} // namespace
} // namespace keystride
