#include "workspace/workspace_commands.h"

namespace keystride {

WorkspaceCommands::WorkspaceCommands(WorkspaceContext& context) : m_context(context) {
    m_context.clock.setTickHandler([this] { timerTick(); });
}

void WorkspaceCommands::startUp(const std::vector<std::string>& fontFolders) {
    marking::WorkspaceState& state = m_context.state;
    state.FontMarking = markingFontsInstalled(m_context.files, fontFolders);
    state.WriteProtected = false;
    m_context.settings =
        loadSettings(m_context.files, joinPath(m_context.programFolder, SettingsFileName));
    state.CutOffGiven = false;
    state.CutOffPending = false;
    m_context.typed.setChanged(false);

    m_context.clock.setEnabled(false);
    m_context.view.setClockText("");
    m_context.view.setLineSpacingCheck(0);
}

void WorkspaceCommands::ClearSourceMarks() {
    marking::ClearSourceMarks(m_context.source);
}

void WorkspaceCommands::mnuNewTest() {
    m_context.clock.setEnabled(false);
    m_context.view.setClockText("");
    ElapsedSeconds = 0;
    if (m_context.source.textLength() > 0)
        ClearSourceMarks();
    m_context.typed.setText(u"");
    m_context.view.setLabel3("");
    m_context.state.LineSpacingMode = 0;
}

bool WorkspaceCommands::keyPressed(char16_t code) {
    if (code == 0 || !m_context.settings.timeLimitStartsClock())
        return false;
    if (!m_context.clock.enabled())
        m_context.clock.setEnabled(true);
    return m_context.view.clockText() == workspacetexts::TimeUp;
}

namespace {

// The numeric value of a display character; anything but a digit counts as 0.
int digitAt(const std::string& text, std::size_t index) {
    if (index >= text.size())
        return 0;
    char c = text[index];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

} // namespace

void WorkspaceCommands::timerTick() {
    ++ElapsedSeconds;

    // The display is the clock's only memory: each tick reads its digits back.
    const std::string display = m_context.view.clockText();
    int minutes = digitAt(display, 1);
    int tens = digitAt(display, 3);
    int units = display.empty() ? 0 : digitAt(display, display.size() - 1);
    ++units;
    if (units == 10) {
        ++tens;
        units = 0;
        if (tens == 6) {
            ++minutes;
            tens = 0;
        }
    }
    m_context.view.setClockText("0" + std::to_string(minutes) + ":" + std::to_string(tens) +
                                std::to_string(units));

    if (ElapsedSeconds >= 600) {
        // A failed backup is skipped silently; the next tick tries again. With writing switched
        // off after a disk failure the time is still up: the display stops at the limit and keys
        // stay blocked, only the backup is left out.
        if (!m_context.state.WriteProtected)
            (void)m_context.typed.saveFile(
                joinPath(m_context.currentFolder, workspacetexts::BackupFile));
        m_context.view.setClockText(workspacetexts::TimeUp);
    }

    if (m_context.settings.timeLimitEndsTest() && ElapsedSeconds == 600)
        m_context.messages.show(workspacetexts::EndOfTest, "", MessageButtons::Ok);
}

void WorkspaceCommands::mnuForce() {
    m_context.state.CutOffPending = true;
}

void WorkspaceCommands::loadHelp(const char* fileName) {
    // The current folder first; an installed program keeps its help documents in its own
    // folder. The pane leaves its content alone when the load fails, which is all a missing or
    // unreadable help document should do.
    (void)m_context.typed.loadFile(findProgramFile(
        m_context.files, fileName, {m_context.currentFolder, m_context.programFolder}));
}

void WorkspaceCommands::mnuAfrikaans() {
    loadHelp(workspacetexts::AfrikaansHelp);
}

void WorkspaceCommands::mnuEnglish() {
    loadHelp(workspacetexts::EnglishHelp);
}

void WorkspaceCommands::mnuExit() {
    DocumentPane& typed = m_context.typed;
    if (typed.textLength() >= 1 && typed.changed()) {
        MessageAnswer answer =
            m_context.messages.show(workspacetexts::SaveChanges, workspacetexts::SaveChangesTitle,
                                    MessageButtons::YesNoCancel, MessageIcon::Question);
        if (answer == MessageAnswer::Cancel)
            return;
        if (answer == MessageAnswer::Yes && m_saveSpeedTestAs)
            m_saveSpeedTestAs();
    }
    m_context.view.terminate();
}

bool WorkspaceCommands::queryClose(CloseReason reason) {
    const char* prompt = reason == CloseReason::UserClose ? workspacetexts::ReallyExitUser
                                                          : workspacetexts::ReallyExitOther;
    MessageAnswer answer = m_context.messages.show(prompt, workspacetexts::WindowTitle,
                                                   MessageButtons::YesNo, MessageIcon::Question);
    return answer == MessageAnswer::Yes;
}

} // namespace keystride
