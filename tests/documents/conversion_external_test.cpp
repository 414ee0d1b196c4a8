// Conversion with the real outside programs: .docx and .odt documents made here with pandoc and
// a .doc made from the .docx by LibreOffice are opened as speed test and as source through the
// open commands, with Docx2Rtf and LibreOffice doing the work. Skipped where they are missing.
// Docx2Rtf's own failures (no folder, no LibreOffice, LibreOffice failing or hanging) are checked
// against stand-in programs, so they need nothing installed.
#include "documents_fixture.h"

#include "platform/desktop/libreoffice.h"
#include "platform/desktop/posix_process_launcher.h"

#include <algorithm>
#include <cstdlib>

namespace keystride::testing {
namespace {

namespace fs = std::filesystem;

const char* const kMarkdown = "First paragraph of the source.\n\nSecond paragraph, with a comma.\n";
const std::u16string kText = u"First paragraph of the source.\r\nSecond paragraph, with a comma.";

// Sets an environment variable for one test and puts the old value back.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_name(name) {
        if (const char* old = std::getenv(name))
            m_old = old;
        ::setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_old)
            ::setenv(m_name, m_old->c_str(), 1);
        else
            ::unsetenv(m_name);
    }

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

std::u16string trimmed(std::u16string text) {
    while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' '))
        text.pop_back();
    return text;
}

