#include "platform/rtf/rtf_control_words.h"

#include <algorithm>
#include <array>

namespace keystride {

namespace {

struct Entry {
    std::string_view name;
    RtfControl control;
};

// Groups whose text never belongs to the document body: metadata, pictures, objects, headers,
// footers, footnotes, list definitions, field instructions and the like.
constexpr Entry skip(std::string_view name) {
    return {name, {RtfWordClass::Destination, RtfWord::SkipDestination}};
}
constexpr Entry destination(std::string_view name, RtfWord word) {
    return {name, {RtfWordClass::Destination, word}};
}
constexpr Entry flag(std::string_view name, RtfWord word, std::uint16_t codePage = 0) {
    return {name, {RtfWordClass::Flag, word, codePage}};
}
constexpr Entry toggle(std::string_view name, RtfWord word) {
    return {name, {RtfWordClass::Toggle, word}};
}
constexpr Entry value(std::string_view name, RtfWord word) {
    return {name, {RtfWordClass::Value, word}};
}
constexpr Entry symbol(std::string_view name, char16_t character) {
    return {name, {RtfWordClass::Symbol, RtfWord::Character, character}};
}
// Line breaks, page and section breaks and table rows all end a paragraph of the pane.
constexpr Entry paragraphBreak(std::string_view name) {
    return {name, {RtfWordClass::Symbol, RtfWord::ParagraphEnd}};
}

// Sorted by name (byte order) for binary search.
constexpr Entry kWords[] = {
    skip("aftncn"),
    skip("aftnsep"),
    skip("aftnsepc"),
    skip("annotation"),
    flag("ansi", RtfWord::CharacterSet, 1252),
    value("ansicpg", RtfWord::AnsiCodePage),
    skip("atnauthor"),
    skip("atndate"),
    skip("atnicn"),
    skip("atnid"),
    skip("atnparent"),
    skip("atnref"),
    skip("atntime"),
    skip("atrfend"),
    skip("atrfstart"),
    skip("author"),
    toggle("b", RtfWord::Bold),
    skip("background"),
    value("bin", RtfWord::Binary),
    skip("bkmkend"),
    skip("bkmkstart"),
    skip("blipuid"),
    value("blue", RtfWord::Blue),
    symbol("bullet", u'\u2022'),
    skip("buptim"),
    skip("category"),
    value("cb", RtfWord::Background),
    symbol("cell", u'\t'),
    value("cf", RtfWord::Colour),
    value("chcbpat", RtfWord::Background),
    skip("colorschememapping"),
    destination("colortbl", RtfWord::ColourTable),
    skip("comment"),
    skip("company"),
    skip("creatim"),
    skip("datafield"),
    skip("datastore"),
    skip("defchp"),
    value("deff", RtfWord::DefaultFont),
    skip("defpap"),
    skip("do"),
    skip("doccomm"),
    skip("docvar"),
    skip("dptxbxtext"),
    skip("ebcend"),
    skip("ebcstart"),
    symbol("emdash", u'\u2014'),
    symbol("emspace", u'\u2003'),
    symbol("endash", u'\u2013'),
    symbol("enspace", u'\u2002'),
    value("f", RtfWord::Font),
    skip("factoidname"),
    skip("falt"),
    skip("fchars"),
    value("fcharset", RtfWord::FontCharset),
    skip("ffdeftext"),
    skip("ffentrymcr"),
    skip("ffexitmcr"),
    skip("ffformat"),
    skip("ffhelptext"),
    skip("ffl"),
    skip("ffname"),
    skip("ffstattext"),
    skip("file"),
    skip("filetbl"),
    skip("fldinst"),
    skip("fldtype"),
    skip("fname"),
    skip("fontemb"),
    skip("fontfile"),
    destination("fonttbl", RtfWord::FontTable),
    skip("footer"),
    skip("footerf"),
    skip("footerl"),
    skip("footerr"),
    skip("footnote"),
    skip("formfield"),
    value("fs", RtfWord::FontSize),
    skip("ftncn"),
    skip("ftnsep"),
    skip("ftnsepc"),
    skip("g"),
    skip("generator"),
    value("green", RtfWord::Green),
    skip("gridtbl"),
    skip("header"),
    skip("headerf"),
    skip("headerl"),
    skip("headerr"),
    value("highlight", RtfWord::Background),
    skip("hl"),
    skip("hlfr"),
    skip("hlinkbase"),
    skip("hlloc"),
    skip("hlsrc"),
    skip("hsv"),
    skip("htmltag"),
    toggle("i", RtfWord::Italic),
    skip("info"),
    skip("keycode"),
    skip("keywords"),
    value("kssize", RtfWord::ExactFontSize),
    skip("latentstyles"),
    paragraphBreak("lbr"),
    skip("lchars"),
    symbol("ldblquote", u'\u201C'),
    skip("levelnumbers"),
    skip("leveltext"),
    paragraphBreak("line"),
    skip("linkval"),
    skip("list"),
    skip("listlevel"),
    skip("listname"),
    skip("listoverride"),
    skip("listoverridetable"),
    skip("listpicture"),
    skip("liststylename"),
    skip("listtable"),
    skip("listtext"),
    symbol("lquote", u'\u2018'),
    skip("lsdlockedexcept"),
    flag("mac", RtfWord::CharacterSet, 10000),
    skip("manager"),
    skip("mhtml"),
    skip("mmathPr"),
    symbol("nestcell", u'\t'),
    paragraphBreak("nestrow"),
    skip("nesttableprops"),
    skip("nextfile"),
    skip("nonesttables"),
    skip("nonshppict"),
    skip("objalias"),
    skip("objclass"),
    skip("objdata"),
    skip("object"),
    skip("objname"),
    skip("objsect"),
    skip("objtime"),
    skip("oldcprops"),
    skip("oldpprops"),
    skip("oldsprops"),
    skip("oldtprops"),
    skip("oleclsid"),
    skip("operator"),
    paragraphBreak("page"),
    skip("panose"),
    paragraphBreak("par"),
    flag("pard", RtfWord::ParagraphDefaults),
    skip("password"),
    skip("passwordhash"),
    flag("pc", RtfWord::CharacterSet, 437),
    flag("pca", RtfWord::CharacterSet, 850),
    skip("pgdsc"),
    skip("pgdsctbl"),
    skip("pgp"),
    skip("pgptbl"),
    skip("picprop"),
    skip("pict"),
    flag("plain", RtfWord::Plain),
    skip("pn"),
    skip("pnseclvl"),
    skip("pntext"),
    skip("pntxta"),
    skip("pntxtb"),
    skip("printim"),
    skip("private"),
    skip("propname"),
    skip("protend"),
    skip("protstart"),
    skip("protusertbl"),
    skip("pxe"),
    symbol("qmspace", u'\u2005'),
    symbol("rdblquote", u'\u201D'),
    value("red", RtfWord::Red),
    skip("result"),
    skip("revtbl"),
    skip("revtim"),
    paragraphBreak("row"),
    symbol("rquote", u'\u2019'),
    skip("rsidtbl"),
    skip("rxe"),
    paragraphBreak("sect"),
    skip("shp"),
    skip("shpgrp"),
    skip("shpinst"),
    skip("shppict"),
    skip("shprslt"),
    skip("shptxt"),
    value("sl", RtfWord::LineSpacing),
    value("slmult", RtfWord::LineSpacingMultiple),
    skip("sn"),
    skip("sp"),
    skip("stylesheet"),
    skip("subject"),
    skip("sv"),
    skip("svb"),
    symbol("tab", u'\t'),
    skip("tc"),
    skip("template"),
    skip("themedata"),
    skip("title"),
    skip("txe"),
    value("u", RtfWord::Unicode),
    value("uc", RtfWord::UnicodeSkip),
    destination("ud", RtfWord::UnicodeDestination),
    toggle("ul", RtfWord::Underline),
    toggle("uld", RtfWord::Underline),
    toggle("uldash", RtfWord::Underline),
    toggle("uldashd", RtfWord::Underline),
    toggle("uldashdd", RtfWord::Underline),
    toggle("uldb", RtfWord::Underline),
    toggle("ulhwave", RtfWord::Underline),
    toggle("ulldash", RtfWord::Underline),
    flag("ulnone", RtfWord::UnderlineNone),
    toggle("ulth", RtfWord::Underline),
    toggle("ulthd", RtfWord::Underline),
    toggle("ulthdash", RtfWord::Underline),
    toggle("ulthdashd", RtfWord::Underline),
    toggle("ulthdashdd", RtfWord::Underline),
    toggle("ulthldash", RtfWord::Underline),
    toggle("ululdbwave", RtfWord::Underline),
    toggle("ulw", RtfWord::Underline),
    toggle("ulwave", RtfWord::Underline),
    destination("upr", RtfWord::UnicodePair),
    skip("userprops"),
    skip("wgrffmtfilter"),
    skip("windowcaption"),
    skip("writereservation"),
    skip("writereservhash"),
    skip("xe"),
    skip("xform"),
    skip("xmlattrname"),
    skip("xmlattrvalue"),
    skip("xmlclose"),
    skip("xmlname"),
    skip("xmlnstbl"),
    skip("xmlopen"),
};

constexpr bool isSortedByName() {
    for (std::size_t i = 1; i < std::size(kWords); ++i) {
        if (!(kWords[i - 1].name < kWords[i].name))
            return false;
    }
    return true;
}
static_assert(isSortedByName(), "the control-word table must stay sorted for binary search");

// For each lower-case first letter, where its words start in the table; the binary search then
// runs over that letter's words only and compares from the second letter on.
struct LetterRanges {
    std::array<std::size_t, 27> start{};
};

constexpr LetterRanges makeLetterRanges() {
    LetterRanges ranges;
    std::size_t entry = 0;
    for (std::size_t letter = 0; letter < 26; ++letter) {
        ranges.start[letter] = entry;
        while (entry < std::size(kWords) &&
               kWords[entry].name[0] == static_cast<char>('a' + letter))
            ++entry;
    }
    ranges.start[26] = entry;
    return ranges;
}
constexpr LetterRanges kLetterRanges = makeLetterRanges();
static_assert(kLetterRanges.start[26] == std::size(kWords),
              "every control word in the table starts with a lower-case letter");

} // namespace

RtfControl lookupRtfWord(std::string_view name) {
    if (name.empty() || name[0] < 'a' || name[0] > 'z')
        return {};
    const auto letter = static_cast<std::size_t>(name[0] - 'a');
    const Entry* begin = std::begin(kWords) + kLetterRanges.start[letter];
    const Entry* end = std::begin(kWords) + kLetterRanges.start[letter + 1];
    const std::string_view rest = name.substr(1);
    const Entry* found =
        std::lower_bound(begin, end, rest, [](const Entry& entry, std::string_view key) {
            return entry.name.substr(1) < key;
        });
    if (found == end || found->name.substr(1) != rest)
        return {};
    return found->control;
}

} // namespace keystride
