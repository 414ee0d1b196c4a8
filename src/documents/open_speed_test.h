// Opening a speed test: the steps the window's open command and keystride-mark share, from
// clearing the source's cut-off marking to detecting the test's line spacing. The window puts
// only the warning dialog and the file dialog around them.
#pragma once

#include "documents/conversion.h"
#include "documents/line_spacing.h"
#include "marking/marking_run.h"
#include "platform/files/file_error.h"
#include "platform/panes/document_pane.h"

#include <functional>
#include <string>

namespace keystride {

// What opening a speed test shows besides the panes and the check marks.
class SpeedTestOpenHost : public LineSpacingMarks {
public:
    // Timer1 stops and its display is emptied.
    virtual void stopClock() = 0;
    // Label3: the speed test's file name.
    virtual void setLabel3(const std::string& text) = 0;
    // A message box with an OK button.
    virtual void showMessage(const std::string& title, const std::string& text) = 0;
};

struct SpeedTestPanes {
    DocumentPane& typed;  // RichTextBox1
    DocumentPane& source; // RichTextBox2
};

struct OpenedSpeedTest {
    std::string chosen;          // "" when the choice was cancelled
    FileResult conversionError;  // ConvertToRtf failed
    FileResult loadError;        // the pane could not load the file
    bool writeProtected = false; // the error rule ended the open and set WriteProtected
    bool loaded() const { return !chosen.empty() && !conversionError && !loadError; }
};

// The error rule of both open commands: an inaccessible or write-protected file shows
// `writeProtectedMessage`, sets WriteProtected and ends the command (true); any other failure
// shows the error box and the command goes on with its next step.
using ShowMessage = std::function<void(const std::string& title, const std::string& text)>;
bool openFailed(const FileResult& error, const char* writeProtectedMessage,
                marking::WorkspaceState& state, const ShowMessage& show);

// The open command's steps after the warning dialog. `choosePath` is the file dialog ("" when it
// is cancelled); `convert` is ConvertToRtf. Failures follow the error rule above.
OpenedSpeedTest openSpeedTest(const SpeedTestPanes& panes, marking::WorkspaceState& state,
                              SpeedTestOpenHost& host,
                              const std::function<std::string()>& choosePath,
                              const std::function<ConversionOutcome(const std::string&)>& convert);

} // namespace keystride
