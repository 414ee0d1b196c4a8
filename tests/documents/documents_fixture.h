// A window without a window for the document commands: in-memory panes over a file layer that
// can be made to fail, scripted dialogs and message boxes, a view that remembers what it was
// told, a real workspace command set for ClearSourceMarks and Exit, and a fresh temporary folder.
#pragma once

#include "documents/document_commands.h"
#include "platform/panes/memory_pane.h"
#include "support/faulty_file_system.h"
#include "support/recording_view.h"
#include "support/scripted_clipboard.h"
#include "support/scripted_services.h"
#include "support/test_files.h"
#include "workspace/workspace_commands.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

namespace keystride::testing {

// A word processor that records what it is asked and does what the test says.
class ScriptedWordProcessor : public WordProcessor {
public:
    FileResult convertToRtf(const std::string& docPath, const std::string& rtfPath) override {
        conversions.emplace_back(docPath, rtfPath);
        if (conversionError)
            return conversionError;
        std::ofstream(rtfPath, std::ios::binary) << convertedRtf;
        return std::nullopt;
    }
    FileResult newDocumentFromRtf(std::string_view rtf, int leftMarginPoints) override {
        exported.emplace_back(std::string(rtf), leftMarginPoints);
        return exportError;
    }

    std::string convertedRtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Converted text.\\par}";
    FileResult conversionError;
    FileResult exportError;
    std::vector<std::pair<std::string, std::string>> conversions;
    std::vector<std::pair<std::string, int>> exported;
};

inline std::filesystem::path makeTempFolder(const std::string& prefix) {
    std::random_device random;
    auto root = std::filesystem::temp_directory_path() /
                (prefix + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(root);
    return root;
}

class DocumentsTest : public ::testing::Test {
protected:
    DocumentsTest()
        : root(makeTempFolder("keystride-documents-")), context{typed,
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
                                                                (root / "program").string(),
                                                                (root / "current").string()},
          workspace(context), commands(context, wordProcessor, clipboard,
                                       DocumentHooks{[this] { workspace.mnuExit(); }}) {
        std::filesystem::create_directories(root / "program");
        std::filesystem::create_directories(root / "current");
        CharFormat sourceFormat;
        sourceFormat.size = 9.75;
        source.setBaseFormat(sourceFormat);
        workspace.setSaveSpeedTestAs([this] { commands.mnuSave(); });
    }
    ~DocumentsTest() override {
        std::error_code ignored;
        std::filesystem::remove_all(root, ignored);
    }

    std::string path(const std::string& name) const { return (root / name).string(); }
    std::string put(const std::string& name, const std::string& bytes) const {
        writeFile(root / name, bytes);
        return path(name);
    }
    std::vector<std::string> messageTexts() const {
        std::vector<std::string> texts;
        for (const auto& shown : messages.shown())
            texts.push_back(shown.text);
        return texts;
    }

    std::filesystem::path root;
    FaultyFileSystem files;
    MemoryPane typed{CharFormat{}, files};
    MemoryPane source{CharFormat{}, files};
    marking::WorkspaceState state;
    SettingsStore settings;
    RecordingView view;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    ScriptedPrinting printing;
    ManualClock clock;
    ScriptedProcessLauncher processes;
    ScriptedWordProcessor wordProcessor;
    ScriptedClipboard clipboard;
    WorkspaceContext context;
    WorkspaceCommands workspace;
    DocumentCommands commands;
};

} // namespace keystride::testing
