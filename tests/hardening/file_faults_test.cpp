// Every way writing the marked test, the results file and the settings file can fail, and the
// pane's own saves and loads: each failure shows its message, stops further writing where the
// marking run says so, and never costs a byte of what was already on disk.
#include "hardening_fixture.h"

#include "marking/results_record.h"
#include "settings/settings_store.h"

#include <cerrno>
#include <csignal>
#include <sys/resource.h>

namespace keystride::hardening {
namespace {

using Op = FaultyFileSystem::Operation;

const std::u16string Source =
    u"The quick brown fox jumps over the lazy dog. Pack my box with five dozen liquor jugs.\r\n"
    u"How vexingly quick daft zebras jump! The five boxing wizards jump quickly. Then all the "
    u"jolly dogs and cats went home";
const std::u16string Typed =
    u"The quick brown fox jumps ovr the lazy dog. Pack my box with five dozen liquor jugs.\r\n"
    u"How vexingly quick daft zebras jump! The five boxing wizards jump quickly.";

const std::string OldRug = "{\\rtf1 an earlier marked test\\par }";
const std::string OldResults = "C:\\Klas\\Toets0.rug   31.5 wpm\r\n";
const std::string OldSettings = "J\r\nN\r\nJ\r\nN\r\nN\r\nJ\r\nN\r\nJ\r\n";

// How a write is made to fail: an error injected into the file layer, or a real impossible path.
enum class Where { Injected, MissingFolder, ParentIsAFile };

struct Fault {
    const char* name;
    Where where;
    int errnoValue; // for injected faults
    int code;       // the code the file layer reports
};

const Fault Faults[] = {
    {"NoSuchFolder", Where::MissingFolder, 0, errorcodes::PathFileAccess},
    {"ParentIsARegularFile", Where::ParentIsAFile, 0, errorcodes::PathFileAccess},
    {"NoSuchFolderInjected", Where::Injected, ENOENT, errorcodes::PathFileAccess},
    {"NotWritable", Where::Injected, EACCES, errorcodes::PathFileAccess},
    {"ReadOnlyFileSystem", Where::Injected, EROFS, errorcodes::PathFileAccess},
    {"DiskFull", Where::Injected, ENOSPC, errorcodes::DiskFull},
    {"QuotaExceeded", Where::Injected, EDQUOT, errorcodes::DiskFull},
    {"Busy", Where::Injected, EBUSY, errorcodes::PermissionDenied},
    {"TextFileBusy", Where::Injected, ETXTBSY, errorcodes::PermissionDenied},
};

// The folder a write goes to: the test's own folder, or one that cannot hold files.
std::string folderFor(const TempFolder& temp, Where where) {
    switch (where) {
    case Where::MissingFolder:
        return temp.file("no-such-folder");
    case Where::ParentIsAFile:
        writeFile(temp.file("a-file"), "not a folder");
        return temp.file("a-file");
    case Where::Injected:
        break;
    }
    return temp.path().string();
}

// ---------------------------------------------------------------------------------------------
// The marking run's two files.

enum class RunFile { MarkedTest, Results };

struct RunFault {
    RunFile file;
    Fault fault;
};

std::vector<RunFault> runFaults() {
    std::vector<RunFault> all;
    for (RunFile file : {RunFile::MarkedTest, RunFile::Results}) {
        for (const Fault& fault : Faults)
            all.push_back({file, fault});
    }
    return all;
}

class RunFileFault : public ::testing::TestWithParam<RunFault> {};

TEST_P(RunFileFault, ShowsItsMessageStopsWritingAndKeepsWhatWasOnDisk) {
    const auto [file, fault] = GetParam();
    TempFolder temp;
    const std::string folder = folderFor(temp, fault.where);
    const bool failMarked = file == RunFile::MarkedTest;

    // The speed test as it was opened, the marked test and the results of earlier runs.
    const std::string testFile = temp.file("Toets1.rtf");
    writeFile(testFile, toUtf8(Typed));
    writeFile(temp.file("Toets1.rug"), OldRug);
    writeFile(temp.file("Resultaat.res"), OldResults);

    const std::string results = failMarked ? temp.file("Resultaat.res") : folder + "/Resultaat.res";
    MarkingWorld world(results);
    world.source.setText(Source);
    world.typed.setText(Typed);
    world.workspace.CurrentFileName = testFile;
    world.host.label3 = failMarked ? folder + "/Toets1.rtf" : testFile;
    const std::string rug = failMarked ? folder + "/Toets1.rug" : temp.file("Toets1.rug");
    if (fault.where == Where::Injected)
        world.files.failOn(failMarked ? Op::WriteAtomic : Op::Append, failMarked ? rug : results,
                           fault.errnoValue);

    world.run();
    const Message expected =
        fault.code == errorcodes::PathFileAccess ? NoAccess : NoAccessSaveElsewhere;
    ASSERT_EQ(world.host.messages, std::vector<Message>{expected});
    EXPECT_TRUE(world.workspace.WriteProtected);
    EXPECT_FALSE(world.host.busy);
    if (fault.code == errorcodes::PathFileAccess) {
        // The speed test comes back as it was opened, without the report.
        EXPECT_EQ(world.typed.text(), Typed);
        EXPECT_EQ(world.typed.selStart(), 1);
    } else {
        EXPECT_NE(world.typed.text().find(u"Less no. of words with errors:"), std::u16string::npos);
    }

    // Nothing on disk was lost or half-written, and nothing was left beside it.
    EXPECT_EQ(readFile(temp.file("Resultaat.res")), OldResults);
    if (failMarked) {
        EXPECT_EQ(readFile(temp.file("Toets1.rug")), OldRug);
    } else {
        EXPECT_NE(readFile(temp.file("Toets1.rug")), OldRug) << "the marked test was saved first";
    }
    std::vector<std::string> expectedNames{"Resultaat.res", "Toets1.rtf", "Toets1.rug"};
    if (fault.where == Where::ParentIsAFile)
        expectedNames.push_back("a-file");
    EXPECT_EQ(temp.listing(), expectedNames);

    // Until the program closes, no run writes either file again.
    const std::string rugBefore = readFile(temp.file("Toets1.rug"));
    const std::size_t callsBefore = world.files.calls().size();
    world.files.clearFaults();
    world.typed.setText(Typed);
    ASSERT_TRUE(world.run().completed);
    EXPECT_TRUE(world.host.messages.empty());
    EXPECT_EQ(world.files.callCount(Op::WriteAtomic) + world.files.callCount(Op::Append),
              failMarked ? 1 : 2)
        << "only the failed run's own attempts";
    EXPECT_EQ(world.files.calls().size(), callsBefore);
    EXPECT_EQ(readFile(temp.file("Resultaat.res")), OldResults);
    EXPECT_EQ(readFile(temp.file("Toets1.rug")), rugBefore);
}

INSTANTIATE_TEST_SUITE_P(EveryFailure, RunFileFault, ::testing::ValuesIn(runFaults()),
                         [](const ::testing::TestParamInfo<RunFault>& info) {
                             return std::string(info.param.file == RunFile::MarkedTest
                                                    ? "MarkedTest_"
                                                    : "Results_") +
                                    info.param.fault.name;
                         });

TEST(RunFileFault, AFullDiskUnderTheResultsFileIsReportedAndStopsWriting) {
    // /dev/full accepts the open and fails the write with ENOSPC: a real full disk.
    if (::access("/dev/full", W_OK) != 0)
        GTEST_SKIP() << "/dev/full is not available";
    TempFolder temp;
    MarkingWorld world("/dev/full");
    world.source.setText(Source);
    world.typed.setText(Typed);
    world.host.label3 = temp.file("Toets1.rtf");
    world.run();
    EXPECT_EQ(world.host.messages, std::vector<Message>{NoAccessSaveElsewhere});
    EXPECT_TRUE(world.workspace.WriteProtected);
    EXPECT_TRUE(std::filesystem::exists(temp.file("Toets1.rug")));
}

// ---------------------------------------------------------------------------------------------
// The settings file.

class SettingsFileFault : public ::testing::TestWithParam<Fault> {};

TEST_P(SettingsFileFault, ReportsACodeNamingTheFileAndKeepsTheOldFile) {
    const Fault fault = GetParam();
    TempFolder temp;
    const std::string folder = folderFor(temp, fault.where);
    const std::string path = folder + "/" + SettingsFileName;
    writeFile(temp.file(SettingsFileName), OldSettings);
    FaultyFileSystem files;
    if (fault.where == Where::Injected)
        files.failOn(Op::WriteAtomic, path, fault.errnoValue);

    SettingsStore store;
    store.CheckCourier = "N";
    const FileResult error = saveSettings(files, path, store);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, fault.code);
    EXPECT_NE(error->description.find(path), std::string::npos) << error->description;
    EXPECT_EQ(readFile(temp.file(SettingsFileName)), OldSettings);
    std::vector<std::string> expectedNames{SettingsFileName};
    if (fault.where == Where::ParentIsAFile)
        expectedNames.push_back("a-file");
    EXPECT_EQ(temp.listing(), expectedNames);
    // A failed read at the next start gives the dialog's initial state, never a partial one.
    if (fault.where != Where::Injected) {
        EXPECT_EQ(loadSettings(files, path), SettingsStore{});
    }
}

INSTANTIATE_TEST_SUITE_P(EveryFailure, SettingsFileFault, ::testing::ValuesIn(Faults),
                         [](const ::testing::TestParamInfo<Fault>& info) {
                             return std::string(info.param.name);
                         });

// ---------------------------------------------------------------------------------------------
// Writes cut short half-way: a file-size limit makes the write itself fail after part of the
// bytes went out, as a disk filling up during the write does.

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        m_active = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }
    bool active() const { return m_active; }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
    bool m_active = false;
};

