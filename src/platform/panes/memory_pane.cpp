#include "platform/panes/memory_pane.h"

#include "platform/rtf/rtf_reader.h"
#include "platform/rtf/rtf_writer.h"
#include "platform/rtf/text_loader.h"

#include <algorithm>
#include <functional>

namespace keystride {

namespace {

// Text as the pane stores it: CR LF, lone CR and lone LF each become CR LF.
std::u16string normaliseLineEnds(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            out += u"\r\n";
        } else if (c == u'\n') {
            out += u"\r\n";
        } else {
            out += c;
        }
    }
    return out;
}

int countBreaks(std::u16string_view text) {
    return static_cast<int>(std::count(text.begin(), text.end(), u'\r'));
}

void hashCombine(std::size_t& seed, std::size_t value) {
    seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
}

} // namespace

std::size_t MemoryPane::FormatHash::operator()(const CharFormat& format) const {
    std::size_t seed = std::hash<std::string>{}(format.font);
    hashCombine(seed, std::hash<double>{}(format.size));
    auto colourBits = [](Colour c) {
        return (std::size_t{c.red} << 16) | (std::size_t{c.green} << 8) | c.blue;
    };
    hashCombine(seed, colourBits(format.colour));
    hashCombine(seed, format.background ? colourBits(*format.background) + 1 : 0);
    hashCombine(seed,
                (format.bold ? 1u : 0u) | (format.italic ? 2u : 0u) | (format.underline ? 4u : 0u));
    return seed;
}

MemoryPane::MemoryPane(CharFormat base, FileSystem& fs) : m_base(std::move(base)), m_fs(fs) {
    m_paragraphs.push_back(ParaFormat{});
}

MemoryPane::FormatId MemoryPane::intern(const CharFormat& format) {
    auto found = m_formatLookup.find(format);
    if (found != m_formatLookup.end())
        return found->second;
    auto id = static_cast<FormatId>(m_formats.size());
    m_formats.push_back(format);
    m_formatLookup.emplace(format, id);
    return id;
}

void MemoryPane::clearFormats() {
    m_formats.clear();
    m_formatLookup.clear();
}

void MemoryPane::beginReplace() {
    m_text.clear();
    m_formatIds.clear();
    m_paragraphs.clear();
    // Formats of the old content are no longer used by any character.
    clearFormats();
}

void MemoryPane::endReplace() {
    if (m_paragraphs.empty())
        m_paragraphs.push_back(ParaFormat{});
    m_selStart = 0;
    m_selLength = 0;
    m_pending.reset();
    m_changed = true;
}

void MemoryPane::setText(std::u16string_view text) {
    beginReplace();
    m_text = normaliseLineEnds(text);
    m_formatIds.assign(m_text.size(), intern(m_base));
    m_paragraphs.assign(static_cast<std::size_t>(countBreaks(m_text)) + 1, ParaFormat{});
    endReplace();
}

void MemoryPane::setDocument(const RichDocument& doc) {
    beginReplace();
    // One allocation for the text and one for its formats: the breaks between paragraphs and
    // every run, measured before anything is copied.
    std::size_t length = 2 * (doc.paragraphs.size() - 1);
    for (const Paragraph& paragraph : doc.paragraphs) {
        for (const TextRun& run : paragraph.runs)
            length += run.text.size();
    }
    m_text.reserve(length);
    m_formatIds.reserve(length);
    m_paragraphs.reserve(doc.paragraphs.size());
    for (const Paragraph& paragraph : doc.paragraphs)
        appendParagraph(paragraph);
    endReplace();
}

void MemoryPane::appendParagraph(const Paragraph& paragraph) {
    if (!m_paragraphs.empty()) {
        // The break that ends the paragraph before, in that paragraph's mark format.
        m_text += u"\r\n";
        m_formatIds.insert(m_formatIds.end(), 2, m_lastMark);
    }
    m_paragraphs.push_back(paragraph.format);
    for (const TextRun& run : paragraph.runs)
        appendRun(run.text, intern(run.format));
    m_lastMark = intern(paragraph.markFormat);
}

