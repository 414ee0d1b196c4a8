// The path rules of ConvertToRtf; the LibreOffice adapter against a scripted launcher: the exact
// command lines of a conversion and of an export, what counts as a conversion, and every way it
// fails; the left margin put into exported RTF.
#include "documents_fixture.h"

#include "platform/desktop/libreoffice.h"

#include <gmock/gmock.h>

#include <cerrno>

namespace keystride::testing {
namespace {

TEST(ConversionPaths, KindsAndPathsFromTheEndOfThePath) {
    using enum ConversionKind;
    const std::tuple<const char*, ConversionKind, const char*, const char*> rows[] = {
        {"/tests/x.DocX", Docx, "/tests/x.rtf", "/tests/"},
        {"/a b/old.DOC", Doc, "/a b/old.rtf", "/a b/"},
        {"/a/w.Odt", Odt, "/a/w.rtf", "/a/"},
        {"/a/docx", None, "/a/docx", "/a/"},
        {"t.docx", Docx, "t.rtf", "./"},
    };
    for (const auto& [path, kind, rtf, folder] : rows) {
        SCOPED_TRACE(path);
        EXPECT_EQ(conversionKindOf(path), kind);
        EXPECT_EQ(rtfPathFor(path), rtf);
        EXPECT_EQ(converterFolderOf(path), folder);
    }
}

// The adapter over a scripted launcher and a file layer that can be made to fail.
struct OfficeWorld {
    TempFolder folder;
    FaultyFileSystem files;
    ScriptedProcessLauncher processes;
    LibreOfficeWordProcessor office{processes, files, std::chrono::seconds(120)};
};

TEST(LibreOffice, ConvertsHeadlessWithItsOwnProfileAndLeavesOnlyTheRtf) {
    OfficeWorld w;
    auto& [folder, files, processes, office] = w;
    processes.addProgram("soffice", "/usr/bin/soffice");
    const std::string doc = folder.file("old.DOC");
    writeFile(doc, "binary");
    const std::string rtf = folder.file("old.rtf");
    processes.queueOutcome(ProcessOutcome{true, true, 0, "convert ..."},
                           [&](const auto&) { writeFile(rtf, "{\\rtf1 x}"); });
    EXPECT_FALSE(office.convertToRtf(doc, rtf));
    ASSERT_EQ(processes.calls().size(), 1u);
    EXPECT_EQ(processes.calls()[0].program, "/usr/bin/soffice");
    EXPECT_EQ(
        processes.calls()[0].args,
        (std::vector<std::string>{"--headless", "-env:UserInstallation=" + libreOfficeProfileUrl(),
                                  "--convert-to", "rtf", "--outdir", folder.path().string(), doc}));
    EXPECT_EQ(folder.listing(), (std::vector<std::string>{"old.DOC", "old.rtf"}))
        << "no probe file is left behind";

    // An export starts Writer on a new document made from a copy with the export's margin.
    ASSERT_FALSE(office.newDocumentFromRtf("{\\rtf1 x}", 70));
    const ScriptedProcessLauncher::Call& writer = processes.calls().back();
    ASSERT_TRUE(writer.detached && writer.args.size() == 3) << writer.args.size();
    EXPECT_EQ(writer.args[0] + " " + writer.args[1], "--writer -n");
    EXPECT_EQ(readFile(writer.args[2]), "{\\rtf1\\margl1400 x}");
    std::filesystem::remove(writer.args[2]);
}

TEST(LibreOffice, EveryFailureBecomesANumberedErrorNamingTheDocument) {
    enum class Setup { Run, NoDocument, ReadOnlyFolder, NotInstalled };
    struct Row {
        const char* name;
        Setup setup;
        ProcessOutcome outcome;
        int code;
        const char* said;
    };
    const Row rows[] = {
        // LibreOffice that says it failed but ends with 0 writes no file.
        {"status 0", Setup::Run, {true, true, 0, "Error: cannot load"}, 440, "cannot load"},
        {"time limit", Setup::Run, {true, false, -1, ""}, 440, "longer than 120 seconds"},
        {"not started", Setup::Run, {}, 429, "could not be started"},
        {"no document", Setup::NoDocument, {}, 53, ""},
        {"nothing is started for a folder that takes no file", Setup::ReadOnlyFolder, {}, 75, ""},
        {"not installed", Setup::NotInstalled, {}, 429, "soffice"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OfficeWorld w;
        auto& [folder, files, processes, office] = w;
        if (row.setup != Setup::NotInstalled)
            processes.addProgram("soffice", "/usr/bin/soffice");
        if (row.setup != Setup::NoDocument)
            writeFile(folder.file("a.doc"), "x");
        if (row.setup == Setup::ReadOnlyFolder)
            files.failOn(FaultyFileSystem::Operation::WriteAtomic, "", EROFS);
        processes.queueOutcome(row.outcome);
        const FileResult error = office.convertToRtf(folder.file("a.doc"), folder.file("a.rtf"));
        ASSERT_TRUE(error);
        EXPECT_EQ(error->code, row.code);
        EXPECT_THAT(error->description,
                    ::testing::AllOf(::testing::HasSubstr(row.said),
                                     ::testing::HasSubstr(folder.file("a.doc"))));
        EXPECT_EQ(processes.calls().size(), row.setup == Setup::Run ? 1u : 0u);
    }
}

TEST(LeftMargin, GoesInFrontOfTheFirstParagraphOrReplacesTheOldOne) {
    const std::pair<const char*, const char*> rows[] = {
        {"{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}{\\colortbl ;}\\pard\\plain x\\par}",
         "{\\rtf1\\ansi{\\fonttbl{\\f0 A;}}{\\colortbl ;}\\margl1400\\pard\\plain x\\par}"},
        {"{\\rtf1\\ansi\\margl1800\\margr900 x}", "{\\rtf1\\ansi\\margl1400\\margr900 x}"},
        // A \pard or \margl inside a group (a style sheet, a field) is not the document's.
        {"{\\rtf1{\\stylesheet{\\s1\\pard\\margl5 N;}}\\pard x}",
         "{\\rtf1{\\stylesheet{\\s1\\pard\\margl5 N;}}\\margl1400\\pard x}"},
        {"plain text", "plain text"},
    };
    for (const auto& [in, out] : rows)
        EXPECT_EQ(rtfWithLeftMargin(in, 1400), out) << in;
}

} // namespace
} // namespace keystride::testing
