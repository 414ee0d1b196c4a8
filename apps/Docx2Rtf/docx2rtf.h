// Docx2Rtf -f "<folder>" docx|odt [-t SECONDS]: every document of that kind in the folder becomes
// an RTF file beside it under the same name, through one headless LibreOffice run.
#pragma once

#include "platform/desktop/ui_services.h"

#include <chrono>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace keystride::docx2rtf {

// Exit statuses.
inline constexpr int Converted = 0;
inline constexpr int BadUsage = 2;
inline constexpr int FolderMissing = 3;
inline constexpr int NoLibreOffice = 4;
inline constexpr int ConversionFailed = 5;
inline constexpr int TimedOut = 6;

struct Options {
    std::string folder;
    std::string kind; // "docx" or "odt"
    // Shorter than the open commands wait for the converter, so that LibreOffice is stopped
    // here, where its whole process group is known, and never left running.
    std::chrono::seconds timeout{240};
};

extern const char* const Usage;

// On bad usage: nullopt, with the reason written to `err`.
std::optional<Options> parseArguments(const std::vector<std::string>& args, std::ostream& err);

// The documents of `kind` in `folder` (names ending in "." + kind, any case; the owner and lock
// files word processors leave beside open documents excluded), sorted.
std::vector<std::string> documentsIn(const std::string& folder, const std::string& kind);

int convertFolder(const Options& options, ProcessLauncher& launcher, std::ostream& out,
                  std::ostream& err);

} // namespace keystride::docx2rtf
