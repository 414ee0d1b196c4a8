// keystride-mark as a teacher runs it: files in, marks and exit status out.
#include "platform/panes/memory_pane.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <unistd.h>

namespace keystride {
namespace {

namespace fs = std::filesystem;

struct Ran {
    int status = -1;
    std::string out;
};

// Runs in `folder`, where the results file "Resultaat.res" lands.
Ran run(const std::string& arguments, const fs::path& folder = fs::temp_directory_path()) {
    const std::string command = "cd '" + folder.string() + "' && " +
                                std::string(KEYSTRIDE_BIN_DIR) + "/keystride-mark " + arguments +
                                " 2>&1";
    Ran result;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return result;
    std::array<char, 4096> buffer{};
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

// The value of a top-level JSON key, as raw text up to the next top-level key.
std::string field(const std::string& json, const std::string& key) {
    const std::string marker = "\"" + key + "\":";
    const std::size_t start = json.find(marker);
    if (start == std::string::npos)
        return "<missing>";
    std::size_t i = start + marker.size();
    int depth = 0;
    bool inString = false;
    const std::size_t begin = i;
    for (; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            ++depth;
        } else if (c == ']' || c == '}') {
            if (depth == 0)
                break;
            --depth;
        } else if (c == ',' && depth == 0) {
            break;
        }
    }
    return json.substr(begin, i - begin);
}

class KeystrideMarkTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("keystride-mark-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
        write("source.txt",
              "The morning train to the coast leaves at seven, and most of the passengers are "
              "children on their way to school.\r\nAt the third station a farmer climbs aboard "
              "with a basket of oranges. He offers one to every child who greets him politely. "
              "Nobody refuses the offer and the journey goes on.\r\n");
        write("typed.txt",
              "The morning train to the coast leaves at seven, and most of the pasengers are "
              "children on their way to school.\r\nAt the third station a farmer climbs aboard "
              "with a basket of of oranges. He offers one to every child who greets him");
    }
    void TearDown() override { fs::remove_all(folder); }

    void write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    std::string at(const std::string& name) const { return (folder / name).string(); }

