// Docx2Rtf against stand-in LibreOffice programs (failing, hanging, missing, working), and one
// real conversion of each kind through the open command with Docx2Rtf and LibreOffice doing the
// work (skipped where pandoc or LibreOffice is missing): what no stand-in can tell is whether
// the real programs accept these command lines and leave an RTF the pane reads.
#include "documents_fixture.h"

#include "platform/desktop/libreoffice.h"
#include "platform/desktop/posix_process_launcher.h"

namespace keystride::testing {
namespace {

namespace fs = std::filesystem;

const std::string Docx2Rtf = std::string(KEYSTRIDE_BIN_DIR) + "/Docx2Rtf";

TEST(Docx2Rtf, ExitStatusAndMessageForEachOutcome) {
    // Writes "<name>.rtf" for every document it is given, and logs each run.
    const std::string converts =
        "echo run >> \"$(dirname \"$0\")/../runs\"\nout=\"\"\nwhile [ $# -gt 0 ]; do\n  case "
        "\"$1\" in --outdir) "
        "out=\"$2\"; shift 2;;\n  *.docx|*.DOCX) n=$(basename \"$1\"); printf '{\\\\rtf1 x}' > "
        "\"$out/${n%.*}.rtf\"; shift;;\n  *) shift;;\n  esac\ndone\n";
    struct Row {
        const char* name;
        const char* soffice; // the stand-in's script; nullptr: none on the PATH
        std::vector<std::string> args;
        int status;
        std::string said;
    };
    // How Docx2Rtf's own usage errors are worded is its business; the system always gives it a
    // folder and a kind.
    const Row rows[] = {
        Row("LibreOffice fails", "echo 'Error: cannot load' >&2\nexit 1\n", {"-f", "docs", "docx"},
            5, "cannot load"),
        // Stopped at the time limit, its children with it.
        Row("LibreOffice hangs", "sleep 60 &\nsleep 60\n", {"-f", "docs", "docx", "-t", "1"}, 6,
            "stopped"),
        Row("no LibreOffice", nullptr, {"-f", "docs", "docx"}, 4, "LibreOffice"),
        Row("one run converts every document of the kind", converts.c_str(),
            {"-f", "docs/", "docx"}, 0, ""),
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder folder;
        fs::create_directories(folder.path() / "bin");
        fs::create_directories(folder.path() / "docs");
        for (const char* name : {"a.docx", "B.DOCX", "c.odt"})
            writeFile(folder.path() / "docs" / name, "not really a document");
        if (row.soffice) {
            writeFile(folder.path() / "bin" / "soffice", std::string("#!/bin/sh\n") + row.soffice);
            fs::permissions(folder.path() / "bin" / "soffice", fs::perms::owner_all);
        }
        // The shell's folders only when a stand-in is there: a real LibreOffice is in /usr/bin.
        const std::string bin = (folder.path() / "bin").string();
        ScopedEnv path("PATH", row.soffice ? bin + ":/bin:/usr/bin" : bin);
        std::vector<std::string> args = row.args;
        args[1] = folder.file(args[1]);
        const ProcessOutcome outcome =
            PosixProcessLauncher().run(Docx2Rtf, args, std::chrono::seconds(60));
        EXPECT_EQ(outcome.exitCode, row.status) << outcome.output;
        EXPECT_NE(outcome.output.find(row.said), std::string::npos) << outcome.output;
        if (row.status == 0) {
            EXPECT_EQ(readFile(folder.path() / "runs"), "run\n");
            EXPECT_TRUE(fs::exists(folder.path() / "docs" / "a.rtf"));
            EXPECT_TRUE(fs::exists(folder.path() / "docs" / "B.rtf"));
            EXPECT_FALSE(fs::exists(folder.path() / "docs" / "c.rtf")) << "only the kind asked";
        }
    }
}

TEST(RealConversion, DocxOdtAndDocOpenAsSpeedTests) {
    const std::optional<std::string> pandoc = findOnPath("pandoc");
    PosixProcessLauncher launcher;
    const std::optional<std::string> soffice = findLibreOffice(launcher);
    if (!pandoc || !soffice)
        GTEST_SKIP() << "pandoc or LibreOffice (soffice) is not installed";
    TempFolder folder;
    ScopedEnv profile("KEYSTRIDE_OFFICE_PROFILE", folder.file("profile"));
    const fs::path docs = folder.path() / "docs";
    fs::create_directories(docs);
    writeFile(folder.path() / "text.md", "First paragraph.\n\nSecond, with a comma.\n");
    for (const char* name : {"lesson.docx", "lesson2.DOCX", "story.odt"}) {
        const ProcessOutcome made =
            launcher.run(*pandoc, {"-o", (docs / name).string(), folder.file("text.md")},
                         std::chrono::seconds(120));
        ASSERT_TRUE(made.finished && made.exitCode == 0) << name << ": " << made.output;
    }
    // The .doc is LibreOffice's own, made from the .odt in a folder of its own.
    fs::create_directories(folder.path() / "make-doc");
    fs::copy_file(docs / "story.odt", folder.path() / "make-doc" / "old.odt");
    const ProcessOutcome doc = launcher.run(
        *soffice,
        {"--headless", "-env:UserInstallation=" + libreOfficeProfileUrl(), "--convert-to", "doc",
         "--outdir", docs.string(), folder.file("make-doc/old.odt")},
        std::chrono::seconds(240));
    ASSERT_TRUE(doc.finished && fs::exists(docs / "old.doc")) << doc.output;

    WorkspaceWorld world;
    PosixProcessLauncher processes;
    LibreOfficeWordProcessor office(processes, FileSystem::real(), std::chrono::seconds(240));
    WorkspaceContext real{world.typed, world.source,   world.state,        world.settings,
                          world.view,  world.messages, world.dialogs,      world.printing,
                          world.clock, processes,      FileSystem::real(), KEYSTRIDE_BIN_DIR};
    ScriptedClipboard clipboard;
    DocumentCommands commands(real, office, clipboard, {},
                              {KEYSTRIDE_BIN_DIR, std::chrono::seconds(240)});
    for (const char* name : {"lesson.docx", "story.odt", "old.doc"}) {
        SCOPED_TRACE(name);
        world.messages.clear();
        world.dialogs.queuePath((docs / name).string());
        commands.mnuTypedDoc();
        std::u16string text = world.typed.text();
        while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n'))
            text.pop_back();
        EXPECT_EQ(text, u"First paragraph.\r\nSecond, with a comma.");
        EXPECT_EQ(world.view.label3(), rtfPathFor((docs / name).string()));
        EXPECT_EQ(world.messages.shown().size(), std::string(name) == "old.doc" ? 0u : 1u);
    }
    // Docx2Rtf converted the whole folder: the second .docx too.
    EXPECT_TRUE(fs::exists(docs / "lesson2.rtf"));
}

} // namespace
} // namespace keystride::testing
