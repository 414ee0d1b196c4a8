#include "documents/zoom.h"

namespace keystride {

bool zoomPane(DocumentPane& pane, const ZoomStep& step) {
    pane.setSelStart(0);
    pane.setSelLength(pane.textLength());
    bool changed = false;
    // A text of mixed sizes reports no size: nothing to compare, nothing changes.
    if (std::optional<double> size = pane.selFontSize()) {
        bool inside = step.delta > 0 ? *size < step.limit : *size > step.limit;
        if (inside) {
            pane.setSelFontSize(*size + step.delta);
            changed = true;
        }
    }
    if (!step.keepSelection)
        pane.setSelLength(0);
    return changed;
}

void mnuplus(WorkspaceContext& context) {
    zoomPane(context.typed, ZoomStep{+4, 36, false});
}

void mnuminus(WorkspaceContext& context) {
    zoomPane(context.typed, ZoomStep{-4, 6, false});
}

void mnuIn(WorkspaceContext& context) {
    zoomPane(context.source, ZoomStep{+4, 28, true});
}

void mnuUit(WorkspaceContext& context) {
    zoomPane(context.source, ZoomStep{-4, 6, true});
}

} // namespace keystride
