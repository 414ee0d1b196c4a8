// The behaviour every document pane shares, checked once for all of them. A pane joins by
// naming a factory type with
//     static std::unique_ptr<DocumentPane> create(const CharFormat& base);
// and instantiating the suite:
//     INSTANTIATE_TYPED_TEST_SUITE_P(MyPane, PaneConformance, ::testing::Types<MyPaneFactory>);
// Reading and writing the markup and decoding plain text are the readers' and the writer's own
// tests; here is what each pane adds: its document model and how it hands that over.
#pragma once

#include "platform/panes/document_pane.h"
#include "platform/richtext/rich_text.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace keystride::conformance {

inline const CharFormat SourceBase{"Courier New", 9.75};

template <typename Factory> class PaneConformance : public ::testing::Test {
protected:
    std::unique_ptr<DocumentPane> makePane(const CharFormat& base = CharFormat{}) {
        return Factory::create(base);
    }
    std::string file(const std::string& name) const { return m_folder.file(name); }

    static DocumentPane& select(DocumentPane& pane, int start, int length) {
        pane.setSelStart(start);
        pane.setSelLength(length);
        return pane;
    }

    // A document that uses every attribute the panes keep, one paragraph per spacing, and a
    // size between half-points as the source pane's zoom steps (9.75 + 4n) are.
    void buildFormattedDocument(DocumentPane& pane) {
        pane.setText(u"Plain bold red\r\nArial ÿ€ – 你好\r\nend.  \r\nlast");
        select(pane, 6, 4).setSelBold(true);
        select(pane, 11, 3).setSelColour(colours::red);
        pane.setSelUnderline(true);
        select(pane, 14, 2).setSelBackground(colours::paneGrey); // the first paragraph break
        select(pane, 16, 5).setSelFontName("Arial");
        pane.setSelFontSize(13.75);
        select(pane, 22, 2).setSelBackground(colours::blue);
        select(pane, 16, 1).setSelLineSpacing(LineSpacing::OneAndAHalf);
        select(pane, 33, 2).setSelLineSpacing(LineSpacing::Double);
        pane.setSelStart(0);
    }

private:
    testing::TempFolder m_folder;
};

TYPED_TEST_SUITE_P(PaneConformance);

TYPED_TEST_P(PaneConformance, SelectionIsClippedToTheText) {
    auto pane = this->makePane();
    pane->setText(u"abcdef");
    // Asked for, and clipped to.
    const std::pair<std::pair<int, int>, std::pair<int, int>> rows[] = {
        {{2, 10}, {2, 4}}, {{10, 1}, {6, 0}}, {{-4, 2}, {0, 2}}, {{3, -1}, {3, 0}}};
    for (const auto& [asked, clipped] : rows) {
        this->select(*pane, asked.first, asked.second);
        EXPECT_EQ(std::pair(pane->selStart(), pane->selLength()), clipped) << asked.first;
    }
    this->select(*pane, 1, 3);
    EXPECT_EQ(pane->selText(), u"bcd");
    pane->setSelStart(4); // setting the start collapses the selection
    EXPECT_EQ(pane->selText(), u"");
}

// What the learner types into a new test is in the pane's base format, which the Courier check
// and the marks read.
TYPED_TEST_P(PaneConformance, TypingIntoAnEmptyPaneUsesItsBaseFormat) {
    auto pane = this->makePane(SourceBase);
    pane->setText(u"");
    pane->setSelText(u"typed");
    EXPECT_EQ(pane->formatSpans(), (std::vector<FormatSpan>{{0, 5, SourceBase}}));
}

// The Courier check reads the font of the whole test and zooming its size: a mixed text has
// neither, even where it differs only in background.
TYPED_TEST_P(PaneConformance, MixedSelectionsReadAsNoSingleValue) {
    auto pane = this->makePane();
    pane->setText(u"abcd");
    this->select(*pane, 1, 1).setSelFontName("Arial");
    pane->setSelFontSize(9.75);
    this->select(*pane, 3, 1).setSelBackground(colours::red);
    this->select(*pane, 0, 2);
    EXPECT_EQ(pane->selFontName(), std::nullopt);
    EXPECT_EQ(pane->selFontSize(), std::nullopt);
    this->select(*pane, 2, 2);
    EXPECT_EQ(pane->selFontName(), "Courier New");
    EXPECT_EQ(pane->selFontSize(), 12.0);
}

