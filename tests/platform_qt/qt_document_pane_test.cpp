#include "support/pane_conformance.h"
#include "support/qt/qt_application.h"

#include "platform/panes/qt/qt_document_pane.h"

#include <QAbstractTextDocumentLayout>
#include <QMimeData>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest/QTest>

namespace keystride {
namespace {

struct QtPaneFactory {
    static std::unique_ptr<DocumentPane> create(const CharFormat& base) {
        testing::qtApplication();
        auto pane = std::make_unique<QtDocumentPane>();
        pane->setBaseFormat(base);
        return pane;
    }
};

} // namespace

namespace conformance {
// A pane on screen in the middle of a batch (a marking run) behaves the same through the pane's
// operations.
struct QtBatchedPaneFactory {
    static std::unique_ptr<DocumentPane> create(const CharFormat& base) {
        testing::qtApplication();
        auto pane = std::make_unique<QtDocumentPane>();
        pane->setBaseFormat(base);
        pane->editor()->resize(400, 300);
        pane->editor()->show();
        pane->setBatching(true);
        return pane;
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Qt, PaneConformance, ::testing::Types<QtPaneFactory>);
INSTANTIATE_TYPED_TEST_SUITE_P(QtBatched, PaneConformance, ::testing::Types<QtBatchedPaneFactory>);
} // namespace conformance

namespace {

std::unique_ptr<QtDocumentPane> makePane(std::u16string_view text) {
    testing::qtApplication();
    auto pane = std::make_unique<QtDocumentPane>();
    pane->setText(text);
    return pane;
}

TEST(QtPanePositions, SelectionEdgesBetweenCrAndLfReadBackAsSet) {
    auto pane = makePane(u"ab\r\ncd");
    pane->setSelStart(3);
    pane->setSelLength(2);
    EXPECT_EQ(pane->selStart(), 3);
    EXPECT_EQ(pane->selLength(), 2);
    EXPECT_EQ(pane->selText(), u"\nc");
    // The editor shows the selection from the end of "ab" to after "c".
    QTextCursor cursor = pane->editor()->textCursor();
    EXPECT_EQ(cursor.selectionStart(), 2);
    EXPECT_EQ(cursor.selectionEnd(), 4);
    // Once the user moves the caret, the editor's own selection counts again.
    cursor.setPosition(4);
    pane->editor()->setTextCursor(cursor);
    EXPECT_EQ(pane->selStart(), 5);
    EXPECT_EQ(pane->selLength(), 0);
}

TEST(QtPaneFormats, SpacingAndAttributesMapOntoTheEditorsFormats) {
    auto pane = makePane(u"one\r\ntwo\r\nthree");
    pane->setSelStart(5);
    pane->setSelLength(6);
    pane->setSelLineSpacing(LineSpacing::OneAndAHalf);
    pane->setSelStart(12);
    pane->setSelLineSpacing(LineSpacing::Double);
    QTextDocument* doc = pane->editor()->document();
    const int heights[] = {100, 150, 200};
    int block = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next(), ++block) {
        EXPECT_EQ(b.blockFormat().lineHeightType(), QTextBlockFormat::ProportionalHeight);
        EXPECT_EQ(qRound(b.blockFormat().lineHeight()), heights[block]) << "block " << block;
    }

    pane->setSelStart(0);
    pane->setSelLength(3);
    pane->setSelBold(true);
    pane->setSelUnderline(true);
    pane->setSelFontName("Arial");
    pane->setSelFontSize(9.75);
    pane->setSelBackground(colours::red);
    QTextCursor cursor(doc);
    cursor.setPosition(1);
    QTextCharFormat format = cursor.charFormat();
    EXPECT_EQ(format.fontWeight(), QFont::Bold);
    EXPECT_TRUE(format.fontUnderline());
    EXPECT_EQ(format.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    EXPECT_DOUBLE_EQ(format.fontPointSize(), 9.75);
    EXPECT_EQ(format.background().color(), QColor(255, 0, 0));
}

// Shift+Enter would put a line break inside a paragraph, which the plain text has no CR LF for.
TEST(QtPaneEditor, ShiftEnterStartsAParagraphAsEnterDoes) {
    auto pane = makePane(u"");
    QTest::keyClicks(pane->editor(), QStringLiteral("ab"));
    QTest::keyClick(pane->editor(), Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(pane->editor(), QStringLiteral("c"));
    EXPECT_EQ(pane->text(), u"ab\r\nc");
    EXPECT_TRUE(pane->changed());
}

TEST(QtPaneEditor, PastedTextArrivesAsParagraphsInTheCurrentFormat) {
    auto pane = makePane(u"start ");
    pane->setSelStart(6);
    QMimeData data;
    data.setHtml(QStringLiteral("<table><tr><td>x</td></tr></table>"));
    data.setText(QStringLiteral("one\ntwo\r\nthree"));
    pane->editor()->insertFromMimeData(&data);
    EXPECT_EQ(pane->text(), u"start one\r\ntwo\r\nthree");
    EXPECT_EQ(pane->formatSpans().size(), 1u);
}

TEST(QtDocumentPane, EndingABatchHandsTheSelectionAndLayoutBackToTheEditor) {
    auto pane = makePane(u"First line of the test\r\nsecond line\r\nthird");
    pane->editor()->resize(400, 300);
    pane->editor()->show();
    const QSizeF page = pane->editor()->document()->pageSize();
    pane->setBatching(true);
    pane->setSelStart(6);
    pane->setSelLength(4);
    pane->setSelColour(colours::red);
    pane->setSelStart(24);
    pane->setSelText(u"the ");
    pane->setSelStart(28);
    pane->setSelLength(6);
    pane->setSelBold(true);
    pane->setBatching(false);

    EXPECT_EQ(pane->text(), u"First line of the test\r\nthe second line\r\nthird");
    EXPECT_EQ(pane->editor()->document()->pageSize(), page);
    EXPECT_TRUE(pane->editor()->updatesEnabled());
    // The editor's own cursor now holds the pane's selection: "second" in the second paragraph.
    QTextCursor cursor = pane->editor()->textCursor();
    EXPECT_EQ(cursor.selectedText(), QStringLiteral("second"));
    EXPECT_EQ(pane->selStart(), 28);
    EXPECT_EQ(pane->selLength(), 6);
    EXPECT_EQ(pane->selBold(), true);
    pane->setSelStart(6);
    pane->setSelLength(4);
    EXPECT_EQ(pane->selColour(), colours::red);
    // The document is laid out again: the second paragraph sits below the first.
    QTextBlock second = pane->editor()->document()->findBlockByNumber(1);
    EXPECT_GT(pane->editor()->document()->documentLayout()->blockBoundingRect(second).top(), 0.0);
}

} // namespace
} // namespace keystride
