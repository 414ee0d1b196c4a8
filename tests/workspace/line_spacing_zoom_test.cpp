#include "workspace_fixture.h"

#include "documents/line_spacing.h"
#include "documents/zoom.h"

namespace keystride::testing {
namespace {

using enum LineSpacing;
using Format = WorkspaceTest;

TEST_F(Format, EachSpacingCommandSetsTheModeTheMarkAndEveryParagraph) {
    struct Row {
        void (*command)(WorkspaceContext&);
        int mode;
        LineSpacing spacing;
    };
    const Row rows[] = {
        {mnu15LineSpacing, 1, OneAndAHalf}, {mnuDouble, 2, Double}, {mnuSingle, 0, Single}};
    typed.setText(u"First paragraph\r\nsecond\r\n\r\nlast");
    for (const Row& row : rows) {
        row.command(context);
        EXPECT_EQ(state.LineSpacingMode, row.mode);
        EXPECT_EQ(view.lineSpacingCheck(), row.mode);
        EXPECT_EQ(typed.paragraphSpacings(), std::vector<LineSpacing>(4, row.spacing));
        // The selection from the second character on stays.
        EXPECT_EQ(typed.selStart(), 1);
        EXPECT_EQ(typed.selLength(), typed.textLength() - 1);
    }
    // An empty test still takes the mode and the mark.
    typed.setText(u"");
    mnuDouble(context);
    EXPECT_EQ(state.LineSpacingMode, 2);
    EXPECT_EQ(view.lineSpacingCheck(), 2);
}

TEST_F(Format, ASavedSpacingIsDetectedWhenTheTestIsOpenedAgain) {
    struct Row {
        void (*command)(WorkspaceContext&);
        int expected;
    };
    const Row rows[] = {{mnu15LineSpacing, 1}, {mnuDouble, 2}, {mnuSingle, 0}};
    for (const Row& row : rows) {
        typed.setText(u"one\r\ntwo");
        row.command(context);
        const std::string path = currentFile("spacing.rtf");
        ASSERT_EQ(typed.saveFile(path), std::nullopt);

        typed.setText(u"");
        view.setLineSpacingCheck(row.expected == 2 ? 0 : 2); // a stale mark
        ASSERT_EQ(typed.loadFile(path), std::nullopt);
        KykvirSpasiering(context);
        EXPECT_EQ(state.LineSpacingMode, row.expected);
        EXPECT_EQ(view.lineSpacingCheck(), row.expected);
    }
}

TEST_F(Format, DetectionReadsTheMarkupAgainAfterApplyingOneAndAHalf) {
    // One paragraph at 1.5, one at double. The 1.5 command spaces the whole test at 1.5 first,
    // so the markup read again no longer holds the double spacing.
    typed.setText(u"one\r\ntwo");
    typed.setSelStart(0);
    typed.setSelLineSpacing(OneAndAHalf);
    typed.setSelStart(6);
    typed.setSelLineSpacing(Double);
    KykvirSpasiering(context);
    EXPECT_EQ(state.LineSpacingMode, 1);
    EXPECT_EQ(view.lineSpacingCheck(), 1);
    EXPECT_EQ(typed.paragraphSpacings(), (std::vector<LineSpacing>{OneAndAHalf, OneAndAHalf}));

    // Double alone is applied to the whole test.
    typed.setText(u"one\r\ntwo");
    typed.setSelStart(6);
    typed.setSelLineSpacing(Double);
    KykvirSpasiering(context);
    EXPECT_EQ(state.LineSpacingMode, 2);
    EXPECT_EQ(typed.paragraphSpacings(), (std::vector<LineSpacing>{Double, Double}));

    // Neither value: single, and the selection is not touched.
    typed.setText(u"plain\r\ntext");
    typed.setSelStart(3);
    typed.setChanged(false);
    KykvirSpasiering(context);
    EXPECT_EQ(state.LineSpacingMode, 0);
    EXPECT_EQ(view.lineSpacingCheck(), 0);
    EXPECT_EQ(typed.selStart(), 3);
    EXPECT_FALSE(typed.changed());
}

// Zooms `times` times and returns the pane's font size read over the whole text.
std::optional<double> zoomed(DocumentPane& pane, WorkspaceContext& context,
                             void (*command)(WorkspaceContext&), int times) {
    for (int i = 0; i < times; ++i)
        command(context);
    pane.setSelStart(0);
    pane.setSelLength(pane.textLength());
    return pane.selFontSize();
}

TEST_F(Format, ZoomStaysInsideEachPanesLimits) {
    struct Row {
        const char* name;
        void (*command)(WorkspaceContext&);
        bool sourcePane;
        int times;
        double expected;
    };
    const Row rows[] = {
        {"speed test in once", mnuplus, false, 1, 16},
        {"speed test in to the limit", mnuplus, false, 6, 36},
        {"speed test in past the limit", mnuplus, false, 7, 36},
        {"speed test out", mnuminus, false, 2, 4},
        {"speed test out past the limit", mnuminus, false, 3, 4},
        {"source in", mnuIn, true, 5, 29.75},
        {"source in past the limit", mnuIn, true, 6, 29.75},
        {"source out", mnuUit, true, 1, 5.75},
        {"source out past the limit", mnuUit, true, 2, 5.75},
    };
    for (const Row& row : rows) {
        typed.setText(u"typed\r\ntext");
        source.setText(u"source\r\ntext");
        DocumentPane& pane = row.sourcePane ? static_cast<DocumentPane&>(source) : typed;
        EXPECT_EQ(zoomed(pane, context, row.command, row.times), row.expected) << row.name;
    }
}

TEST_F(Format, ZoomLeavesTheSelectionAsEachPaneWants) {
    typed.setText(u"typed text");
    source.setText(u"source text");
    mnuplus(context);
    EXPECT_EQ(typed.selStart(), 0);
    EXPECT_EQ(typed.selLength(), 0);
    mnuIn(context);
    EXPECT_EQ(source.selStart(), 0);
    EXPECT_EQ(source.selLength(), source.textLength());
}

TEST_F(Format, ZoomChangesNothingWhenTheTextMixesSizes) {
    typed.setText(u"small and large");
    typed.setSelStart(0);
    typed.setSelLength(5);
    typed.setSelFontSize(8);
    const auto before = typed.formatSpans();
    mnuplus(context);
    mnuminus(context);
    EXPECT_EQ(typed.formatSpans(), before);
}

} // namespace
} // namespace keystride::testing
