// StartSysInfo, the About box's "&System Info..." button: starts the desktop's own
// system-information viewer, or says that there is none.
#pragma once

#include "platform/desktop/ui_services.h"

#include <optional>
#include <string>
#include <vector>

namespace keystride {

inline constexpr const char* SysInfoUnavailableText =
    "System Information Is Unavailable At This Time";

// The viewers looked for on the PATH, in order of preference.
const std::vector<std::string>& systemInfoViewers();

// Starts the first viewer of `viewers` that is found on the PATH and starts; a viewer that is
// found but will not start gives way to the next. When none starts, or the launcher fails in
// any other way, shows "System Information Is Unavailable At This Time" with an OK button.
// Returns the path of the program started, or nullopt after the message.
std::optional<std::string> StartSysInfo(ProcessLauncher& launcher, MessageBoxes& messages,
                                        const std::vector<std::string>& viewers);
std::optional<std::string> StartSysInfo(ProcessLauncher& launcher, MessageBoxes& messages);

} // namespace keystride
