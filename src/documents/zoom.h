// Zoom of either pane: the font size of the whole text is the zoom state, changed in steps of
// four points within each pane's limits.
#pragma once

#include "workspace/context/workspace_context.h"

namespace keystride {

struct ZoomStep {
    double delta = 0;           // points added to the size
    double limit = 0;           // the size must stay below (zoom in) or above (zoom out) this
    bool keepSelection = false; // the source pane keeps its whole text selected
};

// Selects the whole pane and changes its font size by `step` when the text has one size and that
// size is inside the limit; returns whether the size changed.
bool zoomPane(DocumentPane& pane, const ZoomStep& step);

// Speed test: mnuplus (below 36, +4), mnuminus (above 6, -4); the selection collapses.
void mnuplus(WorkspaceContext& context);
void mnuminus(WorkspaceContext& context);
// Source document: mnuIn (below 28, +4), mnuUit (above 6, -4); the whole text stays selected.
void mnuIn(WorkspaceContext& context);
void mnuUit(WorkspaceContext& context);

} // namespace keystride
