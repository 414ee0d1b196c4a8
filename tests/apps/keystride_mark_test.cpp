// keystride-mark as a teacher runs it: files in, marks and exit status out.
#include "platform/panes/memory_pane.h"
#include "platform/richtext/format_json.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
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

// The value of a top-level key of the first JSON object printed; null when there is none.
Json field(const std::string& out, const std::string& key) {
    const Json object = Json::parse(out.substr(0, out.find('\n')), nullptr, false);
    return object.is_object() && object.contains(key) ? object[key] : Json();
}

class KeystrideMarkTest : public ::testing::Test {
protected:
    void SetUp() override {
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
    void write(const std::string& name, const std::string& bytes) {
        testing::writeFile(temp.path() / name, bytes);
    }
    std::string at(const std::string& name) const { return temp.file(name); }

    testing::TempFolder temp;
    const fs::path& folder = temp.path();
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
    EXPECT_EQ(
        field(plain.out, "errors").dump(),
        R"([{"word":"pasengers ","start":65,"class":0},{"word":"of ","start":174,"class":0}])");
    EXPECT_EQ(field(plain.out, "excess_words"), Json::array({"(of )"}))
        << "the doubled word is bracketed";
    EXPECT_EQ(field(plain.out, "wpm").dump(), "4.5");
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
    EXPECT_EQ(field(r.out, "completed"), false);
    EXPECT_EQ(field(r.out, "messages").dump(),
              R"([{"title":"Error","text":"Speed test missing, or should be at least 50 )"
              R"(characters..."}])");
    EXPECT_TRUE(field(r.out, "end_found").is_null());
    EXPECT_TRUE(field(r.out, "wpm").is_null());
}

TEST_F(KeystrideMarkTest, ACutOffGivesTheEndOfTheComparedPart) {
    write("lost.txt", std::string(80, 'q'));
    Ran r = run("--json --no-write " + at("source.txt") + " " + at("lost.txt"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(field(r.out, "messages")[0]["title"], "Unable to compare");
    r = run("--json --no-write --cut-off 100 " + at("source.txt") + " " + at("lost.txt"));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(field(r.out, "source_end"), 100);
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
    EXPECT_EQ(field(r.out, "completed"), true);
    EXPECT_EQ(field(r.out, "report").get<std::string>().find("Wrong line spacing"),
              std::string::npos)
        << r.out;
}

// The click sets the end of the compared part before the run's gates look at the test.
TEST_F(KeystrideMarkTest, ACutOffIsReportedEvenWhenTheTestIsAlreadyMarked) {
    write("marked.txt", "Some words typed.\r\nLess no. of words with errors:  -  3 =  80");
    const Ran r =
        run("--json --no-write --cut-off 20 " + at("source.txt") + " " + at("marked.txt"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(field(r.out, "completed"), false);
    EXPECT_EQ(field(r.out, "source_end"), 20);
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

} // namespace
} // namespace keystride
