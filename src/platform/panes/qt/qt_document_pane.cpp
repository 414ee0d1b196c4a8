#include "platform/panes/qt/qt_document_pane.h"

#include "platform/rtf/rtf_reader.h"
#include "platform/rtf/rtf_writer.h"
#include "platform/rtf/text_loader.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>
#include <utility>
#include <vector>

namespace keystride {

namespace {

// The formats of a paragraph's CR and LF. The editor's document has no characters for them, so
// they ride on the paragraph's block format.
constexpr int CrFormatProperty = QTextFormat::UserProperty + 1;
constexpr int LfFormatProperty = QTextFormat::UserProperty + 2;

void setMarkFormats(QTextBlockFormat& block, const QTextCharFormat& cr, const QTextCharFormat& lf) {
    block.setProperty(CrFormatProperty, QVariant::fromValue<QTextFormat>(cr));
    block.setProperty(LfFormatProperty, QVariant::fromValue<QTextFormat>(lf));
}

QColor toQColor(Colour c) {
    return QColor(c.red, c.green, c.blue);
}

Colour fromQColor(const QColor& c) {
    return Colour::rgb(c.red(), c.green(), c.blue());
}

int lineHeightFor(LineSpacing rule) {
    switch (rule) {
    case LineSpacing::OneAndAHalf:
        return 150;
    case LineSpacing::Double:
        return 200;
    case LineSpacing::Single:
        break;
    }
    return 100;
}

LineSpacing spacingOf(const QTextBlockFormat& format) {
    if (format.lineHeightType() != QTextBlockFormat::ProportionalHeight)
        return LineSpacing::Single;
    int height = qRound(format.lineHeight());
    if (height == 150)
        return LineSpacing::OneAndAHalf;
    if (height == 200)
        return LineSpacing::Double;
    return LineSpacing::Single;
}

QTextBlockFormat blockFormatFor(const ParaFormat& para, const QTextCharFormat& mark) {
    QTextBlockFormat format;
    format.setLineHeight(lineHeightFor(para.lineSpacing), QTextBlockFormat::ProportionalHeight);
    setMarkFormats(format, mark, mark);
    return format;
}

// Splits pane text into paragraphs: CR LF, lone CR and lone LF each end one.
QStringList paragraphsOf(std::u16string_view text) {
    QStringList pieces;
    QString current;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r' || c == u'\n') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            pieces.push_back(current);
            current.clear();
        } else {
            current.append(QChar(c));
        }
    }
    pieces.push_back(current);
    return pieces;
}

// Puts paragraphs into a document after its first, empty one, converting each format once: a
// document goes back and forth between a few formats, and an editor's format costs far more to
// make than to copy.
class DocumentFiller {
public:
    explicit DocumentFiller(QTextDocument* doc) : m_cursor(doc) { m_recent.reserve(RecentFormats); }
    QTextCursor& cursor() { return m_cursor; }

    void add(const Paragraph& para) {
        const QTextBlockFormat blockFormat = blockFormatFor(para.format, qtFormat(para.markFormat));
        const QTextCharFormat startFormat =
            qtFormat(para.runs.empty() ? para.markFormat : para.runs.front().format);
        if (m_first) {
            m_cursor.setBlockFormat(blockFormat);
            m_cursor.setBlockCharFormat(startFormat);
            m_first = false;
        } else {
            m_cursor.insertBlock(blockFormat, startFormat);
        }
        for (const TextRun& run : para.runs) {
            if (!run.text.empty())
                m_cursor.insertText(QString::fromStdU16String(run.text), qtFormat(run.format));
        }
    }

private:
    const QTextCharFormat& qtFormat(const CharFormat& format) {
        for (const auto& [known, converted] : m_recent) {
            if (known == format)
                return converted;
        }
        auto& slot = m_recent.size() < RecentFormats ? m_recent.emplace_back()
                                                     : m_recent[m_next++ % RecentFormats];
        slot = {format, toQtFormat(format)};
        return slot.second;
    }

