// The fork-and-exec launcher of the programs without Qt: arguments arrive as given (no shell),
// output and exit status come back, a program past its time limit is killed with its children,
// and a program that is not there is not started.
#include "documents_fixture.h"

#include "platform/desktop/posix_process_launcher.h"

#include <thread>

namespace keystride::testing {
namespace {

namespace fs = std::filesystem;

TEST(PosixProcessLauncher, RunsWaitsAndReports) {
    const TempFolder folder;
    const fs::path& root = folder.path();
    PosixProcessLauncher launcher;

    // Blanks, quotes and shell characters reach the program untouched.
    ProcessOutcome outcome = launcher.run(
        "/bin/sh", {"-c", "printf '%s|' \"$@\"; echo err >&2; exit 3", "sh", "a b", "$HOME", "'q'"},
        std::chrono::seconds(30));
    EXPECT_TRUE(outcome.started);
    EXPECT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 3);
    EXPECT_EQ(outcome.output, "a b|$HOME|'q'|err\n");

    // Found on the PATH by name.
    ASSERT_TRUE(findOnPath("sh"));
    outcome = launcher.run("sh", {"-c", "exit 0"}, std::chrono::seconds(30));
    EXPECT_TRUE(outcome.finished);
    EXPECT_EQ(outcome.exitCode, 0);

    // Past the limit: killed, the child it started too (it would otherwise touch the file).
    const fs::path late = root / "late";
    outcome = launcher.run("/bin/sh", {"-c", "(sleep 2; touch '" + late.string() + "') & sleep 30"},
                           std::chrono::milliseconds(300));
    EXPECT_TRUE(outcome.started);
    EXPECT_FALSE(outcome.finished);
    std::this_thread::sleep_for(std::chrono::seconds(3));
    EXPECT_FALSE(fs::exists(late)) << "the program's children outlived the kill";

    for (const std::string& missing :
         {std::string("keystride-no-such-program"), (root / "nothing").string()}) {
        SCOPED_TRACE(missing);
        EXPECT_FALSE(findOnPath(missing));
        EXPECT_FALSE(launcher.run(missing, {}, std::chrono::seconds(5)).started);
        EXPECT_FALSE(launcher.startDetached(missing, {}));
    }
    // A file that is there but cannot be run.
    writeFile(root / "plain", "not a program");
    EXPECT_FALSE(launcher.run((root / "plain").string(), {}, std::chrono::seconds(5)).started);

    // Detached: returns at once, the program carries on by itself.
    const fs::path done = root / "done";
    ASSERT_TRUE(launcher.startDetached("/bin/sh", {"-c", "touch '" + done.string() + "'"}));
    for (int i = 0; i < 200 && !fs::exists(done); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    EXPECT_TRUE(fs::exists(done));
}

} // namespace
} // namespace keystride::testing
