// The Format menu over the workspace: line spacing set, ticked and detected again when a saved
// test is opened, and zoom within each pane's limits.
#include "workspace_fixture.h"

#include "documents/line_spacing.h"
#include "documents/zoom.h"

namespace keystride::testing {
namespace {

using enum LineSpacing;
using Format = WorkspaceTest;

TEST_F(Format, EachSpacingIsSetTickedAndDetectedWhenTheSavedTestIsOpened) {
    struct Row {
        void (*command)(WorkspaceContext&);
        int mode;
        LineSpacing spacing;
    };
    const Row rows[] = {
        {mnu15LineSpacing, 1, OneAndAHalf}, {mnuDouble, 2, Double}, {mnuSingle, 0, Single}};
    for (const Row& row : rows) {
        typed.setText(u"First paragraph\r\nsecond\r\n\r\nlast");
        row.command(context);
        EXPECT_EQ(state.LineSpacingMode, row.mode);
        EXPECT_EQ(view.lineSpacingCheck(), row.mode);
        EXPECT_EQ(typed.paragraphSpacings(), std::vector<LineSpacing>(4, row.spacing));
        // The selection from the second character on stays.
        EXPECT_EQ(typed.selStart(), 1);
        EXPECT_EQ(typed.selLength(), typed.textLength() - 1);

        ASSERT_EQ(typed.saveFile(currentFile("spacing.rtf")), std::nullopt);
        typed.setText(u"");
        view.setLineSpacingCheck(row.mode == 2 ? 0 : 2); // a stale mark
        ASSERT_EQ(typed.loadFile(currentFile("spacing.rtf")), std::nullopt);
        KykvirSpasiering(context);
        EXPECT_EQ(state.LineSpacingMode, row.mode);
        EXPECT_EQ(view.lineSpacingCheck(), row.mode);
    }
    // An empty test still takes the mode and the mark.
    typed.setText(u"");
    mnuDouble(context);
    EXPECT_EQ(view.lineSpacingCheck(), 2);
}

TEST_F(Format, DetectionPrefersOneAndAHalfAndLeavesPlainTestsAlone) {
    // One paragraph at 1.5, one at double: the 1.5 command spaces the whole test first, so the
    // markup read again no longer holds the double spacing.
    typed.setText(u"one\r\ntwo");
    typed.setSelLineSpacing(OneAndAHalf);
    typed.setSelStart(6);
    typed.setSelLineSpacing(Double);
    KykvirSpasiering(context);
    EXPECT_EQ(state.LineSpacingMode, 1);
    EXPECT_EQ(typed.paragraphSpacings(), (std::vector<LineSpacing>{OneAndAHalf, OneAndAHalf}));

    // Neither value: single, and the test is not touched.
    typed.setText(u"plain\r\ntext");
    typed.setSelStart(3);
    typed.setChanged(false);
    KykvirSpasiering(context);
    EXPECT_EQ(state.LineSpacingMode, 0);
    EXPECT_EQ(view.lineSpacingCheck(), 0);
    EXPECT_EQ(typed.selStart(), 3);
    EXPECT_FALSE(typed.changed());
}

TEST_F(Format, ZoomStaysInsideEachPanesLimits) {
    struct Row {
        void (*command)(WorkspaceContext&);
        bool sourcePane;
        int times;
        double expected;
    };
    const Row rows[] = {
        {mnuplus, false, 1, 16}, {mnuplus, false, 6, 36}, {mnuplus, false, 7, 36},
        {mnuminus, false, 2, 4}, {mnuminus, false, 3, 4}, {mnuIn, true, 5, 29.75},
        {mnuIn, true, 6, 29.75}, {mnuUit, true, 1, 5.75}, {mnuUit, true, 2, 5.75},
    };
    for (const Row& row : rows) {
        typed.setText(u"typed\r\ntext");
        source.setText(u"source\r\ntext");
        DocumentPane& pane = row.sourcePane ? static_cast<DocumentPane&>(source) : typed;
        for (int i = 0; i < row.times; ++i)
            row.command(context);
        // The source stays selected as a whole; the speed test's caret goes to its start.
        EXPECT_EQ(pane.selStart(), 0);
        EXPECT_EQ(pane.selLength(), row.sourcePane ? pane.textLength() : 0);
        pane.setSelLength(pane.textLength());
        EXPECT_EQ(pane.selFontSize(), row.expected) << row.times << " times";
    }
    // A test of mixed sizes is not zoomed.
    typed.setSelLength(5);
    typed.setSelFontSize(8);
    const auto before = typed.formatSpans();
    mnuplus(context);
    EXPECT_EQ(typed.formatSpans(), before);
}

} // namespace
} // namespace keystride::testing
