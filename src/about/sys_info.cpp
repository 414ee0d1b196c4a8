#include "about/sys_info.h"

#include <exception>

namespace keystride {

const std::vector<std::string>& systemInfoViewers() {
    // Dedicated hardware and system reports first, then the desktops' general overviews.
    static const std::vector<std::string> viewers{
        "hardinfo", "hardinfo2", "gnome-system-monitor", "kinfocenter", "lshw-gtk",
    };
    return viewers;
}

namespace {

std::optional<std::string> startFirstViewer(ProcessLauncher& launcher,
                                            const std::vector<std::string>& viewers) {
    for (const std::string& name : viewers) {
        std::optional<std::string> path = launcher.findProgram(name);
        if (!path || path->empty())
            continue;
        if (launcher.startDetached(*path, {}))
            return path;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> StartSysInfo(ProcessLauncher& launcher, MessageBoxes& messages,
                                        const std::vector<std::string>& viewers) {
    std::optional<std::string> started;
    try {
        started = startFirstViewer(launcher, viewers);
    } catch (const std::exception&) {
        // A launcher that fails in a way of its own ends up with the same message as no viewer.
        started.reset();
    }
    if (!started)
        messages.show(SysInfoUnavailableText, "Vela Keystride", MessageButtons::Ok,
                      MessageIcon::None);
    return started;
}

std::optional<std::string> StartSysInfo(ProcessLauncher& launcher, MessageBoxes& messages) {
    return StartSysInfo(launcher, messages, systemInfoViewers());
}

} // namespace keystride
