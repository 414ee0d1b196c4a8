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
    m_stretches.clear();
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
    const FormatId base = intern(m_base);
    if (!m_text.empty())
        m_stretches.push_back(Stretch{0, base});
    m_paragraphs.assign(static_cast<std::size_t>(countBreaks(m_text)) + 1, ParaFormat{});
    endReplace();
}

void MemoryPane::setDocument(const RichDocument& doc) {
    beginReplace();
    // One allocation for the text: the breaks between paragraphs and every run, measured
    // before anything is copied.
    std::size_t length = 0;
    for (const Paragraph& paragraph : doc.paragraphs) {
        length += 2;
        for (const TextRun& run : paragraph.runs)
            length += run.text.size();
    }
    m_text.reserve(length);
    m_paragraphs.reserve(doc.paragraphs.size());
    for (const Paragraph& paragraph : doc.paragraphs)
        appendParagraph(paragraph);
    endReplace();
}

void MemoryPane::appendParagraph(const Paragraph& paragraph) {
    if (!m_paragraphs.empty()) {
        // The break that ends the paragraph before, in that paragraph's mark format.
        formatFrom(m_text.size(), m_lastMark);
        m_text += u"\r\n";
    }
    m_paragraphs.push_back(paragraph.format);
    for (const TextRun& run : paragraph.runs)
        appendRun(run.text, intern(run.format));
    m_lastMark = intern(paragraph.markFormat);
}

void MemoryPane::appendRun(std::u16string_view text, FormatId id) {
    const auto isBreak = [](char16_t c) { return c == u'\r' || c == u'\n'; };
    if (std::none_of(text.begin(), text.end(), isBreak)) {
        if (!text.empty())
            formatFrom(m_text.size(), id);
        m_text.append(text);
        return;
    }
    // A run never holds a line break; one that does is not allowed to make one.
    for (char16_t c : text) {
        if (isBreak(c))
            continue;
        formatFrom(m_text.size(), id);
        m_text += c;
    }
}

std::size_t MemoryPane::stretchAt(std::size_t pos) const {
    // A marking run reads and formats one place after another: the stretch found last, or the
    // one after it, is mostly the one wanted.
    for (std::size_t index = m_lastStretch; index < m_lastStretch + 2; ++index) {
        if (index < m_stretches.size() && m_stretches[index].start <= pos &&
            pos < stretchEnd(index))
            return index;
    }
    const auto after =
        std::upper_bound(m_stretches.begin(), m_stretches.end(), pos,
                         [](std::size_t position, const Stretch& s) { return position < s.start; });
    m_lastStretch = static_cast<std::size_t>(after - m_stretches.begin()) - 1;
    return m_lastStretch;
}

std::size_t MemoryPane::stretchEnd(std::size_t index) const {
    return index + 1 < m_stretches.size() ? m_stretches[index + 1].start : m_text.size();
}

void MemoryPane::formatFrom(std::size_t start, FormatId id) {
    // A stretch that has no characters yet changes its format instead of staying empty.
    if (!m_stretches.empty() && m_stretches.back().start == start)
        m_stretches.pop_back();
    if (m_stretches.empty() || m_stretches.back().id != id)
        m_stretches.push_back(Stretch{static_cast<std::uint32_t>(start), id});
}

void MemoryPane::spliceStretches(std::size_t first, std::size_t last) {
    // Pieces that continue the format before them add nothing; a stretch after the splice that
    // continues the last format is absorbed.
    std::vector<Stretch>& pieces = m_pieces;
    FormatId previous = first > 0 ? m_stretches[first - 1].id : NoFormat;
    std::size_t kept = 0;
    for (const Stretch& piece : pieces) {
        if (piece.id != previous)
            pieces[kept++] = piece;
        previous = piece.id;
    }
    pieces.resize(kept);
    if (last < m_stretches.size() && m_stretches[last].id == previous)
        ++last;

    // One move of the stretches after the splice, by the difference in number.
    const auto at = m_stretches.begin() + static_cast<std::ptrdiff_t>(first);
    const std::size_t replaced = last - first;
    if (pieces.size() > replaced)
        m_stretches.insert(at + static_cast<std::ptrdiff_t>(replaced),
                           pieces.begin() + static_cast<std::ptrdiff_t>(replaced), pieces.end());
    else
        m_stretches.erase(at + static_cast<std::ptrdiff_t>(pieces.size()),
                          at + static_cast<std::ptrdiff_t>(replaced));
    std::copy_n(pieces.begin(), std::min(pieces.size(), replaced),
                m_stretches.begin() + static_cast<std::ptrdiff_t>(first));
}

