// StartSysInfo against a launcher that answers from a script: which viewer is started, and when
// the user is told that there is none.
#include "about/sys_info.h"

#include "support/scripted_services.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <stdexcept>

namespace keystride {
namespace {

// Knows some programs; some of them refuse to start; it may fail as a whole.
class FakeLauncher final : public ProcessLauncher {
public:
    std::map<std::string, std::string> installed; // name -> path
    std::set<std::string> broken;                 // paths that do not start
    bool throws = false;
    std::vector<std::string> started;

    ProcessOutcome run(const std::string&, const std::vector<std::string>&,
                       std::chrono::milliseconds) override {
        ADD_FAILURE() << "StartSysInfo must not wait for a program";
        return {};
    }
    bool startDetached(const std::string& program, const std::vector<std::string>& args) override {
        EXPECT_TRUE(args.empty());
        started.push_back(program);
        return !broken.contains(program);
    }
    std::optional<std::string> findProgram(const std::string& name) const override {
        if (throws)
            throw std::runtime_error("no process table");
        auto found = installed.find(name);
        return found == installed.end() ? std::nullopt : std::optional(found->second);
    }
};

TEST(StartSysInfo, StartsTheFirstViewerThatIsThereAndStartsOrSaysThereIsNone) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> installed;
        std::set<std::string> broken;
        std::vector<std::string> startAttempts; // the last one started, unless broken
        bool throws = false;
    };
    const Case cases[] = {
        {"first choice present",
         {{"hardinfo", "/usr/bin/hardinfo"}, {"kinfocenter", "/usr/bin/kinfocenter"}},
         {},
         {"/usr/bin/hardinfo"}},
        {"only a later choice present",
         {{"kinfocenter", "/opt/kde/bin/kinfocenter"}},
         {},
         {"/opt/kde/bin/kinfocenter"}},
        {"a viewer that will not start gives way",
         {{"hardinfo2", "/usr/bin/hardinfo2"}, {"lshw-gtk", "/usr/sbin/lshw-gtk"}},
         {"/usr/bin/hardinfo2"},
         {"/usr/bin/hardinfo2", "/usr/sbin/lshw-gtk"}},
        {"none present", {}, {}, {}},
        {"all present ones broken",
         {{"lshw-gtk", "/usr/sbin/lshw-gtk"}},
         {"/usr/sbin/lshw-gtk"},
         {"/usr/sbin/lshw-gtk"}},
        {"an empty path is not a program", {{"hardinfo", ""}}, {}, {}},
        {"the launcher fails", {{"hardinfo", "/usr/bin/hardinfo"}}, {}, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLauncher launcher;
        launcher.installed = c.installed;
        launcher.broken = c.broken;
        launcher.throws = c.throws;
        ScriptedMessageBoxes messages;

        const std::optional<std::string> started = StartSysInfo(launcher, messages);
        EXPECT_EQ(launcher.started, c.startAttempts);
        const bool startedOne =
            !c.startAttempts.empty() && !c.broken.contains(c.startAttempts.back());
        EXPECT_EQ(started.has_value(), startedOne);
        if (startedOne) {
            EXPECT_EQ(*started, c.startAttempts.back());
            EXPECT_TRUE(messages.shown().empty());
        } else {
            ASSERT_EQ(messages.shown().size(), 1u);
            EXPECT_EQ(messages.shown()[0].text, "System Information Is Unavailable At This Time");
            EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::Ok);
        }
    }
}

} // namespace
} // namespace keystride
