// The programs the system starts for real: the fork-and-exec launcher (arguments arrive as given,
// no shell; output and exit status come back; a program past its time limit is killed with its
// children; a program that is not there is not started); Docx2Rtf against stand-in LibreOffice
// programs (failing, hanging, missing; a working one is keystride-mark's folder test); and one
// real conversion of each kind through the open command with Docx2Rtf and LibreOffice doing the
// work (skipped where pandoc or LibreOffice is missing): what no stand-in can tell is whether the
// real programs accept these command lines and leave an RTF the pane reads.
#include "documents_fixture.h"

#include "platform/desktop/libreoffice.h"
#include "platform/desktop/posix_process_launcher.h"

#include <thread>

namespace keystride::testing {
namespace {

namespace fs = std::filesystem;

const std::string Docx2Rtf = std::string(KEYSTRIDE_BIN_DIR) + "/Docx2Rtf";

TEST(Docx2Rtf, ExitStatusAndMessageForEachOutcome) {
    struct Row {
        const char* name;
        const char* soffice; // the stand-in's script; nullptr: none on the PATH
        int status;
        std::string said;
    };
    // How Docx2Rtf's own usage errors are worded is its business; the system always gives it a
    // folder and a kind.
    const Row rows[] = {
        Row{"LibreOffice fails", "echo 'Error: cannot load' >&2\nexit 1\n", 5, "cannot load"},
        // Stopped at the time limit, its children with it.
        Row{"LibreOffice hangs", "sleep 60 &\nsleep 60\n", 6, "stopped"},
        Row{"no LibreOffice", nullptr, 4, "LibreOffice"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TempFolder folder;
        fs::create_directories(folder.path() / "docs");
        writeFile(folder.path() / "docs" / "a.docx", "not really a document");
        if (row.soffice) {
            writeFile(folder.file("soffice"), std::string("#!/bin/sh\n") + row.soffice);
            fs::permissions(folder.file("soffice"), fs::perms::owner_all);
        }
        // The shell's folders only when a stand-in is there: a real LibreOffice is in /usr/bin.
        const std::string path =
            "PATH=" + folder.path().string() + (row.soffice ? ":/bin:/usr/bin" : "");
        const ProcessOutcome outcome = PosixProcessLauncher().run(
            "/usr/bin/env", {path, Docx2Rtf, "-f", folder.file("docs"), "docx", "-t", "1"},
            std::chrono::seconds(60));
        EXPECT_EQ(outcome.exitCode, row.status) << outcome.output;
        EXPECT_NE(outcome.output.find(row.said), std::string::npos) << outcome.output;
    }
}

TEST(RealConversion, DocxOdtAndDocOpenAsSpeedTests) {
    const std::optional<std::string> pandoc = findOnPath("pandoc");
    PosixProcessLauncher launcher;
    const std::optional<std::string> soffice = findLibreOffice(launcher);
    if (!pandoc || !soffice)
        GTEST_SKIP() << "pandoc or LibreOffice (soffice) is not installed";
    TempFolder folder;
    // A profile of the test's own, for the rest of this test program.
    ::setenv("KEYSTRIDE_OFFICE_PROFILE", folder.file("profile").c_str(), 1);
    const fs::path docs = folder.path() / "docs";
    fs::create_directories(docs);
    writeFile(folder.path() / "text.md", "First paragraph.\n\nSecond, with a comma.\n");
    for (const char* name : {"lesson.docx", "story.odt"}) {
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
        text.erase(text.find_last_not_of(u"\r\n") + 1);
        EXPECT_EQ(text, u"First paragraph.\r\nSecond, with a comma.");
        EXPECT_EQ(world.view.label3(), rtfPathFor((docs / name).string()));
        EXPECT_EQ(world.messages.shown().size(), std::string(name) == "old.doc" ? 0u : 1u);
    }
}

TEST(PosixProcessLauncher, RunsWaitsAndReports) {
    const TempFolder folder;
    const fs::path& root = folder.path();
    PosixProcessLauncher launcher;

    // Blanks, quotes and shell characters reach the program untouched.
    ProcessOutcome outcome = launcher.run(
        "/bin/sh", {"-c", "printf '%s|' \"$@\"; echo err >&2; exit 3", "sh", "a b", "$HOME", "'q'"},
        std::chrono::seconds(30));
    EXPECT_EQ(std::tuple(outcome.finished, outcome.exitCode, outcome.output),
              std::tuple(true, 3, std::string("a b|$HOME|'q'|err\n")));

    // Past the limit: killed, the child it started too (it would otherwise touch the file).
    const fs::path late = root / "late";
    outcome = launcher.run("/bin/sh", {"-c", "(sleep 2; touch '" + late.string() + "') & sleep 30"},
                           std::chrono::milliseconds(300));
    EXPECT_TRUE(outcome.started && !outcome.finished);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_FALSE(fs::exists(late)) << "the program's children outlived the kill";

    // A program that is not there, or a file that cannot be run, is not started.
    writeFile(root / "plain", "not a program");
    for (const fs::path& missing : {root / "nothing", root / "plain"}) {
        EXPECT_FALSE(launcher.run(missing.string(), {}, std::chrono::seconds(5)).started);
        EXPECT_FALSE(launcher.startDetached(missing.string(), {}));
    }

    // Detached: returns at once, the program carries on by itself.
    const fs::path done = root / "done";
    ASSERT_TRUE(launcher.startDetached("/bin/sh", {"-c", "touch '" + done.string() + "'"}));
    for (int i = 0; i < 200 && !fs::exists(done); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    EXPECT_TRUE(fs::exists(done));
}

} // namespace
} // namespace keystride::testing
