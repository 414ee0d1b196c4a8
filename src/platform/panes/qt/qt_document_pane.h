// The window's document pane: a rich-text editor widget behind the pane interface. The editor's
// document separates paragraphs by one block break where the pane's plain text has CR LF, so
// every position is translated between the two counts; a position between CR and LF stands for
// the end of its paragraph.
#pragma once

#include "platform/files/file_system.h"
#include "platform/panes/document_pane.h"

#include <QPointer>
#include <QTextEdit>

#include <functional>

class QPrinter;
class QTextBlock;
class QTextCharFormat;

namespace keystride {

// The editor widget. Key presses, mouse releases and focus arrivals are handed to the window
// through hooks, so the timed test can start the clock and refuse keys, and the source pane can
// report the cut-off click.
class PaneEditor : public QTextEdit {
    Q_OBJECT
public:
    explicit PaneEditor(QWidget* parent = nullptr);

    // Returns true to discard the key.
    std::function<bool(QKeyEvent*)> keyHook;
    std::function<void()> mouseReleased;
    std::function<void()> focusReceived;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

public:
    // Pasted text arrives as plain text in the current format, so the document never holds
    // lists, tables or line breaks inside a paragraph.
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

public:
    std::function<void(const QString&)> pasteHook;
};

class QtDocumentPane : public DocumentPane {
public:
    explicit QtDocumentPane(QWidget* parent = nullptr, FileSystem& files = FileSystem::real());
    ~QtDocumentPane() override;
    QtDocumentPane(const QtDocumentPane&) = delete;
    QtDocumentPane& operator=(const QtDocumentPane&) = delete;

    PaneEditor* editor() const { return m_editor; }

    std::u16string text() const override;
    void setText(std::u16string_view text) override;
    int textLength() const override;
    std::string textRtf() const override;
    void setTextRtf(std::string_view rtf) override;

    int selStart() const override;
    void setSelStart(int start) override;
    int selLength() const override;
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
    void setBaseFormat(const CharFormat& format) override;

    std::vector<FormatSpan> formatSpans() const override;
    std::vector<LineSpacing> paragraphSpacings() const override;

    void setFocus() override;

    // Between setBatching(true) and setBatching(false) the program edits the pane in a run of
    // many small steps (a marking run); the editor neither redraws nor lays out in between.
    void setBatching(bool on);
    bool batching() const { return m_batching; }

    // The whole content, or the selection when there is one, on `printer`; false when nothing
    // could be printed.
    bool print(QPrinter& printer) const;

    RichDocument richDocument() const;
    void setRichDocument(const RichDocument& doc);

    // Position translation (exposed for the tests): pane positions count CR LF as two.
    int toDocument(int panePosition) const;
    int toPane(int documentPosition) const;

private:
    struct Range {
        int start = 0; // pane positions
        int end = 0;
    };
    Range selection() const;
    void selectPane(int start, int length);
    CharFormat formatAtPane(int panePosition) const;
    // The format of a paragraph's CR (which 0) or LF (which 1).
    CharFormat markFormat(const QTextBlock& block, int which) const;
    CharFormat insertionFormat() const;
    // Reads one attribute over the selection: a single value, or nullopt when characters differ.
    template <typename T, typename Get> std::optional<T> readSelection(Get get) const;
    // Changes the selection's characters (paragraph marks included) through `change`.
    void changeSelection(const std::function<void(CharFormat&)>& change);
    void insertPlain(const QString& text);
    // Replaces the content with the paragraphs that `produce` hands to the sink, in order.
    using ParagraphSink = std::function<void(const Paragraph&)>;
    void replaceContent(const std::function<void(const ParagraphSink&)>& produce);

    QPointer<PaneEditor> m_editor;
    FileSystem& m_files;
    CharFormat m_base;
    bool m_changed = false;
    // The pane's own reading of the selection, kept while the editor's cursor has not moved
    // since, because a selection edge between CR and LF has no place of its own in the editor.
    mutable std::optional<Range> m_paneSelection;
    int m_cursorAnchor = -1;
    int m_cursorPosition = -1;
    // An empty selection's format, set through the format setters; typed text takes it.
    std::optional<CharFormat> m_insertion;
    std::vector<QMetaObject::Connection> m_connections;
    bool m_batching = false;
    QSizeF m_batchPageSize;
};

// Conversions between the pane's formats and the editor's.
QTextCharFormat toQtFormat(const CharFormat& format);
CharFormat fromQtFormat(const QTextCharFormat& format, const CharFormat& fallback);

} // namespace keystride
