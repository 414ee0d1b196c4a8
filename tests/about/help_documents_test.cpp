// The help documents that the Help menu loads into the speed-test pane read cleanly through the
// panes' own RTF reader: no warnings, no markup leaking into the text, and the Afrikaans letters,
// written as escapes, intact.
#include "platform/rtf/rtf_reader.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

namespace keystride::testing {
namespace {

TEST(HelpDocuments, ReadCleanlyThroughThePanesReader) {
    const std::pair<const char*, const char*> documents[] = {
        {"Speedhelp.RTF", "words per minute"}, {"Spoedhelp.RTF", "reëlspasiëring hê"}};
    for (const auto& [file, phrase] : documents) {
        SCOPED_TRACE(file);
        const RtfReadResult read =
            readRtf(readFile(std::string(KEYSTRIDE_SOURCE_DIR "/data/") + file), CharFormat{});
        EXPECT_EQ(read.warnings, std::vector<std::string>{});
        const std::string text = toUtf8(read.document.plainText());
        EXPECT_EQ(text.find_first_of("\\{}"), std::string::npos);
        EXPECT_NE(text.find(phrase), std::string::npos);
    }
}

} // namespace
} // namespace keystride::testing
