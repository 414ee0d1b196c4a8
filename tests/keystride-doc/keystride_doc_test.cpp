// keystride-doc run as a program: its output and exit status for good and bad input.
#include "platform/panes/memory_pane.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <sys/wait.h>

namespace keystride {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class KeystrideDoc : public ::testing::Test {
protected:
    KeystrideDoc() {
        std::random_device random;
        m_folder = fs::temp_directory_path() / ("keystride-doc-" + std::to_string(random()));
        fs::create_directories(m_folder);
    }
    ~KeystrideDoc() override {
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    std::string put(const std::string& name, const std::string& bytes) {
        std::string path = (m_folder / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    ToolRun run(const std::string& arguments) {
        const std::string errPath = (m_folder / "stderr").string();
        const std::string command =
            std::string(KEYSTRIDE_BIN_DIR) + "/keystride-doc " + arguments + " 2>" + errPath;
        ToolRun result;
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe)
            return result;
        char buffer[4096];
        while (std::size_t got = std::fread(buffer, 1, sizeof buffer, pipe))
            result.out.append(buffer, got);
        int status = ::pclose(pipe);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::ifstream err(errPath, std::ios::binary);
        result.err.assign(std::istreambuf_iterator<char>(err), {});
        return result;
    }

    fs::path m_folder;
};

TEST_F(KeystrideDoc, PrintsPlainTextAsUtf8WithCrLf) {
    std::string path = put("test.txt", "caf\xe9\nline");
    ToolRun result = run("text '" + path + "'");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "caf\xc3\xa9\r\nline");
}

TEST_F(KeystrideDoc, PrintsRunsAndMarkupOfAnRtfFile) {
    MemoryPane pane;
    pane.setText(u"ab cd");
    pane.setSelStart(3);
    pane.setSelLength(2);
    pane.setSelBold(true);
    pane.setSelFontSize(9.75);
    std::string path = put("test.rtf", pane.textRtf());

    ToolRun runs = run("runs '" + path + "'");
    EXPECT_EQ(runs.status, 0) << runs.err;
    EXPECT_EQ(runs.out.substr(0, runs.out.find("},") + 2),
              "[{\"start\":0,\"length\":3,\"font\":\"Courier New\",\"size\":12,\"colour\":"
              "\"#000000\",\"background\":null,\"bold\":false,\"underline\":false},");
    EXPECT_NE(runs.out.find("{\"start\":3,\"length\":2,"), std::string::npos);
    EXPECT_NE(runs.out.find("\"bold\":true"), std::string::npos);

    ToolRun rtf = run("rtf '" + path + "'");
    EXPECT_EQ(rtf.status, 0);
    EXPECT_EQ(rtf.out.rfind("{\\rtf1\\ansi\\ansicpg1252\\deff0", 0), 0u) << rtf.out;
}

TEST_F(KeystrideDoc, BadUsageAndUnreadableFilesExitWithTwo) {
    const std::string missing = (m_folder / "missing.rtf").string();
    const struct {
        std::string arguments;
        std::string message;
    } rows[] = {
        {"", "usage"},
        {"text", "usage"},
        {"words '" + missing + "'", "unknown mode"},
        {"text '" + missing + "'", missing},
        {"runs '" + m_folder.string() + "'", m_folder.string()},
    };
    for (const auto& row : rows) {
        ToolRun result = run(row.arguments);
        EXPECT_EQ(result.status, 2) << row.arguments;
        EXPECT_NE(result.err.find(row.message), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << row.arguments;
    }
}

} // namespace
} // namespace keystride
