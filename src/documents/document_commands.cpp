#include "documents/document_commands.h"

#include "documents/line_spacing.h"
#include "results/error_box.h"
#include "results/export_command.h"
#include "results/print_command.h"
#include "results/results_viewer.h"

namespace keystride {

namespace {

std::string inFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || folder == ".")
        return name;
    return folder.back() == '/' ? folder + name : folder + "/" + name;
}

} // namespace

std::string documenttexts::convertedMessage(ConversionKind kind) {
    const char* documents =
        kind == ConversionKind::Odt ? "All Open Office documents" : "All Word 2007 documents";
    return std::string(documents) +
           " in this folder are now converted to RTF files by Docx2Rtf, a free utility from " +
           ConverterWebAddress + ", and is not sold.";
}

DocumentCommands::DocumentCommands(WorkspaceContext& context, WordProcessor& wordProcessor,
                                   Clipboard& clipboard, DocumentHooks hooks,
                                   DocumentCommandsConfig config)
    : m_context(context), m_wordProcessor(wordProcessor), m_clipboard(clipboard),
      m_hooks(std::move(hooks)),
      m_converter(context.processes, context.files, wordProcessor,
                  config.executableFolder.empty() ? context.programFolder : config.executableFolder,
                  config.conversionTimeout) {
    // A conversion makes the teacher wait for the document: the window shows it is busy.
    m_converter.setBusyIndicator([this](bool busy) {
        m_context.view.setBusy(busy);
        if (busy)
            m_context.view.processEvents();
    });
}

void DocumentCommands::remember(const std::string& path) {
    if (!path.empty())
        m_lastFileName = path;
}

void DocumentCommands::showWarningIfMarked() {
    if (m_context.files.exists(inFolder(m_context.currentFolder, documenttexts::WarningMarker)))
        m_context.view.showWarningDialog();
}

bool DocumentCommands::failed(const FileResult& error, Target target) {
    if (!error)
        return false;
    if (error->code == errorcodes::PathFileAccess ||
        error->code == errorcodes::WriteProtectedDisk) {
        m_context.messages.show(target == Target::SpeedTest ? documenttexts::WriteProtectedSpeedTest
                                                            : documenttexts::WriteProtectedSource,
                                documenttexts::ErrorTitle, MessageButtons::Ok);
        m_context.state.WriteProtected = true;
        return true;
    }
    showErrorBox(m_context.messages, *error);
    return false;
}

void DocumentCommands::mnuTypedDoc() {
    WorkspaceContext& c = m_context;
    showWarningIfMarked();
    if (c.source.textLength() > 0 && m_hooks.clearSourceMarks)
        m_hooks.clearSourceMarks();
    c.clock.setEnabled(false);
    c.view.setClockText("");
    c.typed.setText(u"");
    c.state.CurrentFileName.clear();

    const std::string chosen = c.dialogs.getOpenFileName(documenttexts::OpenFilter, "");
    remember(chosen);
    c.state.CurrentFileName = chosen;
    if (chosen.empty()) {
        c.view.setLabel3("");
        return;
    }

    const ConversionOutcome conversion = m_converter.ConvertToRtf(chosen);
    c.state.CurrentFileName = conversion.path;
    if (failed(conversion.error, Target::SpeedTest))
        return;
    const bool byConverter =
        conversion.kind == ConversionKind::Docx || conversion.kind == ConversionKind::Odt;
    // The message says the folder was converted: it is shown only when that is true.
    if (byConverter && !conversion.error)
        c.messages.show(documenttexts::convertedMessage(conversion.kind),
                        documenttexts::ConvertedTitle, MessageButtons::Ok);

    if (failed(c.typed.loadFile(c.state.CurrentFileName), Target::SpeedTest))
        return;
    PaneReset(c.typed);
    c.view.setLabel3(c.state.CurrentFileName);
    c.typed.setChanged(false);
    KykvirSpasiering(c);
    // Applying the spacing the test was typed with is part of opening it, no change of the
    // learner's: leaving right after an open asks no save question.
    c.typed.setChanged(false);
}

void DocumentCommands::Command1() {
    mnuTypedDoc();
    m_context.state.CutOffPending = false;
}