    static constexpr std::size_t RecentFormats = 8;
    QTextCursor m_cursor;
    bool m_first = true;
    std::vector<std::pair<CharFormat, QTextCharFormat>> m_recent;
    std::size_t m_next = 0;
};

} // namespace

QTextCharFormat toQtFormat(const CharFormat& format) {
    QTextCharFormat q;
    q.setFontFamilies(QStringList{QString::fromStdString(format.font)});
    q.setFontPointSize(format.size);
    q.setForeground(toQColor(format.colour));
    if (format.background)
        q.setBackground(toQColor(*format.background));
    q.setFontWeight(format.bold ? QFont::Bold : QFont::Normal);
    q.setFontItalic(format.italic);
    q.setFontUnderline(format.underline);
    return q;
}

CharFormat fromQtFormat(const QTextCharFormat& q, const CharFormat& fallback) {
    CharFormat format = fallback;
    if (q.hasProperty(QTextFormat::FontFamilies)) {
        QStringList families = q.fontFamilies().toStringList();
        if (!families.isEmpty())
            format.font = families.front().toStdString();
    }
    if (q.hasProperty(QTextFormat::FontPointSize))
        format.size = q.fontPointSize();
    if (q.hasProperty(QTextFormat::ForegroundBrush) && q.foreground().style() != Qt::NoBrush)
        format.colour = fromQColor(q.foreground().color());
    if (q.hasProperty(QTextFormat::BackgroundBrush) && q.background().style() != Qt::NoBrush)
        format.background = fromQColor(q.background().color());
    else
        format.background.reset();
    if (q.hasProperty(QTextFormat::FontWeight))
        format.bold = q.fontWeight() > QFont::Medium;
    if (q.hasProperty(QTextFormat::FontItalic))
        format.italic = q.fontItalic();
    if (q.hasProperty(QTextFormat::TextUnderlineStyle) || q.hasProperty(QTextFormat::FontUnderline))
        format.underline = q.fontUnderline();
    return format;
}

// ---- PaneEditor --------------------------------------------------------------------------------

PaneEditor::PaneEditor(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
}

void PaneEditor::keyPressEvent(QKeyEvent* event) {
    if (keyHook && keyHook(event)) {
        event->accept();
        return;
    }
    // Shift+Enter would put a line break inside the paragraph, which the pane's plain text has
    // no CR LF for; it starts a new paragraph like Enter.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        (event->modifiers() & Qt::ShiftModifier)) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier,
                        event->text(), event->isAutoRepeat(), event->count());
        QTextEdit::keyPressEvent(&plain);
        return;
    }
    QTextEdit::keyPressEvent(event);
}

void PaneEditor::mouseReleaseEvent(QMouseEvent* event) {
    QTextEdit::mouseReleaseEvent(event);
    if (mouseReleased)
        mouseReleased();
}

void PaneEditor::focusInEvent(QFocusEvent* event) {
    QTextEdit::focusInEvent(event);
    if (focusReceived)
        focusReceived();
}

bool PaneEditor::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasText();
}

void PaneEditor::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText())
        return;
    if (pasteHook)
        pasteHook(source->text());
    else
        QTextEdit::insertFromMimeData(source);
}

// ---- QtDocumentPane ----------------------------------------------------------------------------

QtDocumentPane::QtDocumentPane(QWidget* parent, FileSystem& files)
    : m_editor(new PaneEditor(parent)), m_files(files) {
    QTextDocument* doc = m_editor->document();
    doc->setDocumentMargin(4);
    m_connections.push_back(
        QObject::connect(doc, &QTextDocument::contentsChange, m_editor, [this](int, int, int) {
            m_changed = true;
            // During a batch the pane's selection is the only one; the editor's cursor is set
            // when the batch ends.
            if (!m_batching)
                m_paneSelection.reset();
        }));
    m_connections.push_back(
        QObject::connect(m_editor, &QTextEdit::cursorPositionChanged, m_editor, [this] {
            if (m_batching)
                return;
            m_paneSelection.reset();
            m_insertion.reset();
        }));
    m_connections.push_back(
        QObject::connect(m_editor, &QTextEdit::selectionChanged, m_editor, [this] {
            if (!m_batching)
                m_paneSelection.reset();
        }));
    m_editor->pasteHook = [this](const QString& text) { insertPlain(text); };
    setBaseFormat(m_base);
    setText(u"");
    m_changed = false;
}

