#include "results/export_command.h"

#include "results/print_command.h"

namespace keystride {

void mnuExport(WorkspaceContext& context, Clipboard& clipboard, WordProcessor& wordProcessor) {
    DocumentPane& typed = context.typed;
    clipboard.clear();
    typed.setSelStart(0);
    typed.setSelText(paneHeading(context.view.label3()));
    const std::string rtf = typed.textRtf();
    if (!clipboard.setRichText(rtf, toUtf8(typed.text())))
        return;
    (void)wordProcessor.newDocumentFromRtf(rtf, ExportLeftMarginPoints);
}

} // namespace keystride
