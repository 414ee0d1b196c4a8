// The export through the LibreOffice adapter with a stand-in word processor: a small "soffice"
// script on the PATH records its arguments and keeps a copy of the file it got. The copy must be
// the pane's RTF with its heading and a left margin of 70 points (1400 twips).
#include "platform/desktop/libreoffice.h"
#include "platform/desktop/posix_process_launcher.h"
#include "platform/panes/memory_pane.h"
#include "results/export_command.h"
#include "support/scripted_clipboard.h"
#include "support/scripted_services.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

namespace keystride {
namespace {

using testing::readFile;

namespace fs = std::filesystem;

class View : public WorkspaceView {
public:
    std::string label3() const override { return m_label3; }
    void setLabel3(const std::string& text) override { m_label3 = text; }
    std::string label4() const override { return {}; }
    void setLabel4(const std::string&) override {}
    std::string clockText() const override { return {}; }
    void setClockText(const std::string&) override {}
    void setBusy(bool) override {}
    void setLineSpacingCheck(int) override {}
    int lineSpacingCheck() const override { return 0; }
    void showWarningDialog() override {}
    void terminate() override {}

private:
    std::string m_label3;
};

class ExportStandIn : public ::testing::Test {
protected:
    ExportStandIn() {
        std::random_device random;
        root = fs::temp_directory_path() /
               ("keystride-export-" + std::to_string(random()) + std::to_string(random()));
        fs::create_directories(root / "bin");
        if (const char* path = std::getenv("PATH"))
            m_oldPath = path;
        ::setenv("PATH", (root / "bin").string().c_str(), 1);
    }
    ~ExportStandIn() override {
        ::setenv("PATH", m_oldPath.c_str(), 1);
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }

    void installStandIn() {
        const fs::path script = root / "bin" / "soffice";
        // The copy is written under another name and renamed, so that the test never reads it
        // half written.
        std::ofstream(script) << "#!/bin/sh\n"
                              << "printf '%s\\n' \"$@\" > '" << (root / "args.tmp").string()
                              << "'\n"
                              << "for last; do :; done\n"
                              << "/bin/cp \"$last\" '" << (root / "got.tmp").string() << "'\n"
                              << "/bin/mv '" << (root / "args.tmp").string() << "' '"
                              << (root / "args").string() << "'\n"
                              << "/bin/mv '" << (root / "got.tmp").string() << "' '"
                              << (root / "got.rtf").string() << "'\n";
        fs::permissions(script, fs::perms::owner_all);
    }

    // The stand-in runs detached: wait (boundedly) for it to have done its work.
    bool waitForStandIn() {
        for (int i = 0; i < 600; ++i) {
            if (fs::exists(root / "args") && fs::exists(root / "got.rtf"))
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    fs::path root;
    PosixProcessLauncher launcher;
    MemoryPane typed;
    MemoryPane source;
    marking::WorkspaceState state;
    SettingsStore settings;
    View view;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs dialogs;
    ScriptedPrinting printing;
    ManualClock clock;
    WorkspaceContext context{typed,    source, state,    settings,          view, messages, dialogs,
                             printing, clock,  launcher, FileSystem::real()};
    ScriptedClipboard clipboard;
    LibreOfficeWordProcessor office{launcher};

private:
    std::string m_oldPath;
};

TEST_F(ExportStandIn, WriterGetsTheRtfWithHeadingAndSeventyPointMargin) {
    installStandIn();
    typed.setText(u"Marked speed test\r\nWPM: 41");
    typed.setSelStart(0);
    typed.setSelLength(6);
    typed.setSelColour(colours::red);
    view.setLabel3("/home/juf/test1.rtf");

    mnuExport(context, clipboard, office);

    ASSERT_TRUE(waitForStandIn()) << "the stand-in word processor was not started";
    const std::string args = readFile(root / "args");
    EXPECT_EQ(args, "--writer\n-n\n" + office.lastExportFile() + "\n");
    const std::string got = readFile(root / "got.rtf");
    EXPECT_NE(got.find("\\margl1400"), std::string::npos);
    MemoryPane document;
    document.setTextRtf(got);
    EXPECT_EQ(document.text(), u"/home/juf/test1.rtf\r\n\r\nMarked speed test\r\nWPM: 41");
    document.setSelStart(23);
    document.setSelLength(6);
    EXPECT_EQ(document.selColour(), colours::red);
    // The clipboard holds the pane's RTF with the heading; the heading stays in the pane.
    EXPECT_EQ(clipboard.rtf(), typed.textRtf());
    EXPECT_EQ(typed.text(), document.text());
    fs::remove(office.lastExportFile());
}

TEST_F(ExportStandIn, WithoutAWordProcessorTheCommandEndsSilently) {
    typed.setText(u"Text");
    view.setLabel3("t.rtf");
    mnuExport(context, clipboard, office);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(clipboard.holdsRichText());
    EXPECT_EQ(typed.text(), u"t.rtf\r\n\r\nText");
    EXPECT_TRUE(office.lastExportFile().empty()) << "no file is written for nobody";
}

} // namespace
} // namespace keystride