QtDocumentPane::~QtDocumentPane() {
    if (m_editor) {
        // The editor may outlive the pane inside its parent widget; the pane's hooks must not,
        // nor the window's, whose lambdas end with the window.
        for (const QMetaObject::Connection& connection : m_connections)
            QObject::disconnect(connection);
        m_editor->pasteHook = nullptr;
        m_editor->keyHook = nullptr;
        m_editor->mouseReleased = nullptr;
        m_editor->focusReceived = nullptr;
        if (!m_editor->parent())
            delete m_editor.data();
    }
}

void QtDocumentPane::setBaseFormat(const CharFormat& format) {
    m_base = format;
    QFont font(QString::fromStdString(format.font));
    font.setPointSizeF(format.size);
    m_editor->document()->setDefaultFont(font);
}

// ---- positions ---------------------------------------------------------------------------------

int QtDocumentPane::toDocument(int panePosition) const {
    int paneStart = 0;
    for (QTextBlock block = m_editor->document()->begin(); block.isValid(); block = block.next()) {
        int length = block.length() - 1;
        if (panePosition <= paneStart + length)
            return block.position() + std::max(0, panePosition - paneStart);
        if (!block.next().isValid())
            return block.position() + length;
        // Between CR and LF: the end of this paragraph.
        if (panePosition == paneStart + length + 1)
            return block.position() + length;
        paneStart += length + 2;
    }
    return 0;
}

int QtDocumentPane::toPane(int documentPosition) const {
    QTextDocument* doc = m_editor->document();
    int paneStart = 0;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        int length = block.length() - 1;
        if (documentPosition <= block.position() + length || !block.next().isValid())
            return paneStart + std::clamp(documentPosition - block.position(), 0, length);
        paneStart += length + 2;
    }
    return 0;
}

// ---- text --------------------------------------------------------------------------------------

std::u16string QtDocumentPane::text() const {
    std::u16string out;
    for (QTextBlock block = m_editor->document()->begin(); block.isValid(); block = block.next()) {
        if (block != m_editor->document()->begin())
            out += u"\r\n";
        out += block.text().toStdU16String();
    }
    return out;
}

int QtDocumentPane::textLength() const {
    // Each block counts its separator once where the pane counts CR LF, and the last block's
    // separator is no character of the pane's.
    QTextDocument* doc = m_editor->document();
    return doc->characterCount() + doc->blockCount() - 2;
}

void QtDocumentPane::setText(std::u16string_view text) {
    setRichDocument(RichDocument::fromPlainText(text, m_base));
}

std::string QtDocumentPane::textRtf() const {
    return writeRtf(richDocument());
}

void QtDocumentPane::setTextRtf(std::string_view rtf) {
    if (!looksLikeRtf(rtf)) {
        setText(decodePlainText(rtf));
        return;
    }
    // Each paragraph goes into the editor as the reader finishes it: the document is never
    // held whole a second time.
    replaceContent([&](const ParagraphSink& sink) { readRtf(rtf, m_base, sink); });
}

CharFormat QtDocumentPane::markFormat(const QTextBlock& block, int which) const {
    QTextBlockFormat blockFormat = block.blockFormat();
    int property = which == 0 ? CrFormatProperty : LfFormatProperty;
    if (blockFormat.hasProperty(property))
        return fromQtFormat(blockFormat.property(property).value<QTextFormat>().toCharFormat(),
                            m_base);
    return fromQtFormat(block.charFormat(), m_base);
}

