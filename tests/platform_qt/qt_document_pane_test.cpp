#include "support/pane_conformance.h"
#include "support/qt/qt_application.h"

#include "platform/panes/qt/qt_document_pane.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QtTest/QTest>

namespace keystride::conformance {

// Batched: a pane on screen in the middle of a batch (a marking run) behaves the same through
// the pane's operations.
template <bool Batched> struct QtPaneFactory {
    static std::unique_ptr<DocumentPane> create(const CharFormat& base) {
        testing::qtApplication();
        auto pane = std::make_unique<QtDocumentPane>();
        pane->setBaseFormat(base);
        if constexpr (Batched) {
            pane->editor()->resize(400, 300);
            pane->editor()->show();
            pane->setBatching(true);
        }
        return pane;
    }
};

INSTANTIATE_TYPED_TEST_SUITE_P(Qt, PaneConformance, ::testing::Types<QtPaneFactory<false>>);
INSTANTIATE_TYPED_TEST_SUITE_P(QtBatched, PaneConformance, ::testing::Types<QtPaneFactory<true>>);

} // namespace keystride::conformance

namespace keystride {
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
    // Shift+Enter would put a line break inside a paragraph, which the plain text has no CR LF
    // for: it starts a paragraph as Enter does.
    pane->setChanged(false);
    QTest::keyClick(pane->editor(), Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(pane->text(), u"ab\r\nc\r\nd");
    EXPECT_TRUE(pane->changed());
}

// What the reader sees: the paragraph's line height and a marked fault's background.
TEST(QtPaneFormats, SpacingAndBackgroundMapOntoTheEditorsFormats) {
    auto pane = makePane(u"one\r\ntwo\r\nthree");
    pane->setSelStart(5);
    pane->setSelLength(6);
    pane->setSelLineSpacing(LineSpacing::OneAndAHalf);
    pane->setSelStart(12);
    pane->setSelLineSpacing(LineSpacing::Double);
    pane->setSelStart(0);
    pane->setSelLength(3);
    pane->setSelBackground(colours::red);
    QTextDocument* doc = pane->editor()->document();
    const int heights[] = {100, 150, 200};
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        EXPECT_EQ(b.blockFormat().lineHeightType(), QTextBlockFormat::ProportionalHeight);
        EXPECT_EQ(qRound(b.blockFormat().lineHeight()), heights[b.blockNumber()]);
    }
    QTextCursor cursor(doc);
    cursor.setPosition(1);
    EXPECT_EQ(cursor.charFormat().background().color(), QColor(255, 0, 0));
}

// A marking run edits a pane on screen in one batch; afterwards the editor shows the pane's
// selection and lays the text out again.
TEST(QtDocumentPane, EndingABatchHandsTheSelectionAndLayoutBackToTheEditor) {
    auto pane = makePane(u"First line of the test\r\nsecond line\r\nthird");
    pane->editor()->resize(400, 300);
    pane->editor()->show();
    pane->setBatching(true);
    pane->setSelStart(24);
    pane->setSelText(u"the ");
    pane->setSelStart(28);
    pane->setSelLength(6);
    pane->setSelBold(true);
    pane->setBatching(false);

    EXPECT_EQ(pane->text(), u"First line of the test\r\nthe second line\r\nthird");
    EXPECT_TRUE(pane->editor()->updatesEnabled());
    EXPECT_EQ(pane->editor()->textCursor().selectedText(), QStringLiteral("second"));
    QTextBlock second = pane->editor()->document()->findBlockByNumber(1);
    EXPECT_GT(pane->editor()->document()->documentLayout()->blockBoundingRect(second).top(), 0.0);
}

} // namespace
} // namespace keystride
