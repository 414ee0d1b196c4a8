#include "platform/rtf/rtf_reader.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace keystride {
namespace {

using testing::readFile;

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

// The plain text in UTF-8, with paragraph breaks as "\n" so failures read easily.
std::string plain(const RichDocument& document) {
    std::string text = toUtf8(document.plainText());
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    return out;
}

std::string plain(std::string_view rtf) {
    return plain(read(rtf).document);
}

// The format of the run holding the first occurrence of `needle`.
CharFormat formatOf(const RichDocument& document, std::u16string_view needle) {
    for (const Paragraph& paragraph : document.paragraphs) {
        for (const TextRun& run : paragraph.runs) {
            if (run.text.find(needle) != std::u16string::npos)
                return run.format;
        }
    }
    ADD_FAILURE() << "no run holds " << toUtf8(needle);
    return {};
}

struct TextCase {
    const char* name;
    std::string_view rtf;
    std::string expected;
};

void expectTexts(const std::vector<TextCase>& cases) {
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(plain(c.rtf), c.expected) << c.rtf;
    }
}

TEST(LooksLikeRtf, RecognisesTheHeaderOnly) {
    const std::pair<std::string_view, bool> cases[] = {
        {"{\\rtf1\\ansi x}", true},
        {"{\\rtf", true},
        {"\xEF\xBB\xBF{\\rtf1}", true},
        {" \t\r\n{\\rtf1}", true},
        {"\xEF\xBB\xBF \n{\\rtf1}", true},
        {"", false},
        {"{\\rt", false},
        {"{\\RTF1}", false},
        {"x{\\rtf1}", false},
        {"{ \\rtf1}", false},
        {"Plain text", false},
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(looksLikeRtf(bytes), expected) << bytes;
}

TEST(RtfReader, ParagraphsAndTheTrailingBreak) {
    expectTexts({
        {"trailing \\par dropped", "{\\rtf1 Hello\\par }", "Hello"},
        {"no \\par at all", "{\\rtf1 Hello}", "Hello"},
        {"one empty paragraph kept", "{\\rtf1 a\\par\\par }", "a\n"},
        {"two paragraphs", "{\\rtf1 a\\par b}", "a\nb"},
        {"only a \\par", "{\\rtf1\\par }", ""},
        {"empty document", "{\\rtf1 }", ""},
        {"\\line ends a paragraph", "{\\rtf1 a\\line b}", "a\nb"},
        {"\\sect, \\page and \\row", "{\\rtf1 a\\sect b\\page c\\row d}", "a\nb\nc\nd"},
        {"backslash-LF", "{\\rtf1 a\\\nb}", "a\nb"},
        {"backslash-CR LF", "{\\rtf1 a\\\r\nb}", "a\nb"},
        {"raw line ends ignored", "{\\rtf1 Bug\nTe\r\nst\r}", "BugTest"},
        {"text after a parameter", "{\\rtf1foobar}", "foobar"},
        {"one delimiting space", "{\\rtf1\\b  two}", " two"},
        {"nul bytes ignored", std::string_view("{\\rtf1 a\0b}", 11), "ab"},
        {"escaped line ends and NUL ignored", "{\\rtf1\\uc0 a\\'0d\\'0a\\u10 \\u13 \\u0 b}", "ab"},
    });
}

TEST(RtfReader, SpecialCharacters) {
    expectTexts({
        {"tab and cell", "{\\rtf1 a\\tab b\\cell c\\nestcell d}", "a\tb\tc\td"},
        {"no-break space", "{\\rtf1 a\\~b}", "a\u00A0b"},
        {"optional hyphen dropped", "{\\rtf1 a\\-b}", "ab"},
        {"no-break hyphen", "{\\rtf1 a\\_b}", "a\u2011b"},
        {"escaped markup", "{\\rtf1 \\{x\\}\\\\}", "{x}\\"},
        {"named punctuation",
         "{\\rtf1 \\emdash\\endash\\lquote\\rquote\\ldblquote\\rdblquote\\bullet}",
         "\u2014\u2013\u2018\u2019\u201C\u201D\u2022"},
        {"unknown words ignored", "{\\rtf1 a\\foo12 b\\bar c}", "abc"},
    });
}

TEST(RtfReader, SkipsDestinationsThatAreNotBodyText) {
    expectTexts({
        {"font and colour tables",
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}x}", "x"},
        {"stylesheet", "{\\rtf1{\\stylesheet{\\s0 Normal;}}x}", "x"},
        {"info", "{\\rtf1{\\info{\\title T}{\\author A}}x}", "x"},
        {"unknown starred destination", "{\\rtf1{\\*\\mystery hidden {nested}}x}", "x"},
        {"starred known word", "{\\rtf1{\\*\\b hidden}x}", "x"},
        {"picture", "{\\rtf1{\\pict\\wmetafile8 0102ab}x}", "x"},
        {"object", "{\\rtf1{\\object{\\*\\objdata 01}{\\result{\\pict 02}}}x}", "x"},
        {"headers and footers",
         "{\\rtf1{\\header h}{\\headerl h}{\\headerr h}{\\headerf h}{\\footer f}{\\footerl f}"
         "{\\footerr f}{\\footerf f}x}",
         "x"},
        {"footnote", "{\\rtf1 x{\\footnote note}y}", "xy"},
        {"list tables",
         "{\\rtf1{\\*\\listtable{\\list{\\leveltext \\'02\\'00.;}}}"
         "{\\*\\listoverridetable{\\listoverride}}x}",
         "x"},
        {"list numbers", "{\\rtf1{\\listtext 1.\\tab}{\\pntext 2.\\tab}x}", "x"},
        {"Word metadata",
         "{\\rtf1{\\*\\themedata 00}{\\*\\colorschememapping 00}{\\*\\latentstyles x}"
         "{\\*\\datastore 00}{\\*\\xmlnstbl x}{\\*\\rsidtbl \\rsid1}{\\*\\generator G;}x}",
         "x"},
        {"bookmarks", "{\\rtf1{\\*\\bkmkstart m}x{\\bkmkend m}}", "x"},
        {"field gives its result",
         "{\\rtf1 see {\\field{\\*\\fldinst {HYPERLINK \"http://x\"}}{\\fldrslt {\\ul link}}}.}",
         "see link."},
        {"unstarred field instruction", "{\\rtf1{\\field{\\fldinst PAGE}{\\fldrslt 7}}}", "7"},
        {"8-bit variant of \\upr", "{\\rtf1{\\upr{ansi}{\\*\\ud{uni}}}}", "uni"},
        {"binary data with braces", "{\\rtf1 a{\\pict\\bin4 }}{\\}b}", "ab"},
        {"binary data outside a picture", "{\\rtf1 a\\bin3 xyzb}", "ab"},
        {"\\bin without length", "{\\rtf1 a{\\pict\\bin 0102}b}", "ab"},
    });
}

