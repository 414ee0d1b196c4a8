// The behaviour every document pane shares, checked once for all of them. A pane joins by
// naming a factory type with
//     static std::unique_ptr<DocumentPane> create(const CharFormat& base);
// and instantiating the suite:
//     INSTANTIATE_TYPED_TEST_SUITE_P(MyPane, PaneConformance, ::testing::Types<MyPaneFactory>);
#pragma once

#include "platform/panes/document_pane.h"
#include "platform/richtext/rich_text.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

namespace keystride {

// Readable failures for the model's values.
inline void PrintTo(const CharFormat& format, std::ostream* out) {
    *out << "{" << format.font << " " << format.size << "pt " << format.colour.hex() << " on "
         << (format.background ? format.background->hex() : std::string("none"))
         << (format.bold ? " bold" : "") << (format.italic ? " italic" : "")
         << (format.underline ? " underline" : "") << "}";
}

inline void PrintTo(const FormatSpan& span, std::ostream* out) {
    *out << "[" << span.start << "+" << span.length << " ";
    PrintTo(span.format, out);
    *out << "]";
}

} // namespace keystride

namespace keystride::conformance {

inline CharFormat sourceBase() {
    CharFormat base;
    base.font = "Courier New";
    base.size = 9.75;
    return base;
}

template <typename Factory> class PaneConformance : public ::testing::Test {
protected:
    std::unique_ptr<DocumentPane> makePane(const CharFormat& base = CharFormat{}) {
        return Factory::create(base);
    }
    std::string file(const std::string& name) const { return m_folder.file(name); }

    static void select(DocumentPane& pane, int start, int length) {
        pane.setSelStart(start);
        pane.setSelLength(length);
    }

    // The format of the character at `pos`, read through the pane's own spans.
    static CharFormat formatAt(const DocumentPane& pane, int pos) {
        for (const FormatSpan& span : pane.formatSpans()) {
            if (pos >= span.start && pos < span.start + span.length)
                return span.format;
        }
        ADD_FAILURE() << "no span covers position " << pos;
        return CharFormat{};
    }

    // A document that uses every attribute the panes keep, one paragraph per spacing.
    void buildFormattedDocument(DocumentPane& pane) {
        pane.setText(u"Plain bold red\r\nArial ÿ€ – 你好\r\nend.  \r\nlast");
        select(pane, 6, 4);
        pane.setSelBold(true);
        select(pane, 11, 3);
        pane.setSelColour(colours::red);
        pane.setSelUnderline(true);
        select(pane, 14, 2); // the first paragraph break
        pane.setSelBackground(colours::paneGrey);
        select(pane, 16, 5);
        pane.setSelFontName("Arial");
        pane.setSelFontSize(14);
        select(pane, 22, 2);
        pane.setSelBackground(colours::blue);
        select(pane, 16, 1);
        pane.setSelLineSpacing(LineSpacing::OneAndAHalf);
        select(pane, 33, 2);
        pane.setSelLineSpacing(LineSpacing::Double);
        pane.setSelStart(0);
    }

private:
    testing::TempFolder m_folder;
};

TYPED_TEST_SUITE_P(PaneConformance);

TYPED_TEST_P(PaneConformance, SelectionIsClippedToTheText) {
    auto pane = this->makePane();
    pane->setText(u"abcdef");
    struct Row {
        int start, length;
        int expectStart, expectLength;
    };
    const Row rows[] = {{2, 3, 2, 3},  {2, 10, 2, 4}, {6, 1, 6, 0},
                        {10, 1, 6, 0}, {-4, 2, 0, 2}, {3, -1, 3, 0}};
    for (const Row& row : rows) {
        this->select(*pane, row.start, row.length);
        EXPECT_EQ(pane->selStart(), row.expectStart) << row.start << "," << row.length;
        EXPECT_EQ(pane->selLength(), row.expectLength) << row.start << "," << row.length;
    }
    this->select(*pane, 1, 3);
    EXPECT_EQ(pane->selText(), u"bcd");
    pane->setSelStart(4); // setting the start collapses the selection
    EXPECT_EQ(pane->selLength(), 0);
    EXPECT_EQ(pane->selText(), u"");
}

TYPED_TEST_P(PaneConformance, SetTextNormalisesLineEndsAndUsesTheBaseFormat) {
    auto pane = this->makePane(sourceBase());
    pane->setText(u"a\nb\rc\r\nd\r\n");
    EXPECT_EQ(pane->text(), u"a\r\nb\r\nc\r\nd\r\n");
    EXPECT_EQ(pane->textLength(), 12);
    EXPECT_EQ(pane->formatSpans(), (std::vector<FormatSpan>{{0, 12, sourceBase()}}));
    EXPECT_EQ(pane->paragraphSpacings(), std::vector<LineSpacing>(5, LineSpacing::Single));
    EXPECT_EQ(pane->selStart(), 0);
    EXPECT_EQ(pane->selLength(), 0);

    pane->setText(u"");
    EXPECT_EQ(pane->text(), u"");
    EXPECT_TRUE(pane->formatSpans().empty());
    EXPECT_EQ(pane->paragraphSpacings().size(), 1u);
}

TYPED_TEST_P(PaneConformance, ReplacedTextTakesTheFormatOfTheFirstSelectedCharacter) {
    auto pane = this->makePane();
    pane->setText(u"hello world");
    this->select(*pane, 0, 5);
    pane->setSelBold(true);
    this->select(*pane, 4, 3); // "o w": bold first
    pane->setSelText(u"O\nW");
    EXPECT_EQ(pane->text(), u"hellO\r\nWorld");
    EXPECT_EQ(pane->selStart(), 8);
    EXPECT_EQ(pane->selLength(), 0);
    for (int pos : {4, 5, 6, 7})
        EXPECT_TRUE(this->formatAt(*pane, pos).bold) << pos;
    EXPECT_FALSE(this->formatAt(*pane, 8).bold);

    this->select(*pane, 8, 4);
    pane->setSelText(u"");
    EXPECT_EQ(pane->text(), u"hellO\r\nW");
}

TYPED_TEST_P(PaneConformance, EmptySelectionInsertsInTheFormatBeforeTheCaret) {
    auto pane = this->makePane();
    pane->setText(u"ab");
    this->select(*pane, 0, 1);
    pane->setSelColour(colours::red);
    pane->setSelStart(1); // after the red "a"
    EXPECT_EQ(pane->selColour(), colours::red);
    pane->setSelText(u"x");
    EXPECT_EQ(this->formatAt(*pane, 1).colour, colours::red);
    EXPECT_EQ(pane->selStart(), 2);

    auto empty = this->makePane(sourceBase());
    empty->setText(u"");
    EXPECT_EQ(empty->selFontSize(), 9.75);
    EXPECT_EQ(empty->selFontName(), "Courier New");
    empty->setSelText(u"typed");
    EXPECT_EQ(empty->formatSpans(), (std::vector<FormatSpan>{{0, 5, sourceBase()}}));
}

TYPED_TEST_P(PaneConformance, FormatsSetOnAnEmptySelectionApplyToTheNextInsertion) {
    auto pane = this->makePane();
    pane->setText(u"Typed text");
    const auto before = pane->formatSpans();
    pane->setSelStart(10);
    pane->setSelBackground(colours::white);
    pane->setSelColour(colours::blue);
    pane->setSelBold(true);
    EXPECT_EQ(pane->formatSpans(), before); // nothing typed yet, nothing changed
    EXPECT_EQ(pane->selColour(), colours::blue);
    EXPECT_EQ(pane->selBold(), true);
    pane->setSelText(u"\r\nReport");
    CharFormat report = this->formatAt(*pane, 13);
    EXPECT_EQ(report.colour, colours::blue);
    EXPECT_TRUE(report.bold);
    EXPECT_EQ(report.background, colours::white);
    EXPECT_EQ(this->formatAt(*pane, 10), report); // the new paragraph break too

    // Moving the caret away and back forgets them.
    pane->setSelStart(2);
    pane->setSelUnderline(true);
    pane->setSelStart(0);
    pane->setSelStart(2);
    EXPECT_EQ(pane->selUnderline(), false);
    pane->setSelText(u"x");
    EXPECT_FALSE(this->formatAt(*pane, 2).underline);
}

TYPED_TEST_P(PaneConformance, MixedSelectionsReadAsNoSingleValue) {
    auto pane = this->makePane();
    pane->setText(u"abcd");
    this->select(*pane, 1, 1);
    pane->setSelColour(colours::red);
    pane->setSelFontName("Arial");
    pane->setSelFontSize(9.75);
    pane->setSelBold(true);
    pane->setSelUnderline(true);

    this->select(*pane, 0, 2); // plain + formatted
    EXPECT_EQ(pane->selColour(), std::nullopt);
    EXPECT_EQ(pane->selFontName(), std::nullopt);
    EXPECT_EQ(pane->selFontSize(), std::nullopt);
    EXPECT_EQ(pane->selBold(), std::nullopt);
    EXPECT_EQ(pane->selUnderline(), std::nullopt);

    this->select(*pane, 1, 1);
    EXPECT_EQ(pane->selColour(), colours::red);
    EXPECT_EQ(pane->selFontName(), "Arial");
    EXPECT_EQ(pane->selFontSize(), 9.75);
    EXPECT_EQ(pane->selBold(), true);
    EXPECT_EQ(pane->selUnderline(), true);

    this->select(*pane, 2, 2);
    EXPECT_EQ(pane->selFontName(), "Courier New");
    EXPECT_EQ(pane->selFontSize(), 12.0);
    EXPECT_EQ(pane->selBold(), false);

    // Differing only in background leaves every attribute that is read single-valued.
    this->select(*pane, 3, 1);
    pane->setSelBackground(colours::red);
    this->select(*pane, 2, 2);
    EXPECT_EQ(pane->selColour(), colours::black);
    EXPECT_EQ(pane->selFontName(), "Courier New");
}

TYPED_TEST_P(PaneConformance, BackgroundChangesNothingElse) {
    auto pane = this->makePane();
    pane->setText(u"error word");
    this->select(*pane, 0, 5);
    pane->setSelBold(true);
    pane->setSelColour(colours::white);
    pane->setSelFontName("Courier1");
    this->select(*pane, 0, 10);
    pane->setSelBackground(colours::red);
    auto spans = pane->formatSpans();
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].format.font, "Courier1");
    EXPECT_TRUE(spans[0].format.bold);
    EXPECT_EQ(spans[0].format.colour, colours::white);
    EXPECT_EQ(spans[0].format.background, colours::red);
    EXPECT_EQ(spans[1].format.font, "Courier New");
    EXPECT_EQ(spans[1].format.background, colours::red);

    pane->setSelBackground(std::nullopt);
    for (const FormatSpan& span : pane->formatSpans())
        EXPECT_FALSE(span.format.background.has_value());
}

