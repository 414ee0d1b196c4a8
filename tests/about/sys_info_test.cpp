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
    std::vector<std::string> lookedUp;
    std::vector<std::pair<std::string, std::vector<std::string>>> started;

    ProcessOutcome run(const std::string&, const std::vector<std::string>&,
                       std::chrono::milliseconds) override {
        ADD_FAILURE() << "StartSysInfo must not wait for a program";
        return {};
    }
    bool startDetached(const std::string& program, const std::vector<std::string>& args) override {
        started.emplace_back(program, args);
        return !broken.contains(program);
    }
    std::optional<std::string> findProgram(const std::string& name) const override {
        if (throws)
            throw std::runtime_error("no process table");
        const_cast<FakeLauncher*>(this)->lookedUp.push_back(name);
        auto found = installed.find(name);
        if (found == installed.end())
            return std::nullopt;
        return found->second;
    }
};

TEST(StartSysInfo, StartsTheFirstViewerThatIsThereAndStarts) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> installed;
        std::set<std::string> broken;
        std::optional<std::string> expected;
        std::vector<std::string> startAttempts;
    };
    const Case cases[] = {
        {"first choice present",
         {{"hardinfo", "/usr/bin/hardinfo"}, {"kinfocenter", "/usr/bin/kinfocenter"}},
         {},
         "/usr/bin/hardinfo",
         {"/usr/bin/hardinfo"}},
        {"only a later choice present",
         {{"kinfocenter", "/opt/kde/bin/kinfocenter"}},
         {},
         "/opt/kde/bin/kinfocenter",
         {"/opt/kde/bin/kinfocenter"}},
        {"a viewer that will not start gives way",
         {{"hardinfo2", "/usr/bin/hardinfo2"},
          {"gnome-system-monitor", "/usr/bin/gnome-system-monitor"}},
         {"/usr/bin/hardinfo2"},
         "/usr/bin/gnome-system-monitor",
         {"/usr/bin/hardinfo2", "/usr/bin/gnome-system-monitor"}},
        {"none present", {}, {}, std::nullopt, {}},
        {"all present ones broken",
         {{"lshw-gtk", "/usr/sbin/lshw-gtk"}},
         {"/usr/sbin/lshw-gtk"},
         std::nullopt,
         {"/usr/sbin/lshw-gtk"}},
        {"an empty path is not a program", {{"hardinfo", ""}}, {}, std::nullopt, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLauncher launcher;
        launcher.installed = c.installed;
        launcher.broken = c.broken;
        ScriptedMessageBoxes messages;

        EXPECT_EQ(StartSysInfo(launcher, messages), c.expected);
        std::vector<std::string> attempts;
        for (const auto& [program, args] : launcher.started) {
            attempts.push_back(program);
            EXPECT_TRUE(args.empty());
        }
        EXPECT_EQ(attempts, c.startAttempts);
        if (c.expected) {
            EXPECT_TRUE(messages.shown().empty());
        } else {
            ASSERT_EQ(messages.shown().size(), 1u);
            EXPECT_EQ(messages.shown()[0].text, "System Information Is Unavailable At This Time");
            EXPECT_EQ(messages.shown()[0].buttons, MessageButtons::Ok);
        }
    }
}

TEST(StartSysInfo, LooksForTheViewersInOrderAndStopsAtTheFirstThatStarts) {
    FakeLauncher launcher;
    launcher.installed = {{"gnome-system-monitor", "/usr/bin/gnome-system-monitor"}};
    ScriptedMessageBoxes messages;
    StartSysInfo(launcher, messages);
    EXPECT_EQ(launcher.lookedUp,
              (std::vector<std::string>{"hardinfo", "hardinfo2", "gnome-system-monitor"}));
}

TEST(StartSysInfo, ALauncherFailureOrNoViewersToTryEndInTheMessage) {
    for (const bool throws : {true, false}) {
        SCOPED_TRACE(throws ? "launcher fails" : "no viewers to try");
        FakeLauncher launcher;
        launcher.throws = throws;
        launcher.installed = {{"hardinfo", "/usr/bin/hardinfo"}};
        ScriptedMessageBoxes messages;
        EXPECT_EQ(throws ? StartSysInfo(launcher, messages) : StartSysInfo(launcher, messages, {}),
                  std::nullopt);
        EXPECT_TRUE(launcher.started.empty());
        ASSERT_EQ(messages.shown().size(), 1u);
        EXPECT_EQ(messages.shown()[0].text, SysInfoUnavailableText);
    }
}

} // namespace
} // namespace keystride