// Colour marking paints over the font marking of a repeated error.
TYPED_TEST_P(PaneConformance, BackgroundChangesNothingElse) {
    auto pane = this->makePane();
    pane->setText(u"error word");
    this->select(*pane, 0, 5).setSelBold(true);
    pane->setSelFontName("Courier1");
    this->select(*pane, 0, 10).setSelBackground(colours::red);
    CharFormat marked{"Courier1", 12.0, colours::black, colours::red, true};
    CharFormat plain{"Courier New", 12.0, colours::black, colours::red};
    EXPECT_EQ(pane->formatSpans(), (std::vector<FormatSpan>{{0, 5, marked}, {5, 5, plain}}));

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
    const CharFormat marked{"Courier New", 12.0, colours::red, {}, true};
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
    pane->setSelStart(19); // caret inside "four"
    pane->setSelLineSpacing(OneAndAHalf);
    EXPECT_EQ(pane->paragraphSpacings(),
              (std::vector<LineSpacing>{Single, Double, Double, OneAndAHalf}));

    // A selection that ends where a paragraph begins leaves that paragraph alone, but the
    // Format menu's selection (from the second character to the end) reaches an empty last
    // paragraph.
    pane->setText(u"one\r\ntwo\r\n");
    this->select(*pane, 0, 5).setSelLineSpacing(Double);
    EXPECT_EQ(pane->paragraphSpacings(), (std::vector<LineSpacing>{Double, Single, Single}));
    this->select(*pane, 1, pane->textLength()).setSelLineSpacing(OneAndAHalf);
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

// The markup is what is saved, and it reads back as the same document, through the file or not.
TYPED_TEST_P(PaneConformance, SavedFilesAndTextRtfReadBackTheSameDocument) {
    auto pane = this->makePane();
    this->buildFormattedDocument(*pane);
    const std::string rtf = pane->textRtf();
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

TYPED_TEST_P(PaneConformance, PlainTextFilesLoadInTheBaseFormatAndFailedLoadsChangeNothing) {
    const std::pair<const char*, std::string> rows[] = {
        {"cp1252.txt", "caf\xe9 \x80\rline two"},
        {"disguised.rtf", "caf\xc3\xa9 \xe2\x82\xac\nline two"},
    };
    for (const auto& [name, bytes] : rows) {
        const std::string path = this->file(name);
        testing::writeFile(path, bytes);
        auto pane = this->makePane(SourceBase);
        ASSERT_EQ(pane->loadFile(path), std::nullopt) << name;
        EXPECT_EQ(pane->text(), u"café €\r\nline two") << name;
        EXPECT_EQ(pane->formatSpans(), (std::vector<FormatSpan>{{0, 16, SourceBase}})) << name;
        EXPECT_TRUE(pane->changed()) << name;
    }

    auto pane = this->makePane();
    pane->setText(u"kept");
    pane->setChanged(false);
    EXPECT_EQ(pane->loadFile(this->file("missing.rtf")).value_or(FileError{}).code,
              errorcodes::FileNotFound);
    EXPECT_EQ(pane->text(), u"kept");
    EXPECT_FALSE(pane->changed());
}

TYPED_TEST_P(PaneConformance, EveryContentChangeSetsTheChangedFlag) {
    auto pane = this->makePane();
    const std::string rtf = "{\\rtf1\\ansi x}";
    // Each change acts with "ome" selected.
    const std::pair<const char*, std::function<void(DocumentPane&)>> changes[] = {
        {"setText", [](DocumentPane& p) { p.setText(u"new"); }},
        {"setTextRtf", [&](DocumentPane& p) { p.setTextRtf(rtf); }},
        {"setSelText", [](DocumentPane& p) { p.setSelText(u"typed"); }},
        // Every character attribute goes through the same change of the selection's format.
        {"setSelBold", [](DocumentPane& p) { p.setSelBold(true); }},
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

REGISTER_TYPED_TEST_SUITE_P(PaneConformance, SelectionIsClippedToTheText,
                            TypingIntoAnEmptyPaneUsesItsBaseFormat,
                            MixedSelectionsReadAsNoSingleValue, BackgroundChangesNothingElse,
                            ACarriageReturnIsFormattedApartFromItsLineFeed,
                            LineSpacingCoversEveryTouchedParagraph,
                            ParagraphFormatsFollowInsertedAndDeletedBreaks,
                            SavedFilesAndTextRtfReadBackTheSameDocument,
                            PlainTextFilesLoadInTheBaseFormatAndFailedLoadsChangeNothing,
                            EveryContentChangeSetsTheChangedFlag);

} // namespace keystride::conformance
