// Shared set-up for the hardening tests: a private temporary folder, two in-memory panes on a
// file layer that can be made to fail, and a host that records the messages a run shows.
#pragma once

#include "marking/marking_run.h"
#include "platform/panes/memory_pane.h"
#include "support/faulty_file_system.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace keystride::hardening {

using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

using Message = std::pair<std::string, std::string>;

inline const Message TooLarge{"Error", "Document too large..."};
inline const Message NoAccess{"Error",
                              "Vela Keystride does not have access to write-protected disk."};
inline const Message NoAccessSaveElsewhere{
    "Error", "Vela Keystride does not have access to write-protected disk. Please save speed "
             "tests on an accessible disk."};

class RecordingHost final : public marking::MarkingHost {
public:
    void showMessage(const std::string& title, const std::string& text) override {
        messages.emplace_back(title, text);
    }
    void setBusy(bool on) override { busy = on; }
    void stopClock() override {}
    void openSpeedTest() override {}
    std::string typedTestName() const override { return label3; }
    void setTypedTestName(const std::string& name) override { label3 = name; }

    std::vector<Message> messages;
    bool busy = false;
    std::string label3;
};

// One marking run's world: panes on a faulty file layer over the real one.
struct MarkingWorld {
    FaultyFileSystem files;
    MemoryPane typed{CharFormat{"Courier New", 12.0}, files};
    MemoryPane source{CharFormat{"Courier New", 9.75}, files};
    SettingsStore settings;
    marking::WorkspaceState workspace;
    RecordingHost host;
    std::unique_ptr<marking::MarkingEngine> engine;

    explicit MarkingWorld(const std::string& resultsPath) {
        engine = std::make_unique<marking::MarkingEngine>(marking::MarkingEnvironment{
            typed, source, settings, workspace, host, files, resultsPath});
    }
    const marking::RunRecord& run() {
        host.messages.clear();
        engine->StartMarkingRun();
        return engine->lastRun();
    }
};

} // namespace keystride::hardening
