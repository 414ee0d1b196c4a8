// One marking run's world for tests: both panes on a file layer that can be made to fail, the
// settings, the workspace state, a host that records what the run asked of the window, and an
// engine whose results file lies in a temporary folder of the world's own.
#pragma once

#include "marking/marking_run.h"
#include "platform/panes/memory_pane.h"
#include "support/faulty_file_system.h"
#include "support/test_files.h"

#include <string>
#include <utility>
#include <vector>

namespace keystride::testing {

using Message = std::pair<std::string, std::string>; // title, text

class RecordingMarkingHost final : public marking::MarkingHost {
public:
    void showMessage(const std::string& title, const std::string& text) override {
        messages.emplace_back(title, text);
    }
    void setBusy(bool on) override { busy = on; }
    void stopClock() override { ++clockStops; }
    void openSpeedTest() override { ++openCommands; }
    std::string typedTestName() const override { return label3; }
    void setTypedTestName(const std::string& name) override { label3 = name; }

    std::vector<Message> messages;
    bool busy = false;
    int clockStops = 0;
    int openCommands = 0;
    std::string label3;
};

struct MarkingWorld {
    // `resultsPath` "" puts "Resultaat.res" into the world's folder.
    explicit MarkingWorld(const std::string& resultsPath = {})
        : engine({typed, source, settings, workspace, host, files,
                  resultsPath.empty() ? folder.file("Resultaat.res") : resultsPath}) {}

    // Both texts, and the speed test named Toets1.rtf in the world's folder.
    void setTexts(std::u16string_view sourceText, std::u16string_view typedText) {
        source.setText(sourceText);
        typed.setText(typedText);
        host.label3 = folder.file("Toets1.rtf");
    }
    const marking::RunRecord& run() {
        host.messages.clear();
        return engine.StartMarkingRun();
    }

    TempFolder folder;
    FaultyFileSystem files;
    MemoryPane typed{CharFormat{"Courier New", 12.0}, files};
    MemoryPane source{CharFormat{"Courier New", 9.75}, files};
    SettingsStore settings;
    marking::WorkspaceState workspace;
    RecordingMarkingHost host;
    marking::MarkingEngine engine;
};

} // namespace keystride::testing