RichDocument QtDocumentPane::richDocument() const {
    RichDocument doc;
    doc.paragraphs.clear();
    QTextDocument* document = m_editor->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        Paragraph para;
        para.format.lineSpacing = spacingOf(block.blockFormat());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            CharFormat format = fromQtFormat(fragment.charFormat(), m_base);
            std::u16string piece = fragment.text().toStdU16String();
            if (!para.runs.empty() && para.runs.back().format == format)
                para.runs.back().text += piece;
            else
                para.runs.push_back(TextRun{format, piece});
        }
        if (block.next().isValid()) {
            // A paragraph's mark is its CR.
            para.markFormat = markFormat(block, 0);
        } else if (!para.runs.empty()) {
            // The last paragraph has no break: its mark is its last character's format.
            para.markFormat = para.runs.back().format;
        } else if (block.previous().isValid()) {
            para.markFormat = markFormat(block.previous(), 1);
        } else {
            para.markFormat = m_base;
        }
        doc.paragraphs.push_back(std::move(para));
    }
    if (doc.paragraphs.empty())
        doc.paragraphs.emplace_back();
    return doc;
}

void QtDocumentPane::setRichDocument(const RichDocument& rich) {
    replaceContent([&rich](const ParagraphSink& sink) {
        for (const Paragraph& para : rich.paragraphs)
            sink(para);
    });
}

void QtDocumentPane::replaceContent(const std::function<void(const ParagraphSink&)>& produce) {
    QTextDocument* doc = m_editor->document();
    doc->setUndoRedoEnabled(false);
    // The editor has no cursor while the text goes in, as when it loads text itself: a cursor
    // would be carried along to the end, and placing the next one would have the editor lay out
    // the whole document to repaint where the old one was.
    if (!m_batching)
        m_editor->setTextCursor(QTextCursor());
    // Emptied and filled in one edit block, the document reports one change that replaces it
    // whole: the editor then lays out the part in view at once and the rest in steps between
    // events, rather than all of a large document before it shows any.
    DocumentFiller filler(doc);
    filler.cursor().beginEditBlock();
    doc->clear();
    produce([&filler](const Paragraph& para) { filler.add(para); });
    filler.cursor().endEditBlock();
    doc->setUndoRedoEnabled(true);
    m_changed = true;
    selectPane(0, 0);
    m_insertion.reset();
    if (!m_batching)
        m_editor->setCurrentCharFormat(toQtFormat(insertionFormat()));
}

// ---- selection ---------------------------------------------------------------------------------

QtDocumentPane::Range QtDocumentPane::selection() const {
    if (m_paneSelection)
        return *m_paneSelection;
    QTextCursor cursor = m_editor->textCursor();
    return Range{toPane(cursor.selectionStart()), toPane(cursor.selectionEnd())};
}

void QtDocumentPane::selectPane(int start, int length) {
    int total = textLength();
    start = std::clamp(start, 0, total);
    length = std::clamp(length, 0, total - start);
    Range before = selection();
    std::optional<CharFormat> pending = m_insertion;
    if (!m_batching) {
        QTextCursor cursor(m_editor->document());
        cursor.setPosition(toDocument(start));
        cursor.setPosition(toDocument(start + length), QTextCursor::KeepAnchor);
        m_editor->setTextCursor(cursor);
    }
    m_paneSelection = Range{start, start + length};
    // Formats set on an empty selection last until the selection moves.
    m_insertion.reset();
    if (before.start == start && before.end == start + length)
        m_insertion = pending;
}

int QtDocumentPane::selStart() const {
    return selection().start;
}

void QtDocumentPane::setSelStart(int start) {
    selectPane(start, 0);
}

int QtDocumentPane::selLength() const {
    Range range = selection();
    return range.end - range.start;
}

void QtDocumentPane::setSelLength(int length) {
    selectPane(selStart(), length);
}

