// A workspace without a window: in-memory panes, scripted services, a manual clock and a view
// that only remembers what it was told, over a fresh program folder and current folder.
#pragma once

#include "platform/panes/memory_pane.h"
#include "support/faulty_file_system.h"
#include "support/recording_view.h"
#include "support/scripted_services.h"
#include "support/test_files.h"
#include "workspace/context/workspace_context.h"
#include "workspace/workspace_commands.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace keystride::testing {

class WorkspaceTest : public ::testing::Test {
protected:
    WorkspaceTest() {
        std::filesystem::create_directories(m_root.path() / "program");
        std::filesystem::create_directories(m_root.path() / "current");
    }

    std::string programFile(const std::string& name) const {
        return (m_root.path() / "program" / name).string();
    }
    std::string currentFile(const std::string& name) const {
        return (m_root.path() / "current" / name).string();
    }

    // `count` seconds pass on a running clock.
    void tick(int count) {
        for (int i = 0; i < count; ++i)
            ASSERT_TRUE(clock.tick()) << "the clock stopped at tick " << i;
    }

    TempFolder m_root{"keystride-workspace-"};
    FaultyFileSystem files;
    MemoryPane typed{CharFormat{}, files};
    MemoryPane source{CharFormat{"Courier New", 9.75}, files};
    marking::WorkspaceState state;
    SettingsStore settings;
    RecordingView view;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    ScriptedPrinting printing;
    ManualClock clock;
    ScriptedProcessLauncher processes;
    WorkspaceContext context{typed,    source,          state,          settings, view,
                             messages, dialogs,         printing,       clock,    processes,
                             files,    programFile(""), currentFile("")};
    WorkspaceCommands commands{context};
};

} // namespace keystride::testing