TEST(RtfReader, UnicodeEscapesSkipTheirFallback) {
    expectTexts({
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
    });
}

TEST(RtfReader, DecodesBytesByFontCharsetThenAnsiCodePage) {
    expectTexts({
        {"default code page 1252", "{\\rtf1 \\'80\\'e9}", "\u20AC\u00E9"},
        {"\\ansicpg1250", "{\\rtf1\\ansi\\ansicpg1250 \\'9a\\'e8}", "\u0161\u010D"},
        {"\\ansicpg1251", "{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'ff}", "\u0410\u044F"},
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
    const RtfReadResult result = read(
        "{\\rtf1\\deff1{\\fonttbl{\\f0\\froman\\fcharset0{\\*\\panose 0202}Times New Roman"
        "{\\*\\falt Alt};}{\\f1\\fswiss Arial ;}{\\f2\\fnil\\fcharset129 \\'b8\\'bc\\'c0\\'ba;}}"
        "first \\f0 times \\f2 korean \\f9 missing \\plain plain}");
    EXPECT_EQ(formatOf(result.document, u"first").font, "Arial");
    EXPECT_EQ(formatOf(result.document, u"times").font, "Times New Roman");
    EXPECT_EQ(formatOf(result.document, u"korean").font, "\uB9D1\uC740"); // hex in the name
    EXPECT_EQ(formatOf(result.document, u"missing").font, "Arial");       // falls back to \deff
    EXPECT_EQ(formatOf(result.document, u"plain").font, "Arial");

    // Without \deff the caller's face stands in.
    const RtfReadResult noDefault = read("{\\rtf1{\\fonttbl{\\f0 Arial;}}x\\f0 y}");
    EXPECT_EQ(formatOf(noDefault.document, u"x").font, "Base Face");
    EXPECT_EQ(formatOf(noDefault.document, u"y").font, "Arial");

    // Entries without groups, or without their ';'.
    const RtfReadResult flat =
        read("{\\rtf1{\\fonttbl\\f0\\fswiss Helvetica;\\f1\\fmodern Courier;}"
             "{\\fonttbl{\\f2 NoSemicolon}}\\f1 a\\f2 b}");
    EXPECT_EQ(formatOf(flat.document, u"a").font, "Courier");
    EXPECT_EQ(formatOf(flat.document, u"b").font, "NoSemicolon");
}

TEST(RtfReader, CharacterFormat) {
    const RtfReadResult result =
        read("{\\rtf1{\\fonttbl{\\f0 Arial;}}"
             "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;\\red1\\green2\\blue3}"
             "start {\\b bold}{\\i italic}{\\ul under}{\\uldb dbl}{\\ulw words}"
             "{\\ul\\ul0 offzero}{\\ul\\ulnone offnone}{\\ulc2 ulcolour}"
             "{\\fs39 size}{\\fs0 zero}{\\cf1 red}{\\cf1\\cf0 auto}{\\cf3 third}{\\cf99 far}"
             "{\\highlight2 hl}{\\highlight2\\highlight0 nohl}{\\cb1 cb}{\\chcbpat2 pat}"
             "{\\b\\i\\ul\\fs40\\cf1\\highlight2\\plain reset}}");
    const RichDocument& d = result.document;

    const CharFormat start = formatOf(d, u"start");
    EXPECT_EQ(start.font, "Base Face");
    EXPECT_EQ(start.size, 12.0); // not the caller's size: RTF's own default
    EXPECT_EQ(start.colour, colours::black);
    EXPECT_FALSE(start.background.has_value());
    EXPECT_FALSE(start.bold || start.italic || start.underline);

    EXPECT_TRUE(formatOf(d, u"bold").bold);
    EXPECT_TRUE(formatOf(d, u"italic").italic);
    for (std::u16string_view on : {u"under", u"dbl", u"words"})
        EXPECT_TRUE(formatOf(d, on).underline) << toUtf8(on);
    for (std::u16string_view off : {u"offzero", u"offnone", u"ulcolour"})
        EXPECT_FALSE(formatOf(d, off).underline) << toUtf8(off);
    EXPECT_EQ(formatOf(d, u"size").size, 19.5);
    EXPECT_EQ(formatOf(d, u"zero").size, 12.0);
    EXPECT_EQ(formatOf(d, u"red").colour, colours::red);
    EXPECT_EQ(formatOf(d, u"auto").colour, colours::black);
    EXPECT_EQ(formatOf(d, u"third").colour, Colour::rgb(1, 2, 3)); // entry without ';'
    EXPECT_EQ(formatOf(d, u"far").colour, colours::black);
    EXPECT_EQ(formatOf(d, u"hl").background, colours::blue);
    EXPECT_EQ(formatOf(d, u"nohl").background, std::nullopt);
    EXPECT_EQ(formatOf(d, u"cb").background, colours::red);
    EXPECT_EQ(formatOf(d, u"pat").background, colours::blue);
    EXPECT_EQ(formatOf(d, u"reset"), start);
}

TEST(RtfReader, ExactSizeBesideTheRoundedFs) {
    const RtfReadResult result =
        read("{\\rtf1{\\fs20{\\*\\kssize 195}a}b\\fs28{\\*\\kssize 275} c\\fs30 d}");
    EXPECT_EQ(formatOf(result.document, u"a").size, 9.75);
    EXPECT_EQ(formatOf(result.document, u"b").size, 12.0); // the group ended the size
    EXPECT_EQ(formatOf(result.document, u"c").size, 13.75);
    EXPECT_EQ(formatOf(result.document, u"d").size, 15.0);
}

TEST(RtfReader, ExplicitFirstColourEntryIsUsedForCf0) {
    const RtfReadResult result = read("{\\rtf1{\\colortbl\\red0\\green0\\blue255;}\\cf0 x}");
    EXPECT_EQ(formatOf(result.document, u"x").colour, colours::blue);
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
    struct Case {
        const char* name;
        std::string_view rtf;
        std::string expected;
        bool warns;
    };
    const Case cases[] = {
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
        {"star without word", "{\\rtf1{\\* a}b}", " ab", false},
        {"nested rtf header", "{\\rtf1 a{\\rtf1 b}c}", "abc", false},
        {"version-less header", "{\\rtf}", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RtfReadResult result = read(c.rtf);
        EXPECT_EQ(plain(result.document), c.expected);
        EXPECT_EQ(!result.warnings.empty(), c.warns);
        EXPECT_FALSE(result.document.paragraphs.empty());
    }
}

TEST(RtfReader, UnknownCodePageIsReported) {
    const RtfReadResult result = read("{\\rtf1\\ansi\\ansicpg1181 x}");
    ASSERT_EQ(result.warnings.size(), 1u);
    EXPECT_NE(result.warnings[0].find("1181"), std::string::npos);
}

TEST(RtfReader, DeepNestingFinishesFlat) {
    const std::size_t depth = 100000;
    std::string open = "{\\rtf1 a" + std::string(depth, '{') + "\\b deep";
    RtfReadResult result = read(open);
    EXPECT_EQ(plain(result.document), "adeep");
    EXPECT_FALSE(result.warnings.empty());

    std::string balanced = open + std::string(depth, '}') + " after\\par}";
    result = read(balanced);
    EXPECT_EQ(plain(result.document), "adeep after");
    EXPECT_FALSE(formatOf(result.document, u"after").bold);
}

TEST(RtfReader, FontTableIsCapped) {
    std::string rtf = "{\\rtf1{\\fonttbl";
    for (int i = 0; i <= 10000; ++i)
        rtf += "{\\f" + std::to_string(i) + " F" + std::to_string(i) + ";}";
    rtf += "}\\f9999 a\\f10000 b}";
    const RtfReadResult result = read(rtf);
    EXPECT_EQ(formatOf(result.document, u"a").font, "F9999");
    EXPECT_EQ(formatOf(result.document, u"b").font, "Base Face");
    EXPECT_FALSE(result.warnings.empty());
}

// --- Real-world files -------------------------------------------------------------------

std::string withoutTrailingWhitespace(std::string text) {
    while (!text.empty() && std::string_view(" \t\r\n").find(text.back()) != std::string::npos)
        text.pop_back();
    return text;
}

// MANIFEST.tsv: file, source, path, licence, writer, features, plain_text ("\n" and "\t"
// escaped; empty when not given).
std::map<std::string, std::string> expectedPlainTexts(const std::filesystem::path& manifest) {
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

TEST(RtfReaderCorpus, EveryFileLoadsAndKnownTextsMatch) {
    const std::filesystem::path corpus = KEYSTRIDE_RTF_CORPUS;
    if (!std::filesystem::is_directory(corpus))
        GTEST_SKIP() << "no RTF corpus at " << corpus;
    const std::map<std::string, std::string> expected = expectedPlainTexts(corpus / "MANIFEST.tsv");
    EXPECT_FALSE(expected.empty());

    std::size_t files = 0;
    std::size_t compared = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.path().extension() != ".rtf")
            continue;
        const std::string name = entry.path().filename().string();
        SCOPED_TRACE(name);
        const RtfReadResult result = read(readFile(entry.path()));
        ++files;
        ASSERT_FALSE(result.document.paragraphs.empty());
        const auto known = expected.find(name);
        if (known == expected.end())
            continue;
        EXPECT_EQ(withoutTrailingWhitespace(plain(result.document)),
                  withoutTrailingWhitespace(known->second));
        ++compared;
    }
    EXPECT_GT(files, 0u);
    EXPECT_EQ(compared, expected.size());
}

TEST(RtfReaderCorpus, KnownStructureOfSelectedFiles) {
    const std::filesystem::path corpus = KEYSTRIDE_RTF_CORPUS;
    if (!std::filesystem::is_directory(corpus))
        GTEST_SKIP() << "no RTF corpus at " << corpus;

    // Word 97 with \sl360 and \sl480 paragraphs.
    const RtfReadResult spacing = read(readFile(corpus / "word97-linespacing-unicode.rtf"));
    const auto& paragraphs = spacing.document.paragraphs;
    const auto has = [&](LineSpacing s) {
        return std::any_of(paragraphs.begin(), paragraphs.end(),
                           [s](const Paragraph& p) { return p.format.lineSpacing == s; });
    };
    EXPECT_TRUE(has(LineSpacing::OneAndAHalf));
    EXPECT_TRUE(has(LineSpacing::Double));

    // Czech letters escaped in a \fcharset238 font of a 1252 document.
    const std::string czech = plain(read(readFile(corpus / "word2010-czech-unicode.rtf")).document);
    EXPECT_NE(czech.find("P\u0159edpokl\u00E1d\u00E1 se"), std::string::npos);

    // The body after the outermost group's early close is read.
    const std::string lists =
        plain(read(readFile(corpus / "libreoffice6-lists-links-tables.rtf")).document);
    EXPECT_GT(lists.size(), 5000u);
}

} // namespace
} // namespace keystride