std::u16string QtDocumentPane::selText() const {
    Range range = selection();
    return text().substr(static_cast<std::size_t>(range.start),
                         static_cast<std::size_t>(range.end - range.start));
}

CharFormat QtDocumentPane::formatAtPane(int panePosition) const {
    for (const FormatSpan& span : formatSpans()) {
        if (panePosition >= span.start && panePosition < span.start + span.length)
            return span.format;
    }
    return m_base;
}

CharFormat QtDocumentPane::insertionFormat() const {
    Range range = selection();
    if (range.end > range.start)
        return formatAtPane(range.start);
    if (m_insertion)
        return *m_insertion;
    if (range.start == 0)
        return m_base;
    return formatAtPane(range.start - 1);
}

void QtDocumentPane::insertPlain(const QString& text) {
    setSelText(text.toStdU16String());
}

void QtDocumentPane::setSelText(std::u16string_view text) {
    Range range = selection();
    // A paragraph break is never split: an edge between its CR and its LF moves past the LF.
    const std::u16string plain = this->text();
    auto insideBreak = [&plain](int pos) {
        return pos > 0 && pos < static_cast<int>(plain.size()) && plain[pos - 1] == u'\r' &&
               plain[pos] == u'\n';
    };
    CharFormat format = insertionFormat();
    if (insideBreak(range.start))
        ++range.start;
    if (insideBreak(range.end))
        ++range.end;
    range.end = std::max(range.end, range.start);
    if (text.empty() && range.end == range.start) {
        selectPane(range.start, 0);
        return;
    }
    QTextCharFormat qtFormat = toQtFormat(format);
    QTextDocument* doc = m_editor->document();

    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    cursor.setPosition(toDocument(range.start));
    cursor.setPosition(toDocument(range.end), QTextCursor::KeepAnchor);
    if (cursor.hasSelection()) {
        // Joined paragraphs keep the first one's block format, but the paragraph end that
        // survives is the last one's.
        QTextBlock lastBlock = doc->findBlock(cursor.selectionEnd());
        QTextBlockFormat lastFormat = lastBlock.blockFormat();
        bool joins = doc->findBlock(cursor.selectionStart()) != lastBlock;
        cursor.removeSelectedText();
        if (joins) {
            QTextBlockFormat merged = cursor.blockFormat();
            merged.setProperty(CrFormatProperty, lastFormat.property(CrFormatProperty));
            merged.setProperty(LfFormatProperty, lastFormat.property(LfFormatProperty));
            cursor.setBlockFormat(merged);
        }
    }
    QStringList pieces = paragraphsOf(text);
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        if (i > 0) {
            // The new break takes the inserted text's format; the break that was here moves on
            // with the second half, which keeps the paragraph format of the first.
            QTextBlockFormat firstHalf = cursor.blockFormat();
            QTextBlockFormat secondHalf = firstHalf;
            setMarkFormats(firstHalf, qtFormat, qtFormat);
            cursor.setBlockFormat(firstHalf);
            cursor.insertBlock(secondHalf, qtFormat);
        }
        if (!pieces[i].isEmpty())
            cursor.insertText(pieces[i], qtFormat);
    }
    cursor.endEditBlock();
    int caret = toPane(cursor.position());
    selectPane(caret, 0);
    m_insertion.reset();
}

// ---- formats -----------------------------------------------------------------------------------

template <typename T, typename Get> std::optional<T> QtDocumentPane::readSelection(Get get) const {
    Range range = selection();
    if (range.end == range.start)
        return get(insertionFormat());
    std::optional<T> value;
    for (const FormatSpan& span : formatSpans()) {
        if (span.start + span.length <= range.start || span.start >= range.end)
            continue;
        T current = get(span.format);
        if (value && !(*value == current))
            return std::nullopt;
        value = current;
    }
    return value;
}

