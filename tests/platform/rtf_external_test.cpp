// RTF against outside programs, in both directions. Read: pandoc's RTF writer, and LibreOffice
// converting .docx and .odt files (made here with pandoc) and a flat .fodt with paragraph
// spacing. Written: LibreOffice, an independent reader, must see the same text in what the
// panes write. The inputs are generated in a temporary folder; the tests skip when the programs
// are not installed.
#include "platform/panes/memory_pane.h"
#include "platform/rtf/rtf_reader.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
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
    if (!installed("pandoc"))
        GTEST_SKIP() << "pandoc is not installed";
    TempFolder folder;
    writeFile(folder.path() / "test.md", kMarkdown);
    ASSERT_TRUE(run(folder.path(), "pandoc -s -t rtf -o test.rtf test.md"));

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
    if (!installed("soffice") || !installed("pandoc"))
        GTEST_SKIP() << "soffice or pandoc is not installed";
    TempFolder folder;
    writeFile(folder.path() / "test.md", kMarkdown);
    writeFile(folder.path() / "spacing.fodt", kFlatOdt);
    ASSERT_TRUE(run(folder.path(), "pandoc -o fromword.docx test.md"));
    ASSERT_TRUE(run(folder.path(), "pandoc -o fromwriter.odt test.md"));
    // A private profile lets the office suite start headless as any user, root included.
    ASSERT_TRUE(run(folder.path(), "timeout 300 soffice -env:UserInstallation=file://" +
                                       (folder.path() / "profile").string() +
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
    MemoryPane plain;
    plain.setText(u"The cat .  Sat\r\nStop.\r\nNext  line   with\tspaces\r\n1, 2; 3: 4? 5!");
    const std::pair<std::string, const MemoryPane*> samples[] = {{"formatted", &formatted},
                                                                 {"plain", &plain}};
    for (const auto& [name, pane] : samples)
        writeFile(folder.path() / (name + ".rtf"), pane->textRtf());

    const bool converted = run(
        folder.path(), "timeout 180 soffice --headless --norestore -env:UserInstallation=file://" +
                           (folder.path() / "profile").string() +
                           " --convert-to 'txt:Text (encoded):UTF8,CRLF' --outdir out"
                           " formatted.rtf plain.rtf");
    for (const auto& [name, pane] : samples) {
        std::string text = readFile(folder.path() / "out" / (name + ".txt"));
        // The converter starts with a byte-order mark and ends the last line.
        if (text.rfind("\xef\xbb\xbf", 0) == 0)
            text.erase(0, 3);
        if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
            text.erase(text.size() - 2);
        EXPECT_EQ(text, toUtf8(pane->text())) << name << (converted ? "" : " (soffice failed)");
    }
}

} // namespace
} // namespace keystride