TYPED_TEST_P(PaneConformance, ACarriageReturnIsFormattedApartFromItsLineFeed) {
    auto pane = this->makePane();
    pane->setText(u"ab\r\ncd");
    this->select(*pane, 2, 1);
    EXPECT_EQ(pane->selText(), u"\r");
    pane->setSelBold(true);
    pane->setSelColour(colours::red);
    CharFormat marked;
    marked.bold = true;
    marked.colour = colours::red;
    EXPECT_EQ(
        pane->formatSpans(),
        (std::vector<FormatSpan>{{0, 2, CharFormat{}}, {2, 1, marked}, {3, 3, CharFormat{}}}));
    EXPECT_EQ(pane->text(), u"ab\r\ncd");
}

TYPED_TEST_P(PaneConformance, LineSpacingCoversEveryTouchedParagraph) {
    using enum LineSpacing;
    auto pane = this->makePane();
    pane->setText(u"one\r\ntwo\r\nthree\r\nfour");
    this->select(*pane, 6, 6); // from inside "two" into "three"
    pane->setSelLineSpacing(Double);
    EXPECT_EQ(pane->paragraphSpacings(),
              (std::vector<LineSpacing>{Single, Double, Double, Single}));

    pane->setSelStart(19); // caret inside "four"
    pane->setSelLineSpacing(OneAndAHalf);
    EXPECT_EQ(pane->paragraphSpacings(),
              (std::vector<LineSpacing>{Single, Double, Double, OneAndAHalf}));

    // The Format menu's selection: from the second character to the end.
    this->select(*pane, 1, pane->textLength());
    pane->setSelLineSpacing(OneAndAHalf);
    EXPECT_EQ(pane->paragraphSpacings(), std::vector<LineSpacing>(4, OneAndAHalf));

    // A selection that ends where a paragraph begins leaves that paragraph alone, but the
    // Format menu's selection reaches an empty last paragraph.
    pane->setText(u"one\r\ntwo\r\n");
    this->select(*pane, 0, 5);
    pane->setSelLineSpacing(Double);
    EXPECT_EQ(pane->paragraphSpacings(), (std::vector<LineSpacing>{Double, Single, Single}));
    this->select(*pane, 1, pane->textLength());
    pane->setSelLineSpacing(OneAndAHalf);
    EXPECT_EQ(pane->paragraphSpacings(), std::vector<LineSpacing>(3, OneAndAHalf));
}

