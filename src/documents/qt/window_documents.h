// The document commands as the main window holds them: over the window's context, with
// LibreOffice as the word processor (through the window's process launcher) and the system
// clipboard.
#pragma once

#include "documents/document_commands.h"
#include "platform/desktop/libreoffice.h"
#include "platform/desktop/qt/clipboard_qt.h"

#include <string>
#include <string_view>

namespace keystride {

class WindowDocuments {
public:
    // `executableFolder`: the running program's folder, where Docx2Rtf lies when it is not on
    // the PATH.
    WindowDocuments(WorkspaceContext& context, DocumentHooks hooks, std::string executableFolder);

    DocumentCommands& commands() { return m_commands; }
    // The command a menu item or button names; false for a name that is not a document command.
    bool run(std::string_view name) { return runDocumentCommand(m_commands, name); }

private:
    LibreOfficeWordProcessor m_wordProcessor;
    QtClipboard m_clipboard;
    DocumentCommands m_commands;
};

} // namespace keystride
