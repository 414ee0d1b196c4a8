#include "documents/line_spacing.h"

#include <algorithm>

namespace keystride {

void SetLineSpacing(DocumentPane& pane, int rule, int /*spacing*/) {
    int clamped = std::clamp(rule, 0, 2);
    pane.setSelLineSpacing(static_cast<LineSpacing>(clamped));
}

void applyLineSpacingCommand(WorkspaceContext& context, int mode) {
    context.state.LineSpacingMode = mode;
    DocumentPane& typed = context.typed;
    // From the second character on: paragraph formatting covers every paragraph the selection
    // touches, so the first paragraph is included all the same.
    typed.setSelStart(1);
    typed.setSelLength(typed.textLength());
    SetLineSpacing(typed, context.state.LineSpacingMode, 20);
    context.view.setLineSpacingCheck(mode);
}

void mnuSingle(WorkspaceContext& context) {
    applyLineSpacingCommand(context, 0);
}

void mnu15LineSpacing(WorkspaceContext& context) {
    applyLineSpacingCommand(context, 1);
}

void mnuDouble(WorkspaceContext& context) {
    applyLineSpacingCommand(context, 2);
}

void KykvirSpasiering(WorkspaceContext& context) {
    context.view.setLineSpacingCheck(0);
    context.state.LineSpacingMode = 0;
    if (context.typed.textRtf().find("\\sl360\\") != std::string::npos)
        mnu15LineSpacing(context);
    // Read again: the 1.5 command has just rewritten the markup.
    if (context.typed.textRtf().find("\\sl480\\") != std::string::npos)
        mnuDouble(context);
}

} // namespace keystride