void MemoryPane::appendRun(std::u16string_view text, FormatId id) {
    const auto isBreak = [](char16_t c) { return c == u'\r' || c == u'\n'; };
    if (std::none_of(text.begin(), text.end(), isBreak)) {
        m_text.append(text);
        m_formatIds.insert(m_formatIds.end(), text.size(), id);
        return;
    }
    // A run never holds a line break; one that does is not allowed to make one.
    for (char16_t c : text) {
        if (isBreak(c))
            continue;
        m_text += c;
        m_formatIds.push_back(id);
    }
}

RichDocument MemoryPane::document() const {
    RichDocument doc;
    doc.paragraphs.clear();
    doc.paragraphs.reserve(m_paragraphs.size());
    Paragraph current;
    std::size_t paragraphIndex = 0;
    const std::size_t length = m_text.size();
    std::size_t i = 0;
    while (i < length) {
        const char16_t c = m_text[i];
        if (c == u'\r') {
            current.format = m_paragraphs[paragraphIndex++];
            current.markFormat = m_formats[m_formatIds[i]];
            doc.paragraphs.push_back(std::move(current));
            current = Paragraph{};
            i += (i + 1 < length && m_text[i + 1] == u'\n') ? 2 : 1;
            continue;
        }
        // One run: the characters up to the next format change or paragraph break.
        const FormatId id = m_formatIds[i];
        std::size_t end = i + 1;
        while (end < length && m_formatIds[end] == id && m_text[end] != u'\r')
            ++end;
        current.runs.push_back(TextRun{m_formats[id], m_text.substr(i, end - i)});
        i = end;
    }
    current.format = m_paragraphs[std::min(paragraphIndex, m_paragraphs.size() - 1)];
    current.markFormat = length == 0 ? m_base : m_formats[m_formatIds[length - 1]];
    doc.paragraphs.push_back(std::move(current));
    return doc;
}

std::string MemoryPane::textRtf() const {
    return writeRtf(document());
}

void MemoryPane::setTextRtf(std::string_view rtf) {
    if (!looksLikeRtf(rtf)) {
        setText(decodePlainText(rtf));
        m_readWarnings.clear();
        return;
    }
    beginReplace();
    // A document has no more characters than its markup has bytes. Room reserved and never
    // used is never touched either, so the guess costs address space only.
    m_text.reserve(rtf.size());
    m_formatIds.reserve(rtf.size());
    // Each paragraph is copied in as the reader finishes it: the document is never held whole
    // a second time.
    m_readWarnings =
        readRtf(rtf, m_base, [this](const Paragraph& paragraph) { appendParagraph(paragraph); });
    endReplace();
}

void MemoryPane::select(int start, int length) {
    if (start != m_selStart || length != m_selLength)
        m_pending.reset();
    m_selStart = start;
    m_selLength = length;
}

void MemoryPane::setSelStart(int start) {
    select(std::clamp(start, 0, textLength()), 0);
}

void MemoryPane::setSelLength(int length) {
    select(m_selStart, std::clamp(length, 0, textLength() - m_selStart));
}

std::u16string MemoryPane::selText() const {
    return m_text.substr(static_cast<std::size_t>(m_selStart),
                         static_cast<std::size_t>(m_selLength));
}

CharFormat MemoryPane::insertionFormat() const {
    if (m_selLength > 0)
        return m_formats[m_formatIds[static_cast<std::size_t>(m_selStart)]];
    if (m_pending)
        return *m_pending;
    if (m_selStart == 0)
        return m_base;
    return m_formats[m_formatIds[static_cast<std::size_t>(m_selStart) - 1]];
}