TEST(PartialWrite, AnAtomicWriteCutShortLeavesTheOldFileAndNoTemporaryFile) {
    TempFolder temp;
    const std::string target = temp.file("Toets1.rug");
    writeFile(target, OldRug);
    const std::string big(256 * 1024, 'x');
    FileResult error;
    {
        FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.active());
        error = FileSystem::real().writeAtomic(target, big);
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(readFile(target), OldRug);
    EXPECT_EQ(temp.listing(), std::vector<std::string>{"Toets1.rug"});
}

TEST(PartialWrite, AnAppendCutShortLeavesOnlyWholeLines) {
    TempFolder temp;
    const std::string results = temp.file("Resultaat.res");
    writeFile(results, OldResults);
    const std::string line =
        marking::resultRecordBytes(marking::resultLine(temp.file("Toets1.rug"), 479));
    FileResult error;
    {
        // Room for a few bytes of the new line only.
        FileSizeLimit limit(OldResults.size() + 5);
        ASSERT_TRUE(limit.active());
        error = FileSystem::real().append(results, line);
    }
    ASSERT_TRUE(error);
    EXPECT_EQ(readFile(results), OldResults);

    // With room to spare the same line goes in whole.
    ASSERT_FALSE(FileSystem::real().append(results, line));
    EXPECT_EQ(readFile(results), OldResults + line);
}

