// What a class marking puts where the window would be: it shows nothing. A run's messages reach
// the run's record and from there the outputs, not the screen; the clock never runs; the speed
// test's name is kept as the window's Label3 keeps it.
#pragma once

#include "documents/open_speed_test.h"
#include "marking/marking_run.h"

#include <string>

namespace keystride {

class HeadlessHost final : public marking::MarkingHost, public SpeedTestOpenHost {
public:
    void showMessage(const std::string&, const std::string&) override {}
    void setBusy(bool) override {}
    void stopClock() override {}
    // Opening another test after the already-marked message is the teacher's next command.
    void openSpeedTest() override {}
    std::string typedTestName() const override { return m_label3; }
    void setTypedTestName(const std::string& name) override { m_label3 = name; }
    void setLabel3(const std::string& text) override { m_label3 = text; }
    void setLineSpacingCheck(LineSpacing) override {}

private:
    std::string m_label3;
};

} // namespace keystride
