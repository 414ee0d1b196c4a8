// The Format menu's line spacing of the speed test, and the detection of a loaded test's spacing
// from its markup. The chosen rule is kept in LineSpacingMode for the marking run's check.
#pragma once

#include "marking/marking_run.h"
#include "platform/panes/document_pane.h"
#include "workspace/context/workspace_context.h"

namespace keystride {

// The Format menu's check marks: exactly one of "Single Line Spacing", "1.5 Line Spacing" and
// "Double Line Spacing" is ticked.
class LineSpacingMarks {
public:
    virtual ~LineSpacingMarks() = default;
    virtual void setLineSpacingCheck(LineSpacing rule) = 0;
};

// What the spacing commands change: the speed test, LineSpacingMode and the check marks.
struct LineSpacingTarget {
    DocumentPane& typed; // RichTextBox1
    marking::WorkspaceState& state;
    LineSpacingMarks& marks;
};

// Applies the paragraph line-spacing rule to every paragraph the pane's selection touches.
// `spacing` is the spacing value the commands pass (20); the rule alone decides the spacing shown.
void SetLineSpacing(DocumentPane& pane, LineSpacing rule, int spacing);

// mnuSingle, mnu15LineSpacing, mnuDouble: the whole speed test from its second character on is
// selected (the selection stays), gets the rule, and the menu ticks the command's own item.
void applyLineSpacingCommand(const LineSpacingTarget& target, LineSpacing rule);

// KykvirSpasiering: ticks and applies the spacing found in the speed test's RTF markup
// ("\sl360\" one and a half, "\sl480\" double; both give double); single when neither occurs.
void KykvirSpasiering(const LineSpacingTarget& target);

// The same commands over the window's context, its view holding the check marks.
void mnuSingle(WorkspaceContext& context);
void mnu15LineSpacing(WorkspaceContext& context);
void mnuDouble(WorkspaceContext& context);
void KykvirSpasiering(WorkspaceContext& context);

} // namespace keystride