TYPED_TEST_P(PaneConformance, ParagraphFormatsFollowInsertedAndDeletedBreaks) {
    using enum LineSpacing;
    auto pane = this->makePane();
    pane->setText(u"one\r\ntwo\r\nthree");
    pane->setSelStart(5);
    pane->setSelLineSpacing(Double);
    pane->setSelStart(7); // inside "two"
    pane->setSelText(u"\r\n\r\n");
    EXPECT_EQ(pane->text(), u"one\r\ntw\r\n\r\no\r\nthree");
    EXPECT_EQ(pane->paragraphSpacings(),
              (std::vector<LineSpacing>{Single, Double, Double, Double, Single}));

    this->select(*pane, 6, 8); // from "tw" into "three": four paragraphs join into the first
    pane->setSelText(u"");
    EXPECT_EQ(pane->text(), u"one\r\ntthree");
    EXPECT_EQ(pane->paragraphSpacings(), (std::vector<LineSpacing>{Single, Double}));
}

// The source pane's design size and its zoom steps (9.75 + 4n) are not whole half-points; the
// markup carries them exactly beside the rounded \fs.
TYPED_TEST_P(PaneConformance, SizesBetweenHalfPointsSurviveTextRtf) {
    auto pane = this->makePane(sourceBase());
    pane->setText(u"source text\r\nzoomed");
    this->select(*pane, 13, 6);
    pane->setSelFontSize(13.75);
    auto copy = this->makePane();
    copy->setTextRtf(pane->textRtf());
    EXPECT_EQ(copy->formatSpans(), pane->formatSpans());
    this->select(*copy, 0, 11);
    EXPECT_EQ(copy->selFontSize(), 9.75);
}

