#include "platform/rtf/rtf_control_words.h"

#include <algorithm>
#include <array>

namespace keystride {

namespace {

struct Entry {
    std::string_view name;
    RtfWord word;
};

// Sorted by name (byte order) for binary search. Destinations listed as SkipDestination hold
// metadata, pictures, objects, headers, footers, footnotes, list definitions, field
// instructions and the like; their text never belongs to the document body.
constexpr Entry kWords[] = {
    {"aftncn", RtfWord::SkipDestination},
    {"aftnsep", RtfWord::SkipDestination},
    {"aftnsepc", RtfWord::SkipDestination},
    {"annotation", RtfWord::SkipDestination},
    {"ansi", RtfWord::Ansi},
    {"ansicpg", RtfWord::AnsiCodePage},
    {"atnauthor", RtfWord::SkipDestination},
    {"atndate", RtfWord::SkipDestination},
    {"atnicn", RtfWord::SkipDestination},
    {"atnid", RtfWord::SkipDestination},
    {"atnparent", RtfWord::SkipDestination},
    {"atnref", RtfWord::SkipDestination},
    {"atntime", RtfWord::SkipDestination},
    {"atrfend", RtfWord::SkipDestination},
    {"atrfstart", RtfWord::SkipDestination},
    {"author", RtfWord::SkipDestination},
    {"b", RtfWord::Bold},
    {"background", RtfWord::SkipDestination},
    {"bin", RtfWord::Binary},
    {"bkmkend", RtfWord::SkipDestination},
    {"bkmkstart", RtfWord::SkipDestination},
    {"blipuid", RtfWord::SkipDestination},
    {"blue", RtfWord::Blue},
    {"bullet", RtfWord::Bullet},
    {"buptim", RtfWord::SkipDestination},
    {"category", RtfWord::SkipDestination},
    {"cb", RtfWord::Background},
    {"cell", RtfWord::Tab},
    {"cf", RtfWord::Colour},
    {"chcbpat", RtfWord::Background},
    {"colorschememapping", RtfWord::SkipDestination},
    {"colortbl", RtfWord::ColourTable},
    {"comment", RtfWord::SkipDestination},
    {"company", RtfWord::SkipDestination},
    {"creatim", RtfWord::SkipDestination},
    {"datafield", RtfWord::SkipDestination},
    {"datastore", RtfWord::SkipDestination},
    {"defchp", RtfWord::SkipDestination},
    {"deff", RtfWord::DefaultFont},
    {"defpap", RtfWord::SkipDestination},
    {"do", RtfWord::SkipDestination},
    {"doccomm", RtfWord::SkipDestination},
    {"docvar", RtfWord::SkipDestination},
    {"dptxbxtext", RtfWord::SkipDestination},
    {"ebcend", RtfWord::SkipDestination},
    {"ebcstart", RtfWord::SkipDestination},
    {"emdash", RtfWord::EmDash},
    {"emspace", RtfWord::EmSpace},
    {"endash", RtfWord::EnDash},
    {"enspace", RtfWord::EnSpace},
    {"f", RtfWord::Font},
    {"factoidname", RtfWord::SkipDestination},
    {"falt", RtfWord::SkipDestination},
    {"fchars", RtfWord::SkipDestination},
    {"fcharset", RtfWord::FontCharset},
    {"ffdeftext", RtfWord::SkipDestination},
    {"ffentrymcr", RtfWord::SkipDestination},
    {"ffexitmcr", RtfWord::SkipDestination},
    {"ffformat", RtfWord::SkipDestination},
    {"ffhelptext", RtfWord::SkipDestination},
    {"ffl", RtfWord::SkipDestination},
    {"ffname", RtfWord::SkipDestination},
    {"ffstattext", RtfWord::SkipDestination},
    {"file", RtfWord::SkipDestination},
    {"filetbl", RtfWord::SkipDestination},
    {"fldinst", RtfWord::SkipDestination},
    {"fldtype", RtfWord::SkipDestination},
    {"fname", RtfWord::SkipDestination},
    {"fontemb", RtfWord::SkipDestination},
    {"fontfile", RtfWord::SkipDestination},
    {"fonttbl", RtfWord::FontTable},
    {"footer", RtfWord::SkipDestination},
    {"footerf", RtfWord::SkipDestination},
    {"footerl", RtfWord::SkipDestination},
    {"footerr", RtfWord::SkipDestination},
    {"footnote", RtfWord::SkipDestination},
    {"formfield", RtfWord::SkipDestination},
    {"fs", RtfWord::FontSize},
    {"ftncn", RtfWord::SkipDestination},
    {"ftnsep", RtfWord::SkipDestination},
    {"ftnsepc", RtfWord::SkipDestination},
    {"g", RtfWord::SkipDestination},
    {"generator", RtfWord::SkipDestination},
    {"green", RtfWord::Green},
    {"gridtbl", RtfWord::SkipDestination},
    {"header", RtfWord::SkipDestination},
    {"headerf", RtfWord::SkipDestination},
    {"headerl", RtfWord::SkipDestination},
    {"headerr", RtfWord::SkipDestination},
    {"highlight", RtfWord::Highlight},
    {"hl", RtfWord::SkipDestination},
    {"hlfr", RtfWord::SkipDestination},
    {"hlinkbase", RtfWord::SkipDestination},
    {"hlloc", RtfWord::SkipDestination},
    {"hlsrc", RtfWord::SkipDestination},
    {"hsv", RtfWord::SkipDestination},
    {"htmltag", RtfWord::SkipDestination},
    {"i", RtfWord::Italic},
    {"info", RtfWord::SkipDestination},
    {"keycode", RtfWord::SkipDestination},
    {"keywords", RtfWord::SkipDestination},
    {"kssize", RtfWord::ExactFontSize},
    {"latentstyles", RtfWord::SkipDestination},
    {"lbr", RtfWord::ParagraphEnd},
    {"lchars", RtfWord::SkipDestination},
    {"ldblquote", RtfWord::LeftDoubleQuote},
    {"levelnumbers", RtfWord::SkipDestination},
    {"leveltext", RtfWord::SkipDestination},
    {"line", RtfWord::ParagraphEnd},
    {"linkval", RtfWord::SkipDestination},
    {"list", RtfWord::SkipDestination},
    {"listlevel", RtfWord::SkipDestination},
    {"listname", RtfWord::SkipDestination},
    {"listoverride", RtfWord::SkipDestination},
    {"listoverridetable", RtfWord::SkipDestination},
    {"listpicture", RtfWord::SkipDestination},
    {"liststylename", RtfWord::SkipDestination},
    {"listtable", RtfWord::SkipDestination},
    {"listtext", RtfWord::SkipDestination},
    {"lquote", RtfWord::LeftQuote},
    {"lsdlockedexcept", RtfWord::SkipDestination},
    {"mac", RtfWord::Mac},
    {"manager", RtfWord::SkipDestination},
    {"mhtml", RtfWord::SkipDestination},
    {"mmathPr", RtfWord::SkipDestination},
    {"nestcell", RtfWord::Tab},
    {"nestrow", RtfWord::ParagraphEnd},
    {"nesttableprops", RtfWord::SkipDestination},
    {"nextfile", RtfWord::SkipDestination},
    {"nonesttables", RtfWord::SkipDestination},
    {"nonshppict", RtfWord::SkipDestination},
    {"objalias", RtfWord::SkipDestination},
    {"objclass", RtfWord::SkipDestination},
    {"objdata", RtfWord::SkipDestination},
    {"object", RtfWord::SkipDestination},
    {"objname", RtfWord::SkipDestination},
    {"objsect", RtfWord::SkipDestination},
    {"objtime", RtfWord::SkipDestination},
    {"oldcprops", RtfWord::SkipDestination},
    {"oldpprops", RtfWord::SkipDestination},
    {"oldsprops", RtfWord::SkipDestination},
    {"oldtprops", RtfWord::SkipDestination},
    {"oleclsid", RtfWord::SkipDestination},
    {"operator", RtfWord::SkipDestination},
    {"page", RtfWord::ParagraphEnd},
    {"panose", RtfWord::SkipDestination},
    {"par", RtfWord::ParagraphEnd},
    {"pard", RtfWord::ParagraphDefaults},
    {"password", RtfWord::SkipDestination},
    {"passwordhash", RtfWord::SkipDestination},
    {"pc", RtfWord::Pc},
    {"pca", RtfWord::Pca},
    {"pgdsc", RtfWord::SkipDestination},
    {"pgdsctbl", RtfWord::SkipDestination},
    {"pgp", RtfWord::SkipDestination},
    {"pgptbl", RtfWord::SkipDestination},
    {"picprop", RtfWord::SkipDestination},
    {"pict", RtfWord::SkipDestination},
    {"plain", RtfWord::Plain},
    {"pn", RtfWord::SkipDestination},
    {"pnseclvl", RtfWord::SkipDestination},
    {"pntext", RtfWord::SkipDestination},
    {"pntxta", RtfWord::SkipDestination},
    {"pntxtb", RtfWord::SkipDestination},
    {"printim", RtfWord::SkipDestination},
    {"private", RtfWord::SkipDestination},
    {"propname", RtfWord::SkipDestination},
    {"protend", RtfWord::SkipDestination},
    {"protstart", RtfWord::SkipDestination},
    {"protusertbl", RtfWord::SkipDestination},
    {"pxe", RtfWord::SkipDestination},
    {"qmspace", RtfWord::QuarterEmSpace},
    {"rdblquote", RtfWord::RightDoubleQuote},
    {"red", RtfWord::Red},
    {"result", RtfWord::SkipDestination},
    {"revtbl", RtfWord::SkipDestination},
    {"revtim", RtfWord::SkipDestination},
    {"row", RtfWord::ParagraphEnd},
    {"rquote", RtfWord::RightQuote},
    {"rsidtbl", RtfWord::SkipDestination},
    {"rxe", RtfWord::SkipDestination},
    {"sect", RtfWord::ParagraphEnd},
    {"shp", RtfWord::SkipDestination},
    {"shpgrp", RtfWord::SkipDestination},
    {"shpinst", RtfWord::SkipDestination},
    {"shppict", RtfWord::SkipDestination},
    {"shprslt", RtfWord::SkipDestination},
    {"shptxt", RtfWord::SkipDestination},
    {"sl", RtfWord::LineSpacing},
    {"slmult", RtfWord::LineSpacingMultiple},
    {"sn", RtfWord::SkipDestination},
    {"sp", RtfWord::SkipDestination},
    {"stylesheet", RtfWord::SkipDestination},
    {"subject", RtfWord::SkipDestination},
    {"sv", RtfWord::SkipDestination},
    {"svb", RtfWord::SkipDestination},
    {"tab", RtfWord::Tab},
    {"tc", RtfWord::SkipDestination},
    {"template", RtfWord::SkipDestination},
    {"themedata", RtfWord::SkipDestination},
    {"title", RtfWord::SkipDestination},
    {"txe", RtfWord::SkipDestination},
    {"u", RtfWord::Unicode},
    {"uc", RtfWord::UnicodeSkip},
    {"ud", RtfWord::UnicodeDestination},
    {"ul", RtfWord::Underline},
    {"uld", RtfWord::Underline},
    {"uldash", RtfWord::Underline},
    {"uldashd", RtfWord::Underline},
    {"uldashdd", RtfWord::Underline},
    {"uldb", RtfWord::Underline},
    {"ulhwave", RtfWord::Underline},
    {"ulldash", RtfWord::Underline},
    {"ulnone", RtfWord::UnderlineNone},
    {"ulth", RtfWord::Underline},
    {"ulthd", RtfWord::Underline},
    {"ulthdash", RtfWord::Underline},
    {"ulthdashd", RtfWord::Underline},
    {"ulthdashdd", RtfWord::Underline},
    {"ulthldash", RtfWord::Underline},
    {"ululdbwave", RtfWord::Underline},
    {"ulw", RtfWord::Underline},
    {"ulwave", RtfWord::Underline},
    {"upr", RtfWord::UnicodePair},
    {"userprops", RtfWord::SkipDestination},
    {"wgrffmtfilter", RtfWord::SkipDestination},
    {"windowcaption", RtfWord::SkipDestination},
    {"writereservation", RtfWord::SkipDestination},
    {"writereservhash", RtfWord::SkipDestination},
    {"xe", RtfWord::SkipDestination},
    {"xform", RtfWord::SkipDestination},
    {"xmlattrname", RtfWord::SkipDestination},
    {"xmlattrvalue", RtfWord::SkipDestination},
    {"xmlclose", RtfWord::SkipDestination},
    {"xmlname", RtfWord::SkipDestination},
    {"xmlnstbl", RtfWord::SkipDestination},
    {"xmlopen", RtfWord::SkipDestination},
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

RtfWord lookupRtfWord(std::string_view name) {
    if (name.empty() || name[0] < 'a' || name[0] > 'z')
        return RtfWord::Unknown;
    const auto letter = static_cast<std::size_t>(name[0] - 'a');
    const Entry* begin = std::begin(kWords) + kLetterRanges.start[letter];
    const Entry* end = std::begin(kWords) + kLetterRanges.start[letter + 1];
    const std::string_view rest = name.substr(1);
    const Entry* found =
        std::lower_bound(begin, end, rest, [](const Entry& entry, std::string_view key) {
            return entry.name.substr(1) < key;
        });
    if (found == end || found->name.substr(1) != rest)
        return RtfWord::Unknown;
    return found->word;
}

} // namespace keystride