TEST(PartialWrite, AMarkingRunWhoseResultLineIsCutShortKeepsTheResultsFileWhole) {
    TempFolder temp;
    writeFile(temp.file("Resultaat.res"), OldResults);
    MarkingWorld world(temp.file("Resultaat.res"));
    world.source.setText(Source);
    world.typed.setText(Typed);
    world.host.label3 = temp.file("Toets1.rtf");
    world.workspace.CurrentFileName = temp.file("Toets1.rtf");
    // The marked test fits; the results file has no room for a whole line.
    {
        FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.active());
        writeFile(temp.file("Toets1.rtf"), toUtf8(Typed));
        std::string filler(64 * 1024 - OldResults.size() - 3, 'x');
        writeFile(temp.file("Resultaat.res"), OldResults + filler);
        world.run();
        EXPECT_EQ(readFile(temp.file("Resultaat.res")), OldResults + filler);
    }
    EXPECT_EQ(world.host.messages.size(), 1u);
    EXPECT_TRUE(world.workspace.WriteProtected);
}

// ---------------------------------------------------------------------------------------------
// The pane's own saves and loads.

struct PaneFault {
    const char* name;
    Op operation;
    Where where;
    int errnoValue;
    int code;
};

const PaneFault PaneFaults[] = {
    {"SaveNoSuchFolder", Op::WriteAtomic, Where::MissingFolder, 0, errorcodes::PathFileAccess},
    {"SaveParentIsAFile", Op::WriteAtomic, Where::ParentIsAFile, 0, errorcodes::PathFileAccess},
    {"SaveReadOnly", Op::WriteAtomic, Where::Injected, EROFS, errorcodes::PathFileAccess},
    {"SaveNotWritable", Op::WriteAtomic, Where::Injected, EACCES, errorcodes::PathFileAccess},
    {"SaveDiskFull", Op::WriteAtomic, Where::Injected, ENOSPC, errorcodes::DiskFull},
    {"SaveLocked", Op::WriteAtomic, Where::Injected, EBUSY, errorcodes::PermissionDenied},
    {"LoadNoSuchFolder", Op::ReadAll, Where::MissingFolder, 0, errorcodes::FileNotFound},
    {"LoadParentIsAFile", Op::ReadAll, Where::ParentIsAFile, 0, errorcodes::PathFileAccess},
    {"LoadNotReadable", Op::ReadAll, Where::Injected, EACCES, errorcodes::PathFileAccess},
    {"LoadLocked", Op::ReadAll, Where::Injected, ETXTBSY, errorcodes::PermissionDenied},
};

