// Shared set-up for the hardening tests: a private temporary folder, two in-memory panes on a
// file layer that can be made to fail, and a host that records the messages a run shows.
#pragma once

#include "marking/marking_run.h"
#include "platform/panes/memory_pane.h"
#include "support/faulty_file_system.h"

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

// A folder of its own for each test, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("keystride-hardening-") + std::to_string(::getpid()) + "-" +
                           info->test_suite_name() + "-" + info->name();
        for (char& c : name) {
            if (c == '/')
                c = '_';
        }
        m_path = std::filesystem::temp_directory_path() / name;
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

    // The names of everything in the folder, sorted.
    std::vector<std::string> listing() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::filesystem::path m_path;
};

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

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
