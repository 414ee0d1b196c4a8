// keystride-doc run as a program: its output and exit status for good and bad input.
#include "platform/panes/memory_pane.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include <sys/wait.h>

namespace keystride {
namespace {

TEST(KeystrideDoc, PrintsTextRunsAndMarkupOrExitsWithTwo) {
    testing::TempFolder folder;
    MemoryPane pane;
    pane.setText(u"ab cd");
    pane.setSelStart(3);
    pane.setSelLength(2);
    pane.setSelBold(true);
    pane.setSelUnderline(true);
    pane.setSelFontSize(9.75);
    pane.setSelColour(colours::red);
    pane.setSelBackground(Colour::rgb(0xab, 0xcd, 0xef));
    const std::string rtf = "'" + folder.file("test.rtf") + "'";
    testing::writeFile(folder.file("test.rtf"), pane.textRtf());
    testing::writeFile(folder.file("test.txt"), "caf\xe9\nline");
    const std::string missing = folder.file("missing.rtf");

    // Arguments, exit status, and what standard output holds or else what standard error says.
    const std::tuple<std::string, int, std::string> rows[] = {
        {"text '" + folder.file("test.txt") + "'", 0, "caf\xc3\xa9\r\nline"},
        {"runs " + rtf, 0,
         "[{\"start\":0,\"length\":3,\"font\":\"Courier New\",\"size\":12,\"colour\":\"#000000\","
         "\"background\":null,\"bold\":false,\"underline\":false},"
         "{\"start\":3,\"length\":2,\"font\":\"Courier New\",\"size\":9.75,\"colour\":\"#ff0000\","
         "\"background\":\"#abcdef\",\"bold\":true,\"underline\":true}]\n"},
        {"rtf " + rtf, 0, pane.textRtf()},
        {"", 2, "usage"},
        {"text", 2, "usage"},
        {"words " + rtf, 2, "unknown mode"},
        {"text '" + missing + "'", 2, missing},
        {"runs '" + folder.path().string() + "'", 2, folder.path().string()},
    };
    for (const auto& [arguments, status, expected] : rows) {
        const std::string command = std::string(KEYSTRIDE_BIN_DIR) + "/keystride-doc " + arguments +
                                    " 2>'" + folder.file("stderr") + "'";
        FILE* pipe = ::popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string out;
        char buffer[4096];
        while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
            out.append(buffer, got);
        const int exit = ::pclose(pipe);
        const std::string err = testing::readFile(folder.file("stderr"));
        EXPECT_EQ(WIFEXITED(exit) ? WEXITSTATUS(exit) : -1, status) << arguments << ": " << err;
        if (status == 0) {
            EXPECT_EQ(out, expected) << arguments;
        } else {
            EXPECT_TRUE(out.empty()) << arguments;
            EXPECT_NE(err.find(expected), std::string::npos) << err;
        }
    }
}

} // namespace
} // namespace keystride
