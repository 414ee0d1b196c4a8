// Printing either pane with its heading: the title line of the pane and one blank line go in
// front of the content for the printout only, and come out again whatever happened.
#pragma once

#include "workspace/context/workspace_context.h"

#include <string>

namespace keystride {

// The heading put in front of a pane's content: `title` + CR LF CR LF.
std::u16string paneHeading(const std::string& title);

// Prints `pane` with the heading `title` through `printing`. The pane's content, formatting and
// changed flag are the same afterwards; the caret is at the beginning.
void printWithHeading(DocumentPane& pane, const std::string& title, Printing& printing);

// mnuPrint (also Command4): the speed test with Label3; mnuPrintSource: the source with Label4.
void mnuPrint(WorkspaceContext& context);
void mnuPrintSource(WorkspaceContext& context);

} // namespace keystride