TYPED_TEST_P(PaneConformance, SentenceEndTidyOfTheMarkupIsReadBack) {
    auto pane = this->makePane();
    pane->setText(u"end.  \r\nNext");
    std::string rtf = pane->textRtf();
    const std::string find = ".  \r";
    std::size_t at = rtf.find(find);
    ASSERT_NE(at, std::string::npos) << rtf;
    rtf.replace(at, find.size(), ".\r");
    pane->setTextRtf(rtf);
    EXPECT_EQ(pane->text(), u"end.\r\nNext");
    EXPECT_EQ(pane->formatSpans(), (std::vector<FormatSpan>{{0, 10, CharFormat{}}}));
}

TYPED_TEST_P(PaneConformance, MarkupThatIsNotRtfIsPlainText) {
    auto pane = this->makePane(sourceBase());
    pane->setTextRtf("just text\r\n{not rtf}");
    EXPECT_EQ(pane->text(), u"just text\r\n{not rtf}");
    EXPECT_EQ(pane->formatSpans().size(), 1u);
    EXPECT_EQ(pane->formatSpans()[0].format, sourceBase());
}

// The markup is what is saved, and it reads back as the same document, through the file or not.
TYPED_TEST_P(PaneConformance, SavedFilesAndTextRtfReadBackTheSameDocument) {
    auto pane = this->makePane();
    this->buildFormattedDocument(*pane);
    const std::string rtf = pane->textRtf();
    EXPECT_NE(rtf.find("\\sl360\\"), std::string::npos);
    EXPECT_NE(rtf.find("\\sl480\\"), std::string::npos);
    const std::string path = this->file("test.rtf");
    testing::writeFile(path, "an older file");
    ASSERT_EQ(pane->saveFile(path), std::nullopt);
    EXPECT_EQ(testing::readFile(path), rtf);

    auto loaded = this->makePane();
    ASSERT_EQ(loaded->loadFile(path), std::nullopt);
    auto copy = this->makePane();
    copy->setTextRtf(rtf);
    for (const DocumentPane* read : {loaded.get(), copy.get()}) {
        EXPECT_EQ(read->text(), pane->text());
        EXPECT_EQ(read->formatSpans(), pane->formatSpans());
        EXPECT_EQ(read->paragraphSpacings(), pane->paragraphSpacings());
        EXPECT_EQ(read->textRtf(), rtf); // stable from the first write on
    }
}

