#include "results/error_box.h"

namespace keystride {

void showErrorBox(MessageBoxes& messages, const FileError& error) {
    messages.show(errorMessageText(error), "Error", MessageButtons::Ok);
}

void PaneReset(DocumentPane& pane) {
    pane.setSelStart(1);
    pane.setSelLength(static_cast<int>(pane.textRtf().size()));
    pane.setSelLength(0);
}

} // namespace keystride
