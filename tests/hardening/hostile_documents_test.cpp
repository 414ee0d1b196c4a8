// Hostile documents for the pane's loader: each loads in bounded memory (and so in bounded
// time: no assertion on time, only that it finishes) or is refused with a message naming the
// file and the limit.
#include "hardening_fixture.h"

#include "platform/rtf/rtf_reader.h"

#include <fcntl.h>
#include <functional>
#include <sys/resource.h>

namespace keystride::hardening {
namespace {

// The process's peak resident memory in bytes.
std::size_t peakMemory() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<std::size_t>(usage.ru_maxrss) * 1024;
}

std::string repeat(std::string_view piece, int times) {
    std::string out;
    out.reserve(piece.size() * static_cast<std::size_t>(times));
    for (int i = 0; i < times; ++i)
        out += piece;
    return out;
}

struct Hostile {
    const char* name;
    std::function<std::string()> bytes;
    std::u16string mustContain; // text that survives the hostile part
};

const Hostile HostileDocuments[] = {
    {"BracesNested100000Deep",
     [] {
         return "{\\rtf1 before " + std::string(100000, '{') + "deep" + std::string(100000, '}') +
                " after}";
     },
     u"deep"},
    {"BracesOpened100000TimesNeverClosed",
     [] { return "{\\rtf1 before " + repeat("{\\b ", 100000) + "deep"; }, u"deep"},
    {"BinaryOfTwoGigabytesDeclared",
     [] { return std::string("{\\rtf1 before{\\pict\\bin2147483647 ") + "\x01\x02}" + " after}"; },
     u"before"},
    {"BinaryLargerThanAnyInteger",
     [] { return std::string("{\\rtf1 before{\\pict\\bin99999999999999999999 xx} after}"); },
     u"before"},
    {"InvalidUnicodeValues",
     [] {
         return std::string("{\\rtf1\\uc1 a\\u-99999999999 ?b\\u99999999?c\\u-1?d\\u0?e\\u55296?"
                            "f\\u56320?g\\u65536?h\\u-32768?i\\u32767?j\\uc99999\\u66?k\\par }");
     },
     u"a"},
    {"FontTableOf100000Fonts",
     [] {
         std::string rtf = "{\\rtf1{\\fonttbl";
         for (int i = 0; i < 100000; ++i)
             rtf += "{\\f" + std::to_string(i) + "\\fnil Font" + std::to_string(i) + ";}";
         return rtf + "}\\f99999 text in the last font\\par }";
     },
     u"text in the last font"},
    {"ColourTableOf100000Colours",
     [] {
         return "{\\rtf1{\\colortbl;" + repeat("\\red1\\green2\\blue3;", 100000) +
                "}\\cf99999 coloured}";
     },
     u"coloured"},
    {"OneMillionParagraphs", [] { return "{\\rtf1 first" + repeat("\\par ", 1000000) + "last}"; },
     u"last"},
    {"PlainTextOfTwoMillionLineEnds", [] { return "first" + std::string(2000000, '\n') + "last"; },
     u"last"},
    {"PlainTextOneLineOfFourMegabytes", [] { return std::string(4 * 1024 * 1024, 'x') + " end"; },
     u" end"},
    {"ControlWordOfAMegabyte",
     [] { return "{\\rtf1 before \\" + std::string(1 << 20, 'a') + " after}"; }, u"before"},
};

class HostileDocument : public ::testing::TestWithParam<Hostile> {};

TEST_P(HostileDocument, LoadsInBoundedMemory) {
    const Hostile& hostile = GetParam();
    TempFolder temp;
    const std::string bytes = hostile.bytes();
    const std::string path = temp.file("hostile.rtf");
    writeFile(path, bytes);

    const std::size_t before = peakMemory();
    MemoryPane pane;
    ASSERT_FALSE(pane.loadFile(path));
    const std::u16string text = pane.text();
    const std::size_t growth = peakMemory() - before;

    EXPECT_NE(text.find(hostile.mustContain), std::u16string::npos);
    EXPECT_EQ(text.find(u'\0'), std::u16string::npos);
    // Well within a small multiple of the document: the file's bytes, the text as UTF-16 with a
    // format index per character, the reader's own tables, and room for the sanitizers.
    EXPECT_LT(growth, 40 * bytes.size() + 192u * 1024 * 1024)
        << "peak memory grew by " << growth / (1024 * 1024) << " MB for a document of "
        << bytes.size() / 1024 << " KB";
}

INSTANTIATE_TEST_SUITE_P(EveryKind, HostileDocument, ::testing::ValuesIn(HostileDocuments),
                         [](const ::testing::TestParamInfo<Hostile>& info) {
                             return std::string(info.param.name);
                         });

TEST(HostileDocument, AFileAboveTheLimitIsRefusedByNameAndLimitWithoutBeingRead) {
    TempFolder temp;
    const std::string path = temp.file("huge.rtf");
    // 100 MB, sparse, so the test costs no disk: the size alone decides.
    {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 100 * 1024 * 1024), 0);
        ::close(fd);
    }
    const std::size_t before = peakMemory();
    MemoryPane pane;
    pane.setText(u"kept");
    const FileResult error = pane.loadFile(path);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, errorcodes::DocumentTooLarge);
    EXPECT_NE(error->description.find("\"" + path + "\""), std::string::npos) << error->description;
    EXPECT_NE(error->description.find(std::to_string(MaxDocumentBytes)), std::string::npos)
        << error->description;
    EXPECT_EQ(errorMessageText(*error),
              "Error #  7 was generated by Vela Keystride\rDocument too large: \"" + path +
                  "\" is larger than the limit of " + std::to_string(MaxDocumentBytes) + " bytes");
    EXPECT_EQ(pane.text(), u"kept");
    EXPECT_LT(peakMemory() - before, 32u * 1024 * 1024) << "the file was read all the same";
}

TEST(HostileDocument, TheLimitIsInclusive) {
    TempFolder temp;
    const std::string path = temp.file("doc.txt");
    writeFile(path, std::string(1000, 'x'));
    EXPECT_FALSE(FileSystem::real().readAll(path, 1000).error);
    const ReadResult over = FileSystem::real().readAll(path, 999);
    ASSERT_TRUE(over.error);
    EXPECT_EQ(over.error->code, errorcodes::DocumentTooLarge);
    EXPECT_TRUE(over.bytes.empty());
}

TEST(HostileDocument, AStreamWithoutASizeIsCutOffAtTheLimit) {
    // /dev/zero has no size to check in advance: the limit must hold while reading.
    const ReadResult read = FileSystem::real().readAll("/dev/zero", 1024 * 1024);
    ASSERT_TRUE(read.error);
    EXPECT_EQ(read.error->code, errorcodes::DocumentTooLarge);
    EXPECT_NE(read.error->description.find("/dev/zero"), std::string::npos);
}

} // namespace
} // namespace keystride::hardening