TYPED_TEST_P(PaneConformance, PlainTextFilesLoadInTheBaseFormat) {
    struct Row {
        const char* name;
        std::string bytes;
        std::u16string text;
    };
    const Row rows[] = {
        {"utf8.txt", "caf\xc3\xa9 \xe2\x82\xac\nline two\r\n", u"café €\r\nline two\r\n"},
        {"cp1252.txt", "caf\xe9 \x80\rline two", u"café €\r\nline two"},
        {"disguised.rtf", "{not really rtf}\r\n", u"{not really rtf}\r\n"},
    };
    for (const Row& row : rows) {
        const std::string path = this->file(row.name);
        testing::writeFile(path, row.bytes);
        auto pane = this->makePane(sourceBase());
        ASSERT_EQ(pane->loadFile(path), std::nullopt) << row.name;
        EXPECT_EQ(pane->text(), row.text) << row.name;
        EXPECT_EQ(pane->formatSpans(),
                  (std::vector<FormatSpan>{{0, static_cast<int>(row.text.size()), sourceBase()}}))
            << row.name;
        EXPECT_TRUE(pane->changed()) << row.name;
    }
}

TYPED_TEST_P(PaneConformance, AFailedLoadLeavesTheContentAlone) {
    auto pane = this->makePane();
    pane->setText(u"kept");
    pane->setChanged(false);
    FileResult missing = pane->loadFile(this->file("missing.rtf"));
    ASSERT_TRUE(missing.has_value());
    EXPECT_EQ(missing->code, errorcodes::FileNotFound);
    FileResult folder = pane->loadFile(this->file(""));
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(folder->code, errorcodes::PathFileAccess);
    EXPECT_EQ(pane->text(), u"kept");
    EXPECT_FALSE(pane->changed());

    FileResult unwritable = pane->saveFile(this->file("no-folder/test.rtf"));
    ASSERT_TRUE(unwritable.has_value());
    EXPECT_EQ(unwritable->code, errorcodes::PathFileAccess);
}

TYPED_TEST_P(PaneConformance, EveryContentChangeSetsTheChangedFlag) {
    auto pane = this->makePane();
    const std::string rtf = [&] {
        auto other = this->makePane();
        other->setText(u"x");
        return other->textRtf();
    }();
    // Each change acts with "ome" selected.
    const std::pair<const char*, std::function<void(DocumentPane&)>> changes[] = {
        {"setText", [](DocumentPane& p) { p.setText(u"new"); }},
        {"setTextRtf", [&](DocumentPane& p) { p.setTextRtf(rtf); }},
        {"setSelText", [](DocumentPane& p) { p.setSelText(u"typed"); }},
        {"setSelBold", [](DocumentPane& p) { p.setSelBold(true); }},
        {"setSelColour", [](DocumentPane& p) { p.setSelColour(colours::red); }},
        {"setSelBackground", [](DocumentPane& p) { p.setSelBackground(colours::red); }},
        {"setSelLineSpacing", [](DocumentPane& p) { p.setSelLineSpacing(LineSpacing::Double); }},
    };
    for (const auto& [name, change] : changes) {
        pane->setText(u"some text");
        pane->setChanged(false);
        this->select(*pane, 1, 3); // moving the selection is no change
        EXPECT_FALSE(pane->changed()) << name;
        change(*pane);
        EXPECT_TRUE(pane->changed()) << name;
    }
}

REGISTER_TYPED_TEST_SUITE_P(
    PaneConformance, SelectionIsClippedToTheText, SetTextNormalisesLineEndsAndUsesTheBaseFormat,
    ReplacedTextTakesTheFormatOfTheFirstSelectedCharacter,
    EmptySelectionInsertsInTheFormatBeforeTheCaret,
    FormatsSetOnAnEmptySelectionApplyToTheNextInsertion, MixedSelectionsReadAsNoSingleValue,
    BackgroundChangesNothingElse, ACarriageReturnIsFormattedApartFromItsLineFeed,
    LineSpacingCoversEveryTouchedParagraph, ParagraphFormatsFollowInsertedAndDeletedBreaks,
    SavedFilesAndTextRtfReadBackTheSameDocument, SizesBetweenHalfPointsSurviveTextRtf,
    SentenceEndTidyOfTheMarkupIsReadBack, MarkupThatIsNotRtfIsPlainText,
    PlainTextFilesLoadInTheBaseFormat, AFailedLoadLeavesTheContentAlone,
    EveryContentChangeSetsTheChangedFlag);

} // namespace keystride::conformance