void makeExecutable(const fs::path& path, const std::string& script) {
    writeFile(path, script);
    fs::permissions(path, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
}

std::string docx2rtf() {
    return std::string(KEYSTRIDE_BIN_DIR) + "/Docx2Rtf";
}

class RealConversionTest : public ::testing::Test {
protected:
    RealConversionTest()
        : root(makeTempFolder("keystride-convert-")),
          profile("KEYSTRIDE_OFFICE_PROFILE", (root / "profile").string()),
          context{typed,
                  source,
                  state,
                  settings,
                  view,
                  messages,
                  dialogs,
                  printing,
                  clock,
                  launcher,
                  files,
                  KEYSTRIDE_BIN_DIR,
                  (root / "current").string()},
          office(launcher, files, std::chrono::seconds(240)),
          commands(context, office, clipboard, DocumentHooks{},
                   DocumentCommandsConfig{KEYSTRIDE_BIN_DIR, std::chrono::seconds(240)}) {
        fs::create_directories(root / "docs");
        fs::create_directories(root / "current");
    }
    ~RealConversionTest() override {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    // pandoc writes the .docx and .odt; LibreOffice the .doc.
    void makeDocuments() {
        const auto pandoc = findOnPath("pandoc");
        const auto soffice = findLibreOffice(launcher);
        if (!pandoc || !soffice)
            GTEST_SKIP() << "pandoc or LibreOffice (soffice) is not installed";
        writeFile(root / "text.md", kMarkdown);
        const std::string md = (root / "text.md").string();
        for (const char* name : {"lesson.docx", "lesson2.DOCX", "story.odt"}) {
            const ProcessOutcome made = launcher.run(
                *pandoc, {"-o", (root / "docs" / name).string(), md}, std::chrono::seconds(120));
            ASSERT_TRUE(made.finished && made.exitCode == 0) << name << ": " << made.output;
        }
        fs::create_directories(root / "make-doc");
        fs::copy_file(root / "docs" / "lesson.docx", root / "make-doc" / "old.docx");
        const ProcessOutcome doc =
            launcher.run(*soffice,
                         {"--headless", "-env:UserInstallation=" + libreOfficeProfileUrl(),
                          "--convert-to", "doc", "--outdir", (root / "docs").string(),
                          (root / "make-doc" / "old.docx").string()},
                         std::chrono::seconds(240));
        ASSERT_TRUE(doc.finished && fs::exists(root / "docs" / "old.doc")) << doc.output;
    }

    fs::path root;
    ScopedEnv profile;
    PosixProcessLauncher launcher;
    FileSystem& files = FileSystem::real();
    MemoryPane typed;
    MemoryPane source;
    marking::WorkspaceState state;
    SettingsStore settings;
    RecordingView view;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    ScriptedPrinting printing;
    ManualClock clock;
    WorkspaceContext context;
    LibreOfficeWordProcessor office;
    ScriptedClipboard clipboard;
    DocumentCommands commands;
};

TEST_F(RealConversionTest, DocxOdtAndDocOpenAsSpeedTestAndAsSource) {
    makeDocuments();
    if (IsSkipped() || HasFatalFailure())
        return;
    ASSERT_TRUE(fs::exists(docx2rtf())) << "Docx2Rtf is built beside the tests";

    for (const char* name : {"lesson.docx", "story.odt", "old.doc"}) {
        SCOPED_TRACE(name);
        const fs::path chosen = root / "docs" / name;
        messages.clear();
        dialogs.queuePath(chosen.string());
        commands.mnuTypedDoc();
        EXPECT_EQ(trimmed(typed.text()), kText);
        fs::path rtf = chosen;
        rtf.replace_extension(".rtf");
        EXPECT_EQ(view.label3(), rtf.string());
        EXPECT_TRUE(fs::exists(chosen)) << "the document itself stays";
        const bool byConverter = std::string(name) != "old.doc";
        ASSERT_EQ(messages.shown().size(), byConverter ? 1u : 0u)
            << (messages.shown().empty() ? "" : messages.shown()[0].text);
        if (byConverter) {
            EXPECT_EQ(messages.shown()[0].title, "DOCX file");
        }

        fs::remove(rtf);
        messages.clear();
        dialogs.queuePath(chosen.string());
        commands.mnuOpenorigin();
        EXPECT_EQ(trimmed(source.text()), kText);
        EXPECT_TRUE(messages.shown().empty());
        EXPECT_EQ(view.label4(), rtf.string());
    }
    // Docx2Rtf converted the whole folder: the second .docx too.
    EXPECT_TRUE(fs::exists(root / "docs" / "lesson2.rtf"));
}

TEST_F(RealConversionTest, Docx2RtfConvertsEveryDocumentOfTheKindInOneRun) {
    makeDocuments();
    if (IsSkipped() || HasFatalFailure())
        return;
    const ProcessOutcome run = launcher.run(
        docx2rtf(), {"-f", (root / "docs").string() + "/", "docx"}, std::chrono::seconds(240));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(fs::exists(root / "docs" / "lesson.rtf"));
    EXPECT_TRUE(fs::exists(root / "docs" / "lesson2.rtf"));
    // Only the kind asked for.
    EXPECT_FALSE(fs::exists(root / "docs" / "story.rtf"));
    EXPECT_FALSE(fs::exists(root / "docs" / "old.rtf"));
    MemoryPane pane;
    ASSERT_FALSE(pane.loadFile((root / "docs" / "lesson2.rtf").string()));
    EXPECT_EQ(trimmed(pane.text()), kText);
}

class Docx2RtfFailures : public ::testing::Test {
protected:
    Docx2RtfFailures() : root(makeTempFolder("keystride-docx2rtf-")) {
        fs::create_directories(root / "bin");
        fs::create_directories(root / "docs");
        writeFile(root / "docs" / "a.docx", "not really a document");
    }
    ~Docx2RtfFailures() override {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    // Runs Docx2Rtf with only the stand-in folder (and the shell's) on the PATH.
    ProcessOutcome run(const std::vector<std::string>& args) {
        ScopedEnv path("PATH", (root / "bin").string() + ":/bin:/usr/bin:/nonexistent");
        // A real LibreOffice on /usr/bin would be found: the stand-in must come first, and the
        // "no LibreOffice" case hides /usr/bin.
        return launcher.run(docx2rtf(), args, std::chrono::seconds(60));
    }
    fs::path root;
    PosixProcessLauncher launcher;
};

TEST_F(Docx2RtfFailures, ExitStatusAndMessageForEachFailure) {
    const std::string docs = (root / "docs").string();
    ProcessOutcome outcome = run({"-f", (root / "nowhere").string(), "docx"});
    EXPECT_EQ(outcome.exitCode, 3);
    EXPECT_NE(outcome.output.find("does not exist"), std::string::npos) << outcome.output;

    outcome = run({"-f", docs});
    EXPECT_EQ(outcome.exitCode, 2);
    EXPECT_NE(outcome.output.find("usage"), std::string::npos) << outcome.output;
    outcome = run({"-f", docs, "pdf"});
    EXPECT_EQ(outcome.exitCode, 2);

    // LibreOffice that fails.
    makeExecutable(root / "bin" / "soffice", "#!/bin/sh\necho 'Error: cannot load' >&2\nexit 1\n");
    outcome = run({"-f", docs, "docx"});
    EXPECT_EQ(outcome.exitCode, 5);
    EXPECT_NE(outcome.output.find("cannot load"), std::string::npos) << outcome.output;
    EXPECT_NE(outcome.output.find("a.docx"), std::string::npos) << outcome.output;

    // LibreOffice that hangs is stopped at the time limit, its children with it.
    makeExecutable(root / "bin" / "soffice", "#!/bin/sh\nsleep 60 &\nsleep 60\n");
    outcome = run({"-f", docs, "docx", "-t", "1"});
    EXPECT_EQ(outcome.exitCode, 6);
    EXPECT_NE(outcome.output.find("stopped"), std::string::npos) << outcome.output;

    // A stand-in that does the work: the RTF files appear, one run for the whole folder.
    writeFile(root / "docs" / "B.DOCX", "second");
    makeExecutable(root / "bin" / "soffice",
                   "#!/bin/sh\necho \"$@\" >> \"" + (root / "calls").string() +
                       "\"\nout=\"\"\nwhile [ $# -gt 0 ]; do\n"
                       "  case \"$1\" in --outdir) out=\"$2\"; shift 2;;\n"
                       "  *.docx|*.DOCX) n=$(basename \"$1\"); printf '{\\\\rtf1 x}' > "
                       "\"$out/${n%.*}.rtf\"; shift;;\n  *) shift;;\n  esac\ndone\n");
    outcome = run({"-f", docs, "docx"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    EXPECT_TRUE(fs::exists(root / "docs" / "a.rtf"));
    EXPECT_TRUE(fs::exists(root / "docs" / "B.rtf"));
    const std::string calls = readFile(root / "calls");
    EXPECT_EQ(std::count(calls.begin(), calls.end(), '\n'), 1) << calls;
    EXPECT_NE(calls.find("--headless"), std::string::npos);

    // No LibreOffice at all.
    fs::remove(root / "bin" / "soffice");
    {
        ScopedEnv path("PATH", (root / "bin").string());
        outcome = launcher.run(docx2rtf(), {"-f", docs, "docx"}, std::chrono::seconds(60));
    }
    EXPECT_EQ(outcome.exitCode, 4);
    EXPECT_NE(outcome.output.find("LibreOffice"), std::string::npos) << outcome.output;
}

TEST_F(Docx2RtfFailures, OpenCommandReportsAFailingConverterAndKeepsTheDocument) {
    makeExecutable(root / "bin" / "soffice", "#!/bin/sh\nexit 1\n");
    ScopedEnv path("PATH", (root / "bin").string() + ":/bin:/usr/bin");
    FileSystem& files = FileSystem::real();
    MemoryPane typed, source;
    marking::WorkspaceState state;
    SettingsStore settings;
    RecordingView view;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    ScriptedPrinting printing;
    ManualClock clock;
    ScriptedClipboard clipboard;
    ScriptedWordProcessor office;
    WorkspaceContext context{typed,   source,   state, settings, view,  messages,
                             dialogs, printing, clock, launcher, files, KEYSTRIDE_BIN_DIR};
    DocumentCommands commands(context, office, clipboard, {});
    const std::string chosen = (root / "docs" / "a.docx").string();
    dialogs.queuePath(chosen);
    commands.mnuTypedDoc();
    ASSERT_GE(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text.rfind("Error #  440 was generated by Vela Keystride\r", 0),
              0u)
        << messages.shown()[0].text;
    EXPECT_EQ(readFile(chosen), "not really a document");
    EXPECT_EQ(view.busyChanges, (std::vector<bool>{true, false}));
}

} // namespace
} // namespace keystride::testing
