// Export of the speed test to the word processor: the pane's rich text, with its heading in
// front, goes on the clipboard and into a new, untitled document with a left margin of 70 points.
#pragma once

#include "platform/desktop/clipboard.h"
#include "platform/desktop/word_processor.h"
#include "workspace/context/workspace_context.h"

namespace keystride {

inline constexpr int ExportLeftMarginPoints = 70;

// mnuExport (F11). Any failure ends the command silently; what was done stays done, and the
// heading stays in the pane.
void mnuExport(WorkspaceContext& context, Clipboard& clipboard, WordProcessor& wordProcessor);

} // namespace keystride