    fs::path folder;
};

TEST_F(KeystrideMarkTest, PlainTextAndTheSameTestSavedAsRtfGetTheSameMarks) {
    for (const char* name : {"source", "typed"}) {
        MemoryPane pane(CharFormat{"Courier New", 12.0});
        ASSERT_FALSE(pane.loadFile(at(std::string(name) + ".txt")));
        ASSERT_FALSE(pane.saveFile(at(std::string(name) + ".rtf")));
    }
    const Ran plain =
        run("--json --no-write --marking colour " + at("source.txt") + " " + at("typed.txt"));
    const Ran rich =
        run("--json --no-write --marking colour " + at("source.rtf") + " " + at("typed.rtf"));
    ASSERT_EQ(plain.status, 0) << plain.out;
    ASSERT_EQ(rich.status, 0) << rich.out;
    for (const char* key : {"completed", "source_end", "stroke_count", "errors", "repeats",
                            "excess_words", "error_count", "wpm", "report", "typed_text"})
        EXPECT_EQ(field(plain.out, key), field(rich.out, key)) << key;
    EXPECT_EQ(field(plain.out, "errors"), "[{\"word\":\"pasengers \",\"start\":65,\"class\":0},"
                                          "{\"word\":\"of \",\"start\":174,\"class\":0}]");
    EXPECT_EQ(field(plain.out, "excess_words"), "[\"(of )\"]") << "the doubled word is bracketed";
}

TEST_F(KeystrideMarkTest, WritesTheMarkedTestAndTheResultLine) {
    const Ran r = run("--marking colour " + at("source.txt") + " " + at("typed.txt"), folder);
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Less no. of words with errors:"), std::string::npos) << r.out;
    EXPECT_TRUE(fs::exists(at("typed.rug")));
    std::ifstream results(folder / "Resultaat.res", std::ios::binary);
    std::string line;
    std::getline(results, line);
    EXPECT_EQ(line, at("typed.rug") + "   4.5 wpm\r");
}

TEST_F(KeystrideMarkTest, RunsThatEndWithAMessageReportIt) {
    write("short.txt", "Only a few words.");
    const Ran r = run("--json --no-write " + at("source.txt") + " " + at("short.txt"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(field(r.out, "completed"), "false");
    EXPECT_EQ(field(r.out, "messages"),
              "[{\"title\":\"Error\",\"text\":\"Speed test missing, or should be at least 50 "
              "characters...\"}]");
    EXPECT_EQ(field(r.out, "end_found"), "null");
    EXPECT_EQ(field(r.out, "wpm"), "null");
}

TEST_F(KeystrideMarkTest, ACutOffGivesTheEndOfTheComparedPart) {
    write("lost.txt", std::string(80, 'q'));
    Ran r = run("--json --no-write " + at("source.txt") + " " + at("lost.txt"));
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(field(r.out, "messages").find("Unable to compare"), std::string::npos);
    r = run("--json --no-write --cut-off 100 " + at("source.txt") + " " + at("lost.txt"));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(field(r.out, "source_end"), "100");
}

// A test typed at 1.5 spacing whose empty last paragraph was saved at double spacing: opening it
// gives every paragraph 1.5 spacing, so the spacing check passes.
TEST_F(KeystrideMarkTest, OpeningATestGivesEveryParagraphItsSpacing) {
    const std::string sentence =
        "The quick brown fox jumps over the lazy dog near the river bank today.";
    write("spacing.rtf", "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Courier New;}}"
                         "{\\colortbl;\\red0\\green0\\blue0;}\n"
                         "\\pard\\sl360\\slmult1\\f0\\fs24 " +
                             sentence +
                             "\\par\n"
                             "\\pard\\sl480\\slmult1\\f0\\fs24 \\par\n}\n");
    write("sentence.txt", sentence + " It was warm.");
    write("Settings", "N\r\nJ\r\nJ\r\nN\r\nN\r\nN\r\nN\r\nN\r\n");
    const Ran r = run("--settings " + at("Settings") + " --marking font --no-write --json " +
                      at("sentence.txt") + " " + at("spacing.rtf"));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(field(r.out, "completed"), "true");
    EXPECT_EQ(field(r.out, "report").find("Wrong line spacing"), std::string::npos) << r.out;
}

// The click sets the end of the compared part before the run's gates look at the test.
TEST_F(KeystrideMarkTest, ACutOffIsReportedEvenWhenTheTestIsAlreadyMarked) {
    write("marked.txt", "Some words typed.\r\nLess no. of words with errors:  -  3 =  80");
    const Ran r =
        run("--json --no-write --cut-off 20 " + at("source.txt") + " " + at("marked.txt"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(field(r.out, "completed"), "false");
    EXPECT_EQ(field(r.out, "source_end"), "20");
}

TEST_F(KeystrideMarkTest, BadUsageAndUnreadableFilesExitWithTwo) {
    EXPECT_EQ(run("").status, 2);
    EXPECT_EQ(run("--line-spacing 3 a b").status, 2);
    const Ran missing = run("--no-write " + at("source.txt") + " " + at("nothere.txt"));
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.out.find("nothere.txt"), std::string::npos) << "the message names the file";
    const Ran badSettings =
        run("--settings " + at("none/Settings") + " " + at("source.txt") + " " + at("typed.txt"));
    EXPECT_EQ(badSettings.status, 2);
    EXPECT_NE(badSettings.out.find("none/Settings"), std::string::npos);
}

TEST_F(KeystrideMarkTest, AFolderMarksEveryTestInNameOrder) {
    fs::create_directories(folder / "class");
    fs::copy_file(folder / "typed.txt", folder / "class" / "b.txt");
    fs::copy_file(folder / "typed.txt", folder / "class" / "a.txt");
    write("class/notes.doc.bak", "not a test");
    const Ran r = run("--no-write " + at("source.txt") + " " + at("class"));
    ASSERT_EQ(r.status, 0) << r.out;
    const std::size_t a = r.out.find("class/a.txt");
    const std::size_t b = r.out.find("class/b.txt");
    ASSERT_NE(a, std::string::npos);
    ASSERT_NE(b, std::string::npos);
    EXPECT_LT(a, b);
    EXPECT_EQ(r.out.find("notes"), std::string::npos);
    EXPECT_NE(r.out.find("strokes"), std::string::npos) << "several tests end with a table";
}

// The class's spreadsheet and report are outputs of their own: --no-write leaves them on, and
// one that cannot be written is said with exit status 2.
TEST_F(KeystrideMarkTest, TheSpreadsheetAndReportAreWrittenWhereMarkedTestsAreNot) {
    const Ran r = run("--no-write --csv " + at("class.csv") + " --report " + at("report") + " " +
                          at("source.txt") + " " + at("typed.txt"),
                      folder);
    ASSERT_EQ(r.status, 0) << r.out;
    std::ifstream csv(folder / "class.csv", std::ios::binary);
    std::string header, row;
    std::getline(csv, header);
    std::getline(csv, row);
    EXPECT_TRUE(header.starts_with("test,completed,strokes,errors,wpm,")) << header;
    EXPECT_TRUE(row.starts_with(at("typed.txt") + ",true,")) << row;
    EXPECT_TRUE(fs::exists(folder / "report" / "index.html"));
    EXPECT_TRUE(fs::exists(folder / "report" / "test-01.html"));
    EXPECT_FALSE(fs::exists(folder / "typed.rug"));
    EXPECT_FALSE(fs::exists(folder / "Resultaat.res"));

    const Ran blocked = run("--no-write --report " + at("typed.txt") + "/report " +
                            at("source.txt") + " " + at("typed.txt"));
    EXPECT_EQ(blocked.status, 2);
    EXPECT_NE(blocked.out.find("cannot write the report into " + at("typed.txt")),
              std::string::npos)
        << blocked.out;
    EXPECT_EQ(run("--jobs 0 " + at("source.txt") + " " + at("typed.txt")).status, 2);
}

} // namespace
} // namespace keystride
