// An independent RTF reader must see the same text in what the writer writes: LibreOffice
// converts the writer's files to plain text. Skipped where LibreOffice is not installed.
#include "platform/memory_pane.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

namespace keystride {
namespace {

namespace fs = std::filesystem;

std::string findOnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "/usr/bin");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        fs::path candidate = fs::path(folder) / program;
        std::error_code error;
        if (fs::is_regular_file(candidate, error))
            return candidate.string();
    }
    return {};
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

struct Sample {
    std::string name;
    MemoryPane pane;
};

void formattedSample(MemoryPane& pane) {
    pane.setText(u"Hello café € – “quoted” {brace} back\\slash\ttab\r\nSecond line.  \r\n\r\n"
                 u"你好 Łódź ÿ\r\nend!  \r\nlast?");
    pane.setSelStart(0);
    pane.setSelLength(5);
    pane.setSelBold(true);
    pane.setSelStart(8);
    pane.setSelLength(10);
    pane.setSelBackground(colours::red);
    pane.setSelFontSize(9.75);
    pane.setSelStart(20);
    pane.setSelLength(30);
    pane.setSelFontName("Arial");
    pane.setSelUnderline(true);
    pane.setSelColour(colours::blue);
    pane.setSelStart(45);
    pane.setSelLength(20);
    pane.setSelLineSpacing(LineSpacing::Double);
}

TEST(RtfWriterWithLibreOffice, AnotherReaderSeesTheSameText) {
    const std::string soffice = findOnPath("soffice");
    if (soffice.empty())
        GTEST_SKIP() << "LibreOffice (soffice) is not installed";

    std::random_device random;
    const fs::path folder =
        fs::temp_directory_path() / ("keystride-lo-" + std::to_string(random()));
    fs::create_directories(folder / "out");

    MemoryPane formatted;
    formattedSample(formatted);
    MemoryPane plain;
    plain.setText(u"The cat .  Sat\r\nStop.\r\nNext  line   with\tspaces\r\n1, 2; 3: 4? 5!");
    const std::pair<std::string, const MemoryPane*> samples[] = {{"formatted", &formatted},
                                                                 {"plain", &plain}};
    std::string inputs;
    for (const auto& [name, pane] : samples) {
        const fs::path file = folder / (name + ".rtf");
        std::ofstream(file, std::ios::binary) << pane->textRtf();
        inputs += " '" + file.string() + "'";
    }

    const std::string command =
        "timeout 180 '" + soffice + "' --headless --norestore -env:UserInstallation=file://" +
        (folder / "profile").string() + " --convert-to 'txt:Text (encoded):UTF8,CRLF' --outdir '" +
        (folder / "out").string() + "'" + inputs + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());

    for (const auto& [name, pane] : samples) {
        std::string text = readFile(folder / "out" / (name + ".txt"));
        // The converter starts with a byte-order mark and ends the last line.
        if (text.rfind("\xef\xbb\xbf", 0) == 0)
            text.erase(0, 3);
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
            text.erase(text.size() - 2);
        EXPECT_EQ(text, toUtf8(pane->text())) << name << " (soffice exit status " << status << ")";
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

} // namespace
} // namespace keystride
