// "Open Results" and "Open Marked tests": a results file or a marked test is shown, whole and
// unparsed, in the speed-test pane. Nothing is computed from it and nothing is written.
#pragma once

#include "workspace/context/workspace_context.h"

#include <string>

namespace keystride {

inline constexpr const char* ResultsFilter = "Result files|*.res|*.res";
inline constexpr const char* MarkedTestsFilter = "Marked speed tests|*.rug|*.rug";

// The steps both commands share; `filter` is handed to the open dialog as it stands. Returns the
// chosen path ("" when the dialog was cancelled).
std::string openForViewing(WorkspaceContext& context, const std::string& filter);

inline std::string mnuResults(WorkspaceContext& context) {
    return openForViewing(context, ResultsFilter);
}
inline std::string mnuMarked(WorkspaceContext& context) {
    return openForViewing(context, MarkedTestsFilter);
}

} // namespace keystride
