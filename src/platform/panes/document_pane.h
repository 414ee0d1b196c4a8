// The document pane: every part of the system reads and changes a document only through these
// operations. The in-memory pane serves the marking engine, the command-line tools and the tests;
// the window's pane wraps the editor widget. Both pass the same conformance suite.
#pragma once

#include "platform/files/file_error.h"
#include "platform/richtext/rich_text.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace keystride {

class DocumentPane {
public:
    virtual ~DocumentPane() = default;

    // Plain text, line ends CR LF. Setting replaces the whole content in the base format.
    virtual std::u16string text() const = 0;
    virtual void setText(std::u16string_view text) = 0;
    virtual int textLength() const { return static_cast<int>(text().size()); }

    // The whole content as RTF markup. Setting replaces the content.
    virtual std::string textRtf() const = 0;
    virtual void setTextRtf(std::string_view rtf) = 0;

    // Selection: 0-based start (characters before it) and length. Setting the start collapses
    // the selection there; a start or length past the end is clipped.
    virtual int selStart() const = 0;
    virtual void setSelStart(int start) = 0;
    virtual int selLength() const = 0;
    virtual void setSelLength(int length) = 0;

    virtual std::u16string selText() const = 0;
    // Replaces the selection; the caret ends after the new text. The new text takes the format
    // of the first selected character, or for an empty selection the insertion format.
    virtual void setSelText(std::u16string_view text) = 0;

    // Reading a selection whose characters differ yields no single value (std::nullopt). An
    // empty selection reads the insertion format.
    virtual std::optional<Colour> selColour() const = 0;
    virtual void setSelColour(Colour colour) = 0;
    virtual std::optional<std::string> selFontName() const = 0;
    virtual void setSelFontName(const std::string& font) = 0;
    virtual std::optional<double> selFontSize() const = 0;
    virtual void setSelFontSize(double points) = 0;
    virtual std::optional<bool> selBold() const = 0;
    virtual void setSelBold(bool on) = 0;
    virtual std::optional<bool> selUnderline() const = 0;
    virtual void setSelUnderline(bool on) = 0;
    // The highlight colour of the selection; leaves every other attribute alone.
    virtual void setSelBackground(std::optional<Colour> colour) = 0;
    // Line spacing of every paragraph the selection touches.
    virtual void setSelLineSpacing(LineSpacing rule) = 0;

    // Replaces the content with the file: RTF keeps its formatting, anything else loads as
    // plain text in the base format. On failure the content is unchanged.
    virtual FileResult loadFile(const std::string& path) = 0;
    // Writes the whole content as RTF, replacing an existing file only once the new one is
    // complete.
    virtual FileResult saveFile(const std::string& path) = 0;

    virtual bool changed() const = 0;
    virtual void setChanged(bool changed) = 0;

    // The format plain-text content takes.
    virtual CharFormat baseFormat() const = 0;
    virtual void setBaseFormat(const CharFormat& format) = 0;

    // The formatting of the whole plain text as maximal runs (0-based).
    virtual std::vector<FormatSpan> formatSpans() const = 0;
    // Paragraph line spacing, one entry per paragraph.
    virtual std::vector<LineSpacing> paragraphSpacings() const = 0;

    virtual void setFocus() {}
};

} // namespace keystride
