// Everything a command of the main window works on: the two panes, the global state, the
// settings and the desktop services. The window builds one context and hands it to the command
// modules (workspace, documents, results), so the same commands run in the window and in tests
// with scripted services.
#pragma once

#include "marking/marking_run.h"
#include "platform/desktop/ui_services.h"
#include "platform/files/file_system.h"
#include "platform/panes/document_pane.h"
#include "settings/settings_store.h"

#include <string>

namespace keystride {

// The parts of the main window that commands change besides the panes.
class WorkspaceView {
public:
    virtual ~WorkspaceView() = default;
    // Label3: the speed test's file name; Label4: the source document's.
    virtual std::string label3() const = 0;
    virtual void setLabel3(const std::string& text) = 0;
    virtual std::string label4() const = 0;
    virtual void setLabel4(const std::string& text) = 0;
    // Label5: the clock display.
    virtual std::string clockText() const = 0;
    virtual void setClockText(const std::string& text) = 0;
    // Label6 "Please wait..." and Animation1.
    virtual void setBusy(bool busy) = 0;
    // Exactly one of "Single Line Spacing", "1.5 Line Spacing", "Double Line Spacing" is ticked.
    virtual void setLineSpacingCheck(int mode) = 0;
    virtual int lineSpacingCheck() const = 0;
    // The warning dialog `Waarskuwing`, modal.
    virtual void showWarningDialog() = 0;
    virtual void processEvents() {}
    // Ends the program at once.
    virtual void terminate() = 0;
};

struct WorkspaceContext {
    DocumentPane& typed;  // RichTextBox1
    DocumentPane& source; // RichTextBox2
    marking::WorkspaceState& state;
    SettingsStore& settings;
    WorkspaceView& view;
    MessageBoxes& messages;
    FileDialogs& dialogs;
    Printing& printing;
    Clock& clock;
    ProcessLauncher& processes;
    FileSystem& files;
    // The program's folder (Settings, cdverify.avi, fonts/, the installed help documents) and
    // the current folder (help documents looked for first, Warning.txt, Backup.rtf,
    // Resultaat.res).
    std::string programFolder;
    std::string currentFolder = ".";
};

} // namespace keystride
