// keystride-mark with word-processor files as source and as speed tests. A stand-in "soffice" on
// the PATH writes the RTF that LibreOffice would and logs each run, so no office suite is needed:
// every kind is converted the way the open commands convert it, once per folder and kind.
#include "documents_fixture.h"

#include "platform/desktop/posix_process_launcher.h"

namespace keystride::testing {
namespace {

namespace fs = std::filesystem;

const std::string Text = "The quick brown fox jumps over the lazy dog near the river bank today.";

class MarkConversion : public ::testing::Test {
protected:
    MarkConversion() {
        for (const char* name : {"bin", "source", "tests"})
            fs::create_directories(folder.path() / name);
        standIn("echo run >> '" + folder.file("runs") +
                "'\nout=.\nwhile [ $# -gt 0 ]; do\n  case \"$1\" in\n"
                "    --outdir) out=\"$2\"; shift 2;;\n"
                "    *.doc|*.DOC|*.docx|*.DOCX|*.odt|*.ODT)\n"
                "      n=$(/usr/bin/basename \"$1\"); printf '{\\\\rtf1\\\\ansi %s\\\\par}' '" +
                Text + "' > \"$out/${n%.*}.rtf\"; shift;;\n    *) shift;;\n  esac\ndone\n");
    }
    void standIn(const std::string& script) {
        writeFile(folder.path() / "bin" / "soffice", "#!/bin/sh\n" + script);
        fs::permissions(folder.path() / "bin" / "soffice", fs::perms::owner_all);
    }
    ProcessOutcome mark(const std::string& source) {
        return PosixProcessLauncher().run(std::string(KEYSTRIDE_BIN_DIR) + "/keystride-mark",
                                          {"--no-write", folder.file(source), folder.file("tests")},
                                          std::chrono::seconds(120));
    }

    TempFolder folder;
    ScopedEnv path{"PATH", folder.file("bin") + ":/bin:/usr/bin"};
};

TEST_F(MarkConversion, SourceAndTestsOfEveryKindAreConvertedOnceAndMarked) {
    writeFile(folder.path() / "source" / "lesson.docx", "document");
    for (const char* name : {"a.docx", "a2.DOCX", "b.odt", "c.doc"})
        writeFile(folder.path() / "tests" / name, "document");
    writeFile(folder.path() / "tests" / "d.txt", Text);
    // An older conversion of a.docx: marked once, as the document.
    writeFile(folder.path() / "tests" / "a.rtf", "{\\rtf1 stale}");

    const ProcessOutcome outcome = mark("source/lesson.docx");
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    for (const char* name : {"a.rtf", "a2.rtf", "b.rtf", "c.rtf", "d.txt"}) {
        const std::string heading = "== " + folder.file("tests/") + name + "\n";
        const std::size_t first = outcome.output.find(heading);
        EXPECT_NE(first, std::string::npos) << name << "\n" << outcome.output;
        EXPECT_EQ(outcome.output.find(heading, first + 1), std::string::npos) << name;
    }
    EXPECT_EQ(readFile(folder.path() / "tests" / "a.rtf").find("stale"), std::string::npos);
    EXPECT_TRUE(fs::exists(folder.path() / "source" / "lesson.rtf"));
    // The source's folder once; the tests' folder once for .docx (two documents), once for
    // .odt, once for the .doc.
    EXPECT_EQ(readFile(folder.file("runs")), "run\nrun\nrun\nrun\n");
}

TEST_F(MarkConversion, AFailedConversionIsReportedAndTheOtherTestsAreMarked) {
    writeFile(folder.path() / "source" / "source.txt", Text);
    writeFile(folder.path() / "tests" / "good.txt", Text);
    writeFile(folder.path() / "tests" / "bad.doc", "document");
    standIn("exit 1\n");
    const ProcessOutcome outcome = mark("source/source.txt");
    EXPECT_EQ(outcome.exitCode, 2) << outcome.output;
    EXPECT_NE(outcome.output.find("cannot convert the speed test " + folder.file("tests/bad.doc")),
              std::string::npos)
        << outcome.output;
    EXPECT_NE(outcome.output.find("== " + folder.file("tests/good.txt")), std::string::npos);
}

} // namespace
} // namespace keystride::testing
