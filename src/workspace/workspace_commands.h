// The commands of the main window that belong to the workspace itself: start-up, the timed test
// (New, the key rule, the clock tick, Force end), the help documents, Exit and the close check.
// They work on a WorkspaceContext only, so the window and the tests run the same code.
#pragma once

#include "platform/files/program_folder.h"
#include "workspace/context/workspace_context.h"

#include <functional>
#include <string>
#include <vector>

namespace keystride {


// Why the window is being closed: its close box or system menu, or anything else (the session
// ending, the task manager).
enum class CloseReason { UserClose, Other };

class WorkspaceCommands {
public:
    // Takes over the context's clock: its ticks run timerTick().
    explicit WorkspaceCommands(WorkspaceContext& context);

    // Start-up steps of the main window. The busy animation belongs to the window; every other
    // step is here. `fontFolders` are searched for the marking fonts (the window passes
    // markingFontFolders(programFolder)).
    void startUp(const std::vector<std::string>& fontFolders);

    // mnuNewTest "&New ".
    void mnuNewTest();
    // Removes the blue cut-off marking from the source pane.
    void ClearSourceMarks();
    // A character key typed into the speed-test pane; true when the key is to be discarded.
    bool keyPressed(char16_t code);
    // Timer1: one second has passed.
    void timerTick();
    // mnuForce "Force end of speedTest" (F9), the same as Command8.
    void mnuForce();

    // mnuAfrikaans / mnuEnglish: the help document replaces the speed test; a document that
    // cannot be loaded changes nothing.
    void mnuAfrikaans();
    void mnuEnglish();

    // mnuExit. `saveSpeedTestAs` is the Save As command of the speed test.
    void mnuExit();
    // The window is about to close for `reason`; true when it may close.
    bool queryClose(CloseReason reason);

    void setSaveSpeedTestAs(std::function<void()> command) {
        m_saveSpeedTestAs = std::move(command);
    }

    int ElapsedSeconds = 0;

private:
    void loadHelp(const char* fileName);

    WorkspaceContext& m_context;
    std::function<void()> m_saveSpeedTestAs;
};

// Texts the window shows.
namespace workspacetexts {
inline constexpr const char* ProductName = "Vela Keystride";
inline constexpr const char* WindowTitle = "Speed Test";
inline constexpr const char* TimeUp = "10:00";
inline constexpr const char* EndOfTest =
    "End of test. Press F12 to calculate WPM. (Document saved as Backup.RTF)";
inline constexpr const char* SaveChanges = "Save changes to speed test?";
inline constexpr const char* SaveChangesTitle = "Vela Keystride - Save?";
inline constexpr const char* ReallyExitUser = "Do you really want to exit Vela Keystride?";
inline constexpr const char* ReallyExitOther = "Do you really want to exit the application?";
inline constexpr const char* BackupFile = "Backup.rtf";
inline constexpr const char* EnglishHelp = "Speedhelp.RTF";
inline constexpr const char* AfrikaansHelp = "Spoedhelp.RTF";
} // namespace workspacetexts

} // namespace keystride