void QtDocumentPane::changeSelection(const std::function<void(CharFormat&)>& change) {
    Range range = selection();
    if (range.end == range.start) {
        CharFormat format = insertionFormat();
        change(format);
        // Keys typed at the caret take the format too (set on the editor when a batch ends).
        if (!m_batching)
            m_editor->setCurrentCharFormat(toQtFormat(format));
        m_insertion = format;
        m_paneSelection = range;
        return;
    }

    QTextDocument* doc = m_editor->document();
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    int paneStart = 0;
    for (QTextBlock block = doc->begin(); block.isValid() && paneStart < range.end;
         block = block.next()) {
        int length = block.length() - 1;
        // Text of the paragraph: each fragment keeps its own attributes but the changed one.
        struct Piece {
            int from;
            int to;
            QTextCharFormat format;
        };
        std::vector<Piece> pieces;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextFragment fragment = it.fragment();
            int fragPane = paneStart + (fragment.position() - block.position());
            int from = std::max(fragPane, range.start);
            int to = std::min(fragPane + fragment.length(), range.end);
            if (from >= to)
                continue;
            CharFormat format = fromQtFormat(fragment.charFormat(), m_base);
            change(format);
            int docFrom = block.position() + (from - paneStart);
            pieces.push_back(Piece{docFrom, docFrom + (to - from), toQtFormat(format)});
        }
        for (const Piece& piece : pieces) {
            cursor.setPosition(piece.from);
            cursor.setPosition(piece.to, QTextCursor::KeepAnchor);
            cursor.setCharFormat(piece.format);
        }
        // The paragraph's CR and LF, each when the selection covers it.
        int crPosition = paneStart + length;
        if (block.next().isValid() && crPosition < range.end && crPosition + 2 > range.start) {
            CharFormat cr = markFormat(block, 0);
            CharFormat lf = markFormat(block, 1);
            if (crPosition >= range.start)
                change(cr);
            if (crPosition + 1 < range.end)
                change(lf);
            QTextBlockFormat blockFormat = block.blockFormat();
            setMarkFormats(blockFormat, toQtFormat(cr), toQtFormat(lf));
            cursor.setPosition(block.position());
            cursor.setBlockFormat(blockFormat);
        }
        paneStart += length + 2;
    }
    cursor.endEditBlock();
    selectPane(range.start, range.end - range.start);
}

std::optional<Colour> QtDocumentPane::selColour() const {
    return readSelection<Colour>([](const CharFormat& f) { return f.colour; });
}

void QtDocumentPane::setSelColour(Colour colour) {
    changeSelection([colour](CharFormat& f) { f.colour = colour; });
}

std::optional<std::string> QtDocumentPane::selFontName() const {
    return readSelection<std::string>([](const CharFormat& f) { return f.font; });
}

void QtDocumentPane::setSelFontName(const std::string& font) {
    changeSelection([&font](CharFormat& f) { f.font = font; });
}

std::optional<double> QtDocumentPane::selFontSize() const {
    return readSelection<double>([](const CharFormat& f) { return f.size; });
}

void QtDocumentPane::setSelFontSize(double points) {
    changeSelection([points](CharFormat& f) { f.size = points; });
}

std::optional<bool> QtDocumentPane::selBold() const {
    return readSelection<bool>([](const CharFormat& f) { return f.bold; });
}

void QtDocumentPane::setSelBold(bool on) {
    changeSelection([on](CharFormat& f) { f.bold = on; });
}

std::optional<bool> QtDocumentPane::selUnderline() const {
    return readSelection<bool>([](const CharFormat& f) { return f.underline; });
}

void QtDocumentPane::setSelUnderline(bool on) {
    changeSelection([on](CharFormat& f) { f.underline = on; });
}

void QtDocumentPane::setSelBackground(std::optional<Colour> colour) {
    changeSelection([colour](CharFormat& f) { f.background = colour; });
}

