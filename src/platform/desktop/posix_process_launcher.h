// Outside programs started with fork and exec, for the programs that have no Qt: the marking
// command line and the converter's own tests. The program gets its arguments as a list (never a
// shell), runs in a process group of its own, and is killed with all its children when it runs
// past its time limit.
#pragma once

#include "platform/desktop/ui_services.h"

namespace keystride {

class PosixProcessLauncher final : public ProcessLauncher {
public:
    ProcessOutcome run(const std::string& program, const std::vector<std::string>& args,
                       std::chrono::milliseconds timeout) override;
    bool startDetached(const std::string& program, const std::vector<std::string>& args) override;
    std::optional<std::string> findProgram(const std::string& name) const override;
};

// The full path of `name` on the PATH (a name holding "/" is checked as it stands).
std::optional<std::string> findOnPath(const std::string& name);

} // namespace keystride
