// Inside the RTF reader: the state it keeps while it turns tokens into the rich-text model. The
// work is split along the data: rtf_reader.cpp reads tokens and groups, rtf_body_words.cpp acts
// on the control words of the document body, rtf_destinations.cpp fills the font and colour
// tables and the other destinations, rtf_body_text.cpp decodes text into runs and paragraphs.
#pragma once

#include "platform/rtf/rtf_control_words.h"
#include "platform/rtf/rtf_reader.h"
#include "platform/rtf/rtf_text_decoder.h"
#include "platform/rtf/rtf_tokenizer.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace keystride::rtfreading {

// Limits on what the input controls. Groups deeper than kMaxGroupDepth are read without a
// formatting scope of their own; tables stop growing at their caps.
inline constexpr std::size_t kMaxGroupDepth = 1000;
inline constexpr std::size_t kMaxFonts = 10000;
inline constexpr std::size_t kMaxColours = 10000;
inline constexpr std::size_t kMaxFontNameLength = 64; // face names have at most 31 characters
inline constexpr int kMaxUnicodeSkip = 64;
inline constexpr int kDefaultSize = 240; // twentieths of a point: 12 points, RTF's size without \fs
inline constexpr int kMaxSize = 32760;
inline constexpr int kDefaultCodePage = 1252;

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
    // The handlers marked inline are defined in the file of their one caller, which meets them
    // for nearly every token: the token loop keeps the speed it had as a single function.

    // Tokens and groups (rtf_reader.cpp).
    void parse();
    void reportTokenizerFindings(const RtfTokenizer& tokenizer);
    inline void groupStart();
    void groupEnd();
    inline void leaveGroup();
    void controlWord(const RtfToken& token);
    bool starredWord(RtfWord word, const RtfToken& token);
    inline void controlSymbol(char symbol);
    inline void hexByte(const RtfToken& token);
    inline void text(std::string_view bytes);
    void warn(Warning warning, std::string message);

    // Control words of the document body, by class (rtf_body_words.cpp).
    void bodyWord(RtfControl control, const RtfToken& token);
    inline void enterDestination(RtfWord word);
    inline void flagWord(RtfControl control);
    inline void toggleWord(RtfWord word, bool on);
    inline void valueWord(RtfWord word, const RtfToken& token);
    inline void characterValue(RtfWord word, const RtfToken& token);
    void documentValue(RtfWord word, int value);
    void unicodeWord(RtfWord word, const RtfToken& token);
    inline void symbolWord(RtfControl control);
    CharFormat resolve(const CharState& chars);
    inline const std::string& fontName(int number) const;

    // The other destinations (rtf_destinations.cpp).
    void startSkipping() { m_skipDepth = 1; }
    void unicodePairWord(RtfWord word, bool star);
    void fontTableWord(RtfWord word, const RtfToken& token);
    void fontTableText(std::string_view bytes);
    void fontNameByte(std::uint8_t byte);
    void colourTableWord(RtfWord word, int value);
    void colourTableText(std::string_view bytes);
    void exactSizeText(std::string_view bytes);
    void startFontEntry(int number);
    void commitFontEntry();
    void commitColour();

    // Document text and its character set (rtf_body_text.cpp).
    void bodyText(std::string_view bytes);
    void hexText(std::uint8_t byte);
    void emit(char16_t c);
    void appendToRun(char16_t c);
    // Most tokens find no character half read, so the checks are inline.
    void flushPending() {
        if (!m_decoder.idle() || !m_nameDecoder.idle())
            flushHalfRead();
    }
    void flushHalfRead();
    void flushRun();
    void endParagraph();
    void deliverParagraph();
    void finishRun();
    void setParagraphFormat(Paragraph& paragraph) const;
    void finish();
    int textCodePage() {
        const int font = m_state.chars.font >= 0 ? m_state.chars.font
                         : m_hasDefaultFont      ? m_defaultFont
                                                 : -1;
        return font == m_codePageCacheFont ? m_codePageCacheValue : fontCodePage(font);
    }
    int fontCodePage(int font);
    void setDocumentCodePage(int codePage);

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

} // namespace keystride::rtfreading
