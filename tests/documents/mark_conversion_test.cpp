// keystride-mark with word-processor files as source and as speed tests, in a folder beside an
// older .rtf of the same name. A stand-in "soffice" on the PATH writes the RTF that LibreOffice
// would and logs each run, so the test needs no office suite: it checks that every kind is
// converted the way the open commands convert it, once per folder and kind.
#include "documents_fixture.h"

#include "platform/desktop/posix_process_launcher.h"

#include <algorithm>
#include <cstdlib>

namespace keystride::testing {
namespace {

namespace fs = std::filesystem;

const char* const kText = "The quick brown fox jumps over the lazy dog near the river bank today.";

class MarkConversion : public ::testing::Test {
protected:
    MarkConversion() : root(makeTempFolder("keystride-mark-convert-")) {
        fs::create_directories(root / "bin");
        fs::create_directories(root / "source");
        fs::create_directories(root / "tests");
        const fs::path script = root / "bin" / "soffice";
        writeFile(
            script,
            "#!/bin/sh\necho run >> '" + (root / "runs").string() +
                "'\nout=.\nwhile [ $# -gt 0 ]; do\n  case \"$1\" in\n"
                "    --outdir) out=\"$2\"; shift 2;;\n"
                "    *.doc|*.DOC|*.docx|*.DOCX|*.odt|*.ODT)\n"
                "      n=$(/usr/bin/basename \"$1\"); printf '{\\\\rtf1\\\\ansi %s\\\\par}' '" +
                std::string(kText) +
                "' > \"$out/${n%.*}.rtf\"; shift;;\n"
                "    *) shift;;\n  esac\ndone\n");
        fs::permissions(script, fs::perms::owner_all);
        if (const char* path = std::getenv("PATH"))
            m_oldPath = path;
        ::setenv("PATH", ((root / "bin").string() + ":/bin:/usr/bin").c_str(), 1);
    }
    ~MarkConversion() override {
        ::setenv("PATH", m_oldPath.c_str(), 1);
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    int runs() const {
        const std::string log = readFile(root / "runs");
        return static_cast<int>(std::count(log.begin(), log.end(), '\n'));
    }

    fs::path root;
    PosixProcessLauncher launcher;

private:
    std::string m_oldPath;
};

TEST_F(MarkConversion, SourceAndTestsOfEveryKindAreConvertedAndMarked) {
    writeFile(root / "source" / "lesson.docx", "document");
    for (const char* name : {"a.docx", "a2.DOCX", "b.odt", "c.doc", "d.txt"})
        writeFile(root / "tests" / name, "document");
    writeFile(root / "tests" / "d.txt", kText);
    // An older conversion of a.docx: marked once, as the document.
    writeFile(root / "tests" / "a.rtf", "{\\rtf1 stale}");

    const ProcessOutcome outcome = launcher.run(
        std::string(KEYSTRIDE_BIN_DIR) + "/keystride-mark",
        {"--no-write", (root / "source" / "lesson.docx").string(), (root / "tests").string()},
        std::chrono::seconds(120));
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    for (const char* name : {"a.rtf", "a2.rtf", "b.rtf", "c.rtf", "d.txt"}) {
        const std::string heading = "== " + (root / "tests" / name).string() + "\n";
        std::size_t count = 0;
        for (std::size_t at = outcome.output.find(heading); at != std::string::npos;
             at = outcome.output.find(heading, at + 1))
            ++count;
        EXPECT_EQ(count, 1u) << name << "\n" << outcome.output;
    }
    EXPECT_EQ(readFile(root / "tests" / "a.rtf").find("stale"), std::string::npos);
    EXPECT_TRUE(fs::exists(root / "source" / "lesson.rtf"));
    // The source's folder once; the tests' folder once for .docx (two documents), once for
    // .odt, once for the .doc.
    EXPECT_EQ(runs(), 4);
}

TEST_F(MarkConversion, AFailedConversionIsReportedAndTheOtherTestsAreMarked) {
    writeFile(root / "source" / "source.txt", kText);
    writeFile(root / "tests" / "good.txt", kText);
    writeFile(root / "tests" / "bad.doc", "document");
    writeFile(root / "bin" / "soffice", "#!/bin/sh\nexit 1\n");
    const ProcessOutcome outcome = launcher.run(
        std::string(KEYSTRIDE_BIN_DIR) + "/keystride-mark",
        {"--no-write", (root / "source" / "source.txt").string(), (root / "tests").string()},
        std::chrono::seconds(120));
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 2) << outcome.output;
    EXPECT_NE(outcome.output.find("cannot convert the speed test " +
                                  (root / "tests" / "bad.doc").string()),
              std::string::npos)
        << outcome.output;
    EXPECT_NE(outcome.output.find("== " + (root / "tests" / "good.txt").string()),
              std::string::npos)
        << outcome.output;
}

} // namespace
} // namespace keystride::testing
