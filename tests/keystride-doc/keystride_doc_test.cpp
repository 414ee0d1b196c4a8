// keystride-doc run as a program: its output and exit status for good and bad input.
#include "platform/panes/memory_pane.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <sys/wait.h>

namespace keystride {
namespace {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class KeystrideDoc : public ::testing::Test {
protected:
    std::string put(const std::string& name, const std::string& bytes) {
        testing::writeFile(m_folder.file(name), bytes);
        return m_folder.file(name);
    }

    ToolRun run(const std::string& arguments) {
        const std::string command = std::string(KEYSTRIDE_BIN_DIR) + "/keystride-doc " + arguments +
                                    " 2>'" + m_folder.file("stderr") + "'";
        ToolRun result;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe)
            return result;
        char buffer[4096];
        while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
            result.out.append(buffer, got);
        const int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = testing::readFile(m_folder.file("stderr"));
        return result;
    }

    testing::TempFolder m_folder;
};

TEST_F(KeystrideDoc, PrintsTextRunsAndMarkup) {
    MemoryPane pane;
    pane.setText(u"ab cd");
    pane.setSelStart(3);
    pane.setSelLength(2);
    pane.setSelBold(true);
    pane.setSelUnderline(true);
    pane.setSelFontSize(9.75);
    pane.setSelColour(colours::red);
    pane.setSelBackground(Colour::rgb(0xab, 0xcd, 0xef));
    const std::string rtf = put("test.rtf", pane.textRtf());
    const std::string text = put("test.txt", "caf\xe9\nline");

    const std::pair<std::string, std::string> rows[] = {
        {"text '" + text + "'", "caf\xc3\xa9\r\nline"},
        {"runs '" + rtf + "'",
         "[{\"start\":0,\"length\":3,\"font\":\"Courier New\",\"size\":12,\"colour\":\"#000000\","
         "\"background\":null,\"bold\":false,\"underline\":false},"
         "{\"start\":3,\"length\":2,\"font\":\"Courier New\",\"size\":9.75,\"colour\":\"#ff0000\","
         "\"background\":\"#abcdef\",\"bold\":true,\"underline\":true}]\n"},
        {"rtf '" + rtf + "'", pane.textRtf()},
    };
    for (const auto& [arguments, out] : rows) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.status, 0) << arguments << ": " << result.err;
        EXPECT_EQ(result.out, out) << arguments;
    }
}

TEST_F(KeystrideDoc, BadUsageAndUnreadableFilesExitWithTwo) {
    const std::string missing = m_folder.file("missing.rtf");
    const std::string folder = m_folder.path().string();
    const std::pair<std::string, std::string> rows[] = {
        {"", "usage"},
        {"text", "usage"},
        {"words '" + missing + "'", "unknown mode"},
        {"text '" + missing + "'", missing},
        {"runs '" + folder + "'", folder},
    };
    for (const auto& [arguments, message] : rows) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments;
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << arguments;
    }
}

} // namespace
} // namespace keystride