class PaneFileFault : public ::testing::TestWithParam<PaneFault> {};

TEST_P(PaneFileFault, FailsWithItsCodeAndChangesNeitherPaneNorFile) {
    const PaneFault fault = GetParam();
    TempFolder temp;
    const std::string folder = folderFor(temp, fault.where);
    const std::string path = folder + "/Toets1.rtf";
    writeFile(temp.file("Toets1.rtf"), OldRug);

    FaultyFileSystem files;
    if (fault.where == Where::Injected)
        files.failOn(fault.operation, path, fault.errnoValue);
    MemoryPane pane(CharFormat{}, files);
    pane.setText(Typed);
    const std::string markupBefore = pane.textRtf();

    const FileResult error =
        fault.operation == Op::ReadAll ? pane.loadFile(path) : pane.saveFile(path);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, fault.code);
    EXPECT_NE(error->description.find(path), std::string::npos) << error->description;
    EXPECT_EQ(pane.text(), Typed);
    EXPECT_EQ(pane.textRtf(), markupBefore);
    EXPECT_EQ(readFile(temp.file("Toets1.rtf")), OldRug);
    std::vector<std::string> expectedNames{"Toets1.rtf"};
    if (fault.where == Where::ParentIsAFile)
        expectedNames.push_back("a-file");
    EXPECT_EQ(temp.listing(), expectedNames);
}

INSTANTIATE_TEST_SUITE_P(EveryFailure, PaneFileFault, ::testing::ValuesIn(PaneFaults),
                         [](const ::testing::TestParamInfo<PaneFault>& info) {
                             return std::string(info.param.name);
                         });

TEST(PaneFileFault, SavingOverAFolderFailsAndLeavesTheFolderAlone) {
    TempFolder temp;
    std::filesystem::create_directory(temp.file("Toets1.rug"));
    writeFile(temp.file("Toets1.rug/inside"), "kept");
    MemoryPane pane;
    pane.setText(Typed);
    const FileResult error = pane.saveFile(temp.file("Toets1.rug"));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, errorcodes::PathFileAccess);
    EXPECT_EQ(readFile(temp.file("Toets1.rug/inside")), "kept");
    EXPECT_EQ(temp.listing(), std::vector<std::string>{"Toets1.rug"});
    // Loading a folder fails the same way.
    const FileResult load = pane.loadFile(temp.file("Toets1.rug"));
    ASSERT_TRUE(load);
    EXPECT_EQ(load->code, errorcodes::PathFileAccess);
    EXPECT_EQ(pane.text(), Typed);
}

} // namespace
} // namespace keystride::hardening