int MemoryPane::paragraphOfChar(int pos) const {
    const auto begin = m_text.begin();
    int paragraph = static_cast<int>(std::count(begin, begin + pos, u'\r'));
    if (pos > 0 && pos < textLength() && m_text[static_cast<std::size_t>(pos)] == u'\n' &&
        m_text[static_cast<std::size_t>(pos) - 1] == u'\r')
        --paragraph;
    return paragraph;
}

void MemoryPane::setSelText(std::u16string_view text) {
    const CharFormat format = insertionFormat();
    const std::u16string inserted = normaliseLineEnds(text);
    auto start = static_cast<std::size_t>(m_selStart);
    auto end = start + static_cast<std::size_t>(m_selLength);
    // A paragraph break is never split: an edit that starts or ends between its CR and its LF
    // is widened or moved to take the whole break or leave it whole.
    auto insideBreak = [this](std::size_t pos) {
        return pos > 0 && pos < m_text.size() && m_text[pos - 1] == u'\r' && m_text[pos] == u'\n';
    };
    if (insideBreak(start))
        ++start;
    if (insideBreak(end))
        ++end;
    end = std::max(end, start);
    if (inserted.empty() && end == start) {
        select(static_cast<int>(start), 0);
        return;
    }

    const int paragraph = static_cast<int>(
        std::count(m_text.begin(), m_text.begin() + static_cast<std::ptrdiff_t>(start), u'\r'));
    const int removedBreaks = countBreaks(std::u16string_view(m_text).substr(start, end - start));
    const int addedBreaks = countBreaks(inserted);

    m_text.replace(start, end - start, inserted);
    const FormatId id = intern(format);
    const auto idsBegin = m_formatIds.begin() + static_cast<std::ptrdiff_t>(start);
    m_formatIds.erase(idsBegin, idsBegin + static_cast<std::ptrdiff_t>(end - start));
    m_formatIds.insert(m_formatIds.begin() + static_cast<std::ptrdiff_t>(start), inserted.size(),
                       id);

    // Joined paragraphs keep the first one's format; new ones take the format of the paragraph
    // the insertion started in.
    const auto first = m_paragraphs.begin() + paragraph + 1;
    m_paragraphs.erase(first, first + removedBreaks);
    m_paragraphs.insert(m_paragraphs.begin() + paragraph + 1, static_cast<std::size_t>(addedBreaks),
                        m_paragraphs[static_cast<std::size_t>(paragraph)]);

    m_selStart = static_cast<int>(start + inserted.size());
    m_selLength = 0;
    m_pending.reset();
    m_changed = true;
}

template <typename Value, typename Get>
std::optional<Value> MemoryPane::readSelection(Get get) const {
    if (m_selLength == 0)
        return get(insertionFormat());
    const auto begin = static_cast<std::size_t>(m_selStart);
    const auto end = begin + static_cast<std::size_t>(m_selLength);
    FormatId checked = m_formatIds[begin];
    Value value = get(m_formats[checked]);
    for (std::size_t i = begin + 1; i < end; ++i) {
        const FormatId id = m_formatIds[i];
        if (id == checked)
            continue;
        if (!(get(m_formats[id]) == value))
            return std::nullopt;
        checked = id;
    }
    return value;
}

template <typename Modify> void MemoryPane::modifySelection(Modify modify) {
    if (m_selLength == 0) {
        CharFormat format = insertionFormat();
        modify(format);
        m_pending = std::move(format);
        return;
    }
    // Selections hold few distinct formats: remember each one's replacement.
    std::vector<std::pair<FormatId, FormatId>> replacements;
    const auto begin = static_cast<std::size_t>(m_selStart);
    const auto end = begin + static_cast<std::size_t>(m_selLength);
    FormatId lastOld = m_formatIds[begin];
    FormatId lastNew = 0;
    bool haveLast = false;
    for (std::size_t i = begin; i < end; ++i) {
        const FormatId old = m_formatIds[i];
        if (!haveLast || old != lastOld) {
            auto known = std::find_if(replacements.begin(), replacements.end(),
                                      [old](const auto& pair) { return pair.first == old; });
            if (known != replacements.end()) {
                lastNew = known->second;
            } else {
                CharFormat format = m_formats[old];
                modify(format);
                lastNew = intern(format);
                replacements.emplace_back(old, lastNew);
            }
            lastOld = old;
            haveLast = true;
        }
        m_formatIds[i] = lastNew;
    }
    m_changed = true;
}

