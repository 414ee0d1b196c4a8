// A workspace without a window: in-memory panes, scripted services, a manual clock and a view
// that only remembers what it was told, over a fresh temporary program folder and current folder.
#pragma once

#include "platform/panes/memory_pane.h"
#include "support/faulty_file_system.h"
#include "support/recording_view.h"
#include "support/scripted_services.h"
#include "workspace/context/workspace_context.h"
#include "workspace/workspace_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace keystride::testing {

inline CharFormat typedBase() {
    return CharFormat{};
}

inline CharFormat sourceBase() {
    CharFormat format;
    format.size = 9.75;
    return format;
}

class WorkspaceTest : public ::testing::Test {
protected:
    static std::filesystem::path makeRoot() {
        std::random_device random;
        auto root = std::filesystem::temp_directory_path() /
                    ("keystride-workspace-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(root / "program");
        std::filesystem::create_directories(root / "current");
        return root;
    }
    ~WorkspaceTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    std::string programFile(const std::string& name) const {
        return (m_root / "program" / name).string();
    }
    std::string currentFile(const std::string& name) const {
        return (m_root / "current" / name).string();
    }
    static void writeFile(const std::string& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // Ticks until the display has been written `count` times.
    void tick(int count) {
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(clock.tick()) << "the clock stopped at tick " << i;
    }

    std::filesystem::path m_root = makeRoot();
    FaultyFileSystem files;
    MemoryPane typed{typedBase(), files};
    MemoryPane source{sourceBase(), files};
    marking::WorkspaceState state;
    SettingsStore settings;
    RecordingView view;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    ScriptedPrinting printing;
    ManualClock clock;
    ScriptedProcessLauncher processes;
    WorkspaceContext context{typed,
                             source,
                             state,
                             settings,
                             view,
                             messages,
                             dialogs,
                             printing,
                             clock,
                             processes,
                             files,
                             (m_root / "program").string(),
                             (m_root / "current").string()};
    WorkspaceCommands commands{context};
};

} // namespace keystride::testing
