#include "documents/document_commands.h"

#include "documents/open_speed_test.h"
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

// Opening a speed test shows its messages, clock, label and check marks in the window.
class WindowOpenHost final : public SpeedTestOpenHost {
public:
    explicit WindowOpenHost(WorkspaceContext& context) : m_context(context) {}
    void stopClock() override {
        m_context.clock.setEnabled(false);
        m_context.view.setClockText("");
    }
    void setLabel3(const std::string& text) override { m_context.view.setLabel3(text); }
    void showMessage(const std::string& title, const std::string& text) override {
        m_context.messages.show(text, title, MessageButtons::Ok);
    }
    void setLineSpacingCheck(LineSpacing rule) override {
        m_context.view.setLineSpacingCheck(static_cast<int>(rule));
    }

private:
    WorkspaceContext& m_context;
};

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

bool DocumentCommands::sourceOpenFailed(const FileResult& error) {
    return openFailed(error, documenttexts::WriteProtectedSource, m_context.state,
                      [this](const std::string& title, const std::string& text) {
                          m_context.messages.show(text, title, MessageButtons::Ok);
                      });
}

void DocumentCommands::mnuTypedDoc() {
    WorkspaceContext& c = m_context;
    showWarningIfMarked();
    WindowOpenHost host(c);
    openSpeedTest(
        {c.typed, c.source}, c.state, host,
        [this] {
            const std::string chosen =
                m_context.dialogs.getOpenFileName(documenttexts::OpenFilter, "");
            remember(chosen);
            return chosen;
        },
        [this](const std::string& path) { return m_converter.ConvertToRtf(path); });
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
    if (sourceOpenFailed(conversion.error))
        return;

    CharFormat base = c.source.baseFormat();
    base.font = "Courier New";
    c.source.setBaseFormat(base);
    if (sourceOpenFailed(c.source.loadFile(c.state.CurrentFileName)))
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
    if (c.source.textLength() > 0)
        marking::ClearSourceMarks(c.source);
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