std::optional<Colour> MemoryPane::selColour() const {
    return readSelection<Colour>([](const CharFormat& f) { return f.colour; });
}

void MemoryPane::setSelColour(Colour colour) {
    modifySelection([colour](CharFormat& f) { f.colour = colour; });
}

std::optional<std::string> MemoryPane::selFontName() const {
    return readSelection<std::string>([](const CharFormat& f) { return f.font; });
}

void MemoryPane::setSelFontName(const std::string& font) {
    modifySelection([&font](CharFormat& f) { f.font = font; });
}

std::optional<double> MemoryPane::selFontSize() const {
    return readSelection<double>([](const CharFormat& f) { return f.size; });
}

void MemoryPane::setSelFontSize(double points) {
    modifySelection([points](CharFormat& f) { f.size = points; });
}

std::optional<bool> MemoryPane::selBold() const {
    return readSelection<bool>([](const CharFormat& f) { return f.bold; });
}

void MemoryPane::setSelBold(bool on) {
    modifySelection([on](CharFormat& f) { f.bold = on; });
}

std::optional<bool> MemoryPane::selUnderline() const {
    return readSelection<bool>([](const CharFormat& f) { return f.underline; });
}

void MemoryPane::setSelUnderline(bool on) {
    modifySelection([on](CharFormat& f) { f.underline = on; });
}

void MemoryPane::setSelBackground(std::optional<Colour> colour) {
    modifySelection([colour](CharFormat& f) { f.background = colour; });
}

void MemoryPane::setSelLineSpacing(LineSpacing rule) {
    const int first = paragraphOfChar(m_selStart);
    const int end = m_selStart + m_selLength;
    // A selection that reaches the end of the text touches the last paragraph even when that
    // paragraph is empty (a text that ends with a line end): the Format menu's commands give
    // the whole test its spacing.
    int last = first;
    if (end >= textLength())
        last = static_cast<int>(m_paragraphs.size()) - 1;
    else if (m_selLength > 0)
        last = paragraphOfChar(end - 1);
    for (int p = first; p <= last; ++p)
        m_paragraphs[static_cast<std::size_t>(p)].lineSpacing = rule;
    m_changed = true;
}

FileResult MemoryPane::loadFile(const std::string& path) {
    ReadResult read = m_fs.readAll(path, MaxDocumentBytes);
    if (read.error)
        return read.error;
    setTextRtf(read.bytes);
    return std::nullopt;
}

FileResult MemoryPane::saveFile(const std::string& path) {
    return m_fs.writeAtomic(path, textRtf());
}

std::vector<FormatSpan> MemoryPane::formatSpans() const {
    std::vector<FormatSpan> spans;
    const std::size_t length = m_formatIds.size();
    std::size_t i = 0;
    while (i < length) {
        const FormatId id = m_formatIds[i];
        std::size_t end = i + 1;
        while (end < length && m_formatIds[end] == id)
            ++end;
        spans.push_back(FormatSpan{static_cast<int>(i), static_cast<int>(end - i), m_formats[id]});
        i = end;
    }
    return spans;
}

std::vector<LineSpacing> MemoryPane::paragraphSpacings() const {
    std::vector<LineSpacing> spacings;
    spacings.reserve(m_paragraphs.size());
    for (const ParaFormat& paragraph : m_paragraphs)
        spacings.push_back(paragraph.lineSpacing);
    return spacings;
}

} // namespace keystride
