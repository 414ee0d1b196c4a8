// The document commands in a workspace without a window, with a word processor that does what
// the test says and the real workspace commands for ClearSourceMarks and Exit.
#pragma once

#include "documents/document_commands.h"
#include "platform/desktop/libreoffice.h"
#include "support/scripted_clipboard.h"
#include "support/workspace_world.h"
#include "workspace/workspace_commands.h"

#include <gtest/gtest.h>

#include <fnmatch.h>

namespace keystride::testing {

class DocumentsTest : public ::testing::Test, protected WorkspaceWorld {
protected:
    DocumentsTest() {
        workspace.setSaveSpeedTestAs([this] { commands.mnuSave(); });
    }

    // Every message shown, as "title|text", matches its pattern: "*" stands for any text and
    // "%" for the test's folder.
    void expectMessages(const std::vector<std::string>& patterns) const {
        ASSERT_EQ(messages.shown().size(), patterns.size());
        for (std::size_t i = 0; i < patterns.size(); ++i) {
            const std::string shown = messages.shown()[i].title + "|" + messages.shown()[i].text;
            EXPECT_TRUE(matches(shown, patterns[i])) << shown;
        }
    }
    bool matches(const std::string& text, const std::string& pattern) const {
        return ::fnmatch(expand(pattern).c_str(), text.c_str(), FNM_NOESCAPE) == 0;
    }
    // Paints `length` characters from `start` in `colour`, as a marking run does.
    static void paint(DocumentPane& pane, int start, int length, Colour colour) {
        pane.setSelStart(start);
        pane.setSelLength(length);
        pane.setSelColour(colour);
    }
    // `text` with every "%" replaced by the test's folder.
    std::string expand(std::string text) const {
        for (std::size_t at; (at = text.find('%')) != std::string::npos;)
            text.replace(at, 1, folder.path().string());
        return text;
    }

    LibreOfficeWordProcessor office{processes, files, std::chrono::seconds(120)};
    ScriptedClipboard clipboard;
    WorkspaceCommands workspace{context};
    DocumentCommands commands{context, office, clipboard,
                              DocumentHooks{[this] { workspace.mnuExit(); }}};
};

} // namespace keystride::testing
