// A workspace without a window for tests: in-memory panes on a file layer that can be made to
// fail, scripted dialogs, message boxes, printing and programs, a clock that ticks when told, a
// view that remembers what it was told, and a program folder and a current folder of its own.
#pragma once

#include "platform/panes/memory_pane.h"
#include "support/faulty_file_system.h"
#include "support/recording_view.h"
#include "support/scripted_services.h"
#include "support/test_files.h"
#include "workspace/context/workspace_context.h"

#include <filesystem>
#include <string>

namespace keystride::testing {

struct WorkspaceWorld {
    WorkspaceWorld() {
        std::filesystem::create_directories(folder.path() / "program");
        std::filesystem::create_directories(folder.path() / "current");
    }

    // The path of `name` in the world's folder, and the file written there with `bytes`.
    std::string path(const std::string& name) const { return folder.file(name); }
    std::string put(const std::string& name, const std::string& bytes) const {
        writeFile(folder.path() / name, bytes);
        return path(name);
    }

    TempFolder folder;
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
                             files,    path("program"), path("current")};
};

} // namespace keystride::testing
