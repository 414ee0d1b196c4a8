// The commands of the main window that bring documents in and out: opening a speed test or a
// source document (with conversion of word-processor files), Save As of either pane, ReOpen,
// viewing results and marked tests, printing and export. The window calls one method per menu
// item or button; tests run the same methods over scripted services.
#pragma once

#include "documents/conversion.h"
#include "platform/desktop/clipboard.h"
#include "platform/desktop/word_processor.h"
#include "workspace/context/workspace_context.h"

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace keystride {

namespace documenttexts {
inline constexpr const char* OpenFilter =
    "Rich Text Files (recommended)|*.rtf|Doc(x), Odt, Txt|*.txt;*.doc;*.docx;*.odt";
inline constexpr const char* SaveFilter = "'Rich Text Format'-Lêers (*.RTF)|*.RTF";
inline constexpr const char* WarningMarker = "Warning.txt";
inline constexpr const char* ErrorTitle = "Error";
inline constexpr const char* WriteProtectedSpeedTest =
    "Vela Keystride does not have access to write-protected files. Please save speed tests on an "
    "accessible disk.";
inline constexpr const char* WriteProtectedSource =
    "Vela Keystride could not save results because of write-protected disk. Please save speed "
    "tests on an accessible disk.";
inline constexpr const char* ConvertedTitle = "DOCX file";
// The message after a conversion by Docx2Rtf, for ".docx" or ".odt".
std::string convertedMessage(ConversionKind kind);
} // namespace documenttexts

// What the commands need besides the context.
struct DocumentHooks {
    // The Exit command of the window (a cancelled Save As of the speed test runs it).
    std::function<void()> exit;
};

struct DocumentCommandsConfig {
    // Where Docx2Rtf is looked for when it is not on the PATH: the running program's folder.
    std::string executableFolder;
    // How long a conversion may take before it is given up.
    std::chrono::milliseconds conversionTimeout = std::chrono::seconds(300);
};

class DocumentCommands {
public:
    DocumentCommands(WorkspaceContext& context, WordProcessor& wordProcessor, Clipboard& clipboard,
                     DocumentHooks hooks, DocumentCommandsConfig config = {});

    // Speed&Test: &Open (Ctrl+O); Command1 runs it and then clears CutOffPending.
    void mnuTypedDoc();
    void Command1();
    // &SourceFiles: &Open (also Command3).
    void mnuOpenorigin();
    // Speed&Test: &Save As... (Ctrl+S), also run by Exit; &SourceFiles: Save As...
    void mnuSave();
    void mnuSaveSource();
    // Speed&Test: ReOpen.
    void mnuReOpen();
    // Speed&Test: Open Results (Ctrl+R), Open Marked tests.
    void mnuResults();
    void mnuMarked();
    // Speed&Test: &Print (Ctrl+P, also Command4); &SourceFiles: &Print.
    void mnuPrint();
    void mnuPrintSource();
    // Speed&Test: Export to MS Word (F11).
    void mnuExport();

    // The file name the next save dialog starts with: the last one used in any file dialog.
    const std::string& lastFileName() const { return m_lastFileName; }
    DocumentConverter& converter() { return m_converter; }

private:
    // The error rule of the source document's open; true when the command is to end.
    bool sourceOpenFailed(const FileResult& error);
    void showWarningIfMarked();
    void remember(const std::string& path);

    WorkspaceContext& m_context;
    WordProcessor& m_wordProcessor;
    Clipboard& m_clipboard;
    DocumentHooks m_hooks;
    DocumentConverter m_converter;
    std::string m_lastFileName;
};

// Runs the command a menu item or button of the window names ("mnuTypedDoc", "Command1",
// "mnuOpenorigin", "Command3", "mnuSave", "mnuSaveSource", "mnuReOpen", "mnuResults",
// "mnuMarked", "mnuPrint", "Command4", "mnuPrintSource", "mnuExport"); false for any other name.
bool runDocumentCommand(DocumentCommands& commands, std::string_view name);

} // namespace keystride
