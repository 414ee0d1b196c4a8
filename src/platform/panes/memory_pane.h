// The document pane held in memory: the marking engine's panes in tests and in the command-line
// tools. It behaves as the window's editor control does for every operation the system uses.
//
// The content is kept flat, as the system sees it: the plain text (paragraph breaks CR LF), a
// format for every character, CR and LF included (a marking may format a CR without its LF),
// and one paragraph format per paragraph. Formats are interned and kept as stretches of equally
// formatted characters, so a document costs one index per change of format, not per character.
#pragma once

#include "platform/files/file_system.h"
#include "platform/panes/document_pane.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace keystride {

class MemoryPane final : public DocumentPane {
public:
    explicit MemoryPane(CharFormat base = CharFormat{}, FileSystem& fs = FileSystem::real());

    std::u16string text() const override { return m_text; }
    // The plain text itself, for readers that need no copy; valid until the next change.
    std::u16string_view textView() const { return m_text; }
    void setText(std::u16string_view text) override;
    // The same as the pane interface's, without copying the text.
    int textLength() const override { return static_cast<int>(m_text.size()); }

    std::string textRtf() const override;
    void setTextRtf(std::string_view rtf) override;

    int selStart() const override { return m_selStart; }
    void setSelStart(int start) override;
    int selLength() const override { return m_selLength; }
    void setSelLength(int length) override;

    std::u16string selText() const override;
    void setSelText(std::u16string_view text) override;

    std::optional<Colour> selColour() const override;
    void setSelColour(Colour colour) override;
    std::optional<std::string> selFontName() const override;
    void setSelFontName(const std::string& font) override;
    std::optional<double> selFontSize() const override;
    void setSelFontSize(double points) override;
    std::optional<bool> selBold() const override;
    void setSelBold(bool on) override;
    std::optional<bool> selUnderline() const override;
    void setSelUnderline(bool on) override;
    void setSelBackground(std::optional<Colour> colour) override;
    void setSelLineSpacing(LineSpacing rule) override;

    FileResult loadFile(const std::string& path) override;
    FileResult saveFile(const std::string& path) override;

    bool changed() const override { return m_changed; }
    void setChanged(bool changed) override { m_changed = changed; }

    CharFormat baseFormat() const override { return m_base; }
    void setBaseFormat(const CharFormat& format) override { m_base = format; }

    std::vector<FormatSpan> formatSpans() const override;
    std::vector<LineSpacing> paragraphSpacings() const override;

    // The content as the rich-text model: a CR's format is its paragraph's mark format.
    RichDocument document() const;
    // Replaces the content; the LF of each paragraph break takes the mark format as the CR does.
    void setDocument(const RichDocument& doc);
    // What the RTF reader had to say about the markup last set or loaded.
    const std::vector<std::string>& readWarnings() const { return m_readWarnings; }

private:
    using FormatId = std::uint32_t;
    static constexpr FormatId NoFormat = ~FormatId{0};

    struct FormatHash {
        std::size_t operator()(const CharFormat& format) const;
    };

    FormatId intern(const CharFormat& format);
    void clearFormats();
    // Starts the content afresh; the caller fills text, formats and paragraphs.
    void beginReplace();
    void endReplace();
    // Appends a paragraph of a document being set, after the break that ends the one before.
    void appendParagraph(const Paragraph& paragraph);
    // Appends one run of a document being set, every character in format `id`.
    void appendRun(std::u16string_view text, FormatId id);

    // Stretches of the text's formats.
    // The stretch holding the character at `pos` (< the text's length).
    std::size_t stretchAt(std::size_t pos) const;
    FormatId formatIdAt(std::size_t pos) const { return m_stretches[stretchAt(pos)].id; }
    // Where stretch `index` ends: the next one's start, or the end of the text.
    std::size_t stretchEnd(std::size_t index) const;
    // Characters appended from `start` on take format `id`.
    void formatFrom(std::size_t start, FormatId id);
    // Puts m_pieces in place of stretches [first, last), joining neighbours of equal format.
    void spliceStretches(std::size_t first, std::size_t last);
    // The formats' side of replacing characters [start, end) with `count` characters of format
    // `id`; called before the text itself changes.
    void replaceFormats(std::size_t start, std::size_t end, std::size_t count, FormatId id);

    // The format new text takes at the selection.
    CharFormat insertionFormat() const;
    // Changes the selection, forgetting formats set on an empty selection if it moved.
    void select(int start, int length);
    // Paragraph of the character at `pos` (an LF belongs to its CR's paragraph).
    int paragraphOfChar(int pos) const;

    template <typename Value, typename Get> std::optional<Value> readSelection(Get get) const;
    template <typename Modify> void modifySelection(Modify modify);

    CharFormat m_base;
    FileSystem& m_fs;

    // One stretch of equally formatted characters: from `start` to the next stretch's start.
    // Positions fit in 32 bits as the pane's int positions do; a stretch costs eight bytes.
    struct Stretch {
        std::uint32_t start;
        FormatId id;
    };

    std::u16string m_text;
    // Ordered by start, the first at 0, neighbours of different formats; none for no text.
    std::vector<Stretch> m_stretches;
    mutable std::size_t m_lastStretch = 0; // where stretchAt() last searched to
    std::vector<Stretch> m_pieces;         // the stretches a splice puts in place
    std::vector<CharFormat> m_formats;     // the interned formats, indexed by FormatId
    std::unordered_map<CharFormat, FormatId, FormatHash> m_formatLookup;
    std::vector<ParaFormat> m_paragraphs; // one per paragraph: CR count + 1
    FormatId m_lastMark = 0; // of the last paragraph appended, while a document is being set

    int m_selStart = 0;
    int m_selLength = 0;
    // Formats set on an empty selection: they apply to what is typed there next.
    std::optional<CharFormat> m_pending;

    bool m_changed = false;
    std::vector<std::string> m_readWarnings;
};

} // namespace keystride
