// What keystride-mark puts where the window would be: a view that only remembers its labels and
// services that show nothing. A marking run's messages reach the run's record, not the screen;
// a question is answered with the choice that changes nothing, a dialog is cancelled, there is
// no printer and the clock never ticks.
#pragma once

#include "marking/marking_run.h"
#include "platform/desktop/posix_process_launcher.h"
#include "workspace/context/workspace_context.h"

#include <functional>
#include <string>

namespace keystride {

class HeadlessView final : public WorkspaceView, public marking::MarkingHost {
public:
    std::string label3() const override { return m_label3; }
    void setLabel3(const std::string& text) override { m_label3 = text; }
    std::string label4() const override { return m_label4; }
    void setLabel4(const std::string& text) override { m_label4 = text; }
    std::string clockText() const override { return m_clock; }
    void setClockText(const std::string& text) override { m_clock = text; }
    void setBusy(bool) override {}
    void setLineSpacingCheck(int mode) override { m_lineSpacing = mode; }
    int lineSpacingCheck() const override { return m_lineSpacing; }
    void showWarningDialog() override {}
    void terminate() override {}

    void showMessage(const std::string&, const std::string&) override {}
    void stopClock() override {}
    void openSpeedTest() override {}
    std::string typedTestName() const override { return label3(); }
    void setTypedTestName(const std::string& name) override { setLabel3(name); }

private:
    std::string m_label3, m_label4, m_clock;
    int m_lineSpacing = 0;
};

class SilentMessageBoxes final : public MessageBoxes {
public:
    MessageAnswer show(const std::string&, const std::string&, MessageButtons buttons,
                       MessageIcon) override {
        switch (buttons) {
        case MessageButtons::YesNo:
            return MessageAnswer::No;
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Cancel;
        case MessageButtons::Ok:
            break;
        }
        return MessageAnswer::Ok;
    }
};

class CancelledFileDialogs final : public FileDialogs {
public:
    std::string getOpenFileName(const std::string&, const std::string&) override { return {}; }
    std::string getSaveFileName(const std::string&, const std::string&) override { return {}; }
};

class NoPrinter final : public Printing {
public:
    bool choosePrinter() override { return false; }
    bool printPane(DocumentPane&) override { return false; }
};

class StoppedClock final : public Clock {
public:
    void setEnabled(bool enabled) override { m_enabled = enabled; }
    bool enabled() const override { return m_enabled; }
    void setTickHandler(std::function<void()>) override {}

private:
    bool m_enabled = false;
};

// Everything a WorkspaceContext needs besides the panes, the state, the settings and the files.
struct HeadlessHost {
    HeadlessView view;
    SilentMessageBoxes messages;
    CancelledFileDialogs dialogs;
    NoPrinter printing;
    StoppedClock clock;
    PosixProcessLauncher processes;
};

} // namespace keystride
