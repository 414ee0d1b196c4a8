#include "results/results_viewer.h"

#include "results/error_box.h"

namespace keystride {

std::string openForViewing(WorkspaceContext& context, const std::string& filter) {
    DocumentPane& typed = context.typed;
    // The former content goes first, before anything is asked, saved or not.
    typed.setText(u"");
    context.state.CurrentFileName.clear();
    const std::string path = context.dialogs.getOpenFileName(filter, "");
    context.state.CurrentFileName = path;
    if (path.empty()) {
        context.view.setLabel3("");
        return path;
    }
    if (FileResult error = typed.loadFile(path))
        showErrorBox(context.messages, *error);
    PaneReset(typed);
    context.view.setLabel3(path);
    // A viewed file is no speed test to be saved on leaving.
    typed.setChanged(false);
    return path;
}

} // namespace keystride
