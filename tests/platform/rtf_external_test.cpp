// RTF as two outside writers produce it: pandoc's RTF writer, and LibreOffice converting .docx
// and .odt files (made here with pandoc) and a flat .fodt with paragraph spacing. The inputs are
// generated in a temporary folder; the tests skip when the programs are not installed.
#include "platform/rtf_reader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <unistd.h>

namespace keystride {
namespace {

namespace fs = std::filesystem;

std::optional<fs::path> findProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    if (path == nullptr)
        return std::nullopt;
    std::stringstream folders(path);
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty())
            continue;
        const fs::path candidate = fs::path(folder) / name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

class TempFolder {
public:
    TempFolder() {
        std::string pattern = (fs::temp_directory_path() / "keystride-rtf-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr)
            m_path = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (!m_path.empty())
            fs::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

void writeFile(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

// Runs `command` in `folder` with its output discarded; true when it succeeded.
bool run(const fs::path& folder, const std::string& command) {
    const std::string line = "cd '" + folder.string() + "' && " + command + " >/dev/null 2>&1";
    return std::system(line.c_str()) == 0;
}

std::string plain(const RichDocument& document) {
    std::string text = toUtf8(document.plainText());
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    }
    return out;
}

const char* const kMarkdown = "# Typing test\n\n"
                              "The quick brown fox jumps over the lazy dog. **Bold words** and "
                              "*italic words* stay in one line.\n\n"
                              "Café, naïve, 1–2, “quotes”, € 5, Γειά, 中文.\n\n"
                              "- First item\n"
                              "- Second item\n\n"
                              "Last paragraph.\n";

const char* const kParagraphs = "Typing test\n"
                                "The quick brown fox jumps over the lazy dog. Bold words and "
                                "italic words stay in one line.\n"
                                "Café, naïve, 1–2, “quotes”, € 5, Γειά, 中文.\n";

CharFormat formatOf(const RichDocument& document, std::u16string_view needle) {
    for (const Paragraph& paragraph : document.paragraphs) {
        for (const TextRun& run : paragraph.runs) {
            if (run.text.find(needle) != std::u16string::npos)
                return run.format;
        }
    }
    ADD_FAILURE() << "no run holds " << toUtf8(needle);
    return {};
}

TEST(RtfExternal, ReadsWhatPandocWrites) {
    const auto pandoc = findProgram("pandoc");
    if (!pandoc)
        GTEST_SKIP() << "pandoc is not installed";
    TempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    writeFile(folder.path() / "test.md", kMarkdown);
    ASSERT_TRUE(run(folder.path(), "'" + pandoc->string() + "' -s -t rtf -o test.rtf test.md"));

    const RtfReadResult result = readRtf(readFile(folder.path() / "test.rtf"), CharFormat{});
    EXPECT_TRUE(result.warnings.empty());
    // pandoc writes list bullets as text: a bullet and a tab.
    EXPECT_EQ(plain(result.document), std::string(kParagraphs) +
                                          "\u2022\tFirst item\n\u2022\tSecond item\n"
                                          "Last paragraph.");
    EXPECT_TRUE(formatOf(result.document, u"Bold words").bold);
    EXPECT_TRUE(formatOf(result.document, u"italic words").italic);
    EXPECT_EQ(formatOf(result.document, u"Typing test").size, 18.0);
    EXPECT_EQ(formatOf(result.document, u"The quick").font, "Helvetica");
}

// Paragraph spacing and character formats that pandoc's documents do not carry.
const char* const kFlatOdt = R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:svg="urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:font-face-decls>
  <style:font-face style:name="Courier New" svg:font-family="'Courier New'"/>
 </office:font-face-decls>
 <office:automatic-styles>
  <style:style style:name="P1" style:family="paragraph">
   <style:paragraph-properties fo:line-height="150%"/></style:style>
  <style:style style:name="P2" style:family="paragraph">
   <style:paragraph-properties fo:line-height="200%"/></style:style>
  <style:style style:name="T1" style:family="text">
   <style:text-properties fo:font-weight="bold"/></style:style>
  <style:style style:name="T2" style:family="text">
   <style:text-properties fo:font-style="italic" style:text-underline-style="solid"
    style:text-underline-width="auto" style:text-underline-color="font-color"/></style:style>
  <style:style style:name="T3" style:family="text">
   <style:text-properties fo:color="#ff0000" fo:background-color="#ffff00"
    style:font-name="Courier New" fo:font-size="14pt"/></style:style>
 </office:automatic-styles>
 <office:body>
  <office:text>
   <text:p text:style-name="P1">One and a half <text:span text:style-name="T1">bold</text:span> end.</text:p>
   <text:p text:style-name="P2">Double <text:span text:style-name="T2">italic under</text:span><text:tab/>tabbed<text:line-break/>broken</text:p>
   <text:p>Single <text:span text:style-name="T3">red</text:span></text:p>
  </office:text>
 </office:body>
</office:document>
)";

TEST(RtfExternal, ReadsWhatLibreOfficeWrites) {
    const auto soffice = findProgram("soffice");
    const auto pandoc = findProgram("pandoc");
    if (!soffice || !pandoc)
        GTEST_SKIP() << "soffice or pandoc is not installed";
    TempFolder folder;
    ASSERT_FALSE(folder.path().empty());
    writeFile(folder.path() / "test.md", kMarkdown);
    writeFile(folder.path() / "spacing.fodt", kFlatOdt);
    const std::string quotedPandoc = "'" + pandoc->string() + "'";
    ASSERT_TRUE(run(folder.path(), quotedPandoc + " -o fromword.docx test.md"));
    ASSERT_TRUE(run(folder.path(), quotedPandoc + " -o fromwriter.odt test.md"));
    // A private profile lets the office suite start headless as any user, root included.
    const std::string profile = "file://" + (folder.path() / "profile").string();
    const std::string limit = findProgram("timeout") ? "timeout 300 " : "";
    ASSERT_TRUE(run(folder.path(), limit + "'" + soffice->string() +
                                       "' -env:UserInstallation=" + profile +
                                       " --headless --convert-to rtf --outdir out"
                                       " fromword.docx fromwriter.odt spacing.fodt"));

    for (const char* name : {"fromword.rtf", "fromwriter.rtf"}) {
        SCOPED_TRACE(name);
        const fs::path path = folder.path() / "out" / name;
        ASSERT_TRUE(fs::exists(path));
        const RtfReadResult result = readRtf(readFile(path), CharFormat{});
        // The office suite keeps list bullets in list numbering, not in the text.
        EXPECT_EQ(plain(result.document),
                  std::string(kParagraphs) + "First item\nSecond item\nLast paragraph.");
        EXPECT_TRUE(formatOf(result.document, u"Bold words").bold);
        EXPECT_TRUE(formatOf(result.document, u"italic words").italic);
    }

    const fs::path spacingPath = folder.path() / "out" / "spacing.rtf";
    ASSERT_TRUE(fs::exists(spacingPath));
    const RtfReadResult spacing = readRtf(readFile(spacingPath), CharFormat{});
    EXPECT_EQ(plain(spacing.document),
              "One and a half bold end.\nDouble italic under\ttabbed\nbroken\nSingle red");
    const auto& paragraphs = spacing.document.paragraphs;
    ASSERT_EQ(paragraphs.size(), 4u);
    EXPECT_EQ(paragraphs[0].format.lineSpacing, LineSpacing::OneAndAHalf);
    EXPECT_EQ(paragraphs[1].format.lineSpacing, LineSpacing::Double);
    EXPECT_EQ(paragraphs[2].format.lineSpacing, LineSpacing::Double); // after the line break
    EXPECT_EQ(paragraphs[3].format.lineSpacing, LineSpacing::Single);
    EXPECT_TRUE(formatOf(spacing.document, u"bold").bold);
    const CharFormat under = formatOf(spacing.document, u"italic under");
    EXPECT_TRUE(under.italic && under.underline);
    const CharFormat red = formatOf(spacing.document, u"red");
    EXPECT_EQ(red.colour, colours::red);
    EXPECT_EQ(red.background, Colour::rgb(255, 255, 0));
    EXPECT_EQ(red.font, "Courier New");
    EXPECT_EQ(red.size, 14.0);
}

} // namespace
} // namespace keystride
