// The Format menu's line spacing of the speed test, and the detection of a loaded test's spacing
// from its markup. The chosen rule is kept in LineSpacingMode for the marking run's check.
#pragma once

#include "workspace/context/workspace_context.h"

namespace keystride {

// Applies the paragraph line-spacing rule (0 single, 1 one and a half, 2 double) to every
// paragraph the pane's selection touches. `spacing` is the spacing value the commands pass (20);
// the rule alone decides the spacing shown.
void SetLineSpacing(DocumentPane& pane, int rule, int spacing);

// mnuSingle, mnu15LineSpacing, mnuDouble: the whole speed test from its second character on is
// selected (the selection stays), gets the rule, and the menu ticks the command's own item.
void mnuSingle(WorkspaceContext& context);
void mnu15LineSpacing(WorkspaceContext& context);
void mnuDouble(WorkspaceContext& context);
void applyLineSpacingCommand(WorkspaceContext& context, int mode);

// KykvirSpasiering: ticks and applies the spacing found in the speed test's RTF markup
// ("\sl360\" one and a half, "\sl480\" double; both give double); single when neither occurs.
void KykvirSpasiering(WorkspaceContext& context);

} // namespace keystride