void MemoryPane::replaceFormats(std::size_t start, std::size_t end, std::size_t count,
                                FormatId id) {
    // The stretches starting inside [start, end] give way to at most two: the new characters',
    // and the one the character at `end` continues.
    m_pieces.clear();
    if (count > 0)
        m_pieces.push_back(Stretch{static_cast<std::uint32_t>(start), id});
    if (end < m_text.size())
        m_pieces.push_back(Stretch{static_cast<std::uint32_t>(start + count), formatIdAt(end)});

    const auto first =
        std::lower_bound(m_stretches.begin(), m_stretches.end(), start,
                         [](const Stretch& s, std::size_t position) { return s.start < position; });
    const auto last =
        std::upper_bound(first, m_stretches.end(), end,
                         [](std::size_t position, const Stretch& s) { return position < s.start; });
    for (auto later = last; later != m_stretches.end(); ++later)
        later->start = static_cast<std::uint32_t>(later->start - (end - start) + count);
    spliceStretches(static_cast<std::size_t>(first - m_stretches.begin()),
                    static_cast<std::size_t>(last - m_stretches.begin()));
}

RichDocument MemoryPane::document() const {
    RichDocument doc;
    doc.paragraphs.clear();
    doc.paragraphs.reserve(m_paragraphs.size());
    Paragraph current;
    std::size_t paragraphIndex = 0;
    const std::size_t length = m_text.size();
    std::size_t i = 0;
    std::size_t stretch = 0; // the one holding character i
    while (i < length) {
        while (stretch + 1 < m_stretches.size() && m_stretches[stretch + 1].start <= i)
            ++stretch;
        const FormatId id = m_stretches[stretch].id;
        if (m_text[i] == u'\r') {
            current.format = m_paragraphs[paragraphIndex++];
            current.markFormat = m_formats[id];
            doc.paragraphs.push_back(std::move(current));
            current = Paragraph{};
            i += (i + 1 < length && m_text[i + 1] == u'\n') ? 2 : 1;
            continue;
        }
        // One run: the characters up to the next format change or paragraph break.
        const std::size_t stop = stretchEnd(stretch);
        std::size_t end = i + 1;
        while (end < stop && m_text[end] != u'\r')
            ++end;
        current.runs.push_back(TextRun{m_formats[id], m_text.substr(i, end - i)});
        i = end;
    }
    current.format = m_paragraphs[std::min(paragraphIndex, m_paragraphs.size() - 1)];
    current.markFormat = length == 0 ? m_base : m_formats[m_stretches.back().id];
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
    // A document has no more characters than its markup has bytes, nor more changes of format
    // than an eighth of them (a change takes a group or a control word and a character). Room
    // reserved and never used is never touched either, so the guesses cost address space only.
    m_text.reserve(rtf.size());
    m_stretches.reserve(rtf.size() / 8);
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
        return m_formats[formatIdAt(static_cast<std::size_t>(m_selStart))];
    if (m_pending)
        return *m_pending;
    if (m_selStart == 0)
        return m_base;
    return m_formats[formatIdAt(static_cast<std::size_t>(m_selStart) - 1)];
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

    replaceFormats(start, end, inserted.size(), intern(format));
    m_text.replace(start, end - start, inserted);

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
    const auto end = static_cast<std::size_t>(m_selStart + m_selLength);
    std::size_t stretch = stretchAt(static_cast<std::size_t>(m_selStart));
    Value value = get(m_formats[m_stretches[stretch].id]);
    for (++stretch; stretch < m_stretches.size() && m_stretches[stretch].start < end; ++stretch) {
        if (!(get(m_formats[m_stretches[stretch].id]) == value))
            return std::nullopt;
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
    auto replacement = [&](FormatId old) {
        auto known = std::find_if(replacements.begin(), replacements.end(),
                                  [old](const auto& pair) { return pair.first == old; });
        if (known == replacements.end()) {
            CharFormat format = m_formats[old];
            modify(format);
            known = replacements.insert(replacements.end(), {old, intern(format)});
        }
        return known->second;
    };
    const auto begin = static_cast<std::size_t>(m_selStart);
    const auto end = begin + static_cast<std::size_t>(m_selLength);
    const std::size_t first = stretchAt(begin);
    const std::size_t last = stretchAt(end - 1);
    // The stretches the selection touches, cut at its edges, their formats changed inside it.
    m_pieces.clear();
    if (m_stretches[first].start < begin)
        m_pieces.push_back(m_stretches[first]);
    for (std::size_t stretch = first; stretch <= last; ++stretch) {
        const std::size_t start = std::max<std::size_t>(m_stretches[stretch].start, begin);
        m_pieces.push_back(
            Stretch{static_cast<std::uint32_t>(start), replacement(m_stretches[stretch].id)});
    }
    if (stretchEnd(last) > end)
        m_pieces.push_back(Stretch{static_cast<std::uint32_t>(end), m_stretches[last].id});
    spliceStretches(first, last + 1);
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
    spans.reserve(m_stretches.size());
    for (std::size_t stretch = 0; stretch < m_stretches.size(); ++stretch) {
        const std::size_t start = m_stretches[stretch].start;
        spans.push_back(FormatSpan{static_cast<int>(start),
                                   static_cast<int>(stretchEnd(stretch) - start),
                                   m_formats[m_stretches[stretch].id]});
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
