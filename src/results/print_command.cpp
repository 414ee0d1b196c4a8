#include "results/print_command.h"

namespace keystride {

std::u16string paneHeading(const std::string& title) {
    return fromUtf8(title) + u"\r\n\r\n";
}

void printWithHeading(DocumentPane& pane, const std::string& title, Printing& printing) {
    const bool wasChanged = pane.changed();
    const std::u16string heading = paneHeading(title);
    pane.setSelStart(0);
    pane.setSelText(heading);
    // The caret now stands after the heading with nothing selected, so the whole content is
    // printed. A cancelled dialog or a failed print is no failure of the command.
    if (printing.choosePrinter())
        (void)printing.printPane(pane);
    pane.setSelStart(0);
    pane.setSelLength(static_cast<int>(heading.size()));
    pane.setSelText(u"");
    pane.setSelStart(0);
    // The heading was there for the printout only: the document is as it was.
    pane.setChanged(wasChanged);
}

void mnuPrint(WorkspaceContext& context) {
    printWithHeading(context.typed, context.view.label3(), context.printing);
}

void mnuPrintSource(WorkspaceContext& context) {
    printWithHeading(context.source, context.view.label4(), context.printing);
}

} // namespace keystride
