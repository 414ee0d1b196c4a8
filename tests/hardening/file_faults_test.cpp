// Every way writing the marked test and the results file can fail: each failure shows its
// message, stops further writing where the marking run says so, and never costs a byte of what
// was already on disk. A settings file that cannot be written is the settings dialog's test; that
// an atomic write keeps the old file whole is the file layer's.
#include "marking/results_record.h"
#include "support/marking_world.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>

namespace keystride::testing {
namespace {

using Op = FaultyFileSystem::Operation;

const Message NoAccess{"Error", "Vela Keystride does not have access to write-protected disk."};
const Message NoAccessSaveElsewhere{
    "Error", "Vela Keystride does not have access to write-protected disk. Please save speed "
             "tests on an accessible disk."};

const std::u16string Source =
    u"The quick brown fox jumps over the lazy dog. Pack my box with five dozen liquor jugs.\r\n"
    u"How vexingly quick daft zebras jump! The five boxing wizards jump quickly. Then all the "
    u"jolly dogs and cats went home";
const std::u16string Typed =
    u"The quick brown fox jumps ovr the lazy dog. Pack my box with five dozen liquor jugs.\r\n"
    u"How vexingly quick daft zebras jump! The five boxing wizards jump quickly.";

const std::string OldRug = "{\\rtf1 an earlier marked test\\par }";
const std::string OldResults = "C:\\Klas\\Toets0.rug   31.5 wpm\r\n";

// How a write is made to fail: an error injected into the file layer, or a real impossible path.
enum class Where { Injected, MissingFolder, ParentIsAFile };

struct Fault {
    const char* name;
    Where where;
    int errnoValue; // for injected faults
    int code;       // the code the file layer reports
};

// Which errno value gives which code is the file layer's own table: here are two real impossible
// folders and one injected value for each code.
const Fault Faults[] = {
    {"NoSuchFolder", Where::MissingFolder, 0, errorcodes::PathFileAccess},
    {"ParentIsARegularFile", Where::ParentIsAFile, 0, errorcodes::PathFileAccess},
    {"ReadOnlyFileSystem", Where::Injected, EROFS, errorcodes::PathFileAccess},
    {"DiskFull", Where::Injected, ENOSPC, errorcodes::DiskFull},
    {"Busy", Where::Injected, EBUSY, errorcodes::PermissionDenied},
};

// The folder a write goes to: the test's own folder, or one that cannot hold files. `names`, of
// everything the test's folder is to hold afterwards, gets what this puts there.
std::string folderFor(const TempFolder& temp, Where where, std::vector<std::string>& names) {
    if (where == Where::MissingFolder)
        return temp.file("no-such-folder");
    if (where == Where::Injected)
        return temp.path().string();
    writeFile(temp.file("a-file"), "not a folder");
    names.push_back("a-file");
    return temp.file("a-file");
}

// A marking world whose speed test Toets1.rtf lies in `temp` beside the marked test and the
// results of earlier runs.
void markToets1(MarkingWorld& world, const TempFolder& temp, const std::string& label3) {
    writeFile(temp.file("Toets1.rtf"), toUtf8(Typed));
    world.source.setText(Source);
    world.typed.setText(Typed);
    world.workspace.CurrentFileName = temp.file("Toets1.rtf");
    world.host.label3 = label3;
    world.run();
}

// The marked test (true) or the results file fails.
class RunFileFault : public ::testing::TestWithParam<std::tuple<bool, Fault>> {};

TEST_P(RunFileFault, ShowsItsMessageStopsWritingAndKeepsWhatWasOnDisk) {
    const auto [marked, fault] = GetParam();
    TempFolder temp;
    std::vector<std::string> names{"Resultaat.res", "Toets1.rtf", "Toets1.rug"};
    const std::string folder = folderFor(temp, fault.where, names);
    writeFile(temp.file("Toets1.rug"), OldRug);
    writeFile(temp.file("Resultaat.res"), OldResults);
    const std::string results = marked ? temp.file("Resultaat.res") : folder + "/Resultaat.res";
    MarkingWorld world(results);
    if (fault.where == Where::Injected)
        world.files.failOn(marked ? Op::WriteAtomic : Op::Append,
                           marked ? temp.file("Toets1.rug") : results, fault.errnoValue);
    markToets1(world, temp, marked ? folder + "/Toets1.rtf" : temp.file("Toets1.rtf"));

    const bool access = fault.code == errorcodes::PathFileAccess;
    ASSERT_EQ(world.host.messages, std::vector<Message>{access ? NoAccess : NoAccessSaveElsewhere});
    EXPECT_TRUE(world.workspace.WriteProtected);
    EXPECT_FALSE(world.host.busy);
    // On an access error the speed test comes back as it was opened, without the report.
    EXPECT_EQ(world.typed.text() == Typed, access);
    EXPECT_EQ(world.typed.selStart(), access ? 1 : world.typed.textLength());
    // Nothing on disk was lost or half-written, and nothing was left beside it.
    EXPECT_EQ(readFile(temp.file("Resultaat.res")), OldResults);
    EXPECT_EQ(readFile(temp.file("Toets1.rug")) == OldRug, marked)
        << "the marked test is saved before the result line";
    EXPECT_EQ(temp.listing(), names);

    // Until the program closes, no run writes either file again: it asks nothing of the file
    // layer.
    const std::size_t calls = world.files.calls().size();
    world.files.clearFaults();
    world.typed.setText(Typed);
    ASSERT_TRUE(world.run().completed);
    EXPECT_TRUE(world.host.messages.empty());
    EXPECT_EQ(world.files.calls().size(), calls);
}

INSTANTIATE_TEST_SUITE_P(EveryFailure, RunFileFault,
                         ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(Faults)),
                         [](const auto& info) {
                             return (std::get<0>(info.param) ? "MarkedTest_" : "Results_") +
                                    std::string(std::get<1>(info.param).name);
                         });

TEST(RunFileFault, AFolderNamedLikeTheMarkedTestKeepsWhatItHolds) {
    TempFolder temp;
    std::filesystem::create_directory(temp.file("Toets1.rug"));
    writeFile(temp.file("Toets1.rug/inside"), "kept");
    MarkingWorld world(temp.file("Resultaat.res"));
    markToets1(world, temp, temp.file("Toets1.rtf"));
    EXPECT_EQ(world.host.messages, std::vector<Message>{NoAccess});
    EXPECT_EQ(readFile(temp.file("Toets1.rug/inside")), "kept");
    EXPECT_EQ(temp.listing(), (std::vector<std::string>{"Toets1.rtf", "Toets1.rug"}));
}

// A file-size limit makes a write fail after part of its bytes went out, as a disk filling up
// during the write does.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        m_previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_previous);
        rlimit limit = m_previous;
        limit.rlim_cur = bytes;
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_previous);
        std::signal(SIGXFSZ, m_previousHandler);
    }

private:
    rlimit m_previous{};
    void (*m_previousHandler)(int) = nullptr;
};

TEST(PartialWrite, AResultLineCutShortLeavesTheResultsFileAsItWas) {
    TempFolder temp;
    // The marked test fits; the results file has no room for a whole line.
    const std::string filler(64 * 1024 - OldResults.size() - 3, 'x');
    writeFile(temp.file("Resultaat.res"), OldResults + filler);
    MarkingWorld world(temp.file("Resultaat.res"));
    {
        FileSizeLimit limit(64 * 1024);
        markToets1(world, temp, temp.file("Toets1.rtf"));
    }
    EXPECT_EQ(readFile(temp.file("Resultaat.res")), OldResults + filler);
    EXPECT_EQ(std::pair(world.host.messages.size(), world.workspace.WriteProtected),
              std::pair(1ul, true));
}

} // namespace
} // namespace keystride::testing
