#include "platform/rtf/rtf_reader.h"

#include "platform/richtext/codepages.h"
#include "platform/rtf/rtf_control_words.h"
#include "platform/rtf/rtf_text_decoder.h"
#include "platform/rtf/rtf_tokenizer.h"

#include <algorithm>
#include <new>
#include <unordered_map>
#include <utility>

namespace keystride {

namespace {

// Limits on what the input controls. Groups deeper than kMaxGroupDepth are read without a
// formatting scope of their own; tables stop growing at their caps.
constexpr std::size_t kMaxGroupDepth = 1000;
constexpr std::size_t kMaxFonts = 10000;
constexpr std::size_t kMaxColours = 10000;
constexpr std::size_t kMaxFontNameLength = 64; // face names have at most 31 characters
constexpr int kMaxUnicodeSkip = 64;
constexpr int kDefaultSize = 240; // twentieths of a point: 12 points, RTF's size without \fs
constexpr int kMaxSize = 32760;
constexpr int kDefaultCodePage = 1252;

// Where the last '{' or control word of the input starts (npos: none). Stray bytes after the
// end of the document, even a lone backslash, are not markup.
std::size_t lastMarkup(std::string_view input) {
    for (std::size_t i = input.size(); i-- > 0;) {
        const char c = input[i];
        if (c == '{')
            return i;
        if (c == '\\' && i + 1 < input.size()) {
            const char next = input[i + 1];
            if ((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z'))
                return i;
        }
    }
    return std::string_view::npos;
}

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

enum class Destination : std::uint8_t {
    Text,        // document body
    FontTable,   // \fonttbl: font numbers, charsets and names
    ColourTable, // \colortbl: ';'-separated \red \green \blue entries
    UnicodePair, // \upr: only its \ud part is read
    ExactSize,   // {\*\kssize N}: the digits of the size in twentieths of a point
};

// Character format as the markup states it. Fonts stay numbers until a run is finished, so
// entering and leaving groups copies no strings.
struct CharState {
    int font = -1;           // \f number; -1 stands for the default font
    int size = kDefaultSize; // twentieths of a point, so 9.75 points stays exact
    Colour colour = colours::black;
    bool hasBackground = false;
    Colour background;
    bool bold = false;
    bool italic = false;
    bool underline = false;

    friend bool operator==(const CharState&, const CharState&) = default;
};

struct GroupState {
    CharState chars;
    int lineSpacing = 0;  // \sl
    int lineMultiple = 0; // \slmult
    int unicodeSkip = 1;  // \uc: fallback units after each \u
    Destination destination = Destination::Text;
    Destination outsideUnicodePair = Destination::Text;
};

struct FontEntry {
    std::string name; // UTF-8
    int codePage = 0; // from \fcharset; 0 when it names none
};

// The warnings, each given at most once per document.
enum Warning : unsigned {
    NoGroup = 1u << 0,
    LeadingBytes = 1u << 1,
    UnclosedGroups = 1u << 2,
    ExtraClosingBrace = 1u << 3,
    TooDeep = 1u << 4,
    OverlongWord = 1u << 5,
    TruncatedBinary = 1u << 6,
    UnknownCodePage = 1u << 7,
    TooManyFonts = 1u << 8,
    TooManyColours = 1u << 9,
    OutOfMemory = 1u << 10,
};

class RtfDocumentBuilder {
public:
    RtfDocumentBuilder(std::string_view input, const CharFormat& base,
                       const RtfParagraphSink* sink = nullptr)
        : m_input(input), m_base(base), m_sink(sink) {}

    RtfReadResult read();

private:
    void parse();
    void finish();

    // Tokens.
    void groupStart();
    void groupEnd();
    void controlWord(const RtfToken& token);
    void controlSymbol(char symbol);
    void hexByte(const RtfToken& token);
    void text(std::string_view bytes);
    void bodyText(std::string_view bytes);

    // Destinations.
    void startSkipping() { m_skipDepth = 1; }
    void fontTableWord(RtfWord word, const RtfToken& token);
    void startFontEntry(int number);
    void commitFontEntry();
    void commitColour();

    // Document text.
    void emit(char16_t c);
    void appendToRun(char16_t c);
    void flushPending();
    void flushRun();
    void endParagraph();
    void deliverParagraph();
    void setParagraphFormat(Paragraph& paragraph) const;
    CharFormat resolve(const CharState& chars);
    const std::string& fontName(int number) const;
    int textCodePage();
    void setDocumentCodePage(int codePage);
    void warn(Warning warning, std::string message);

    std::string_view m_input;
    const CharFormat& m_base;
    const RtfParagraphSink* m_sink; // null: the paragraphs are kept in m_result
    std::size_t m_delivered = 0;    // paragraphs finished so far
    RtfReadResult m_result;
    unsigned m_warned = 0;

    GroupState m_state;
    std::vector<GroupState> m_saved; // states outside the current group, innermost last
    std::size_t m_overflowDepth = 0; // groups opened past kMaxGroupDepth and not yet closed
    std::size_t m_skipDepth = 0;     // > 0 while inside a skipped destination
    std::size_t m_lastMarkup = 0;    // of the input's last group or control word
    std::size_t m_position = 0;      // of the tokenizer, after the current token
    bool m_stopped = false;
    bool m_starPending = false;
    int m_unicodeSkipPending = 0;
    int m_exactSize = 0; // of the open {\*\kssize} group

    // Document character set and tables.
    int m_documentCodePage = kDefaultCodePage;
    bool m_hasDefaultFont = false;
    int m_defaultFont = 0;
    std::unordered_map<int, FontEntry> m_fonts;
    std::vector<std::optional<Colour>> m_colours; // nullopt: "auto"
    bool m_fontEntryActive = false;
    int m_fontEntryNumber = 0;
    int m_fontEntryCodePage = 0;
    std::size_t m_fontEntryDepth = 0;
    std::u16string m_fontEntryName;
    Colour m_colourPending;
    bool m_colourHasValue = false;
    int m_codePageCacheFont = -2;
    int m_codePageCacheValue = 0;

    // Document being built.
    Paragraph m_paragraph;
    bool m_endedAnyParagraph = false;
    CharState m_runChars;
    std::u16string m_runText;
    char16_t m_pendingHighSurrogate = 0;
    RtfTextDecoder m_decoder;
    RtfTextDecoder m_nameDecoder;
    bool m_resolvedValid = false;
    CharState m_resolvedChars;
    CharFormat m_resolved;
};

RtfReadResult RtfDocumentBuilder::read() {
    try {
        parse();
        finish();
    } catch (const std::bad_alloc&) {
        // Only a pathological document gets here; keep what was read.
        warn(OutOfMemory, "The document is too large to read completely; the rest was left out.");
        try {
            finish();
        } catch (const std::bad_alloc&) {
            m_result.document = RichDocument{};
        }
    }
    return std::move(m_result);
}

void RtfDocumentBuilder::parse() {
    m_result.document.paragraphs.clear();
    const std::size_t start = m_input.find('{');
    if (start == std::string_view::npos) {
        warn(NoGroup, "The file holds no RTF group; nothing was read.");
        return;
    }
    std::string_view lead = m_input.substr(0, start);
    if (lead.starts_with("\xEF\xBB\xBF"))
        lead.remove_prefix(3); // the UTF-8 byte-order mark
    if (lead.find_first_not_of(" \t\r\n") != std::string_view::npos)
        warn(LeadingBytes, "Bytes before the first '{' were ignored.");
    m_lastMarkup = lastMarkup(m_input);

    RtfTokenizer tokenizer(m_input, start);
    while (!m_stopped) {
        const RtfToken token = tokenizer.next();
        m_position = tokenizer.position();
        if (token.kind == RtfTokenKind::End)
            break;
        if (m_skipDepth > 0) {
            // Inside a skipped destination only the group structure matters.
            if (token.kind == RtfTokenKind::GroupStart) {
                ++m_skipDepth;
            } else if (token.kind == RtfTokenKind::GroupEnd && --m_skipDepth == 0) {
                groupEnd();
            }
            continue;
        }
        switch (token.kind) {
        case RtfTokenKind::GroupStart:
            groupStart();
            break;
        case RtfTokenKind::GroupEnd:
            groupEnd();
            break;
        case RtfTokenKind::ControlWord:
            controlWord(token);
            break;
        case RtfTokenKind::ControlSymbol:
            controlSymbol(token.symbol);
            break;
        case RtfTokenKind::HexByte:
            hexByte(token);
            break;
        case RtfTokenKind::Text:
            m_starPending = false;
            text(token.text);
            break;
        case RtfTokenKind::Binary:
            m_starPending = false;
            if (m_unicodeSkipPending > 0)
                --m_unicodeSkipPending; // binary data is a single fallback unit
            break;
        case RtfTokenKind::End:
            break;
        }
    }
    if (tokenizer.sawOverlongWord())
        warn(OverlongWord, "A control word longer than 32 letters was ignored.");
    if (tokenizer.sawTruncatedBinary())
        warn(TruncatedBinary, "Binary data (\\bin) ran past the end of the file.");
    const std::size_t open = m_saved.size() + m_overflowDepth + (m_skipDepth > 0 ? 1 : 0);
    if (!m_stopped && open > 0) {
        warn(UnclosedGroups, std::to_string(open) +
                                 " group(s) were still open at the end of the file; the text "
                                 "read up to there was kept.");
    }
}

void RtfDocumentBuilder::groupStart() {
    flushPending();
    m_starPending = false;
    m_unicodeSkipPending = 0;
    if (m_saved.size() + 1 >= kMaxGroupDepth) {
        ++m_overflowDepth;
        warn(TooDeep, "Groups nested deeper than 1000 levels were read without their own "
                      "formatting scope.");
        return;
    }
    m_saved.push_back(m_state);
}

void RtfDocumentBuilder::groupEnd() {
    flushPending();
    m_starPending = false;
    m_unicodeSkipPending = 0;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_saved.size() <= 1) {
        // The outermost group closes. Markup after it means a brace too many somewhere
        // inside: ignore this one and read on; otherwise the document ends here.
        if (m_saved.empty() || m_position > m_lastMarkup ||
            m_lastMarkup == std::string_view::npos) {
            m_stopped = true;
            return;
        }
        warn(ExtraClosingBrace, "A closing brace without a matching opening brace was ignored.");
        return;
    }
    const Destination leaving = m_state.destination;
    m_state = m_saved.back();
    m_saved.pop_back();
    if (leaving == Destination::ExactSize && m_state.destination != Destination::ExactSize &&
        m_exactSize > 0) {
        m_state.chars.size = m_exactSize;
    }
    if (m_fontEntryActive && m_saved.size() < m_fontEntryDepth)
        commitFontEntry();
    if (leaving == Destination::ColourTable && m_state.destination != Destination::ColourTable &&
        m_colourHasValue) {
        commitColour(); // a last entry without its ';'
    }
}

void RtfDocumentBuilder::controlWord(const RtfToken& token) {
    const RtfWord word = lookupRtfWord(token.text);
    const bool star = m_starPending;
    m_starPending = false;
    if (word != RtfWord::Unicode)
        flushPending();
    if (m_unicodeSkipPending > 0) {
        --m_unicodeSkipPending; // a control word is a single fallback unit
        return;
    }
    const int value = token.parameter;
    const bool on = !token.hasParameter || token.parameter != 0;

    if (m_state.destination == Destination::UnicodePair) {
        if (word == RtfWord::UnicodeDestination)
            m_state.destination = m_state.outsideUnicodePair;
        else if (star || word == RtfWord::SkipDestination)
            startSkipping();
        return;
    }
    // An unknown destination marked with \* is skipped with everything in it; of the marked
    // destinations only \ud carries document content.
    if (star && word == RtfWord::ExactFontSize) {
        // The size belongs to the group around this one, where its \fs stands; it is set
        // there when this group ends.
        m_state.destination = Destination::ExactSize;
        m_exactSize = token.hasParameter ? std::clamp(value, 0, kMaxSize) : 0;
        return;
    }
    if (star && word != RtfWord::UnicodeDestination) {
        startSkipping();
        return;
    }
    if (m_state.destination == Destination::ExactSize)
        return;
    if (m_state.destination == Destination::FontTable) {
        fontTableWord(word, token);
        return;
    }
    if (m_state.destination == Destination::ColourTable) {
        switch (word) {
        case RtfWord::Red:
            m_colourPending.red = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
            m_colourHasValue = true;
            break;
        case RtfWord::Green:
            m_colourPending.green = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
            m_colourHasValue = true;
            break;
        case RtfWord::Blue:
            m_colourPending.blue = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
            m_colourHasValue = true;
            break;
        case RtfWord::SkipDestination:
            startSkipping();
            break;
        default:
            break;
        }
        return;
    }

    CharState& chars = m_state.chars;
    switch (word) {
    case RtfWord::Unknown:
    case RtfWord::UnicodeDestination:
    case RtfWord::Binary:
    case RtfWord::Red:
    case RtfWord::Green:
    case RtfWord::Blue:
    case RtfWord::FontCharset:
        break;
    case RtfWord::SkipDestination:
        startSkipping();
        break;
    case RtfWord::FontTable:
        m_state.destination = Destination::FontTable;
        break;
    case RtfWord::ColourTable:
        m_state.destination = Destination::ColourTable;
        m_colourHasValue = false;
        m_colourPending = Colour{};
        break;
    case RtfWord::UnicodePair:
        m_state.outsideUnicodePair = m_state.destination;
        m_state.destination = Destination::UnicodePair;
        break;
    case RtfWord::Ansi:
        setDocumentCodePage(1252);
        break;
    case RtfWord::Mac:
        setDocumentCodePage(10000);
        break;
    case RtfWord::Pc:
        setDocumentCodePage(437);
        break;
    case RtfWord::Pca:
        setDocumentCodePage(850);
        break;
    case RtfWord::AnsiCodePage:
        if (isReadableRtfCodePage(value)) {
            setDocumentCodePage(value);
        } else {
            warn(UnknownCodePage, "Code page " + std::to_string(value) +
                                      " is not known; its text was read as code page " +
                                      std::to_string(m_documentCodePage) + ".");
        }
        break;
    case RtfWord::DefaultFont:
        m_hasDefaultFont = true;
        m_defaultFont = value;
        m_codePageCacheFont = -2;
        break;
    case RtfWord::Plain:
        chars = CharState{};
        break;
    case RtfWord::Font:
        if (token.hasParameter)
            chars.font = std::max(value, 0);
        break;
    case RtfWord::FontSize:
        chars.size = value > 0 ? std::min(value, kMaxSize / 10) * 10 : kDefaultSize;
        break;
    case RtfWord::ExactFontSize:
        if (token.hasParameter && value > 0)
            chars.size = std::min(value, kMaxSize);
        break;
    case RtfWord::Colour:
        chars.colour = colours::black; // \cf0 and "auto" entries
        if (value >= 0 && static_cast<std::size_t>(value) < m_colours.size() && m_colours[value])
            chars.colour = *m_colours[value];
        break;
    case RtfWord::Background:
    case RtfWord::Highlight:
        chars.hasBackground = false; // index 0 and "auto" entries mean no background
        if (value > 0 && static_cast<std::size_t>(value) < m_colours.size() && m_colours[value]) {
            chars.hasBackground = true;
            chars.background = *m_colours[value];
        }
        break;
    case RtfWord::Bold:
        chars.bold = on;
        break;
    case RtfWord::Italic:
        chars.italic = on;
        break;
    case RtfWord::Underline:
        chars.underline = on;
        break;
    case RtfWord::UnderlineNone:
        chars.underline = false;
        break;
    case RtfWord::ParagraphDefaults:
        m_state.lineSpacing = 0;
        m_state.lineMultiple = 0;
        break;
    case RtfWord::LineSpacing:
        m_state.lineSpacing = value;
        break;
    case RtfWord::LineSpacingMultiple:
        m_state.lineMultiple = value;
        break;
    case RtfWord::ParagraphEnd:
        endParagraph();
        break;
    case RtfWord::Tab:
        emit(u'\t');
        break;
    case RtfWord::Unicode: {
        const int code = value < 0 ? value + 65536 : value;
        emit(code >= 0 && code <= 0xFFFF ? static_cast<char16_t>(code) : kReplacementCharacter);
        m_unicodeSkipPending = m_state.unicodeSkip;
        break;
    }
    case RtfWord::UnicodeSkip:
        m_state.unicodeSkip = token.hasParameter ? std::clamp(value, 0, kMaxUnicodeSkip) : 1;
        break;
    case RtfWord::EmDash:
        emit(u'\u2014');
        break;
    case RtfWord::EnDash:
        emit(u'\u2013');
        break;
    case RtfWord::LeftQuote:
        emit(u'\u2018');
        break;
    case RtfWord::RightQuote:
        emit(u'\u2019');
        break;
    case RtfWord::LeftDoubleQuote:
        emit(u'\u201C');
        break;
    case RtfWord::RightDoubleQuote:
        emit(u'\u201D');
        break;
    case RtfWord::Bullet:
        emit(u'\u2022');
        break;
    case RtfWord::EmSpace:
        emit(u'\u2003');
        break;
    case RtfWord::EnSpace:
        emit(u'\u2002');
        break;
    case RtfWord::QuarterEmSpace:
        emit(u'\u2005');
        break;
    }
}

void RtfDocumentBuilder::fontTableWord(RtfWord word, const RtfToken& token) {
    switch (word) {
    case RtfWord::Font:
        if (token.hasParameter)
            startFontEntry(token.parameter);
        break;
    case RtfWord::FontCharset:
        if (m_fontEntryActive)
            m_fontEntryCodePage = codePageForCharset(token.parameter).value_or(0);
        break;
    case RtfWord::Unicode: {
        const int code = token.parameter < 0 ? token.parameter + 65536 : token.parameter;
        emit(code >= 0 && code <= 0xFFFF ? static_cast<char16_t>(code) : kReplacementCharacter);
        m_unicodeSkipPending = m_state.unicodeSkip;
        break;
    }
    case RtfWord::UnicodeSkip:
        m_state.unicodeSkip =
            token.hasParameter ? std::clamp(token.parameter, 0, kMaxUnicodeSkip) : 1;
        break;
    case RtfWord::SkipDestination:
        startSkipping();
        break;
    default:
        break;
    }
}

void RtfDocumentBuilder::controlSymbol(char symbol) {
    const bool star = symbol == '*';
    flushPending();
    if (m_unicodeSkipPending > 0) {
        --m_unicodeSkipPending;
        m_starPending = false;
        return;
    }
    m_starPending = star;
    switch (symbol) {
    case '~':
        emit(u'\u00A0');
        break;
    case '_':
        emit(u'\u2011');
        break;
    case '{':
    case '}':
    case '\\':
        emit(static_cast<char16_t>(symbol));
        break;
    case '\t':
        emit(u'\t');
        break;
    case '\n':
        if (m_state.destination == Destination::Text)
            endParagraph();
        break;
    default:
        break; // \- (optional hyphen), \: and the rest add nothing
    }
}

void RtfDocumentBuilder::hexByte(const RtfToken& token) {
    m_starPending = false;
    if (m_unicodeSkipPending > 0) {
        --m_unicodeSkipPending;
        return;
    }
    if (!token.validHex)
        return;
    switch (m_state.destination) {
    case Destination::Text:
        m_decoder.put(token.byte, textCodePage(), [this](char16_t c) { appendToRun(c); });
        break;
    case Destination::FontTable:
        if (m_fontEntryActive) {
            m_nameDecoder.put(token.byte,
                              m_fontEntryCodePage != 0 ? m_fontEntryCodePage : m_documentCodePage,
                              [this](char16_t c) { emit(c); });
        }
        break;
    case Destination::ColourTable:
    case Destination::UnicodePair:
    case Destination::ExactSize:
        break;
    }
}

void RtfDocumentBuilder::text(std::string_view bytes) {
    if (m_unicodeSkipPending > 0) {
        const auto skipped = std::min<std::size_t>(bytes.size(), m_unicodeSkipPending);
        m_unicodeSkipPending -= static_cast<int>(skipped);
        bytes.remove_prefix(skipped);
    }
    if (bytes.empty())
        return;
    switch (m_state.destination) {
    case Destination::Text:
        bodyText(bytes);
        break;
    case Destination::FontTable:
        if (!m_fontEntryActive)
            break;
        for (const char b : bytes) {
            if (b == ';') {
                commitFontEntry();
                break; // anything up to the next \f is not part of a name
            }
            m_nameDecoder.put(static_cast<std::uint8_t>(b),
                              m_fontEntryCodePage != 0 ? m_fontEntryCodePage : m_documentCodePage,
                              [this](char16_t c) { emit(c); });
        }
        break;
    case Destination::ColourTable:
        for (const char b : bytes) {
            if (b == ';')
                commitColour();
        }
        break;
    case Destination::ExactSize:
        for (const char b : bytes) {
            if (b >= '0' && b <= '9')
                m_exactSize = std::min(m_exactSize * 10 + (b - '0'), kMaxSize);
        }
        break;
    case Destination::UnicodePair:
        break;
    }
}

void RtfDocumentBuilder::bodyText(std::string_view bytes) {
    if (!(m_runChars == m_state.chars)) {
        flushRun();
        m_runChars = m_state.chars;
    }
    const int codePage = textCodePage();
    std::size_t i = 0;
    while (i < bytes.size()) {
        // ASCII between escapes stands for itself: a stretch of it goes into the run at once.
        std::size_t end = i;
        if (m_decoder.idle() && m_pendingHighSurrogate == 0) {
            while (end < bytes.size() && static_cast<std::uint8_t>(bytes[end]) < 0x80)
                ++end;
            const std::size_t at = m_runText.size();
            m_runText.resize(at + (end - i));
            std::copy(bytes.begin() + static_cast<std::ptrdiff_t>(i),
                      bytes.begin() + static_cast<std::ptrdiff_t>(end), m_runText.begin() + at);
        }
        if (end < bytes.size())
            m_decoder.put(static_cast<std::uint8_t>(bytes[end++]), codePage,
                          [this](char16_t c) { appendToRun(c); });
        i = end;
    }
}

void RtfDocumentBuilder::emit(char16_t c) {
    switch (m_state.destination) {
    case Destination::Text:
        appendToRun(c);
        break;
    case Destination::FontTable:
        if (m_fontEntryActive && m_fontEntryName.size() < kMaxFontNameLength)
            m_fontEntryName.push_back(c);
        break;
    case Destination::ColourTable:
    case Destination::UnicodePair:
    case Destination::ExactSize:
        break;
    }
}

void RtfDocumentBuilder::appendToRun(char16_t c) {
    // Line ends and NUL written as escapes are dropped like raw ones: only paragraph
    // breaks end lines, and runs never hold CR or LF.
    if (c == u'\r' || c == u'\n' || c == 0)
        return;
    if (!(m_runChars == m_state.chars)) {
        flushRun();
        m_runChars = m_state.chars;
    }
    if (m_pendingHighSurrogate != 0) {
        const char16_t high = std::exchange(m_pendingHighSurrogate, 0);
        if (isLowSurrogate(c)) {
            m_runText.push_back(high);
            m_runText.push_back(c);
            return;
        }
        m_runText.push_back(kReplacementCharacter); // a high surrogate without its partner
    }
    if (isHighSurrogate(c)) {
        m_pendingHighSurrogate = c; // kept back until its partner shows whether it has one
        return;
    }
    m_runText.push_back(isLowSurrogate(c) ? kReplacementCharacter : c);
}

void RtfDocumentBuilder::flushPending() {
    if (!m_decoder.idle())
        m_decoder.flush([this](char16_t c) { appendToRun(c); });
    if (!m_nameDecoder.idle())
        m_nameDecoder.flush([this](char16_t c) { emit(c); });
}

void RtfDocumentBuilder::flushRun() {
    if (m_runText.empty())
        return;
    CharFormat format = resolve(m_runChars);
    if (!m_paragraph.runs.empty() && m_paragraph.runs.back().format == format) {
        m_paragraph.runs.back().text += m_runText;
        m_runText.clear();
        return;
    }
    // The run takes a copy of exactly its size; the buffer keeps its room for the next run.
    m_paragraph.runs.push_back(TextRun{std::move(format), m_runText});
    m_runText.clear();
}

void RtfDocumentBuilder::endParagraph() {
    flushPending();
    if (m_pendingHighSurrogate != 0) {
        m_pendingHighSurrogate = 0;
        appendToRun(kReplacementCharacter);
    }
    flushRun();
    m_paragraph.markFormat = resolve(m_state.chars);
    setParagraphFormat(m_paragraph);
    deliverParagraph();
    m_endedAnyParagraph = true;
}

void RtfDocumentBuilder::deliverParagraph() {
    ++m_delivered;
    if (!m_sink) {
        m_result.document.paragraphs.push_back(std::move(m_paragraph));
        m_paragraph = Paragraph{};
        return;
    }
    (*m_sink)(m_paragraph);
    // The runs' room is kept for the next paragraph.
    m_paragraph.runs.clear();
    m_paragraph.format = ParaFormat{};
    m_paragraph.markFormat = CharFormat{};
}

void RtfDocumentBuilder::finish() {
    flushPending();
    if (m_pendingHighSurrogate != 0) {
        m_pendingHighSurrogate = 0;
        appendToRun(kReplacementCharacter);
    }
    flushRun();
    // A break at the very end of the document leaves an empty last paragraph behind it; that
    // paragraph is not part of the text (the break is the document's final mark).
    const bool trailingBreak = m_paragraph.runs.empty() && m_endedAnyParagraph;
    if (!trailingBreak) {
        m_paragraph.markFormat = resolve(m_state.chars);
        setParagraphFormat(m_paragraph);
        deliverParagraph();
    }
    m_paragraph = Paragraph{};
    if (m_delivered == 0) {
        m_paragraph.markFormat = resolve(CharState{});
        deliverParagraph();
    }
}

void RtfDocumentBuilder::setParagraphFormat(Paragraph& paragraph) const {
    LineSpacing spacing = LineSpacing::Single;
    if (m_state.lineMultiple == 1 && m_state.lineSpacing == 360)
        spacing = LineSpacing::OneAndAHalf;
    else if (m_state.lineMultiple == 1 && m_state.lineSpacing == 480)
        spacing = LineSpacing::Double;
    paragraph.format.lineSpacing = spacing;
}

CharFormat RtfDocumentBuilder::resolve(const CharState& chars) {
    if (m_resolvedValid && chars == m_resolvedChars)
        return m_resolved;
    CharFormat format;
    format.font = fontName(chars.font);
    format.size = chars.size / 20.0;
    format.colour = chars.colour;
    if (chars.hasBackground)
        format.background = chars.background;
    format.bold = chars.bold;
    format.italic = chars.italic;
    format.underline = chars.underline;
    m_resolvedChars = chars;
    m_resolved = format;
    m_resolvedValid = true;
    return format;
}

const std::string& RtfDocumentBuilder::fontName(int number) const {
    if (number >= 0) {
        const auto found = m_fonts.find(number);
        if (found != m_fonts.end() && !found->second.name.empty())
            return found->second.name;
    }
    if (m_hasDefaultFont) {
        const auto found = m_fonts.find(m_defaultFont);
        if (found != m_fonts.end() && !found->second.name.empty())
            return found->second.name;
    }
    return m_base.font;
}

int RtfDocumentBuilder::textCodePage() {
    int number = m_state.chars.font;
    if (number < 0)
        number = m_hasDefaultFont ? m_defaultFont : -1;
    if (number == m_codePageCacheFont)
        return m_codePageCacheValue;
    int codePage = m_documentCodePage;
    if (number >= 0) {
        const auto found = m_fonts.find(number);
        if (found != m_fonts.end() && found->second.codePage != 0)
            codePage = found->second.codePage;
    }
    m_codePageCacheFont = number;
    m_codePageCacheValue = codePage;
    return codePage;
}

void RtfDocumentBuilder::setDocumentCodePage(int codePage) {
    m_documentCodePage = codePage;
    m_codePageCacheFont = -2;
}

void RtfDocumentBuilder::startFontEntry(int number) {
    if (m_fontEntryActive)
        commitFontEntry();
    m_fontEntryActive = true;
    m_fontEntryNumber = number;
    m_fontEntryCodePage = 0;
    m_fontEntryDepth = m_saved.size();
    m_fontEntryName.clear();
}

void RtfDocumentBuilder::commitFontEntry() {
    if (!m_nameDecoder.idle())
        m_nameDecoder.flush([this](char16_t c) { emit(c); });
    m_fontEntryActive = false;
    const auto notSpace = [](char16_t c) { return c != u' ' && c != u'\t'; };
    const auto first = std::find_if(m_fontEntryName.begin(), m_fontEntryName.end(), notSpace);
    const auto last =
        std::find_if(m_fontEntryName.rbegin(), m_fontEntryName.rend(), notSpace).base();
    std::string name = first < last ? toUtf8(std::u16string_view(&*first, last - first)) : "";
    if (m_fonts.size() >= kMaxFonts && m_fonts.find(m_fontEntryNumber) == m_fonts.end()) {
        warn(TooManyFonts, "The font table holds more than 10000 fonts; the rest were ignored.");
        return;
    }
    m_fonts[m_fontEntryNumber] = FontEntry{std::move(name), m_fontEntryCodePage};
    m_resolvedValid = false;
    m_codePageCacheFont = -2;
}

void RtfDocumentBuilder::commitColour() {
    if (m_colours.size() >= kMaxColours) {
        warn(TooManyColours,
             "The colour table holds more than 10000 colours; the rest were ignored.");
    } else if (m_colourHasValue) {
        m_colours.emplace_back(m_colourPending);
    } else {
        m_colours.emplace_back(std::nullopt);
    }
    m_colourPending = Colour{};
    m_colourHasValue = false;
}

void RtfDocumentBuilder::warn(Warning warning, std::string message) {
    if ((m_warned & warning) != 0)
        return;
    m_warned |= warning;
    m_result.warnings.push_back(std::move(message));
}

} // namespace

bool looksLikeRtf(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
        bytes.remove_prefix(3);
    const std::size_t start = bytes.find_first_not_of(" \t\r\n");
    return start != std::string_view::npos && bytes.substr(start, 5) == "{\\rtf";
}

RtfReadResult readRtf(std::string_view bytes, const CharFormat& base) {
    RtfDocumentBuilder builder(bytes, base);
    return builder.read();
}

std::vector<std::string> readRtf(std::string_view bytes, const CharFormat& base,
                                 const RtfParagraphSink& sink) {
    RtfDocumentBuilder builder(bytes, base, &sink);
    return builder.read().warnings;
}

} // namespace keystride
