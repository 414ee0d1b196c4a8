// keystride-mark as a teacher runs it: files in, marks and exit status out.
#include "platform/panes/memory_pane.h"
#include "platform/richtext/format_json.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>

namespace keystride::testing {
namespace {

namespace fs = std::filesystem;

struct Ran {
    int status = -1;
    std::string out;
};

// The value of a top-level key of the first JSON object printed; null when there is none.
Json field(const std::string& out, const std::string& key) {
    const Json object = Json::parse(out.substr(0, out.find('\n')), nullptr, false);
    return object.is_object() && object.contains(key) ? object[key] : Json();
}

class KeystrideMark : public ::testing::Test {
protected:
    KeystrideMark() {
        put("source.txt",
            "The morning train to the coast leaves at seven, and most of the passengers are "
            "children on their way to school.\r\nAt the third station a farmer climbs aboard "
            "with a basket of oranges. He offers one to every child who greets him politely. "
            "Nobody refuses the offer and the journey goes on.\r\n");
        put("typed.txt",
            "The morning train to the coast leaves at seven, and most of the pasengers are "
            "children on their way to school.\r\nAt the third station a farmer climbs aboard "
            "with a basket of of oranges. He offers one to every child who greets him");
    }
    void put(const std::string& name, const std::string& bytes) {
        writeFile(folder.path() / name, bytes);
    }
    // Runs in the test's folder, where "Resultaat.res" lands; "%" in `arguments` stands for
    // the folder. `environment` goes before the command.
    Ran run(const std::string& arguments, const std::string& environment = "") {
        std::string command = "cd '%' && " + environment +
                              " " KEYSTRIDE_BIN_DIR "/keystride-mark " + arguments + " 2>&1";
        for (std::size_t at; (at = command.find('%')) != std::string::npos;)
            command.replace(at, 1, folder.path().string());
        Ran result;
        FILE* pipe = popen(command.c_str(), "r");
        std::array<char, 4096> buffer{};
        for (std::size_t n; pipe && (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
            result.out.append(buffer.data(), n);
        const int status = pipe ? pclose(pipe) : -1;
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    TempFolder folder;
};

TEST_F(KeystrideMark, PlainTextAndTheSameTestSavedAsRtfGetTheSameMarks) {
    for (const char* name : {"source", "typed"}) {
        MemoryPane pane(CharFormat{"Courier New", 12.0});
        ASSERT_FALSE(pane.loadFile(folder.file(std::string(name) + ".txt")));
        ASSERT_FALSE(pane.saveFile(folder.file(std::string(name) + ".rtf")));
    }
    const Ran plain = run("--json --no-write --marking colour %/source.txt %/typed.txt");
    const Ran rich = run("--json --no-write --marking colour %/source.rtf %/typed.rtf");
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

TEST_F(KeystrideMark, WritesTheMarkedTestAndTheResultLine) {
    const Ran r = run("--marking colour %/source.txt %/typed.txt");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("Less no. of words with errors:"), std::string::npos) << r.out;
    EXPECT_TRUE(fs::exists(folder.file("typed.rug")));
    EXPECT_EQ(readFile(folder.file("Resultaat.res")), folder.file("typed.rug") + "   4.5 wpm\r\n");
}

// Exit status 0: marked; 1: a run ended with a message; 2: bad usage, a file that cannot be
// read or an output that cannot be written.
TEST_F(KeystrideMark, ExitStatusAndRecordOfEveryOutcome) {
    put("short.txt", "Only a few words.");
    put("lost.txt", std::string(80, 'q'));
    put("marked.txt", "Some words typed.\r\nLess no. of words with errors:  -  3 =  80");
    struct Row {
        std::string arguments;
        int status;
        Json fields; // in the JSON printed
        std::string said = "";
    };
    const Row rows[] = {
        {"%/source.txt %/short.txt",
         1,
         {{"completed", false},
          {"messages", Json::parse(R"([{"title":"Error","text":"Speed test missing, or should )"
                                   R"(be at least 50 characters..."}])")},
          {"end_found", nullptr},
          {"wpm", nullptr}}},
        {"%/source.txt %/lost.txt", 1, {{"end_found", false}}, "Unable to compare"},
        {"--cut-off 100 %/source.txt %/lost.txt", 0, {{"source_end", 100}}},
        // The click sets the end of the compared part before the run's gates look at the test.
        {"--cut-off 20 %/source.txt %/marked.txt", 1, {{"completed", false}, {"source_end", 20}}},
        {"", 2, nullptr},
        {"--line-spacing 3 a b", 2, nullptr},
        {"%/source.txt %/nothere.txt", 2, nullptr, "nothere.txt"},
        {"--settings %/none/Settings %/source.txt %/typed.txt", 2, nullptr, "none/Settings"},
        {"--jobs 0 %/source.txt %/typed.txt", 2, nullptr, "--jobs"},
        {"--report %/typed.txt/report %/source.txt %/typed.txt",
         2,
         {{"completed", true}},
         "cannot write the report into"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.arguments);
        const Ran r = run("--json --no-write " + row.arguments);
        EXPECT_EQ(r.status, row.status) << r.out;
        for (const auto& [key, value] : row.fields.items())
            EXPECT_EQ(field(r.out, key), value) << key;
        EXPECT_NE(r.out.find(row.said), std::string::npos) << r.out;
    }
}

// A test typed at 1.5 spacing whose empty last paragraph was saved at double spacing: opening it
// gives every paragraph 1.5 spacing, so the spacing check passes.
TEST_F(KeystrideMark, OpeningATestGivesEveryParagraphItsSpacing) {
    const std::string sentence =
        "The quick brown fox jumps over the lazy dog near the river bank today.";
    put("spacing.rtf", "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Courier New;}}"
                       "{\\colortbl;\\red0\\green0\\blue0;}\n"
                       "\\pard\\sl360\\slmult1\\f0\\fs24 " +
                           sentence +
                           "\\par\n"
                           "\\pard\\sl480\\slmult1\\f0\\fs24 \\par\n}\n");
    put("sentence.txt", sentence + " It was warm.");
    put("Settings", "N\r\nJ\r\nJ\r\nN\r\nN\r\nN\r\nN\r\nN\r\n");
    const Ran r = run("--settings %/Settings --marking font --no-write --json %/sentence.txt "
                      "%/spacing.rtf");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(field(r.out, "completed"), true);
    EXPECT_EQ(field(r.out, "report").get<std::string>().find("Wrong line spacing"),
              std::string::npos)
        << r.out;
}

// A folder stands for its speed tests in name order. Word-processor documents, the source's
// too, are converted the way the open commands convert them, once per folder and kind, over an
// older conversion; a document that cannot be converted is reported and the others are marked.
// A stand-in "soffice" writes the RTF that LibreOffice would and logs each run.
TEST_F(KeystrideMark, AFolderMarksEveryTestInNameOrderConvertingEachKindOnce) {
    fs::create_directories(folder.path() / "bin");
    fs::create_directories(folder.path() / "class");
    fs::create_directories(folder.path() / "given");
    for (const char* name : {"source", "typed"}) {
        MemoryPane pane;
        ASSERT_FALSE(pane.loadFile(folder.file(std::string(name) + ".txt")));
        ASSERT_FALSE(pane.saveFile(folder.file("given/" + std::string(name) + ".rtf")));
    }
    const std::string given = folder.file("given/");
    put("bin/soffice", "#!/bin/sh\necho run >> '" + folder.file("runs") +
                           "'\nout=.\nwhile [ $# -gt 0 ]; do\n  case \"$1\" in\n"
                           "    --outdir) out=\"$2\"; shift 2;;\n    *bad.doc) exit 1;;\n"
                           "    *source.docx) cp '" +
                           given +
                           "source.rtf' \"$out/source.rtf\"; shift;;\n"
                           "    *.doc|*.docx|*.DOCX|*.odt)\n      n=$(/usr/bin/basename "
                           "\"$1\"); cp '" +
                           given +
                           "typed.rtf' \"$out/${n%.*}.rtf\"; shift;;\n    *) shift;;\n"
                           "  esac\ndone\n");
    fs::permissions(folder.path() / "bin" / "soffice", fs::perms::owner_all);
    for (const char* name : {"source.docx", "class/x.docx", "class/x2.DOCX", "class/y.odt",
                             "class/z.doc", "class/bad.doc", "class/notes.doc.bak"})
        put(name, "a document");
    put("class/x.rtf", "{\\rtf1 an older conversion}");
    fs::copy_file(folder.file("typed.txt"), folder.file("class/b.txt"));
    fs::copy_file(folder.file("typed.txt"), folder.file("class/a.txt"));

    const Ran r = run("--no-write %/source.docx %/class", "PATH=%/bin:/bin:/usr/bin");
    EXPECT_EQ(r.status, 2) << r.out;
    EXPECT_NE(r.out.find("cannot convert the speed test " + folder.file("class/bad.doc")),
              std::string::npos)
        << r.out;
    std::size_t previous = 0;
    for (const char* name : {"a.txt", "b.txt", "x.rtf", "x2.rtf", "y.rtf", "z.rtf"}) {
        const std::string heading = "== " + folder.file("class/") + name + "\n";
        const std::size_t at = r.out.find(heading);
        EXPECT_TRUE(at != std::string::npos && at >= previous) << name << "\n" << r.out;
        EXPECT_EQ(r.out.find(heading, at + 1), std::string::npos) << name << " twice";
        previous = at;
    }
    EXPECT_EQ(readFile(folder.file("class/x.rtf")), readFile(given + "typed.rtf"));
    EXPECT_EQ(r.out.find("notes"), std::string::npos);
    EXPECT_NE(r.out.find("strokes"), std::string::npos) << "several tests end with a table";
    // The source's folder once; the class folder once for .docx (two documents), once for .odt,
    // once for each .doc.
    EXPECT_EQ(readFile(folder.file("runs")), "run\nrun\nrun\nrun\nrun\n");
}

// The class's spreadsheet and report are outputs of their own: --no-write leaves them on.
TEST_F(KeystrideMark, TheSpreadsheetAndReportAreWrittenWhereMarkedTestsAreNot) {
    const Ran r = run("--no-write --csv %/class.csv --report %/report %/source.txt %/typed.txt");
    ASSERT_EQ(r.status, 0) << r.out;
    const std::string csv = readFile(folder.file("class.csv"));
    EXPECT_TRUE(csv.starts_with("test,completed,strokes,errors,wpm,")) << csv;
    EXPECT_NE(csv.find("\r\n" + folder.file("typed.txt") + ",true,"), std::string::npos) << csv;
    EXPECT_TRUE(fs::exists(folder.file("report/index.html")));
    EXPECT_TRUE(fs::exists(folder.file("report/test-01.html")));
    EXPECT_FALSE(fs::exists(folder.file("typed.rug")));
    EXPECT_FALSE(fs::exists(folder.file("Resultaat.res")));
}

} // namespace
} // namespace keystride::testing