void DocumentCommands::mnuOpenorigin() {
    WorkspaceContext& c = m_context;
    showWarningIfMarked();
    c.source.setText(u"");
    c.state.CurrentFileName.clear();

    const std::string chosen = c.dialogs.getOpenFileName(documenttexts::OpenFilter, "");
    remember(chosen);
    c.state.CurrentFileName = chosen;
    if (chosen.empty()) {
        c.view.setLabel4("");
        return;
    }

    const ConversionOutcome conversion = m_converter.ConvertToRtf(chosen);
    c.state.CurrentFileName = conversion.path;
    if (failed(conversion.error, Target::Source))
        return;

    CharFormat base = c.source.baseFormat();
    base.font = "Courier New";
    c.source.setBaseFormat(base);
    if (failed(c.source.loadFile(c.state.CurrentFileName), Target::Source))
        return;
    c.view.setLabel4(c.state.CurrentFileName);
}

void DocumentCommands::mnuSave() {
    WorkspaceContext& c = m_context;
    const std::string path = c.dialogs.getSaveFileName(documenttexts::SaveFilter, m_lastFileName);
    if (path.empty()) {
        if (m_hooks.exit)
            m_hooks.exit();
        return;
    }
    remember(path);
    // A failed save is not reported: the keyboard goes back to the speed test and the label
    // and flag are set as if it had succeeded.
    if (c.typed.saveFile(path))
        c.typed.setFocus();
    c.view.setLabel3(path);
    c.typed.setChanged(false);
}

void DocumentCommands::mnuSaveSource() {
    WorkspaceContext& c = m_context;
    const std::string path = c.dialogs.getSaveFileName(documenttexts::SaveFilter, m_lastFileName);
    if (path.empty())
        return;
    remember(path);
    if (FileResult error = c.source.saveFile(path)) {
        c.messages.show("Vela Keystride could not save the source document as \"" + path + "\".\r" +
                            error->description,
                        documenttexts::ErrorTitle, MessageButtons::Ok);
        return;
    }
    c.view.setLabel4(path);
    c.source.setChanged(false);
}

void DocumentCommands::mnuReOpen() {
    WorkspaceContext& c = m_context;
    const std::string path = c.state.CurrentFileName;
    if (path.empty()) {
        c.messages.show("There is no document to open again: open a speed test first.",
                        documenttexts::ErrorTitle, MessageButtons::Ok);
        return;
    }
    if (c.source.textLength() > 0 && m_hooks.clearSourceMarks)
        m_hooks.clearSourceMarks();
    const bool wasChanged = c.typed.changed();
    // The pane keeps its content when the load fails.
    if (FileResult error = c.typed.loadFile(path)) {
        c.messages.show("Vela Keystride could not open \"" + path + "\" again.\r" +
                            error->description,
                        documenttexts::ErrorTitle, MessageButtons::Ok);
        return;
    }
    c.typed.setChanged(wasChanged);
}

void DocumentCommands::mnuResults() {
    remember(keystride::mnuResults(m_context));
}

void DocumentCommands::mnuMarked() {
    remember(keystride::mnuMarked(m_context));
}

void DocumentCommands::mnuPrint() {
    keystride::mnuPrint(m_context);
}

void DocumentCommands::mnuPrintSource() {
    keystride::mnuPrintSource(m_context);
}

void DocumentCommands::mnuExport() {
    keystride::mnuExport(m_context, m_clipboard, m_wordProcessor);
}

bool runDocumentCommand(DocumentCommands& commands, std::string_view name) {
    using Command = void (DocumentCommands::*)();
    struct Entry {
        std::string_view name;
        Command command;
    };
    // Buttons run the same command as their menu item.
    static constexpr Entry table[] = {
        {"mnuTypedDoc", &DocumentCommands::mnuTypedDoc},
        {"Command1", &DocumentCommands::Command1},
        {"mnuOpenorigin", &DocumentCommands::mnuOpenorigin},
        {"Command3", &DocumentCommands::mnuOpenorigin},
        {"mnuSave", &DocumentCommands::mnuSave},
        {"mnuSaveSource", &DocumentCommands::mnuSaveSource},
        {"mnuReOpen", &DocumentCommands::mnuReOpen},
        {"mnuResults", &DocumentCommands::mnuResults},
        {"mnuMarked", &DocumentCommands::mnuMarked},
        {"mnuPrint", &DocumentCommands::mnuPrint},
        {"Command4", &DocumentCommands::mnuPrint},
        {"mnuPrintSource", &DocumentCommands::mnuPrintSource},
        {"mnuExport", &DocumentCommands::mnuExport},
    };
    for (const Entry& entry : table) {
        if (entry.name == name) {
            (commands.*entry.command)();
            return true;
        }
    }
    return false;
}

} // namespace keystride
