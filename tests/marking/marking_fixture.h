// Shared set-up for the marking tests: two in-memory panes, settings, the workspace state, a
// host that records what the run asked of the window, and a temporary current folder.
#pragma once

#include "marking/marking_run.h"
#include "marking/text_preparation.h"
#include "platform/panes/memory_pane.h"
#include "support/faulty_file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <unistd.h>

namespace keystride::marking::testing {

class RecordingHost : public MarkingHost {
public:
    void showMessage(const std::string& title, const std::string& text) override {
        messages.emplace_back(title, text);
    }
    void setBusy(bool on) override {
        busy = on;
        ++busyChanges;
    }
    void stopClock() override { ++clockStops; }
    void openSpeedTest() override { ++openCommands; }
    std::string typedTestName() const override { return label3; }
    void setTypedTestName(const std::string& name) override { label3 = name; }

    std::vector<std::pair<std::string, std::string>> messages;
    bool busy = false;
    int busyChanges = 0;
    int clockStops = 0;
    int openCommands = 0;
    std::string label3;
};

// Splits `source` and `typed` into the word tables as a run does before the comparison.
inline void prepareWords(MarkingState& s, std::u16string_view source, std::u16string_view typed) {
    ClearWordTables(s);
    SplitWords(s, source);
    for (int k = 1; k <= s.WordCount; ++k)
        s.SourceWords(k) = s.WordBuffer(k);
    s.SourceWordCount = static_cast<std::int16_t>(s.WordCount);
    ClearWordTables(s);
    SplitWords(s, typed);
    for (int k = 1; k <= s.WordCount; ++k)
        s.TypedWords(k) = s.WordBuffer(k);
    s.TypedWordCount = s.WordCount;
}

inline std::vector<std::u16string> errorWords(const MarkingState& s) {
    std::vector<std::u16string> out;
    for (int k = 1; k <= s.ErrorCount; ++k)
        out.push_back(s.ErrorWords(k));
    return out;
}

class MarkingRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("keystride-marking-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        engine = std::make_unique<MarkingEngine>(MarkingEnvironment{
            typedPane, sourcePane, settings, workspace, host, files, path("Resultaat.res")});
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string path(const std::string& name) const { return (folder / name).string(); }
    std::string readFile(const std::string& name) const {
        std::ifstream in(path(name), std::ios::binary);
        std::stringstream buffer;
        buffer << in.rdbuf();
        return buffer.str();
    }

    void setTexts(std::u16string_view source, std::u16string_view typed) {
        sourcePane.setText(source);
        typedPane.setText(typed);
        host.label3 = path("Toets1.rtf");
    }

    std::filesystem::path folder;
    FaultyFileSystem files;
    MemoryPane typedPane{CharFormat{"Courier New", 12.0}, files};
    MemoryPane sourcePane{CharFormat{"Courier New", 9.75}, files};
    SettingsStore settings;
    WorkspaceState workspace;
    RecordingHost host;
    std::unique_ptr<MarkingEngine> engine;
};

} // namespace keystride::marking::testing
