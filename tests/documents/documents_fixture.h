// The document commands in a workspace without a window, with a word processor that does what
// the test says and the real workspace commands for ClearSourceMarks and Exit.
#pragma once

#include "documents/document_commands.h"
#include "support/scripted_clipboard.h"
#include "support/workspace_world.h"
#include "workspace/workspace_commands.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace keystride::testing {

// A word processor that records what it is asked and does what the test says.
class ScriptedWordProcessor : public WordProcessor {
public:
    FileResult convertToRtf(const std::string& docPath, const std::string& rtfPath) override {
        conversions.emplace_back(docPath, rtfPath);
        if (!conversionError)
            writeFile(rtfPath, "{\\rtf1\\ansi Converted text.\\par}");
        return conversionError;
    }
    FileResult newDocumentFromRtf(std::string_view, int) override { return {}; }

    FileResult conversionError;
    std::vector<std::pair<std::string, std::string>> conversions;
};

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() { m_old ? ::setenv(m_name, m_old->c_str(), 1) : ::unsetenv(m_name); }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

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
            EXPECT_TRUE(matches(shown, expand(patterns[i]))) << shown;
        }
    }
    static bool matches(std::string_view text, std::string_view pattern) {
        const std::size_t star = pattern.find('*');
        if (star == std::string_view::npos)
            return text == pattern;
        for (std::size_t at = star; text.starts_with(pattern.substr(0, star)) && at <= text.size();
             ++at) {
            if (matches(text.substr(at), pattern.substr(star + 1)))
                return true;
        }
        return false;
    }
    // `text` with every "%" replaced by the test's folder.
    std::string expand(std::string text) const {
        for (std::size_t at; (at = text.find('%')) != std::string::npos;)
            text.replace(at, 1, folder.path().string());
        return text;
    }

    ScriptedWordProcessor wordProcessor;
    ScriptedClipboard clipboard;
    WorkspaceCommands workspace{context};
    DocumentCommands commands{context, wordProcessor, clipboard,
                              DocumentHooks{[this] { workspace.mnuExit(); }}};
};

} // namespace keystride::testing
