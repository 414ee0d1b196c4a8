// A WorkspaceView without a window: it remembers what the commands told it, and the tests read
// back what happened.
#pragma once

#include "workspace/context/workspace_context.h"

#include <string>
#include <vector>

namespace keystride {

class RecordingView : public WorkspaceView {
public:
    std::string label3() const override { return m_label3; }
    void setLabel3(const std::string& text) override { m_label3 = text; }
    std::string label4() const override { return m_label4; }
    void setLabel4(const std::string& text) override { m_label4 = text; }
    std::string clockText() const override { return m_clock; }
    void setClockText(const std::string& text) override { m_clock = text; }
    void setBusy(bool busy) override { busyChanges.push_back(busy); }
    void setLineSpacingCheck(int mode) override { m_check = mode; }
    int lineSpacingCheck() const override { return m_check; }
    void showWarningDialog() override { ++warnings; }
    void terminate() override { ++terminations; }

    int warnings = 0;
    int terminations = 0;
    std::vector<bool> busyChanges;

private:
    std::string m_label3, m_label4, m_clock;
    int m_check = 0;
};

} // namespace keystride
