// The word-processor adapter against a scripted launcher: the exact LibreOffice command lines,
// what counts as a conversion, the write-protected folder, a missing or failing LibreOffice; the
// left margin put into exported RTF; the path rules of ConvertToRtf.
#include "documents_fixture.h"

#include "platform/desktop/libreoffice.h"
#include "platform/rtf/rtf_reader.h"

#include <cerrno>

namespace keystride::testing {
namespace {

namespace fs = std::filesystem;
using Op = FaultyFileSystem::Operation;

TEST(ConversionPaths, KindsAndPathsFromTheEndOfThePath) {
    struct Row {
        const char* path;
        ConversionKind kind;
        const char* rtf;
        const char* folder;
    };
    const Row rows[] = {
        {"/tests/t1.docx", ConversionKind::Docx, "/tests/t1.rtf", "/tests/"},
        {"/tests/x.DocX", ConversionKind::Docx, "/tests/x.rtf", "/tests/"},
        {"/a b/old.DOC", ConversionKind::Doc, "/a b/old.rtf", "/a b/"},
        {"/a/w.Odt", ConversionKind::Odt, "/a/w.rtf", "/a/"},
        {"/a/w.rtf", ConversionKind::None, "/a/w.rtf", "/a/"},
        {"/a/w.txt", ConversionKind::None, "/a/w.txt", "/a/"},
        {"/a/docx", ConversionKind::None, "/a/docx", "/a/"},
        {"t.docx", ConversionKind::Docx, "t.rtf", "./"},
        {".doc", ConversionKind::Doc, ".rtf", "./"},
        {"/a/x.docx.bak", ConversionKind::None, "/a/x.docx.bak", "/a/"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        EXPECT_EQ(conversionKindOf(row.path), row.kind);
        EXPECT_EQ(rtfPathFor(row.path), row.rtf);
        EXPECT_EQ(converterFolderOf(row.path), row.folder);
    }
}

TEST(LeftMargin, GoesInFrontOfTheFirstParagraphOrReplacesTheOldOne) {
    struct Row {
        const char* in;
        const char* out;
    };
    const Row rows[] = {
        {"{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}{\\colortbl ;}\\pard\\plain x\\par}",
         "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}{\\colortbl ;}\\margl1400\\pard\\plain x\\par}"},
        {"{\\rtf1\\ansi\\margl1800\\margr900 x}", "{\\rtf1\\ansi\\margl1400\\margr900 x}"},
        {"{\\rtf1 Hello}", "{\\rtf1\\margl1400 Hello}"},
        // A \pard or \margl inside a group (a style sheet, a field) is not the document's.
        {"{\\rtf1{\\stylesheet{\\s1\\pard\\margl5 N;}}\\pard x}",
         "{\\rtf1{\\stylesheet{\\s1\\pard\\margl5 N;}}\\margl1400\\pard x}"},
        {"{\\rtf1{\\*\\x \\bin3 {\\}}\\pard x}", "{\\rtf1{\\*\\x \\bin3 {\\}}\\margl1400\\pard x}"},
        {"plain text", "plain text"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.in);
        EXPECT_EQ(rtfWithLeftMargin(row.in, 1400), row.out);
    }
}

TEST(LeftMargin, WhatThePaneWritesKeepsItsTextWithTheMargin) {
    MemoryPane pane;
    pane.setText(u"Heading\r\n\r\nBody text");
    const std::string withMargin = rtfWithLeftMargin(pane.textRtf(), 1400);
    EXPECT_NE(withMargin.find("\\margl1400"), std::string::npos);
    MemoryPane back;
    back.setTextRtf(withMargin);
    EXPECT_EQ(back.text(), pane.text());
}

class LibreOfficeTest : public ::testing::Test {
protected:
    LibreOfficeTest() : root(makeTempFolder("keystride-lo-")) {
        processes.addProgram("soffice", "/usr/bin/soffice");
    }
    ~LibreOfficeTest() override {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
    std::filesystem::path root;
    FaultyFileSystem files;
    ScriptedProcessLauncher processes;
    LibreOfficeWordProcessor office{processes, files, std::chrono::seconds(120)};
};

TEST_F(LibreOfficeTest, ConvertsHeadlessWithItsOwnProfileAndChecksTheNewFile) {
    const std::string doc = (root / "old.DOC").string();
    writeFile(doc, "binary");
    const std::string rtf = (root / "old.rtf").string();
    processes.queueOutcome(ProcessOutcome{true, true, 0, "convert ..."},
                           [&](const auto&) { writeFile(rtf, "{\\rtf1 x}"); });
    EXPECT_FALSE(office.convertToRtf(doc, rtf));
    ASSERT_EQ(processes.calls().size(), 1u);
    EXPECT_EQ(processes.calls()[0].program, "/usr/bin/soffice");
    EXPECT_EQ(
        processes.calls()[0].args,
        (std::vector<std::string>{"--headless", "-env:UserInstallation=" + libreOfficeProfileUrl(),
                                  "--convert-to", "rtf", "--outdir", root.string(), doc}));
    EXPECT_TRUE(fs::exists(rtf));
    // No probe file is left behind.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(root))
        ++entries;
    EXPECT_EQ(entries, 2);
}

TEST_F(LibreOfficeTest, FailuresBecomeNumberedErrors) {
    const std::string doc = (root / "a.doc").string();
    writeFile(doc, "x");
    const std::string rtf = (root / "a.rtf").string();
    struct Row {
        const char* name;
        ProcessOutcome outcome;
        int code;
        const char* said;
    };
    const Row rows[] = {
        // LibreOffice that says it failed but ends with 0 writes no file.
        {"status0", ProcessOutcome{true, true, 0, "Error: source file could not be loaded"}, 440,
         "could not be loaded"},
        {"status1", ProcessOutcome{true, true, 1, ""}, 440, "could not convert"},
        {"timeout", ProcessOutcome{true, false, -1, ""}, 440, "longer than 120 seconds"},
        {"nostart", ProcessOutcome{}, 429, "could not be started"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        processes.queueOutcome(row.outcome);
        const FileResult error = office.convertToRtf(doc, rtf);
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code, row.code);
        EXPECT_NE(error->description.find(row.said), std::string::npos) << error->description;
        EXPECT_NE(error->description.find(doc), std::string::npos) << error->description;
    }
}

TEST_F(LibreOfficeTest, MissingDocumentMissingOfficeAndWriteProtectedFolder) {
    const std::string rtf = (root / "a.rtf").string();
    FileResult error = office.convertToRtf((root / "a.doc").string(), rtf);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, 53);

    const std::string doc = (root / "a.doc").string();
    writeFile(doc, "x");
    files.failOn(Op::WriteAtomic, "", EROFS);
    error = office.convertToRtf(doc, rtf);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, errorcodes::PathFileAccess);
    EXPECT_TRUE(processes.calls().empty()) << "nothing is started for a folder that takes no file";
    files.clearFaults();

    ScriptedProcessLauncher nothing;
    LibreOfficeWordProcessor absent(nothing, files);
    error = absent.convertToRtf(doc, rtf);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, 429);
    EXPECT_NE(error->description.find("soffice"), std::string::npos);
    EXPECT_TRUE(absent.newDocumentFromRtf("{\\rtf1 x}"));
    EXPECT_TRUE(nothing.calls().empty());
}

TEST_F(LibreOfficeTest, ExportOpensANewUntitledWriterDocumentWithTheMargin) {
    ASSERT_FALSE(office.newDocumentFromRtf("{\\rtf1\\ansi\\pard Exported\\par}", 70));
    ASSERT_EQ(processes.calls().size(), 1u);
    const auto& call = processes.calls()[0];
    EXPECT_TRUE(call.detached);
    EXPECT_EQ(call.program, "/usr/bin/soffice");
    ASSERT_EQ(call.args.size(), 3u);
    EXPECT_EQ(call.args[0], "--writer");
    EXPECT_EQ(call.args[1], "-n");
    EXPECT_EQ(call.args[2], office.lastExportFile());
    EXPECT_EQ(readFile(call.args[2]), "{\\rtf1\\ansi\\margl1400\\pard Exported\\par}");
    fs::remove(call.args[2]);

    processes.setDetachedStarts(false);
    EXPECT_TRUE(office.newDocumentFromRtf("{\\rtf1 x}", 70));
    fs::remove(office.lastExportFile());
}

} // namespace
} // namespace keystride::testing
