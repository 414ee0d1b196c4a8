// What the panes write for the export, read by the word processor it goes to: LibreOffice must
// see the same text. Skipped when LibreOffice is not installed.
#include "platform/panes/memory_pane.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace keystride {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

bool installed(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs `command` in `folder` with its output discarded; true when it succeeded.
bool run(const fs::path& folder, const std::string& command) {
    const std::string line = "cd '" + folder.string() + "' && " + command + " >/dev/null 2>&1";
    return std::system(line.c_str()) == 0;
}

TEST(RtfExternal, LibreOfficeSeesTheTextThePanesWrite) {
    if (!installed("soffice"))
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";
    TempFolder folder;
    MemoryPane formatted;
    formatted.setText(u"Hello café € – “quoted” {brace} back\\slash\ttab\r\nSecond line.  \r\n\r\n"
                      u"你好 Łódź ÿ\r\nend!  \r\nlast?");
    const auto select = [&](int start, int length) {
        formatted.setSelStart(start);
        formatted.setSelLength(length);
    };
    select(0, 5);
    formatted.setSelBold(true);
    select(8, 10);
    formatted.setSelBackground(colours::red);
    formatted.setSelFontSize(9.75);
    select(20, 30);
    formatted.setSelFontName("Arial");
    formatted.setSelUnderline(true);
    formatted.setSelColour(colours::blue);
    select(45, 20);
    formatted.setSelLineSpacing(LineSpacing::Double);
    writeFile(folder.path() / "formatted.rtf", formatted.textRtf());

    const bool converted =
        run(folder.path(),
            "timeout 180 soffice --headless --norestore -env:UserInstallation=file://" +
                (folder.path() / "profile").string() +
                " --convert-to 'txt:Text (encoded):UTF8,CRLF' --outdir out formatted.rtf");
    std::string text = readFile(folder.path() / "out" / "formatted.txt");
    // The converter starts with a byte-order mark and ends the last line.
    if (text.rfind("\xef\xbb\xbf", 0) == 0)
        text.erase(0, 3);
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
        text.erase(text.size() - 2);
    EXPECT_EQ(text, toUtf8(formatted.text())) << (converted ? "" : " (soffice failed)");
}

} // namespace
} // namespace keystride
