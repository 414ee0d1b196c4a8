// The two help documents that the Help menu loads into the speed-test pane: they must read
// cleanly as RTF and explain the program's real commands, texts and files.
#include "platform/rtf/rtf_reader.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace keystride {
namespace {

using testing::readFile;

struct HelpDocument {
    const char* file;
    std::vector<const char*> mustMention; // UTF-8
};

void PrintTo(const HelpDocument& help, std::ostream* os) {
    *os << help.file;
}

class HelpDocumentTest : public ::testing::TestWithParam<HelpDocument> {};

TEST_P(HelpDocumentTest, ReadsCleanlyAndExplainsTheProgram) {
    const HelpDocument& help = GetParam();
    const std::string bytes = readFile(std::string(KEYSTRIDE_DATA_DIR "/") + help.file);
    ASSERT_FALSE(bytes.empty()) << help.file << " is missing or empty";
    // Plain 7-bit RTF: every accented letter is written as an escape, so no reader has to guess
    // the code page of raw bytes.
    for (unsigned char c : bytes)
        ASSERT_LT(c, 0x80) << help.file << " holds a raw 8-bit byte";
    ASSERT_TRUE(looksLikeRtf(bytes));

    const RtfReadResult read = readRtf(bytes, CharFormat{});
    for (const std::string& warning : read.warnings)
        ADD_FAILURE() << help.file << ": " << warning;
    const std::string text = toUtf8(read.document.plainText());
    EXPECT_GT(text.size(), 4000u);
    EXPECT_GT(read.document.paragraphs.size(), 40u);
    // Markup that leaked into the text shows as backslashes or braces.
    EXPECT_EQ(text.find('\\'), std::string::npos) << text.substr(text.find('\\'), 60);
    EXPECT_EQ(text.find('{'), std::string::npos);
    EXPECT_EQ(text.find('}'), std::string::npos);
    for (const char* phrase : help.mustMention)
        EXPECT_NE(text.find(phrase), std::string::npos)
            << help.file << " does not mention " << phrase;

    bool hasBold = false;
    for (const Paragraph& paragraph : read.document.paragraphs) {
        for (const TextRun& run : paragraph.runs)
            hasBold = hasBold || run.format.bold;
    }
    EXPECT_TRUE(hasBold) << "headings are bold";
}

// What both guides must name exactly as the program shows it.
#define KEYSTRIDE_PROGRAM_TEXTS                                                                    \
    "Vela Keystride", "Calculate WPM", "F12", "F9", "Force end of speedTest", "Unable to compare", \
        "Less no. of words with errors:", "\xC3\xB7 5", "\xC3\xB7 10", "Final:", "Resultaat.res",  \
        ".rug", "Backup.rtf", "Warning.txt", "Settings", "10:00", "Export to MS Word",             \
        "Open Results", "Open Marked tests", "Excess words:", ".docx", ".odt", ".doc", "Docx2Rtf", \
        "10 minute Time Limit for new speed tests", "Check for 1.5 line spacing when marking",     \
        "Check for double spacing when marking", "Check for Courier font when marking",            \
        "Display WPM with 1 decimal", "Display WPM as integer", "Display WPM as multiple of 5",    \
        "Count strokes of excess words"

INSTANTIATE_TEST_SUITE_P(
    Help, HelpDocumentTest,
    ::testing::Values(
        HelpDocument{"Speedhelp.RTF", {KEYSTRIDE_PROGRAM_TEXTS, "words per minute", "cut-off"}},
        // Afrikaans: its letters with diacritics must come through the escapes intact.
        HelpDocument{"Spoedhelp.RTF",
                     {KEYSTRIDE_PROGRAM_TEXTS, "woorde per minuut", "spoedtoets",
                      "\xC3\xAA" /* ê */, "\xC3\xAB" /* ë */}}),
    [](const ::testing::TestParamInfo<HelpDocument>& info) {
        return std::string(info.param.file).substr(0, std::string(info.param.file).find('.'));
    });

} // namespace
} // namespace keystride