void QtDocumentPane::setSelLineSpacing(LineSpacing rule) {
    Range range = selection();
    QTextDocument* doc = m_editor->document();
    QTextBlock first = doc->findBlock(toDocument(range.start));
    // A selection that ends where a paragraph begins does not touch that paragraph, unless it
    // is the text's last one: the Format menu's whole-text selection reaches an empty last
    // paragraph too.
    const bool endsInside = range.end > range.start && range.end < textLength();
    QTextBlock last = doc->findBlock(toDocument(endsInside ? range.end - 1 : range.end));
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    for (QTextBlock block = first; block.isValid(); block = block.next()) {
        QTextBlockFormat format = block.blockFormat();
        format.setLineHeight(lineHeightFor(rule), QTextBlockFormat::ProportionalHeight);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(format);
        if (block == last)
            break;
    }
    cursor.endEditBlock();
    selectPane(range.start, range.end - range.start);
}

std::vector<FormatSpan> QtDocumentPane::formatSpans() const {
    std::vector<FormatSpan> spans;
    auto add = [&spans](int start, int length, const CharFormat& format) {
        if (length <= 0)
            return;
        if (!spans.empty() && spans.back().format == format &&
            spans.back().start + spans.back().length == start)
            spans.back().length += length;
        else
            spans.push_back(FormatSpan{start, length, format});
    };
    int position = 0;
    for (QTextBlock block = m_editor->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            add(position, fragment.length(), fromQtFormat(fragment.charFormat(), m_base));
            position += fragment.length();
        }
        if (block.next().isValid()) {
            add(position, 1, markFormat(block, 0));
            add(position + 1, 1, markFormat(block, 1));
            position += 2;
        }
    }
    return spans;
}

std::vector<LineSpacing> QtDocumentPane::paragraphSpacings() const {
    std::vector<LineSpacing> spacings;
    for (QTextBlock block = m_editor->document()->begin(); block.isValid(); block = block.next())
        spacings.push_back(spacingOf(block.blockFormat()));
    return spacings;
}

// ---- files, printing, focus --------------------------------------------------------------------

FileResult QtDocumentPane::loadFile(const std::string& path) {
    ReadResult read = m_files.readAll(path, MaxDocumentBytes);
    if (read.error)
        return read.error;
    setTextRtf(read.bytes);
    return std::nullopt;
}

FileResult QtDocumentPane::saveFile(const std::string& path) {
    return m_files.writeAtomic(path, textRtf());
}

bool QtDocumentPane::print(QPrinter& printer) const {
    if (!printer.isValid())
        return false;
    QTextCursor cursor = m_editor->textCursor();
    if (cursor.hasSelection()) {
        QTextDocument part;
        part.setDefaultFont(m_editor->document()->defaultFont());
        QTextCursor(&part).insertFragment(cursor.selection());
        part.print(&printer);
    } else {
        m_editor->document()->print(&printer);
    }
    return true;
}

void QtDocumentPane::setBatching(bool on) {
    if (on == m_batching)
        return;
    QTextDocument* doc = m_editor->document();
    if (on) {
        // From here the pane keeps its selection to itself, and the document has no page to lay
        // out on: each change then only drops the layout of the paragraphs it touches, where the
        // editor would otherwise shape and lay them out again at once.
        Range current = selection();
        m_batching = true;
        m_paneSelection = current;
        m_editor->setUpdatesEnabled(false);
        m_batchPageSize = doc->pageSize();
        doc->setPageSize(QSizeF(0, 0));
        return;
    }
    m_batching = false;
    const Range range = selection();
    const std::optional<CharFormat> insertion = m_insertion;
    doc->setPageSize(m_batchPageSize);
    QTextCursor cursor(doc);
    cursor.setPosition(toDocument(range.start));
    cursor.setPosition(toDocument(range.end), QTextCursor::KeepAnchor);
    m_editor->setTextCursor(cursor);
    m_paneSelection = range;
    m_insertion = insertion;
    if (insertion)
        m_editor->setCurrentCharFormat(toQtFormat(*insertion));
    m_editor->setUpdatesEnabled(true);
    m_editor->viewport()->update();
}

void QtDocumentPane::setFocus() {
    m_editor->setFocus();
}

} // namespace keystride
