// The real file layer: the codes its failures carry, and writes that never cost what was on disk.
// Failures while marking (missing folders, full disks, write protection) are the hardening
// suite's; here is what only the file layer decides.
#include "platform/files/file_system.h"
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>

#include <sys/resource.h>
#include <sys/stat.h>

namespace keystride {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using testing::TempFolder;
using testing::writeFile;

// A disk that fills up in the middle of the write: the file size limit makes the write fail
// the same way, without needing a full disk.
TEST(RealFileSystem, AReplacedFileKeepsItsPermissionsOrStaysWholeOnFailure) {
    TempFolder folder;
    const std::string target = folder.file("marked.rug");
    writeFile(target, "the good old file");
    ::chmod(target.c_str(), 0640);
    ASSERT_FALSE(FileSystem::real().writeAtomic(target, "second"));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = 1024;
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &limited);
    const FileResult error = FileSystem::real().writeAtomic(target, std::string(64 * 1024, 'n'));
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->code, 75);
    EXPECT_EQ(readFile(target), "second");
    EXPECT_EQ(folder.listing(), std::vector<std::string>{"marked.rug"});
}

// The results file grows in place: a link to it (another program's, or the teacher's) sees
// every line.
TEST(RealFileSystem, AppendAddsToTheSameFile) {
    TempFolder folder;
    const std::string results = folder.file("Resultaat.res");
    ASSERT_FALSE(FileSystem::real().append(results, "one\r\n"));
    fs::create_hard_link(results, folder.file("link"));
    ASSERT_FALSE(FileSystem::real().append(results, "two\r\n"));
    EXPECT_EQ(readFile(folder.file("link")), "one\r\ntwo\r\n");
}

} // namespace
} // namespace keystride
